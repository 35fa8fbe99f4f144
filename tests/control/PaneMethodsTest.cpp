// The pane methods of the dispatch interface: the tree's act only in the normal mode, the
// list's in every mode but script maintenance; and the list read back by row index.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

class PaneMethodsTest : public test::StoreControlTest {
  protected:
    // Folder A with a class folder B inside and a folder C beside it.
    void BuildTree() {
        Ctrl().BeginTreeDownload();
        EXPECT_TRUE(Ctrl().AddTreeViewItem(true, false, 1, 0, "A"));
        EXPECT_TRUE(Ctrl().AddTreeViewItem(true, true, 2, 10, "B"));
        EXPECT_TRUE(Ctrl().AddTreeViewItem(true, false, 3, 0, "C"));
        EXPECT_TRUE(Ctrl().AddTreeViewItem(false, false, 4, 0, "An item"));
        Ctrl().EndTreeDownload();
    }
    void EnterFolderMaintenance() {
        ASSERT_EQ(Ctrl().InitiateFolderMaint(7, 5, "Letters", "2024"), 7);
        ASSERT_EQ(Ctrl().Mode(), DisplayMode::FolderMaint);
    }
    // Every list method once, on a list the calls fill themselves.
    void UseListMethods() {
        EXPECT_TRUE(Ctrl().AddListViewItem(false, false, 2, "Doc", "/srv/docs/a.pdf"));
        EXPECT_TRUE(Ctrl().AddListViewItem(true, false, 1, "Folder", ""));
        EXPECT_TRUE(Ctrl().AddListViewItem(false, true, 3, "Class doc", "/srv/docs/b.pdf"));
        EXPECT_TRUE(Ctrl().SetImageDetails(20, 1, 5, 3));
        EXPECT_TRUE(Ctrl().UpdateItem(31, "Class doc 2", 2, 0, 0));
        EXPECT_TRUE(Ctrl().UpdateListFolder(10, "Folder 2"));
        EXPECT_TRUE(Ctrl().SetListParent(7));
    }
};

TEST_F(PaneMethodsTest, TheTreeMethodsBuildTheTreeInTheNormalMode) {
    BuildTree();
    EXPECT_TRUE(Ctrl().SetTreeParent(30, 21));
    EXPECT_TRUE(Ctrl().UpdateTreeFolder(30, "C renamed"));
    // A rename leaves the selection where it was.
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  A key=10 image=0/7\n"
              "    B key=21 image=2/8\n"
              "      C renamed key=30 image=0/7\n");
    // The current folder goes with its parent; the tree makes the parent's parent current.
    TreeModel().SelectItem(TreeItemNamed("C renamed"));
    EXPECT_TRUE(Ctrl().DeleteTreeItem(21));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2\n"
              "  A key=10 image=0/7 current\n");
}

TEST_F(PaneMethodsTest, InFolderMaintenanceTheTreeMethodsChangeNothingAndSayTrue) {
    BuildTree();
    EnterFolderMaintenance();
    const std::string before = TreeDump();
    EXPECT_TRUE(Ctrl().AddTreeViewItem(true, false, 5, 0, "New"));
    EXPECT_TRUE(Ctrl().UpdateTreeFolder(10, "A renamed"));
    EXPECT_TRUE(Ctrl().UpdateFolder(10, "A renamed"));
    EXPECT_TRUE(Ctrl().SetTreeParent(30, 10));
    EXPECT_TRUE(Ctrl().DeleteTreeItem(10));
    Ctrl().BeginTreeDownload();
    Ctrl().EndTreeDownload();
    EXPECT_EQ(TreeDump(), before);
}

TEST_F(PaneMethodsTest, TheListMethodsWorkTheSameInTheNormalModeAndInFolderMaintenance) {
    UseListMethods();
    const std::string normal = ListModel().Dump();
    EXPECT_EQ(normal,
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=10 image=0: Folder 2 |  |  | \n"
              "1 key=20 image=1: Doc | 1 | 5 | 3\n"
              "2 key=31 image=1: Class doc 2 | 2 |  | \n");
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 70);
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 3);

    Ctrl().DeleteAllListViewItems();
    EnterFolderMaintenance();
    UseListMethods();
    // The same rows, under the extra column of folder maintenance.
    EXPECT_EQ(ListModel().GetItemCount(), 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(ListModel().GetItemText(row, column),
                      Ctrl().ListView()->RowText(row, column));
    EXPECT_EQ(ListModel().GetItemText(1, 1), "1");
    EXPECT_EQ(ListModel().GetItemText(0, 0), "Folder 2");

    // UpdateFolder renames the list's row even where the tree is left alone.
    EXPECT_TRUE(Ctrl().UpdateFolder(10, "Folder 3"));
    EXPECT_EQ(ListModel().GetItemText(0, 0), "Folder 3");
    EXPECT_TRUE(Ctrl().DeleteListItem(10));
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 2);
    Ctrl().DeleteAllListViewItems();
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 0);
}

TEST_F(PaneMethodsTest, InScriptMaintenanceTheListMethodsLeaveTheItemListAlone) {
    UseListMethods();
    const std::string before = ListDump();
    Ctrl().SetDisplayMode(DisplayMode::ScriptMaint);
    UseListMethods();
    EXPECT_TRUE(Ctrl().DeleteListItem(20));
    Ctrl().DeleteAllListViewItems();
    EXPECT_EQ(ListDump(), before);
}

TEST_F(PaneMethodsTest, AListItemHandleNamesOneHolderThatEachCallRefills) {
    UseListMethods();
    const std::int32_t handle = Ctrl().GetListViewdwItem(1);
    const ListItemHandle* item = Ctrl().FromListItemHandle(handle);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, "Doc");
    EXPECT_EQ(item->data, 20u);

    // The host may keep the number: it always names the same holder.
    EXPECT_EQ(Ctrl().GetListViewdwItem(2), handle);
    EXPECT_EQ(item->text, "Class doc 2");
    EXPECT_EQ(item->data, 31u);

    // A row that is not there empties the holder rather than leave the last row's values.
    EXPECT_EQ(Ctrl().GetListViewdwItem(3), handle);
    EXPECT_EQ(item->text, "");
    EXPECT_EQ(item->data, 0u);
    EXPECT_EQ(Ctrl().GetListViewdwItem(-1), handle);
    EXPECT_EQ(item->text, "");

    EXPECT_EQ(Ctrl().FromListItemHandle(handle + 1), nullptr);
    EXPECT_EQ(Ctrl().FromListItemHandle(0), nullptr);
}

}  // namespace
}  // namespace orbel
