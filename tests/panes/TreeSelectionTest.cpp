// The user selects folders in the tree: the list follows with the folder's entries, the host
// hears the folder's path, and the tree refuses to move while it is being loaded.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

class TreeSelectionTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        SeedFolder(kClass, 8, 0, 0, "Accounts");
        SeedFolder(kClass, 6, kClass, 8, "Bills");
        SeedFolder(kClass, 7, kClass, 6, "Gas");
        SeedItem(kClass, 9, kClass, 6, "Invoice", 100, "/srv/invoice.pdf", 1, 2);
        SeedFolder(kOwn, 1, kClass, 6, "Private");
        SeedItem(kOwn, 2, kClass, 6, "Mine", 101, "/srv/mine.doc");
        SeedItem(kOwn, 3, kOwn, 1, "Secret", 102, "/srv/secret.doc");
        SeedFolder(kOwn, 4, 0, 0, "Top");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
        Adapter().ClearUserEvents();
        Host().Clear();
    }
    void Select(const std::string& label) {
        const platform::TreeItem item = TreeItemNamed(label);
        ASSERT_NE(item, platform::kTreeNone) << label;
        TreeModel().UserSelect(item);
    }
    std::vector<std::string> FolderChanges() {
        std::vector<std::string> out;
        for (const host::UserEvent& e : Adapter().UserEvents())
            if (e.name == "FolderChange") out.push_back(e.args.at(0).BStr());
        return out;
    }
};

TEST_F(TreeSelectionTest, AClassFolderListsItsClassEntriesThenTheItemsOwnWithFoldersOnTop) {
    Select("Bills");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=71 image=2: Gas |  |  | \n"
              "1 key=10 image=0: Private |  |  | \n"
              "2 key=91 image=1: Invoice | 1 | 2 | \n"
              "3 key=20 image=1: Mine |  |  | \n");
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 61);
    EXPECT_EQ(FolderChanges(), (std::vector<std::string>{"\\All\\Accounts\\Bills"}));
    EXPECT_EQ(Selects().size(), 2u);
    // The window was disabled only while the folder was read.
    EXPECT_TRUE(P().Windows().IsWindowEnabled(Ctrl().GetSafeHwnd()));
    EXPECT_EQ(Ctrl().CurrentCursor(), platform::Cursor::Arrow);
}

TEST_F(TreeSelectionTest, AnOwnFolderAsksOnlyForTheItemsOwnRows) {
    Select("Private");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=30 image=1: Secret |  |  | \n");
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 10);
    ASSERT_EQ(Selects().size(), 1u);
    EXPECT_NE(Selects()[0].find("\"000000050000000500000001"), std::string::npos) << Selects()[0];
    EXPECT_EQ(FolderChanges(), (std::vector<std::string>{"\\All\\Accounts\\Bills\\Private"}));
}

TEST_F(TreeSelectionTest, TheRootListsTheTopOfBothTrees) {
    Select("Gas");
    Select("All");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=81 image=2: Accounts |  |  | \n"
              "1 key=40 image=0: Top |  |  | \n");
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 0);
    EXPECT_EQ(FolderChanges(), (std::vector<std::string>{"\\All\\Accounts\\Bills\\Gas", "\\All"}));
}

TEST_F(TreeSelectionTest, ShowingAFolderFromTheListExpandsItAndMakesItCurrent) {
    Ctrl().TreeView()->ShowFolder(81);
    EXPECT_TRUE(TreeModel().IsExpanded(TreeItemNamed("Accounts")));
    EXPECT_EQ(TreeModel().GetSelectedItem(), TreeItemNamed("Accounts"));
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 81);
    EXPECT_EQ(FolderChanges(), (std::vector<std::string>{"\\All\\Accounts"}));
}

TEST_F(TreeSelectionTest, ARenameLeavesTheSelectionWhereItWas) {
    Select("Gas");
    Adapter().ClearUserEvents();
    Host().Clear();
    const std::string listBefore = ListDump();
    Ctrl().UpdateTreeFolder(61, "Bills 2024");
    EXPECT_EQ(TreeModel().GetSelectedItem(), TreeItemNamed("Gas"));
    EXPECT_TRUE(FolderChanges().empty());
    EXPECT_TRUE(Host().Events().empty());
    EXPECT_EQ(ListDump(), listBefore);
    EXPECT_EQ(Ctrl().TreeView()->FolderPath(), "\\All\\Accounts\\Bills 2024\\Gas");

    // The renamed folder is shown, and the host told, when the user selects it.
    Select("Bills 2024");
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 61);
    EXPECT_EQ(FolderChanges(), (std::vector<std::string>{"\\All\\Accounts\\Bills 2024"}));
}

TEST_F(TreeSelectionTest, NothingExpandsOrCollapsesWhileTheTreeIsBeingLoaded) {
    Ctrl().BeginTreeDownload();
    Ctrl().AddTreeViewItem(true, false, 1, 0, "Parent");
    Ctrl().AddTreeViewItem(true, false, 2, 10, "Child");
    const platform::TreeItem parent = TreeItemNamed("Parent");
    EXPECT_FALSE(TreeModel().UserExpand(parent, true));
    EXPECT_FALSE(TreeModel().IsExpanded(parent));
    Ctrl().EndTreeDownload();
    EXPECT_TRUE(TreeModel().UserExpand(parent, true));
    EXPECT_TRUE(TreeModel().UserExpand(parent, false));
    EXPECT_TRUE(FolderChanges().empty());
}

}  // namespace
}  // namespace orbel
