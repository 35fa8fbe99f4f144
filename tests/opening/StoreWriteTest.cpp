// The control's writes to the store: new folders and items, renames, moves, deletions and new
// IDs, each checked in the host's table and in the panes that show it.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

class StoreWriteTest : public test::StoreControlTest {
  protected:
    void Open() {
        SeedFolder(kClass, 4, 0, 0, "Letters");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    }
};

TEST_F(StoreWriteTest, ANewFolderTakesTheNumberAfterItsOwnersHighestAndShowsInBothPanes) {
    // Rows of a lower and of a higher owner do not count.
    SeedFolder(9, 30, 0, 0, "Other owner");
    Open();
    EXPECT_EQ(Ctrl().Writer().CreateNewFolder("Drafts", 0, 0), 1);
    EXPECT_EQ(TreeRow(kOwn, 1), (TreeEntry{kOwn, 1, kOwn, 0, 0, "Drafts", 0, 0, 0, 0, "", ""}));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Drafts key=10 image=0/7\n"
              "  Letters key=41 image=2/8\n");
    // A folder row goes above the items, after the folders already listed.
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=41 image=2: Letters |  |  | \n"
              "1 key=10 image=0: Drafts |  |  | \n");

    SeedFolder(kOwn, 2, 0, 0, "Two");
    SeedFolder(kOwn, 5, 0, 0, "Five");
    EXPECT_EQ(Ctrl().Writer().CreateNewFolder("Inside", kOwn, 1), 6);
    EXPECT_EQ(TreeRow(kOwn, 6)->ParentEntryNo, 1);
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Drafts key=10 image=0/7\n"
              "    Inside key=60 image=0/7\n"
              "  Letters key=41 image=2/8\n");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StoreWriteTest, TheFirstFolderOfAnEmptyStoreIsNumberOne) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, 0), kOwn);
    EXPECT_EQ(Ctrl().Writer().CreateNewFolder("First", 0, 0), 1);
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"First"}));
}

TEST_F(StoreWriteTest, ANewItemStoresItsResourceAndTheRowTheHostExpects) {
    Open();
    Put("BatchMaint", Variant(true));
    Ctrl().Writer().CreateNewItem("Scan", "/srv/scans/a.tif", 0, 0, -1, -1);
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "/srv/scans/a.tif"}));
    EXPECT_EQ(TreeRow(kOwn, 1),
              (TreeEntry{kOwn, 1, kOwn, 0, 0, "Scan", 1, 1, 0, 0, "00000000", "tif"}));

    Put("BatchMaint", Variant(false));
    Ctrl().Writer().CreateNewItem("Site", "http://example.com/page.html", kClass, 4, 2, 7);
    EXPECT_EQ(ResourceRow(2), (ResourceRecord{2, "http://example.com/page.html"}));
    EXPECT_EQ(TreeRow(kOwn, 2),
              (TreeEntry{kOwn, 2, kOwn, kClass, 4, "Site", 2, 1, 2, 7, "", "url"}));
    EXPECT_EQ(ClassValue("1"), 2);

    // Both are listed as items, below the folder; a page of 0 shows as nothing.
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=41 image=2: Letters |  |  | \n"
              "1 key=10 image=1: Scan |  |  | \n"
              "2 key=20 image=1: Site | 2 | 7 | \n");
}

TEST_F(StoreWriteTest, AnItemWhoseTreeRowIsRefusedKeepsItsResourceRow) {
    Open();
    Hooks().refuseInsert = [](std::string_view table, std::string_view) {
        return table == "OLE_TREE";
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error CreateNewItem:4");
    Ctrl().Writer().CreateNewItem("Scan", "/srv/scans/a.tif", 0, 0, 1, 1);
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "/srv/scans/a.tif"}));
    EXPECT_TRUE(TreeNames(kOwn).empty());
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 1);
}

TEST_F(StoreWriteTest, AKeyEndingInOneChangesTheClassTreesEntryAndAnyOtherTheItemsOwn) {
    SeedItem(kClass, 7, 0, 0, "Class seven", 100, "/srv/c.pdf");
    SeedItem(kOwn, 7, 0, 0, "Own seven", 101, "/srv/o.pdf");
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);

    EXPECT_TRUE(Ctrl().Writer().ChangeItem(71, "Renamed class", 1, 2));
    EXPECT_EQ(TreeRow(kClass, 7)->Name, "Renamed class");
    EXPECT_EQ(TreeRow(kClass, 7)->PageEnd, 2);
    EXPECT_EQ(TreeRow(kOwn, 7)->Name, "Own seven");

    EXPECT_TRUE(Ctrl().Writer().ChangeItem(70, "Renamed own", 3, 4));
    EXPECT_EQ(TreeRow(kOwn, 7)->Name, "Renamed own");
    EXPECT_EQ(TreeRow(kOwn, 7)->PageStart, 3);
    EXPECT_EQ(TreeRow(kClass, 7)->Name, "Renamed class");
    // The resource link and the row's place stay as they were.
    EXPECT_EQ(TreeRow(kOwn, 7)->ResourceId, 101);

    User().AnswerMessageBox(MessageAnswer::Ok, "Error ChangeItem:1");
    EXPECT_FALSE(Ctrl().Writer().ChangeItem(90, "Nobody", 0, 0));
}

TEST_F(StoreWriteTest, AMovedEntryTakesTheOwnerThatItsNewParentsKeyNames) {
    SeedFolder(kOwn, 1, 0, 0, "Mine");
    SeedFolder(kOwn, 2, 0, 0, "Loose");
    Open();
    struct Case {
        std::int32_t parentKey, owner, entry;
    };
    for (const Case& c : {Case{41, kClass, 4}, Case{10, kOwn, 1}, Case{0, 0, 0}}) {
        SCOPED_TRACE(c.parentKey);
        EXPECT_TRUE(Ctrl().Writer().SetParent(20, c.parentKey));
        const std::optional<TreeEntry> row = TreeRow(kOwn, 2);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->ParentOwnerId, c.owner);
        EXPECT_EQ(row->ParentEntryNo, c.entry);
        EXPECT_EQ(row->Name, "Loose");
    }
}

TEST_F(StoreWriteTest, DeletingAnEntryRemovesItsRowItsListRowAndItsTreeFolder) {
    SeedFolder(kOwn, 1, 0, 0, "Mine");
    SeedItem(kOwn, 2, 0, 0, "memo", 100, "/srv/memo.txt");
    Open();
    Ctrl().Writer().DeleteEntry(10);
    EXPECT_FALSE(TreeRow(kOwn, 1));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=4/6 current\n"
              "  Letters key=41 image=2/8\n");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=41 image=2: Letters |  |  | \n"
              "1 key=20 image=1: memo |  |  | \n");

    // A row the host cannot delete stays in the panes as well.
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteEntry");
    Ctrl().Writer().DeleteEntry(10);
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 2);
}

TEST_F(StoreWriteTest, OleAndResourceIdsCountOnInTheirOwnClassRows) {
    CHostExchange& x = Ctrl().Exchange();
    EXPECT_EQ(x.GetNextOLEID(), 1);
    EXPECT_EQ(x.GetNextOLEID(), 2);
    EXPECT_EQ(x.GetNextResourceID(), 1);
    EXPECT_EQ(ClassValue("0"), 2);
    EXPECT_EQ(ClassValue("1"), 1);
    // Asking the host directly goes on after what the counter rows handed out.
    Ctrl().SetDirectIDRetrieval(true);
    EXPECT_EQ(x.GetNextOLEID(), 3);
    EXPECT_EQ(Host().Events().back(), "GetNextOLEID()");
}

}  // namespace
}  // namespace orbel
