// The store as a file on disk: what survives closing it, what is refused, and what a read-only
// store does.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "tests/store/StoreFixture.h"

namespace orbel::host::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Makes a plain SQLite file with the statements given, outside the store's own code.
void MakeSqliteFile(const fs::path& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

class StoreFile : public ::testing::Test {
  protected:
    std::string StorePath() const { return (folder_ / "store.db").string(); }

    // A store with a row in each table and both counters used.
    void Seed() {
        auto store = OpenStore(StorePath());
        ASSERT_TRUE(store);
        ASSERT_EQ(Insert(*store, Entry(5, 1, 0, "Letters   ")), kStoreOk);
        const RowText res = BuildResourceRecord({1, "/srv/scans/0001.tif"});
        ASSERT_EQ(store->InsertRecord("OLE_RES", res.data, res.key1, "", ""), kStoreOk);
        const RowText cla = BuildClassRecord({"EMAIL", 5});
        ASSERT_EQ(store->InsertRecord("OLE_CLA", cla.data, cla.key1, "", ""), kStoreOk);
        ASSERT_EQ(Atol(store->NextOleId().keys[0]), 1);
        ASSERT_EQ(Atol(store->NextOleId().keys[0]), 2);
        ASSERT_EQ(Atol(store->NextResourceId().keys[0]), 1);
    }

    TempFolder folder_;
};

TEST_F(StoreFile, AReopenedStoreKeepsEveryRowAndGoesOnCounting) {
    Seed();
    auto store = OpenStore(StorePath());
    ASSERT_TRUE(store);
    ASSERT_EQ(store->SetTablePos("OLE_TREE", 0, 1, FormatTreeKey1({5, 1})), kStoreOk);
    const StoreReply tree = store->ReadNextRecord("OLE_TREE");
    EXPECT_EQ(tree.keys[1], FormatTreeKey2({5, 0, 0, "Letters   "}));
    EXPECT_EQ(NameOf(tree), "Letters");
    ASSERT_EQ(store->SetTablePos("OLE_RES", 0, 1, FormatResourceKey(1)), kStoreOk);
    EXPECT_EQ(ParseResourceRecord(store->ReadNextRecord("OLE_RES").data, "").Path,
              "/srv/scans/0001.tif");
    ASSERT_EQ(store->SetTablePos("OLE_CLA", 0, 1, FormatClassKey("EMAIL")), kStoreOk);
    EXPECT_EQ(Atol(store->ReadNextRecord("OLE_CLA").data), 5);
    EXPECT_EQ(Atol(store->NextOleId().keys[0]), 3);
    EXPECT_EQ(Atol(store->NextResourceId().keys[0]), 2);
}

TEST_F(StoreFile, EveryAnsweredWriteIsAlreadyCommitted) {
    // A second connection sees each row as soon as the first has answered, while the first is
    // still open: nothing waits in an open transaction for a later commit.
    auto writer = OpenStore(StorePath());
    auto reader = OpenStore(StorePath());
    ASSERT_TRUE(writer && reader);
    ASSERT_EQ(Insert(*writer, Entry(5, 1, 0, "Letters")), kStoreOk);
    EXPECT_EQ(reader->SetTablePos("OLE_TREE", 0, 1, FormatTreeKey1({5, 1})), kStoreOk);
    ASSERT_EQ(Atol(writer->NextOleId().keys[0]), 1);
    EXPECT_EQ(Atol(reader->NextOleId().keys[0]), 2);
    ASSERT_EQ(writer->DeleteRecord("OLE_TREE", FormatTreeKey1({5, 1})), kStoreOk);
    EXPECT_EQ(reader->SetTablePos("OLE_TREE", 0, 1, FormatTreeKey1({5, 1})), kStoreNotFound);
    EXPECT_EQ(Sql(*reader, "PRAGMA synchronous"), (std::vector<std::string>{"2"}));  // FULL
}

TEST_F(StoreFile, SeveralWritesCanShareOneCommit) {
    auto store = OpenStore(StorePath());
    ASSERT_TRUE(store);
    EXPECT_TRUE(store->InTransaction([&] {
        return Insert(*store, Entry(5, 1, 0, "A")) == kStoreOk &&
               Insert(*store, Entry(5, 2, 0, "B")) == kStoreOk;
    }));
    // A failed group leaves nothing behind, not even the writes that succeeded in it.
    EXPECT_FALSE(store->InTransaction([&] {
        return Insert(*store, Entry(5, 3, 0, "C")) == kStoreOk &&
               Insert(*store, Entry(5, 1, 0, "A again")) == kStoreOk;
    }));
    EXPECT_EQ(Sql(*store, "SELECT Name FROM OLE_TREE ORDER BY Key1"),
              (std::vector<std::string>{"A", "B"}));
}

TEST_F(StoreFile, AFileThatIsNotAStoreIsRefusedAndLeftAsItWas) {
    const fs::path text = folder_ / "notes.txt";
    std::ofstream(text) << "Dear store,\nthis is a letter, not a database.\n";
    const std::string before = FileBytes(text);
    SqliteOpenResult opened = SqliteTableStore::Open(text.string());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find(text.string()), std::string::npos) << opened.error;
    EXPECT_NE(opened.error.find("not a store"), std::string::npos) << opened.error;
    EXPECT_EQ(FileBytes(text), before);

    const fs::path other = folder_ / "other.db";
    MakeSqliteFile(other, "CREATE TABLE invoices (id INTEGER); INSERT INTO invoices VALUES (7);");
    const std::string otherBefore = FileBytes(other);
    opened = SqliteTableStore::Open(other.string());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("invoices"), std::string::npos) << opened.error;
    EXPECT_EQ(FileBytes(other), otherBefore);

    EXPECT_EQ(Listing(folder_.Path()), (std::vector<std::string>{"notes.txt", "other.db"}));
}

TEST_F(StoreFile, AStoreOfANewerVersionIsRefused) {
    Seed();
    MakeSqliteFile(StorePath(), "PRAGMA user_version = 2");
    SqliteOpenResult opened = SqliteTableStore::Open(StorePath());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("version 2"), std::string::npos) << opened.error;
}

TEST_F(StoreFile, AnEmptyFileBecomesAStoreButAMissingFolderIsAnError) {
    std::ofstream(StorePath()).close();
    auto store = OpenStore(StorePath());
    ASSERT_TRUE(store);
    EXPECT_EQ(Insert(*store, Entry(5, 1, 0, "A")), kStoreOk);

    SqliteOpenResult opened = SqliteTableStore::Open((folder_ / "no/such/store.db").string());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("no/such/store.db"), std::string::npos) << opened.error;
}

TEST_F(StoreFile, AReadOnlyStoreReadsButRefusesEveryWriteAndChangesNothing) {
    Seed();
    fs::permissions(StorePath(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = FileBytes(StorePath());
    const std::vector<std::string> listing = Listing(folder_.Path());
    {
        auto store = OpenStore(StorePath());
        ASSERT_TRUE(store);
        ASSERT_EQ(store->SetTablePos("OLE_TREE", 0, 1, FormatTreeKey1({5, 1})), kStoreOk);
        EXPECT_EQ(NameOf(store->ReadNextRecord("OLE_TREE")), "Letters");
        ExpectEveryWriteRefused(*store);
    }
    EXPECT_EQ(FileBytes(StorePath()), before);
    EXPECT_EQ(Listing(folder_.Path()), listing);
}

TEST_F(StoreFile, AStoreOpenedReadOnlyRefusesWritesLikeAReadOnlyFile) {
    Seed();
    const std::string before = FileBytes(StorePath());
    auto store = OpenStore(StorePath(), StoreAccess::ReadOnly);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->SetTablePos("OLE_CLA", 0, 1, FormatClassKey("EMAIL")), kStoreOk);
    EXPECT_EQ(store->DeleteRecord("OLE_CLA", FormatClassKey("EMAIL")), kStoreFailed);
    EXPECT_NE(store->LastError().find(StorePath()), std::string::npos) << store->LastError();
    EXPECT_EQ(store->NextResourceId().result, kStoreFailed);
    EXPECT_EQ(FileBytes(StorePath()), before);

    // Read-only cannot make a store where there is none.
    EXPECT_FALSE(SqliteTableStore::Open((folder_ / "absent.db").string(), StoreAccess::ReadOnly));
    EXPECT_FALSE(fs::exists(folder_ / "absent.db"));
}

}  // namespace
}  // namespace orbel::host::test
