// Opening a store file that other programs share, or that is not what it seems: busy stores,
// stores being made at the same moment, damaged and read-only ones, links to nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/store/StoreFixture.h"

namespace orbel::host::test {
namespace {

namespace fs = std::filesystem;

// A connection of another program, outside the store's own code.
class OtherProgram {
  public:
    explicit OtherProgram(const fs::path& path) {
        EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
        sqlite3_busy_timeout(db_, 5000);
    }
    ~OtherProgram() { sqlite3_close(db_); }
    void Run(const std::string& sql) {
        EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db_);
    }

  private:
    sqlite3* db_ = nullptr;
};

class StoreOpening : public ::testing::Test {
  protected:
    std::string StorePath() const { return (folder_ / "store.db").string(); }
    TempFolder folder_;
};

TEST_F(StoreOpening, AStoreLockedPastTheBusyTimeOutIsBusyNotSomethingElse) {
    ASSERT_TRUE(OpenStore(StorePath()));
    OtherProgram other(StorePath());
    other.Run("BEGIN EXCLUSIVE");
    SqliteOpenResult opened = SqliteTableStore::Open(StorePath(), StoreAccess::ReadWrite, 100);
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("is busy"), std::string::npos) << opened.error;
    EXPECT_EQ(opened.error.find("not a store"), std::string::npos) << opened.error;
    other.Run("COMMIT");
    EXPECT_TRUE(SqliteTableStore::Open(StorePath(), StoreAccess::ReadWrite, 100));
}

TEST_F(StoreOpening, AStoreAnotherProgramIsMakingAtTheSameMomentIsOpenedOnceItIsMade) {
    // The statements that make a store, as another program of ours runs them.
    std::string schema;
    {
        auto model = OpenStore((folder_ / "model.db").string());
        ASSERT_TRUE(model);
        for (const std::string& sql :
             Sql(*model, "SELECT sql FROM sqlite_schema WHERE sql IS NOT NULL"))
            schema += sql + ";\n";
        schema += "PRAGMA application_id = " + std::to_string(SqliteTableStore::kApplicationId) +
                  "; PRAGMA user_version = " + std::to_string(SqliteTableStore::kSchemaVersion);
    }
    OtherProgram maker(StorePath());
    maker.Run("BEGIN IMMEDIATE; " + schema);
    // The file looks empty until the maker commits, which it does while this open waits.
    std::thread commit([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        maker.Run("COMMIT");
    });
    SqliteOpenResult opened = SqliteTableStore::Open(StorePath());
    commit.join();
    ASSERT_TRUE(opened) << opened.error;
    EXPECT_EQ(Insert(*opened.store, Entry(5, 1, 0, "Letters")), kStoreOk);
}

TEST_F(StoreOpening, AReadOnlyFileOpensWithTheReasonToTellItsUser) {
    ASSERT_TRUE(OpenStore(StorePath()));
    auto writable = OpenStore(StorePath());
    EXPECT_FALSE(writable->ReadOnly());
    EXPECT_EQ(writable->ReadOnlyReason(), "");
    writable.reset();
    ASSERT_EQ(::chmod(StorePath().c_str(), 0444), 0);
    auto store = OpenStore(StorePath());
    ASSERT_TRUE(store);
    EXPECT_TRUE(store->ReadOnly());
    EXPECT_NE(store->ReadOnlyReason().find(StorePath() + " is a read-only file"), std::string::npos)
        << store->ReadOnlyReason();
}

TEST_F(StoreOpening, AStoreThatFailsItsIntegrityCheckOpensReadOnlyAndSaysWhy) {
    std::int64_t rootPage = 0;
    {
        auto store = OpenStore(StorePath());
        ASSERT_TRUE(store);
        for (int i = 1; i <= 20; ++i)
            ASSERT_EQ(Insert(*store, Entry(5, i, 0, "Folder " + std::to_string(i))), kStoreOk);
        rootPage = std::stoll(
            Sql(*store, "SELECT rootpage FROM sqlite_schema WHERE name = 'OLE_TREE'").at(0));
        ASSERT_EQ(Sql(*store, "PRAGMA page_size").at(0), "4096");
    }
    // The table's page claims far more cells than it can hold; the file's header and schema
    // are whole, so only the check finds it.
    {
        std::fstream file(StorePath(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp((rootPage - 1) * 4096 + 3);
        file.put(static_cast<char>(0x7f)).put(static_cast<char>(0xff));
    }
    SqliteOpenResult opened = SqliteTableStore::Open(StorePath());
    ASSERT_TRUE(opened) << opened.error;
    EXPECT_TRUE(opened.store->ReadOnly());
    EXPECT_NE(opened.store->ReadOnlyReason().find("failed its integrity check"), std::string::npos)
        << opened.store->ReadOnlyReason();
    EXPECT_EQ(Insert(*opened.store, Entry(6, 1, 0, "More")), kStoreFailed);
    EXPECT_NE(opened.store->LastError().find("read-only"), std::string::npos);
    EXPECT_EQ(opened.store->NextOleId().result, kStoreFailed);
}

TEST_F(StoreOpening, ALinkToNothingAndFilesThatAreNoFilesAreRefusedUntouched) {
    const fs::path link = folder_ / "link.db";
    const fs::path target = folder_ / "elsewhere" / "target.db";
    fs::create_directory(folder_ / "elsewhere");
    fs::create_symlink(target, link);
    SqliteOpenResult opened = SqliteTableStore::Open(link.string());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("symbolic link to " + target.string() + ", which does not exist"),
              std::string::npos)
        << opened.error;
    EXPECT_FALSE(fs::exists(target));

    // A link to a store is that store.
    ASSERT_TRUE(OpenStore(target.string()));
    EXPECT_TRUE(OpenStore(link.string()));

    // A pipe is never opened (a read from it would wait for a writer forever).
    const fs::path pipe = folder_ / "pipe.db";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    opened = SqliteTableStore::Open(pipe.string());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("not a regular file"), std::string::npos) << opened.error;
}

}  // namespace
}  // namespace orbel::host::test
