// The store's loader, writer, lookup and folder maintenance without a control: a scripted
// host answers each request from an in-memory store at once, and a recording site stands for
// the panes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/store/SqliteTableStore.h"
#include "platform/framework/Wnd.h"
#include "src/maintenance/FolderMaintenance.h"
#include "src/store/EntryWriter.h"
#include "src/store/TreeLoader.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

// Answers every table event from the store before the exchange starts to wait.
class ScriptedHost final : public IExchangeSite {
  public:
    ScriptedHost(host::TableStore& store, HWND window) : store_(store), window_(window) {}
    CHostExchange exchange{*this};
    std::vector<std::string> requests;

    void FireYield() override {}
    void FireSetTablePos(const std::string& table, std::int32_t relationship, std::int32_t keyNo,
                         const std::string& keyValue) override {
        requests.push_back("pos " + table);
        Reply({store_.SetTablePos(table, relationship, keyNo, keyValue), {}, {}});
    }
    void FireReadNextRecord(const std::string& table) override {
        requests.push_back("read " + table);
        Reply(store_.ReadNextRecord(table));
    }
    void FireUpdateRecord(const std::string& table, const RowText& row) override {
        requests.push_back("update " + table);
        Reply({store_.UpdateRecord(table, row.data, row.key1, row.key2, row.key3), {}, {}});
    }
    void FireInsertRecord(const std::string& table, const RowText& row) override {
        requests.push_back("insert " + table);
        Reply({store_.InsertRecord(table, row.data, row.key1, row.key2, row.key3), {}, {}});
    }
    void FireDeleteRecord(const std::string& table, const std::string& keyValue) override {
        requests.push_back("delete " + table);
        Reply({store_.DeleteRecord(table, keyValue), {}, {}});
    }
    void FireSelectTable(const std::string& table, std::int32_t keyNo, const std::string& start,
                         const std::string& end) override {
        requests.push_back("select " + table);
        auto cursor = store_.OpenSelect(table, keyNo, start, end);
        host::StoreReply row;
        while (cursor->Next(row))
            if (Reply(row)) return;
        Reply({cursor->EndResult(), {}, {}});
    }
    void FireGetNextOLEID() override { Reply(store_.NextOleId()); }
    void FireGetNextResourceID() override { Reply(store_.NextResourceId()); }
    HWND ExchangeWindow() const override { return window_; }
    std::int32_t ResponseTimeOut() const override { return 10000; }
    std::string ToStoredPath(const std::string& path) const override { return path; }
    void OnTreeRowUpdated(const TreeEntry&) override {}

  private:
    // True when the exchange has all it asked for.
    bool Reply(const host::StoreReply& r) {
        const auto& k = r.keys;
        exchange.RequestResult(
            r.result, {r.data, k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8], k[9]});
        return exchange.QueryClose();
    }

    host::TableStore& store_;
    HWND window_;
};

// The panes and the folder list, as lines in the order they were asked for.
class RecordingSite final : public CStoreSite {
  public:
    std::vector<std::string> log;
    bool subscriber = false;
    bool directorySelect = false;
    bool showResource = false;
    CFolderList* folders = nullptr;

    std::int32_t CurrentOleId() const override { return kOwn; }
    std::int32_t ClassOleId() const override { return kClass; }
    bool SubscriberMode() const override { return subscriber; }
    bool DirectorySelect() const override { return directorySelect; }
    bool ShowResource() const override { return showResource; }
    bool ScriptMaint() const override { return false; }
    bool BatchMaint() const override { return false; }
    void EnableControl(bool) override {}
    void AddListRow(const TreeEntry& row, bool isClass, const std::string& resource) override {
        log.push_back("list " + row.Name + (isClass ? " class" : "") +
                      (resource.empty() ? "" : " " + resource));
    }
    void AddTreeFolder(bool isClass, std::int32_t entryNo, std::int32_t parentKey,
                       const std::string& name) override {
        log.push_back("tree " + name + (isClass ? " class " : " ") + std::to_string(entryNo) +
                      " under " + std::to_string(parentKey));
    }
    void MoveTreeFolder(std::int32_t key, std::int32_t parentKey) override {
        if (parentKey != 0)
            log.push_back("move " + std::to_string(key) + " under " + std::to_string(parentKey));
    }
    void MarkTreeFolder(std::int32_t key) override { log.push_back("mark " + std::to_string(key)); }
    void RemoveTreeFolder(std::int32_t key) override {
        log.push_back("tree remove " + std::to_string(key));
    }
    void RedrawTree() override {}
    void RemoveListRow(std::int32_t key) override {
        log.push_back("list remove " + std::to_string(key));
    }
    void ClearList() override { log.push_back("list clear"); }
    void SetListFolder(bool, std::int32_t) override {}
    void RememberFolder(const TreeEntry& row) override {
        if (folders) folders->RememberFolder(row, RememberMode::Add);
    }
    void ForgetFolders() override {
        if (folders) folders->RemoveAll();
    }
    bool TranslateStoredPath(std::string&) const override { return false; }
    void FireBusy(bool) override {}
};

class StoreClassesTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(window_.Create("HostForm", "", 0, RECT{0, 0, 10, 10}, kNoWindow, 0));
        host::SqliteOpenResult opened = host::SqliteTableStore::Open(":memory:");
        ASSERT_TRUE(opened) << opened.error;
        store_ = std::move(opened.store);
        host_ = std::make_unique<ScriptedHost>(*store_, window_.GetSafeHwnd());
        lookup_.emplace(X(), site_);
        writer_.emplace(X(), site_, *lookup_);
        loader_.emplace(X(), site_, *lookup_);
        maintenance_.emplace(X(), site_, *lookup_, *writer_);
        site_.folders = &maintenance_->Folders();
    }
    void TearDown() override {
        window_.DestroyWindow();
        HeadlessTest::TearDown();
    }
    CHostExchange& X() { return host_->exchange; }
    void Seed(std::int32_t owner, std::int32_t entryNo, std::int32_t parentOwner,
              std::int32_t parentEntry, const std::string& name, std::int32_t resourceId = 0,
              const std::string& type = {}) {
        TreeEntry e;
        e.OwnerId = e.OwnerId2 = owner;
        e.EntryNo = entryNo;
        e.ParentOwnerId = parentOwner;
        e.ParentEntryNo = parentEntry;
        e.Name = name;
        e.ResourceId = resourceId;
        e.IsItem = resourceId != 0 ? 1 : 0;
        e.Type = type;
        const RowText row = BuildTreeEntry(e);
        ASSERT_EQ(store_->InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3), 0);
    }
    void SeedResource(std::int32_t id, const std::string& path) {
        const RowText row = BuildResourceRecord(ResourceRecord{id, path});
        ASSERT_EQ(store_->InsertRecord("OLE_RES", row.data, row.key1, "", ""), 0);
    }

    CWnd window_;
    std::unique_ptr<host::SqliteTableStore> store_;
    std::unique_ptr<ScriptedHost> host_;
    RecordingSite site_;
    std::optional<CResourceLookup> lookup_;
    std::optional<CEntryWriter> writer_;
    std::optional<CTreeLoader> loader_;
    std::optional<CFolderMaintenance> maintenance_;
};

TEST_F(StoreClassesTest, TheTreeLoadsEachOwnerTwiceAndHangsFoldersUnderParentsOfEitherTree) {
    Seed(kClass, 4, 0, 0, "Letters");
    Seed(kOwn, 1, 0, 0, "Drafts");
    // Filed under a class folder, and under an own folder with a higher number.
    Seed(kOwn, 2, kClass, 4, "Replies");
    Seed(kOwn, 3, kOwn, 6, "Inner");
    Seed(kOwn, 6, 0, 0, "Outer");
    Seed(kOwn, 7, kOwn, 1, "Scan", 70);
    // A row under a third owner's folder belongs to neither tree.
    Seed(kOwn, 8, 9, 1, "Stray");
    ASSERT_TRUE(loader_->GetTree());
    EXPECT_EQ(site_.log, (std::vector<std::string>{
                             "list Letters class", "tree Letters class 4 under 0", "list Drafts",
                             "tree Drafts 1 under 0", "list Outer", "tree Outer 6 under 0",
                             "tree Replies 2 under 0", "tree Inner 3 under 0", "move 20 under 41",
                             "mark 10", "move 30 under 60"}));
    EXPECT_EQ(X().LastResult(), kResultEndOfData);
    // Items are not folders to remember.
    EXPECT_EQ(maintenance_->Folders().Entries().size(), 5u);

    // In directory selection only the class tree is shown.
    site_.log.clear();
    site_.directorySelect = true;
    ASSERT_TRUE(loader_->GetTree());
    EXPECT_EQ(site_.log,
              (std::vector<std::string>{"list Letters class", "tree Letters class 4 under 0"}));
    EXPECT_EQ(maintenance_->Folders().Entries().size(), 1u);
}

TEST_F(StoreClassesTest, AFolderListingMarksClassRowsOnlyAndWalksResourcesToTheFoldersEnd) {
    Seed(kClass, 4, 0, 0, "Letters");
    Seed(kOwn, 1, 0, 0, "Drafts");
    Seed(kOwn, 2, kOwn, 1, "Scan", 20);
    Seed(kOwn, 3, kOwn, 1, "Note");
    Seed(kOwn, 4, kOwn, 9, "Elsewhere", 40);
    SeedResource(20, "/srv/scan.tif");
    SeedResource(40, "/srv/other.tif");

    loader_->ShowFolder(true, 0);
    EXPECT_EQ(site_.log,
              (std::vector<std::string>{"list clear", "list Letters class", "list Drafts"}));

    // Walked with resources, the listing stops at the first row of another folder, and a
    // folder whose rows end the table ends without a message.
    site_.log.clear();
    site_.showResource = true;
    loader_->ShowFolder(false, 1);
    EXPECT_EQ(site_.log,
              (std::vector<std::string>{"list clear", "list Note", "list Scan /srv/scan.tif"}));
    site_.log.clear();
    loader_->ShowFolder(false, 9);
    EXPECT_EQ(site_.log, (std::vector<std::string>{"list clear", "list Elsewhere /srv/other.tif"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StoreClassesTest, NewEntriesNumberOnFromTheOwnersHighestAndAFailedWriteChangesNoPane) {
    // The rows just before the owner's range, and just after it, are another owner's.
    Seed(kClass, 40, 0, 0, "Class");
    Seed(9, 1, 0, 0, "Other");
    EXPECT_EQ(writer_->NextEntryNumber(kOwn), 1);
    EXPECT_EQ(writer_->CreateNewFolder("Drafts", 0, 0), 1);
    EXPECT_EQ(writer_->CreateNewFolder("Inside", kOwn, 1), 2);
    EXPECT_EQ(writer_->NextEntryNumber(kOwn), 3);
    EXPECT_EQ(site_.log, (std::vector<std::string>{"list Drafts", "tree Drafts 1 under 0",
                                                   "list Inside", "tree Inside 2 under 10"}));

    // A subscriber's folder filed at the top goes to the top of the class tree.
    site_.log.clear();
    site_.subscriber = true;
    EXPECT_EQ(writer_->CreateNewFolder("Mine", 0, 0), 3);
    EXPECT_EQ(site_.log, (std::vector<std::string>{"list Mine", "tree Mine 3 under 0"}));
    ASSERT_EQ(lookup_->ReadTreeEntry(kOwn, 3), 0);
    EXPECT_EQ(X().m_treeEntry.ParentOwnerId, kClass);

    // Deleting an entry the host does not have says so and leaves the panes alone.
    site_.log.clear();
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteEntry");
    writer_->DeleteEntry(90);
    EXPECT_TRUE(site_.log.empty());
    writer_->DeleteEntry(10);
    EXPECT_EQ(site_.log, (std::vector<std::string>{"list remove 10", "tree remove 10"}));
}

TEST_F(StoreClassesTest, AMovedEntryTakesTheOwnerOfItsNewParentsTree) {
    Seed(kOwn, 2, 0, 0, "Moved");
    auto parentAfterMove = [&](std::int32_t newParentKey) {
        EXPECT_TRUE(writer_->SetParent(20, newParentKey));
        EXPECT_EQ(lookup_->ReadTreeEntry(kOwn, 2), 0);
        return std::pair{X().m_treeEntry.ParentOwnerId, X().m_treeEntry.ParentEntryNo};
    };
    EXPECT_EQ(parentAfterMove(41), std::pair(kClass, 4));
    EXPECT_EQ(parentAfterMove(10), std::pair(kOwn, 1));
    EXPECT_EQ(parentAfterMove(0), std::pair(0, 0));
    // A subscriber's top is the class tree's top.
    site_.subscriber = true;
    EXPECT_EQ(parentAfterMove(0), std::pair(kClass, 0));
    EXPECT_EQ(parentAfterMove(10), std::pair(kOwn, 1));
}

TEST_F(StoreClassesTest, ADeletedFolderFreesItsExtensionAndTheDirectoryClassIsMadeOnce) {
    Seed(kOwn, 1, 0, 0, "Images", 0, "tif");
    Seed(kOwn, 2, 0, 0, "Scans");
    ASSERT_TRUE(loader_->GetTree());
    EXPECT_EQ(maintenance_->FindFolderForExtension("TIF"), 10);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "This extension has already been allocated to a folder.");
    EXPECT_TRUE(maintenance_->CheckExtensionFree("tif", "Scans"));

    maintenance_->DeleteFolderEntry(10);
    EXPECT_EQ(site_.log.back(), "tree remove 10");
    EXPECT_EQ(maintenance_->FindFolderForExtension("TIF"), 0);
    EXPECT_FALSE(maintenance_->CheckExtensionFree("tif", "Scans"));

    // The first new OLE ID of an empty store is 1.
    EXPECT_EQ(maintenance_->GetClassOLEID(), 1);
    EXPECT_EQ(maintenance_->GetClassOLEID(), 1);
    EXPECT_EQ(maintenance_->GetClassOLEID(), 1);
}

}  // namespace
}  // namespace orbel
