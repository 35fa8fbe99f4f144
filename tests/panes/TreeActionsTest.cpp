// What the user does in the folder tree: Delete and F2 with their refusals, label editing
// through the store, Escape while editing, and drags of folders and items onto folders.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tests/panes/PaneUserFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;
using Events = std::vector<std::string>;

class TreeActionsTest : public test::PaneUserTest {
  protected:
    std::optional<std::int32_t> ParentEntryOf(std::int32_t owner, std::int32_t entryNo) {
        auto row = TreeRow(owner, entryNo);
        if (!row) return std::nullopt;
        return row->ParentEntryNo;
    }
};

TEST_F(TreeActionsTest, AClassFolderIsNeitherDeletedNorRenamed) {
    TreeModel().UserSelect(Item("Letters"));
    const std::string before = TreeDump();
    User().AnswerMessageBox(MessageAnswer::Ok, "May not delete a class item");
    TreeModel().UserKeyDown(VK_DELETE);
    User().AnswerMessageBox(MessageAnswer::Ok, "May not edit a class item");
    TreeModel().UserKeyDown(VK_F2);
    // Clicking its label does not open an edit box either.
    EXPECT_FALSE(TreeModel().EditLabel(Item("Letters")));
    EXPECT_EQ(TreeDump(), before);
    EXPECT_EQ(TreeNames(kClass), (std::vector<std::string>{"Letters", "Contract"}));
    EXPECT_FALSE(Ctrl().LabelEditing());
}

TEST_F(TreeActionsTest, DeleteAsksFirstAndRemovesTheFolderOnlyOnYes) {
    TreeModel().UserSelect(Item("Sub"));
    User().AnswerMessageBox(MessageAnswer::No);
    TreeModel().UserKeyDown(VK_DELETE);
    ASSERT_TRUE(TreeRow(kOwn, 6));
    EXPECT_EQ(Boxes().back(),
              "box \"Are you sure you want to remove Sub and all it's contents?\" YESNO -> NO");

    User().AnswerMessageBox(MessageAnswer::Yes);
    TreeModel().UserKeyDown(VK_DELETE);
    EXPECT_FALSE(TreeRow(kOwn, 6));
    EXPECT_EQ(TreeItemNamed("Sub"), platform::kTreeNone);
}

TEST_F(TreeActionsTest, ALabelChangesOnlyOnceTheStoreTookTheName) {
    TreeModel().UserSelect(Item("Mine"));
    Adapter().ClearUserEvents();
    // F2 opens the edit box, limited to the stored name's width.
    TreeModel().UserKeyDown(VK_F2);
    ASSERT_NE(TreeModel().EditBox(), nullptr);
    EXPECT_TRUE(Ctrl().LabelEditing());
    EXPECT_EQ(TreeModel().EditBox()->LimitValue(), 30);
    TreeModel().UserEditLabel(Item("Mine"), std::string(40, 'x'));
    EXPECT_FALSE(Ctrl().LabelEditing());
    EXPECT_EQ(TreeRow(kOwn, 1)->Name, std::string(30, 'x'));
    EXPECT_NE(TreeItemNamed(std::string(30, 'x')), platform::kTreeNone);
    // Renaming keeps the folder current without telling the host of a folder change.
    EXPECT_TRUE(UserEvents().empty());

    // The store refuses the next name: the label stays as it was.
    Hooks().refuseUpdate = [](std::string_view table, std::string_view) {
        return table == "OLE_TREE";
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error UpdateOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error ChangeItem:3");
    TreeModel().UserEditLabel(Item(std::string(30, 'x')), "Other");
    EXPECT_EQ(TreeItemNamed("Other"), platform::kTreeNone);

    // A cancelled or emptied edit asks nothing of the store.
    Hooks().refuseUpdate = nullptr;
    const auto events = Host().Events().size();
    TreeModel().UserEditLabel(Item(std::string(30, 'x')), std::nullopt);
    TreeModel().UserEditLabel(Item(std::string(30, 'x')), "");
    EXPECT_EQ(Host().Events().size(), events);
}

TEST_F(TreeActionsTest, ANameIsStoredInCharactersAsTheEditBoxCountsThemAndShownAsStored) {
    TreeModel().UserSelect(Item("Mine"));
    // 19 characters in 34 bytes: all of them are stored, none is cut in half.
    const std::string greek = "Ελληνικά έγγραφα 26";
    TreeModel().UserKeyDown(VK_F2);
    TreeModel().UserEditLabel(Item("Mine"), greek);
    EXPECT_EQ(TreeRow(kOwn, 1)->Name, greek);
    EXPECT_EQ(Tree().FolderPath(), "\\All\\" + greek);
    // What the pane showed is what a new load shows.
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    TreeModel().UserSelect(Item(greek));

    // Past the width the edit box and the store both keep thirty characters.
    const std::string cjk30 = "会議の議事録と年次報告書の最終版をここに保存する場所です追加";
    TreeModel().UserKeyDown(VK_F2);
    TreeModel().UserEditLabel(Item(greek), cjk30 + "です");
    EXPECT_EQ(TreeRow(kOwn, 1)->Name, cjk30);
    EXPECT_NE(TreeItemNamed(cjk30), platform::kTreeNone);

    // Trailing blanks are not stored, so the panes do not show them either.
    TreeModel().UserKeyDown(VK_F2);
    TreeModel().UserEditLabel(Item(cjk30), "Notes   ");
    EXPECT_EQ(TreeRow(kOwn, 1)->Name, "Notes");
    EXPECT_NE(TreeItemNamed("Notes"), platform::kTreeNone);
}

TEST_F(TreeActionsTest, EscapeInTheEditBoxCancelsTheEditWithoutClosingTheHost) {
    P().Windows().SetFocus(Tree().GetSafeHwnd());
    TreeModel().UserSelect(Item("Mine"));
    Adapter().ClearUserEvents();
    TreeModel().UserKeyDown(VK_F2);
    ASSERT_NE(TreeModel().EditBox(), nullptr);
    TreeModel().EditBox()->Type("Renamed");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(TreeModel().EditBox(), nullptr);
    EXPECT_EQ(TreeRow(kOwn, 1)->Name, "Mine");
    EXPECT_FALSE(Ctrl().LabelEditing());
    // With no edit open, Escape is the host's Exit again.
    PressKey(VK_ESCAPE);
    EXPECT_EQ(UserEvents(), Events{"Exit()"});
}

TEST_F(TreeActionsTest, DroppingAFolderOnAnotherMovesItThereAndTellsTheHost) {
    DragTreeItem("Sub", TreeScreen(Item("All")));
    EXPECT_EQ(ParentEntryOf(kOwn, 6), 0);
    EXPECT_EQ(TreeModel().GetParentItem(Item("Sub")), Item("All"));
    EXPECT_EQ(TreeModel().GetDropHilightItem(), platform::kTreeNone);
    EXPECT_EQ(P().CommonControls().DragState(), "none");
    EXPECT_EQ(P().Windows().GetCapture(), kNoWindow);
    EXPECT_EQ(UserEvents(), Events{R"(FolderChange("\\All"))"});
    // The list is filled again for the current folder and now shows the moved one.
    EXPECT_NE(List().FindRow(60), -1);
}

// A host that hands over its folders children first adds each one under the root and then
// moves it under its parent: a chain 20,000 deep moves each folder once, with what is below
// it, however deep it already is.
TEST_F(TreeActionsTest, ADeepChainHandedOverChildrenFirstLoadsInLinearTime) {
    constexpr std::int32_t kDepth = 20000;
    const auto start = std::chrono::steady_clock::now();
    Ctrl().BeginTreeDownload();
    char name[16];
    for (std::int32_t n = 1; n <= kDepth; ++n) {
        std::snprintf(name, sizeof name, "F%05d", n);
        ASSERT_TRUE(Ctrl().AddTreeViewItem(true, false, n, 0, name));
    }
    const platform::TreeItem deepest = Tree().FindByKey(10);
    for (std::int32_t n = 1; n < kDepth; ++n) Ctrl().SetTreeParent(n * 10, (n + 1) * 10);
    Ctrl().EndTreeDownload();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Copying the subtree on every move took minutes and gigabytes here.
    EXPECT_LT(seconds, 20.0);

    EXPECT_EQ(TreeModel().GetCount(), static_cast<std::size_t>(kDepth) + 1);
    EXPECT_EQ(Tree().FindByKey(10), deepest);
    EXPECT_EQ(TreeModel().GetItemText(deepest), "F00001");
    std::int32_t depth = 0;
    for (platform::TreeItem up = deepest; up != platform::kTreeNone;
         up = TreeModel().GetParentItem(up))
        ++depth;
    EXPECT_EQ(depth, kDepth + 1);
    EXPECT_EQ(TreeModel().GetItemText(TreeModel().GetChildItem(TreeModel().GetRootItem())),
              "F20000");
}

TEST_F(TreeActionsTest, AFolderDoesNotGoIntoItsOwnSubtreeAndDroppingOnItselfDoesNothing) {
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Can not move folder. The destination folder belongs to the source");
    DragTreeItem("Mine", TreeScreen(Item("Sub")));
    DragTreeItem("Mine", TreeScreen(Item("Mine")));
    EXPECT_EQ(ParentEntryOf(kOwn, 1), 0);
    EXPECT_EQ(TreeModel().GetParentItem(Item("Sub")), Item("Mine"));
    // Every drag ends with the folder path, moved or not.
    EXPECT_EQ(UserEvents().size(), 2u);
}

TEST_F(TreeActionsTest, AClassEntryDraggedFromEitherPaneBeepsAndStays) {
    User().AnswerMessageBox(MessageAnswer::Ok, "Class structure may not be modified.");
    DragTreeItem("Letters", TreeScreen(Item("Mine")));
    TreeModel().UserSelect(Item("Letters"));
    User().AnswerMessageBox(MessageAnswer::Ok, "Class structure may not be modified.");
    DragListRow(List().FindRow(51), TreeScreen(Item("Mine")));
    EXPECT_EQ(ParentEntryOf(kClass, 4), 0);
    EXPECT_EQ(ParentEntryOf(kClass, 5), 4);
    const auto& lines = User().Transcript();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "beep"), 2);
    EXPECT_EQ(UserEvents().back(), R"(FolderChange("\\All\\Letters"))");
}

TEST_F(TreeActionsTest, AnItemDroppedOnATreeFolderMovesIntoItAndLeavesTheList) {
    const int row = List().FindRow(40);
    ASSERT_NE(row, -1);
    DragListRow(row, TreeScreen(Item("Sub")));
    EXPECT_EQ(ParentEntryOf(kOwn, 4), 6);
    EXPECT_EQ(List().FindRow(40), -1);
}

TEST_F(TreeActionsTest, OverTheListTheTargetIsTheFolderRowOrTheShownFolder) {
    // On empty list space: into the folder that the list shows (the top).
    DragTreeItem("Sub", ListEmptyScreen());
    EXPECT_EQ(ParentEntryOf(kOwn, 6), 0);
    // Onto the row of folder Mine: into Mine.
    DragTreeItem("Sub", ListScreen(List().FindRow(10)));
    EXPECT_EQ(ParentEntryOf(kOwn, 6), 1);
    // Onto an item row: nowhere.
    DragTreeItem("Sub", ListScreen(List().FindRow(40)));
    EXPECT_EQ(ParentEntryOf(kOwn, 6), 1);
    EXPECT_EQ(List().DropHighlightKey(), -1);
    EXPECT_EQ(ListModel().GetItemState(List().FindRow(40), platform::kListDropHilited), 0u);
}

TEST_F(TreeActionsTest, EscapeCancelsADragInEitherPaneAndIsNoExit) {
    DragTreeItem("Sub", TreeScreen(Item("All")), true);
    DragListRow(List().FindRow(40), TreeScreen(Item("Mine")), true);
    EXPECT_EQ(ParentEntryOf(kOwn, 6), 1);
    EXPECT_EQ(ParentEntryOf(kOwn, 4), 0);
    EXPECT_FALSE(Tree().Dragging());
    EXPECT_EQ(UserEvents(), (Events{R"(FolderChange("\\All"))", R"(FolderChange("\\All"))"}));
}

}  // namespace
}  // namespace orbel
