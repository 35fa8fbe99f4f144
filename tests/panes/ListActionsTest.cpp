// What the user does in the item list: the context menus of each place and mode, their
// commands, the keys, opening, deleting a selection, renaming, and making a folder by naming
// a new row.
#include <gtest/gtest.h>

#include "src/resources/ListMenus.h"
#include "tests/panes/PaneUserFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;
using Events = std::vector<std::string>;

class ListActionsTest : public test::PaneUserTest {
  protected:
    // Right-clicks the row (-1: empty space) and dismisses the menu; the menu as shown.
    std::string MenuAt(int row) {
        User().AnswerMenu(std::nullopt);
        ListModel().UserRightClick(row, POINT{});
        P().RunUntilIdle();
        return LastMenu();
    }
    std::string LastMenu() {
        for (auto it = User().Transcript().rbegin(); it != User().Transcript().rend(); ++it)
            if (it->rfind("menu ", 0) == 0) return *it;
        return "(no menu)";
    }
    void Choose(int row, const std::string& item) {
        User().AnswerMenu(item);
        ListModel().UserRightClick(row, POINT{});
        P().RunUntilIdle();
    }
    void ShowMine() { TreeModel().UserSelect(Item("Mine")); }
};

TEST_F(ListActionsTest, EachPlaceHasItsMenu) {
    // At the top: Letters (class folder), Mine, report.
    EXPECT_EQ(MenuAt(1), "menu Rename | Properties -> none");
    EXPECT_EQ(MenuAt(2), "menu Open (default) | Rename | Properties -> none");
    EXPECT_EQ(MenuAt(-1),
              "menu New OLE Item | New Folder | - | Large Icons | Small Icons | List | "
              "Details (checked) -> none");
    // A spreadsheet gets its cell link.
    ListModel().SetItemText(2, 0, "Budget.XLS");
    EXPECT_EQ(MenuAt(2),
              "menu Open (default) | Rename | Properties | - | Link to spreadsheet cell... -> "
              "none");
    // Picking a view style changes the list and moves the check mark.
    Choose(-1, "List");
    EXPECT_EQ(ListModel().GetViewStyle(), platform::ListViewStyle::List);
    EXPECT_EQ(MenuAt(-1),
              "menu New OLE Item | New Folder | - | Large Icons | Small Icons | List (checked) | "
              "Details -> none");
}

TEST_F(ListActionsTest, DirectorySelectionOffersRoutingAndFolderMaintenanceNoNewFolder) {
    Put("DirectorySelect", Variant(true));
    EXPECT_EQ(MenuAt(2),
              "menu Open (default) | Rename | Attach To  | Email To  | - | Properties -> none");
    ListModel().SetItemText(2, 1, "Ledger");
    ListModel().SetItemText(2, 2, "someone@example.com");
    EXPECT_EQ(MenuAt(2),
              "menu Open (default) | Rename | Attach To  | Clear Attach To  | Email To  | "
              "Clear Email To  | - | Properties -> none");
    // Asking to attach the row stores the request and asks the host.
    Choose(2, "Email To ");
    EXPECT_EQ(UserEvents(), Events{R"(AttachOrEmail("EMAIL"))"});

    Ctrl().SetDisplayMode(DisplayMode::FolderMaint);
    EXPECT_EQ(MenuAt(-1),
              "menu New OLE Item | - | Large Icons | Small Icons | List | Details (checked) -> "
              "none");
}

TEST_F(ListActionsTest, NoMenuWhileTheControlIsBusyAndEscapeInAMenuIsNoExit) {
    Ctrl().SetBusy(true);
    ListModel().UserRightClick(2, POINT{});
    EXPECT_EQ(LastMenu(), "(no menu)");
    Ctrl().SetBusy(false);
    Adapter().ClearUserEvents();
    // Dismissing the menu is Escape pressed inside it: the host sees no Exit.
    MenuAt(2);
    EXPECT_TRUE(UserEvents().empty());
    EXPECT_FALSE(Ctrl().ContextMenuOpen());
}

TEST_F(ListActionsTest, CommandsOfLaterWorkDoNothingYet) {
    ShowMine();
    ListModel().UserClick(List().FindRow(30));
    const std::string before = ListDump();
    const auto events = Host().Events().size();
    for (UINT id : CViewList::CommandsWithoutReceiver()) List().OnListCommand(id);
    EXPECT_EQ(ListDump(), before);
    EXPECT_EQ(Host().Events().size(), events);
}

TEST_F(ListActionsTest, OpeningAFolderRowShowsItAndAnItemRowOpensItsFile) {
    ListModel().UserDoubleClick(List().FindRow(10));
    EXPECT_EQ(Tree().FolderPath(), "\\All\\Mine");
    EXPECT_EQ(UserEvents(), Events{R"(FolderChange("\\All\\Mine"))"});
    EXPECT_EQ(List().FolderKey(), 10);

    ListModel().UserClick(List().FindRow(30));
    P().Windows().SetFocus(List().GetSafeHwnd());
    PressKey(VK_RETURN);
    EXPECT_NE(P().ShellService().Dump().find("memo.txt"), std::string::npos)
        << P().ShellService().Dump();
}

TEST_F(ListActionsTest, DeletingASelectionAsksOnceForLinksButForEveryFolder) {
    // At the top: Letters (class), Mine, report; plus a second item.
    SeedItem(kOwn, 7, 0, 0, "invoice", 103, "/srv/invoice.pdf");
    TreeModel().UserSelect(Item("Sub"));
    TreeModel().UserSelect(Item("All"));
    ASSERT_EQ(ListModel().GetItemCount(), 4);
    for (int row : {1, 2, 3}) ListModel().UserToggleSelect(row);

    User().AnswerMessageBox(MessageAnswer::Ok, "Delete all selected items?");
    User().AnswerMessageBox(MessageAnswer::No,
                            "Are you sure you want to remove the folder Mine and all its "
                            "contents?");
    List().DeleteSelected();
    // Mine stays, deselected; both links went without a question each.
    EXPECT_TRUE(TreeRow(kOwn, 1));
    EXPECT_FALSE(TreeRow(kOwn, 4));
    EXPECT_FALSE(TreeRow(kOwn, 7));
    EXPECT_EQ(ListModel().GetSelectedRows(), std::vector<int>{});

    // Cancel asks nothing more.
    ListModel().UserClick(0);
    ListModel().UserToggleSelect(1);
    User().AnswerMessageBox(MessageAnswer::Cancel, "Delete all selected items?");
    List().DeleteSelected();
    EXPECT_TRUE(TreeRow(kOwn, 1));
}

TEST_F(ListActionsTest, AClassRowStopsTheDeletionAndAOneRowDeleteAsksForTheLink) {
    User().AnswerMessageBox(MessageAnswer::Ok, "May not delete a class item");
    ListModel().UserClick(0);
    P().Windows().SetFocus(List().GetSafeHwnd());
    PressKey(VK_DELETE);
    EXPECT_TRUE(TreeRow(kClass, 4));

    ListModel().UserClick(List().FindRow(40));
    User().AnswerMessageBox(MessageAnswer::No,
                            "Are you sure you want to remove the link to report?");
    PressKey(VK_DELETE);
    EXPECT_TRUE(TreeRow(kOwn, 4));
    // The row answered No stays, no longer selected.
    EXPECT_NE(List().FindRow(40), -1);
    EXPECT_TRUE(ListModel().GetSelectedRows().empty());
}

TEST_F(ListActionsTest, ARowTheStoreWillNotDeleteIsPassedOver) {
    SeedItem(kOwn, 7, 0, 0, "invoice", 103, "/srv/invoice.pdf");
    TreeModel().UserSelect(Item("Sub"));
    TreeModel().UserSelect(Item("All"));
    Hooks().refuseDelete = [](std::string_view, std::string_view key1) {
        return key1 == "0000000500000004";
    };
    ListModel().UserClick(List().FindRow(40));
    ListModel().UserToggleSelect(List().FindRow(70));
    User().AnswerMessageBox(MessageAnswer::Ok, "Delete all selected items?");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteEntry");
    List().DeleteSelected();
    EXPECT_TRUE(TreeRow(kOwn, 4));
    EXPECT_FALSE(TreeRow(kOwn, 7));
    // The row that stayed is selected and current again.
    EXPECT_EQ(ListModel().GetSelectedRows(), std::vector<int>{List().FindRow(40)});
    EXPECT_EQ(List().CurrentRow(), List().FindRow(40));
}

TEST_F(ListActionsTest, RenamingAnItemKeepsItsPagesAndAFolderRowRenamesTheTreeToo) {
    ShowMine();
    const int memo = List().FindRow(30);
    ListModel().UserClick(memo);
    Choose(memo, "Rename");
    ASSERT_EQ(ListModel().GetEditRow(), memo);
    EXPECT_EQ(ListModel().EditBox()->LimitValue(), 30);
    EXPECT_TRUE(Ctrl().LabelEditing());
    ListModel().UserEditLabel(memo, "minutes");
    EXPECT_FALSE(Ctrl().LabelEditing());
    EXPECT_EQ(TreeRow(kOwn, 3)->Name, "minutes");
    EXPECT_EQ(TreeRow(kOwn, 3)->PageStart, 2);
    EXPECT_EQ(TreeRow(kOwn, 3)->PageEnd, 5);
    EXPECT_EQ(ListModel().GetItemText(memo, 1), "2");
    EXPECT_EQ(ListModel().GetItemText(memo, 2), "5");

    const int sub = List().FindRow(60);
    ListModel().UserClick(sub);
    Choose(sub, "Rename");
    ListModel().UserEditLabel(sub, "Archive");
    EXPECT_NE(TreeItemNamed("Archive"), platform::kTreeNone);
    EXPECT_EQ(ListModel().GetItemText(sub, 0), "Archive");
}

TEST_F(ListActionsTest, RenamingInDirectorySelectionKeepsTheStoredPagesAndTheRoutingTexts) {
    ShowMine();
    Ctrl().ProcessTarnMessage("j");
    const int memo = List().FindRow(30);
    Ctrl().SetAttachOrEmail(memo, "ATTACH");
    Ctrl().ProcessTarnMessage("h3 copies 00000042");
    Ctrl().SetAttachOrEmail(memo, "EMAIL");
    Ctrl().ProcessTarnMessage("h12345someone@example.com 00000001");
    ListModel().UserClick(memo);
    ListModel().UserKeyDown(VK_F2);
    ListModel().UserEditLabel(memo, "minutes");
    EXPECT_EQ(TreeRow(kOwn, 3)->Name, "minutes");
    EXPECT_EQ(TreeRow(kOwn, 3)->PageStart, 2);
    EXPECT_EQ(TreeRow(kOwn, 3)->PageEnd, 5);
    EXPECT_EQ(ListModel().GetItemText(memo, 0), "minutes");
    EXPECT_EQ(ListModel().GetItemText(memo, 1), "3 copies");
    EXPECT_EQ(ListModel().GetItemText(memo, 2), "someone@example.com");
    // Page details from the host have no column here either.
    Ctrl().SetImageDetails(30, 7, 8, 9);
    Ctrl().UpdateItem(30, "minutes", 7, 8, 9);
    EXPECT_EQ(ListModel().GetItemText(memo, 1), "3 copies");
    EXPECT_EQ(ListModel().GetItemText(memo, 2), "someone@example.com");
}

TEST_F(ListActionsTest, AFolderRenamedInTheListLeavesTheTreeOnTheFolderItShows) {
    const int mine = List().FindRow(10);
    ListModel().UserClick(mine);
    ListModel().UserKeyDown(VK_F2);
    // The row shows the name as stored, without the blanks the store drops.
    ListModel().UserEditLabel(mine, "Mine 2026  ");
    EXPECT_EQ(TreeRow(kOwn, 1)->Name, "Mine 2026");
    EXPECT_EQ(ListModel().GetItemText(mine, 0), "Mine 2026");
    EXPECT_EQ(TreeModel().GetSelectedItem(), Item("All"));
    EXPECT_EQ(Tree().FolderPath(), "\\All");
    EXPECT_TRUE(UserEvents().empty());
    // A click on the renamed folder shows it.
    TreeModel().UserSelect(Item("Mine 2026"));
    EXPECT_EQ(List().FolderKey(), 10);
    EXPECT_NE(List().FindRow(30), -1);
    EXPECT_EQ(UserEvents(), Events{R"(FolderChange("\\All\\Mine 2026"))"});
}

TEST_F(ListActionsTest, AClassRowIsRenamedOnlyInDirectorySelectionAndNeverAsAFolder) {
    TreeModel().UserSelect(Item("Letters"));
    ListModel().UserClick(0);  // the class item Contract
    User().AnswerMessageBox(MessageAnswer::Ok, "May not edit a class item");
    ListModel().UserKeyDown(VK_F2);
    EXPECT_EQ(ListModel().GetEditRow(), -1);

    Put("DirectorySelect", Variant(true));
    ListModel().UserKeyDown(VK_F2);
    EXPECT_EQ(ListModel().GetEditRow(), 0);
    ListModel().UserEditLabel(0, std::nullopt);

    TreeModel().UserSelect(Item("All"));
    ListModel().UserClick(0);  // the class folder Letters
    // The menu comes first; choosing Rename shows the box.
    User().AnswerMenu("Rename");
    User().AnswerMessageBox(MessageAnswer::Ok, "May not edit a class item");
    ListModel().UserRightClick(0, POINT{});
    P().RunUntilIdle();
    EXPECT_EQ(ListModel().GetEditRow(), -1);
}

TEST_F(ListActionsTest, NamingTheNewRowMakesAFolderInTheShownFolder) {
    TreeModel().UserSelect(Item("Letters"));
    Choose(-1, "New Folder");
    const int placeholder = ListModel().GetItemCount() - 1;
    ASSERT_EQ(ListModel().GetEditRow(), placeholder);
    EXPECT_EQ(P().Windows().GetFocus(), ListModel().EditBox()->Window());
    // Opening is ignored while the new row is being named.
    ListModel().UserDoubleClick(0);
    EXPECT_EQ(Tree().FolderPath(), "\\All\\Letters");
    ListModel().UserEditLabel(placeholder, "Drafts");
    // The new own folder hangs under the class folder Letters.
    const auto names = TreeNames(kOwn);
    ASSERT_EQ(names.back(), "Drafts");
    const TreeEntry drafts = *TreeRow(kOwn, 7);
    EXPECT_EQ(drafts.ParentOwnerId, kClass);
    EXPECT_EQ(drafts.ParentEntryNo, 4);
    EXPECT_NE(TreeItemNamed("Drafts"), platform::kTreeNone);
    EXPECT_NE(List().FindRow(70), -1);
    EXPECT_EQ(ListModel().GetItemCount(), placeholder + 1);

    // Cancelled: the placeholder goes and nothing is made.
    Choose(-1, "New Folder");
    ListModel().UserEditLabel(ListModel().GetItemCount() - 1, std::nullopt);
    EXPECT_EQ(ListModel().GetItemCount(), placeholder + 1);
    EXPECT_EQ(TreeNames(kOwn).size(), names.size());
}

}  // namespace
}  // namespace orbel
