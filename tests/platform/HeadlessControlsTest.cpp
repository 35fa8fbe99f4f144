#include <gtest/gtest.h>

#include <cstdio>

#include "platform/headless/HeadlessControls.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::HeadlessControls;
using platform::kListFocused;
using platform::kListSelected;
using platform::kTreeNone;
using platform::TreeInsert;
using platform::TreeItem;

// Writes each tree notification as a line and answers as the test tells it to.
class TreeLog : public platform::TreeControlEvents {
  public:
    std::vector<std::string> lines;
    bool refuseExpand = false;
    bool refuseBeginEdit = false;
    bool acceptEndEdit = true;

    void OnTreeSelChanged(TreeItem oldItem, TreeItem newItem) override {
        lines.push_back("sel " + std::to_string(oldItem) + "->" + std::to_string(newItem));
    }
    bool OnTreeItemExpanding(TreeItem item, bool expand) override {
        lines.push_back((expand ? "expanding " : "collapsing ") + std::to_string(item));
        return refuseExpand;
    }
    bool OnTreeBeginLabelEdit(TreeItem item) override {
        lines.push_back("begin edit " + std::to_string(item));
        return refuseBeginEdit;
    }
    bool OnTreeEndLabelEdit(TreeItem item, const std::optional<std::string>& text) override {
        lines.push_back("end edit " + std::to_string(item) + " " + text.value_or("(cancelled)"));
        return acceptEndEdit;
    }
};

class ListLog : public platform::ListControlEvents {
  public:
    std::vector<std::string> lines;
    void OnListItemChanged(int row, UINT oldState, UINT newState) override {
        lines.push_back("row " + std::to_string(row) + " " + std::to_string(oldState) + "->" +
                        std::to_string(newState));
    }
    void OnListDoubleClick(int row) override { lines.push_back("double " + std::to_string(row)); }
};

class ControlsTest : public test::HeadlessTest {
  protected:
    HeadlessControls& Controls() { return P().CommonControls(); }
    HWND window{0x4242};
};

// A folder tree as the loader builds it: the folders of a store arrive in no order and are
// inserted sorted under their parent.
TEST_F(ControlsTest, SortedInsertIgnoresCaseAndPutsEqualLabelsInArrivalOrder) {
    TreeLog log;
    auto tree = Controls().CreateTreeControl(window, log);
    TreeItem root = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    int key = 10;
    for (const char* name :
         {"beta", "Alpha", "gamma", "alpha", "Beta", "_x", "Zulu", "\xc3\x84rger"}) {
        TreeItem item = tree->InsertItem(name, 0, 7, root, TreeInsert::Sort);
        tree->SetItemData(item, static_cast<DWORD>(key));
        key += 10;
    }
    tree->InsertItem("first", 0, 7, root, TreeInsert::First);
    tree->InsertItem("last", 0, 7, root, TreeInsert::Last);
    tree->SelectItem(root);
    EXPECT_EQ(Controls().Tree(window)->Dump(),
              "All key=0 image=2/2 current\n"
              "  first key=0 image=0/7\n"
              "  _x key=60 image=0/7\n"
              "  Alpha key=20 image=0/7\n"
              "  alpha key=40 image=0/7\n"
              "  beta key=10 image=0/7\n"
              "  Beta key=50 image=0/7\n"
              "  gamma key=30 image=0/7\n"
              "  Zulu key=70 image=0/7\n"
              "  \xc3\x84rger key=80 image=0/7\n"
              "  last key=0 image=0/7\n");
}

TEST_F(ControlsTest, ThousandsOfSortedInsertsAtTheTopLevelWalkInOrder) {
    TreeLog log;
    auto tree = Controls().CreateTreeControl(window, log);
    constexpr int kFolders = 10000;
    // Descending names: every insert lands before all the others.
    for (int i = kFolders - 1; i >= 0; --i) {
        char name[16];
        std::snprintf(name, sizeof name, "Folder %05d", i);
        tree->InsertItem(name, 0, 7, kTreeNone, TreeInsert::Sort);
    }
    ASSERT_EQ(tree->GetCount(), static_cast<std::size_t>(kFolders));
    int seen = 0;
    std::string previous;
    for (TreeItem item = tree->GetRootItem(); item; item = tree->GetNextSiblingItem(item)) {
        std::string label = tree->GetItemText(item);
        ASSERT_LT(previous, label);
        previous = label;
        ++seen;
    }
    EXPECT_EQ(seen, kFolders);
}

TEST_F(ControlsTest, DeletingTheSelectionsAncestorMovesTheSelectionNextThenBackThenUp) {
    TreeLog log;
    auto tree = Controls().CreateTreeControl(window, log);
    TreeItem a = tree->InsertItem("A", 0, 7, kTreeNone, TreeInsert::Last);
    TreeItem a1 = tree->InsertItem("A1", 0, 7, a, TreeInsert::Last);
    TreeItem a2 = tree->InsertItem("A2", 0, 7, a, TreeInsert::Last);
    TreeItem a2x = tree->InsertItem("A2x", 0, 7, a2, TreeInsert::Last);
    TreeItem b = tree->InsertItem("B", 0, 7, kTreeNone, TreeInsert::Last);
    TreeItem c = tree->InsertItem("C", 0, 7, kTreeNone, TreeInsert::Last);

    tree->SelectItem(a2x);
    tree->SelectItem(a2x);  // no change, no notification
    ASSERT_TRUE(tree->DeleteItem(a2));
    EXPECT_EQ(tree->GetCount(), 4u);
    EXPECT_EQ(tree->GetItemText(a2x), "");
    EXPECT_EQ(tree->GetSelectedItem(), a1);  // no next sibling: the previous one

    tree->SelectItem(b);
    tree->DeleteItem(a1);  // outside the selection: nothing to notify
    tree->DeleteItem(b);
    EXPECT_EQ(tree->GetSelectedItem(), c);
    tree->DeleteItem(c);
    EXPECT_EQ(tree->GetSelectedItem(), a);
    tree->DeleteItem(a);  // last one at the top level: no selection left
    EXPECT_EQ(tree->GetSelectedItem(), kTreeNone);
    auto n = [](TreeItem i) { return std::to_string(i); };
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"sel 0->" + n(a2x), "sel " + n(a2x) + "->" + n(a1),
                                        "sel " + n(a1) + "->" + n(b), "sel " + n(b) + "->" + n(c),
                                        "sel " + n(c) + "->" + n(a), "sel " + n(a) + "->0"}));
    EXPECT_EQ(tree->GetCount(), 0u);

    // Deleting everything clears the selection and says so once.
    TreeItem d = tree->InsertItem("D", 0, 7, kTreeNone, TreeInsert::Last);
    tree->SelectItem(d);
    log.lines.clear();
    tree->DeleteAllItems();
    tree->DeleteAllItems();
    EXPECT_EQ(log.lines, std::vector<std::string>{"sel " + n(d) + "->0"});
}

TEST_F(ControlsTest, ExpansionIsAskedForAndMayBeRefused) {
    TreeLog log;
    auto tree = Controls().CreateTreeControl(window, log);
    TreeItem root = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    TreeItem leaf = tree->InsertItem("leaf", 0, 7, kTreeNone, TreeInsert::Last);
    TreeItem child = tree->InsertItem("child", 0, 7, root, TreeInsert::Last);

    EXPECT_FALSE(tree->Expand(leaf, true));  // nothing to expand: not even asked
    log.refuseExpand = true;
    EXPECT_FALSE(Controls().Tree(window)->UserExpand(root, true));
    EXPECT_FALSE(tree->IsExpanded(root));
    log.refuseExpand = false;
    EXPECT_TRUE(tree->Expand(root, true));
    EXPECT_TRUE(tree->IsExpanded(root));

    // Collapsing over the selection moves it to the collapsed item.
    tree->SelectItem(child);
    log.lines.clear();
    EXPECT_TRUE(tree->Expand(root, false));
    auto n = [](TreeItem i) { return std::to_string(i); };
    EXPECT_EQ(log.lines, (std::vector<std::string>{"collapsing " + n(root),
                                                   "sel " + n(child) + "->" + n(root)}));
}

TEST_F(ControlsTest, AnEditedTreeLabelChangesOnlyWhenTheOwnerAcceptsIt) {
    TreeLog log;
    auto tree = Controls().CreateTreeControl(window, log);
    TreeItem item = tree->InsertItem("Old", 0, 7, kTreeNone, TreeInsert::Last);
    auto& user = *Controls().Tree(window);

    log.refuseBeginEdit = true;
    EXPECT_FALSE(user.UserEditLabel(item, "Refused"));
    log.refuseBeginEdit = false;
    EXPECT_FALSE(user.UserEditLabel(item, std::nullopt));
    log.acceptEndEdit = false;
    EXPECT_FALSE(user.UserEditLabel(item, "Rejected"));
    EXPECT_EQ(tree->GetItemText(item), "Old");
    log.acceptEndEdit = true;
    EXPECT_TRUE(user.UserEditLabel(item, "New"));
    EXPECT_EQ(tree->GetItemText(item), "New");
    const std::string i = std::to_string(item);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"begin edit " + i, "begin edit " + i,
                                                   "end edit " + i + " (cancelled)",
                                                   "begin edit " + i, "end edit " + i + " Rejected",
                                                   "begin edit " + i, "end edit " + i + " New"}));
}

TEST_F(ControlsTest, AModelIsFoundByItsWindowWhileItLives) {
    TreeLog treeLog;
    ListLog listLog;
    auto tree = Controls().CreateTreeControl(window, treeLog);
    auto list = Controls().CreateListControl(HWND{0x99}, listLog);
    EXPECT_EQ(Controls().Tree(window), tree.get());
    EXPECT_EQ(Controls().List(window), nullptr);
    EXPECT_EQ(Controls().List(HWND{0x99}), list.get());
    tree.reset();
    EXPECT_EQ(Controls().Tree(window), nullptr);
}

TEST(HeadlessControls, AModelMayOutliveThePlatformThatMadeIt) {
    TreeLog log;
    auto controls = std::make_unique<HeadlessControls>();
    auto tree = controls->CreateTreeControl(HWND{5}, log);
    controls.reset();
    tree.reset();  // must not reach the registry that is gone
}

TEST_F(ControlsTest, ListRowsGoWhereAskedWithinTheCountAndDumpByColumn) {
    ListLog log;
    auto list = Controls().CreateListControl(window, log);
    EXPECT_EQ(Controls().List(window)->Dump(), "columns:\n");
    EXPECT_EQ(list->InsertColumn(0, "Name", platform::ListAlign::Left, 120), 0);
    EXPECT_EQ(list->InsertColumn(7, "Batch", platform::ListAlign::Right, 40), 1);
    EXPECT_EQ(list->InsertColumn(1, "Page Start", platform::ListAlign::Right, 40), 1);
    EXPECT_EQ(list->InsertItem(0, "report.tif", 1), 0);
    EXPECT_EQ(list->InsertItem(99, "scan.pdf", 1), 1);
    EXPECT_EQ(list->InsertItem(0, "Folder", 0), 0);
    list->SetItemData(0, 30);
    list->SetItemData(1, 40);
    EXPECT_TRUE(list->SetItemText(1, 1, "3"));
    EXPECT_TRUE(list->SetItemText(1, 2, "12"));
    EXPECT_FALSE(list->SetItemText(1, 3, "no such column"));
    list->SetItemState(2, kListSelected | kListFocused, kListSelected | kListFocused);
    EXPECT_EQ(Controls().List(window)->Dump(),
              "columns: Name | Page Start | Batch\n"
              "0 key=30 image=0: Folder |  | \n"
              "1 key=40 image=1: report.tif | 3 | 12\n"
              "2 key=0 image=1 selected focused: scan.pdf |  | \n");
    EXPECT_EQ(list->GetColumnAlign(1), platform::ListAlign::Right);

    // A column's texts leave with it.
    EXPECT_TRUE(list->DeleteColumn(1));
    EXPECT_EQ(list->GetItemText(1, 1), "12");
}

TEST_F(ControlsTest, FocusIsOnOneRowAndEveryStateChangeIsNotified) {
    ListLog log;
    auto list = Controls().CreateListControl(window, log);
    for (int i = 0; i < 3; ++i) list->InsertItem(i, "row" + std::to_string(i), 1);
    auto& user = *Controls().List(window);

    user.UserClick(0);
    user.UserToggleSelect(2);
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(list->GetItemState(0, kListFocused), 0u);
    EXPECT_EQ(list->GetItemState(2, kListFocused), kListFocused);
    // Setting a state that is already there is no change.
    list->SetItemState(2, kListSelected, kListSelected);
    user.UserClick(1);
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(log.lines, (std::vector<std::string>{"row 0 0->3",
                                                   "row 0 3->2",  // focus leaves row 0 first
                                                   "row 2 0->3", "row 0 2->0", "row 2 3->1",
                                                   "row 2 1->0", "row 1 0->3"}));
    log.lines.clear();
    user.UserDoubleClick(1);
    EXPECT_EQ(log.lines, std::vector<std::string>{"double 1"});
}

TEST_F(ControlsTest, ToolbarButtonsClickOnlyWhenShownAndEnabled) {
    struct Clicks : platform::ToolBarControlEvents {
        std::vector<UINT> ids;
        void OnToolButtonClicked(UINT id) override { ids.push_back(id); }
    } clicks;
    auto bar = Controls().CreateToolBarControl(window, clicks);
    bar->SetButtons({{32834, "New Folder", "Make a folder"},
                     {0, "", ""},
                     {32786, "Preview", ""},
                     {32799, "Options", ""}},
                    19, 18);
    EXPECT_TRUE(bar->EnableButton(32834, false));
    EXPECT_TRUE(bar->CheckButton(32786, true));
    EXPECT_TRUE(bar->HideButton(32799, true));
    EXPECT_FALSE(bar->EnableButton(4711, true));
    auto& user = *Controls().ToolBar(window);
    EXPECT_EQ(user.Dump(),
              "32834 \"New Folder\" disabled\n"
              "separator\n"
              "32786 \"Preview\" checked\n"
              "32799 \"Options\" hidden\n");
    EXPECT_FALSE(user.UserClick(32834));
    EXPECT_FALSE(user.UserClick(32799));
    EXPECT_FALSE(user.UserClick(0));
    EXPECT_TRUE(user.UserClick(32786));
    EXPECT_EQ(clicks.ids, std::vector<UINT>{32786});

    // New buttons start over: enabled, unchecked, shown.
    bar->SetButtons({{32786, "Preview", ""}}, 16, 16);
    EXPECT_EQ(user.Dump(), "32786 \"Preview\"\n");
}

TEST_F(ControlsTest, ImageListsNameTheirCellsAndIcons) {
    auto images = Controls().CreateImageList("IDB_TREE", 16, 20, 3);
    EXPECT_EQ(images->Describe(2), "IDB_TREE#2");
    EXPECT_EQ(images->Add(platform::Icon{"text-x-generic"}), 3);
    EXPECT_TRUE(images->Replace(4, platform::Icon{"a,1"}));  // at the count: appends
    EXPECT_FALSE(images->Replace(6, platform::Icon{"b,1"}));
    EXPECT_TRUE(images->Replace(1, platform::Icon{"c,2"}));
    EXPECT_EQ(images->GetImageCount(), 5);
    EXPECT_EQ(images->Describe(1), "c,2");
    EXPECT_EQ(images->Describe(3), "text-x-generic");
    EXPECT_EQ(images->Describe(5), "");

    EXPECT_EQ(Controls().ExtractIcon("/usr/bin/editor", 2), platform::Icon{"/usr/bin/editor,2"});
    EXPECT_EQ(Controls().ExtractIcon("", 0), std::nullopt);
    EXPECT_EQ(Controls().ExtractIcon("x.exe", -1), std::nullopt);
}

}  // namespace
}  // namespace orbel
