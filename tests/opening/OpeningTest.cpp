// Opening a store with Initiate: both trees loaded into the folder tree, the top level in the
// list, and what the control asks of its host on the way.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/preview/FrameContainer.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;
constexpr std::int32_t kStranger = 9;

class OpeningTest : public test::StoreControlTest {
  protected:
    // A class tree three folders deep, loaded child first (the key-2 order puts Gas, whose
    // parent has the lower entry number, before Bills), a class folder holding an item, and
    // an own tree with a folder under a class folder.
    void SeedStore() {
        SeedFolder(kClass, 8, 0, 0, "Accounts");
        SeedFolder(kClass, 6, kClass, 8, "Bills");
        SeedFolder(kClass, 7, kClass, 6, "Gas");
        SeedFolder(kClass, 4, 0, 0, "Letters");
        SeedItem(kClass, 5, kClass, 4, "Contract", 100, "/srv/contract.pdf");
        SeedFolder(kOwn, 1, 0, 0, "Mine");
        SeedFolder(kOwn, 2, kClass, 4, "Notes");
        SeedItem(kOwn, 3, kOwn, 1, "memo", 101, "/srv/memo.txt");
        SeedItem(kOwn, 4, 0, 0, "top", 102, "/srv/top.doc");
        // An own row that names a third owner as its parent, and that owner's own tree.
        SeedFolder(kOwn, 6, kStranger, 1, "Stranger");
        SeedFolder(kStranger, 1, 0, 0, "Elsewhere");
    }
};

TEST_F(OpeningTest, InitiateHangsEveryFolderUnderItsParentAndListsTheTopLevel) {
    SeedStore();
    EXPECT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);

    // Items mark their folder (the root too, for an item at the top); the third owner's row
    // is nowhere.
    EXPECT_EQ(TreeDump(),
              "All key=0 image=4/6 current\n"
              "  Accounts key=81 image=2/8\n"
              "    Bills key=61 image=2/8\n"
              "      Gas key=71 image=2/8\n"
              "  Letters key=41 image=4/6\n"
              "    Notes key=20 image=0/7\n"
              "  Mine key=10 image=3/5\n");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=81 image=2: Accounts |  |  | \n"
              "1 key=41 image=2: Letters |  |  | \n"
              "2 key=10 image=0: Mine |  |  | \n"
              "3 key=40 image=1: top |  |  | \n");
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 0);
    EXPECT_EQ(UserEvents(), (std::vector<std::string>{R"(FolderChange("\\All"))"}));
    EXPECT_EQ(P().Windows().GetFocus(), Ctrl().TreeView()->GetSafeHwnd());
    EXPECT_EQ(Ctrl().CurrentCursor(), platform::Cursor::Arrow);
    EXPECT_TRUE(P().Windows().IsWindowEnabled(Ctrl().GetSafeHwnd()));
}

TEST_F(OpeningTest, OpeningAgainShowsTheStoreAsItIsNowAndForgetsTheOldTree) {
    SeedStore();
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    ASSERT_EQ(Store().DeleteRecord("OLE_TREE", FormatTreeKey1({kClass, 6})), host::kStoreOk);
    // Gas lost its parent, and a folder that cannot be hung under its parent is not shown.
    EXPECT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    EXPECT_EQ(TreeDump(),
              "All key=0 image=4/6 current\n"
              "  Accounts key=81 image=2/8\n"
              "  Letters key=41 image=4/6\n"
              "    Notes key=20 image=0/7\n"
              "  Mine key=10 image=3/5\n");
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 4);
}

TEST_F(OpeningTest, WithoutAnOleIdTheStoreOpensUnderANewOneFromTheCounterRow) {
    EXPECT_EQ(Ctrl().Initiate(0, kClass), 1);
    EXPECT_EQ(ClassValue("0"), 1);
    EXPECT_EQ(Ctrl().CurrentOleId(), 1);

    SeedClass("1", 70);  // the resource counter is another row
    EXPECT_EQ(Ctrl().Initiate(0, kClass), 2);
    EXPECT_EQ(ClassValue("0"), 2);
    EXPECT_EQ(ClassValue("1"), 70);
}

TEST_F(OpeningTest, AHostThatFailsTheFirstSelectLeavesTheStoreUnopened) {
    SeedStore();
    Hooks().failSelects = 3;
    User().AnswerMessageBox(MessageAnswer::Ok, "Error SelectTableOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetTree:1");
    EXPECT_EQ(Ctrl().Initiate(kOwn, kClass), -1);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Selects().size(), 1u);
    EXPECT_EQ(TreeDump(), "All key=0 image=2/2 current\n");
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 0);
    EXPECT_TRUE(UserEvents().empty());
}

TEST_F(OpeningTest, InScriptMaintenanceNoRowOfTheItemsOwnTreeIsAskedFor) {
    SeedStore();
    Ctrl().SetScriptMaint(true);
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    const std::string classRange = "SelectTable(\"OLE_TREE\", 2, \"00000003";
    for (const std::string& select : Selects())
        EXPECT_EQ(select.rfind(classRange, 0), 0u) << select;
    EXPECT_EQ(Selects().size(), 2u);
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Accounts key=81 image=2/8\n"
              "    Bills key=61 image=2/8\n"
              "      Gas key=71 image=2/8\n"
              "  Letters key=41 image=4/6\n");

    // Showing a folder lists its class part only.
    Host().Clear();
    TreeModel().UserSelect(TreeItemNamed("Letters"));
    ASSERT_EQ(Selects().size(), 1u);
    EXPECT_EQ(Selects()[0].rfind(classRange, 0), 0u) << Selects()[0];
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=51 image=1: Contract |  |  | \n");
}

TEST_F(OpeningTest, DirectorySelectionOpensTheDirectoryClassAsBothTreesWhateverIsAsked) {
    SeedClass("0", 20);
    Put("DirectorySelect", Variant(true));
    SeedFolder(21, 1, 0, 0, "Inbox");
    SeedFolder(21, 2, 21, 1, "Today");
    SeedFolder(kOwn, 1, 0, 0, "Mine");

    EXPECT_EQ(Ctrl().Initiate(kOwn, kClass), 21);
    EXPECT_EQ(ClassValue("5"), 21);
    EXPECT_EQ(Ctrl().ClassOleId(), 21);
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Inbox key=11 image=2/8\n"
              "    Today key=21 image=2/8\n");

    // The class row is made once: the next opening reads it.
    EXPECT_EQ(Ctrl().Initiate(8, 9), 21);
    EXPECT_EQ(ClassValue("0"), 21);
}

// What opening a store switches to in the routing and preview work, which the control does not
// carry yet: each leaves its part out instead of pretending.
TEST_F(OpeningTest, LoadersOfLaterWorkAreNotThereYet) {
    SeedStore();

    // Directory selection opens the directory class, but the rows already routed are not
    // marked processed yet: the routing table stays empty.
    Put("DirectorySelect", Variant(true));
    SeedFolder(21, 1, 0, 0, "Inbox");
    ASSERT_NE(Ctrl().Initiate(kOwn, kClass), -1);
    EXPECT_TRUE(Ctrl().ListView()->Routing().empty());

    // No preview row exists to clear: the right-hand splitter holds the list alone.
    EXPECT_EQ(Ctrl().Frame()->InnerSplitter().GetRowCount(), 1);
}

}  // namespace
}  // namespace orbel
