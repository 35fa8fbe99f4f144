// The common controls on both backends: the tree's order, selection and expansion, label
// editing through the keyboard, hit tests that agree with the rectangles, the list's row states
// and view styles, keyboard navigation in both, and a list of a hundred thousand rows.
#include "tests/conformance/ControlsFixture.h"

namespace orbel::test {
namespace {

TYPED_TEST_SUITE(ControlsConformance, Backends, BackendNames);

// ---------------------------------------------------------------------------------------
// The tree

// A folder tree as the loader builds it: the folders of a store arrive in no order and are
// inserted sorted under their parent.
TYPED_TEST(ControlsConformance, SortedInsertIgnoresCaseAndPutsEqualLabelsInArrivalOrder) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
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
    EXPECT_EQ(platform::DescribeTree(*tree),
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

TYPED_TEST(ControlsConformance, AControlIsFoundByItsWindowWhileItLives) {
    TreeLog treeLog;
    ListLog listLog;
    const HWND other = this->MakeChildWindow(this->top, RECT{300, 20, 490, 370});
    auto tree = this->C().CreateTreeControl(this->pane, treeLog);
    auto list = this->C().CreateListControl(other, listLog);
    EXPECT_EQ(this->Driver().Tree(this->pane), tree.get());
    EXPECT_EQ(this->Driver().List(this->pane), nullptr);
    EXPECT_EQ(this->Driver().List(other), list.get());
    tree.reset();
    EXPECT_EQ(this->Driver().Tree(this->pane), nullptr);
    EXPECT_FALSE(this->Driver().TreeSelect(this->pane, 1));
}

TYPED_TEST(ControlsConformance, ThousandsOfSortedInsertsAtTheTopLevelWalkInOrder) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
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

TYPED_TEST(ControlsConformance, DeletingTheSelectionsAncestorMovesTheSelectionNextThenBackThenUp) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
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

    EXPECT_TRUE(this->Driver().TreeSelect(this->pane, b));
    tree->DeleteItem(a1);  // outside the selection: nothing to notify
    tree->DeleteItem(b);
    EXPECT_EQ(tree->GetSelectedItem(), c);
    tree->DeleteItem(c);
    EXPECT_EQ(tree->GetSelectedItem(), a);
    tree->DeleteItem(a);  // last one at the top level: no selection left
    EXPECT_EQ(tree->GetSelectedItem(), kTreeNone);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"sel 0->" + N(a2x), "sel " + N(a2x) + "->" + N(a1),
                                        "sel " + N(a1) + "->" + N(b), "sel " + N(b) + "->" + N(c),
                                        "sel " + N(c) + "->" + N(a), "sel " + N(a) + "->0"}));
    EXPECT_EQ(tree->GetCount(), 0u);

    // Deleting everything clears the selection and says so once.
    TreeItem d = tree->InsertItem("D", 0, 7, kTreeNone, TreeInsert::Last);
    tree->SelectItem(d);
    log.lines.clear();
    tree->DeleteAllItems();
    tree->DeleteAllItems();
    EXPECT_EQ(log.lines, std::vector<std::string>{"sel " + N(d) + "->0"});
    EXPECT_FALSE(this->Driver().TreeSelect(this->pane, d));
}

TYPED_TEST(ControlsConformance, ExpansionIsAskedForAndMayBeRefused) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    TreeItem root = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    TreeItem leaf = tree->InsertItem("leaf", 0, 7, kTreeNone, TreeInsert::Last);
    TreeItem child = tree->InsertItem("child", 0, 7, root, TreeInsert::Last);

    EXPECT_FALSE(tree->Expand(leaf, true));  // nothing to expand: not even asked
    log.refuseExpand = true;
    this->Driver().TreeExpand(this->pane, root, true);
    EXPECT_FALSE(tree->IsExpanded(root));
    RECT r{};
    EXPECT_FALSE(tree->GetItemRect(child, r, false));
    log.refuseExpand = false;
    this->Driver().TreeExpand(this->pane, root, true);
    EXPECT_TRUE(tree->IsExpanded(root));
    EXPECT_TRUE(tree->GetItemRect(child, r, false));

    // Collapsing over the selection moves it to the collapsed item.
    this->Driver().TreeSelect(this->pane, child);
    log.lines.clear();
    EXPECT_TRUE(tree->Expand(root, false));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"collapsing " + N(root),
                                                   "sel " + N(child) + "->" + N(root)}));
}

TYPED_TEST(ControlsConformance, TreeRowsAreHitOnTheirIconAndLabelAndHiddenChildrenAreNot) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    auto images = this->C().CreateImageList("tree", 16, 20, 15);
    tree->SetImageList(images.get());
    TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    TreeItem mine = tree->InsertItem("Mine", 0, 7, all, TreeInsert::Sort);
    TreeItem sub = tree->InsertItem("Sub", 0, 7, mine, TreeInsert::Sort);
    RECT r{};
    EXPECT_FALSE(tree->GetItemRect(mine, r, true));  // All is not open
    tree->EnsureVisible(sub);
    EXPECT_TRUE(tree->IsExpanded(all));
    ASSERT_TRUE(tree->GetItemRect(sub, r, true));
    const int y = Middle(r).y;
    UINT flags = 0;
    EXPECT_EQ(tree->HitTest(Middle(r), &flags), sub);
    EXPECT_EQ(flags, platform::kTreeHitOnLabel);
    EXPECT_EQ(tree->HitTest(POINT{r.left - 4, y}, &flags), sub);
    EXPECT_EQ(flags, platform::kTreeHitOnIcon);
    EXPECT_EQ(tree->HitTest(POINT{1, y}, &flags), sub);
    EXPECT_FALSE(flags & platform::kTreeHitOnItem);
    EXPECT_EQ(tree->HitTest(POINT{r.right + 50, y}, &flags), sub);
    EXPECT_EQ(flags, platform::kTreeHitOnRight);
    EXPECT_EQ(tree->HitTest(POINT{r.left, r.bottom + 1}, &flags), kTreeNone);
    EXPECT_EQ(flags, platform::kTreeHitNowhere);
    // The whole row holds its label, and every shown row is hit at its middle.
    RECT row{};
    ASSERT_TRUE(tree->GetItemRect(sub, row, false));
    EXPECT_LE(row.left, r.left);
    EXPECT_GE(row.right, r.right);
    for (TreeItem item : {all, mine, sub}) {
        ASSERT_TRUE(tree->GetItemRect(item, r, true));
        EXPECT_EQ(tree->HitTest(Middle(r), nullptr), item) << tree->GetItemText(item);
    }
    tree->Expand(mine, false);
    EXPECT_FALSE(tree->GetItemRect(sub, r, true));
}

TYPED_TEST(ControlsConformance, ATreeEditBoxTakesTheFocusLimitsCharactersAndEndsOnEnterOrEscape) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    log.tree = tree.get();
    log.limitOnBegin = 5;
    TreeItem item = tree->InsertItem("Mine", 0, 7, kTreeNone, TreeInsert::Last);

    ASSERT_TRUE(tree->EditLabel(item));
    EXPECT_EQ(tree->GetEditItem(), item);
    const HWND edit = this->W().GetFocus();
    EXPECT_EQ(this->W().GetClassName(edit), "Edit");
    EXPECT_EQ(this->W().GetParent(edit), this->pane);
    // Characters, not bytes: the cut never splits one.
    EXPECT_TRUE(this->Driver().TypeLabel(this->pane,
                                         "\xc3\xa4\xc3\xb6\xc3\xbc"
                                         "abcdef"));
    this->Press(edit, VK_RETURN);
    EXPECT_EQ(tree->GetItemText(item),
              "\xc3\xa4\xc3\xb6\xc3\xbc"
              "ab");
    EXPECT_EQ(tree->GetEditItem(), kTreeNone);
    EXPECT_FALSE(this->W().IsWindow(edit));
    EXPECT_EQ(this->W().GetFocus(), this->pane);
    EXPECT_FALSE(this->Driver().TypeLabel(this->pane, "no box"));

    ASSERT_TRUE(tree->EditLabel(item));
    this->Driver().TypeLabel(this->pane, "Other");
    this->Press(this->W().GetFocus(), VK_ESCAPE);
    // Keys on the control reach the owner as key notifications.
    this->Press(this->pane, VK_DELETE);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"begin edit " + N(item),
                                        "end edit " + N(item) +
                                            " \xc3\xa4\xc3\xb6\xc3\xbc"
                                            "ab",
                                        "begin edit " + N(item),
                                        "end edit " + N(item) + " (cancelled)", "key 46"}));
    EXPECT_EQ(tree->GetItemText(item),
              "\xc3\xa4\xc3\xb6\xc3\xbc"
              "ab");
}

TYPED_TEST(ControlsConformance, AnEditedTreeLabelChangesOnlyWhenTheOwnerAcceptsIt) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    TreeItem item = tree->InsertItem("Old", 0, 7, kTreeNone, TreeInsert::Last);
    auto edit = [&](const char* text) {
        if (!tree->EditLabel(item)) return;
        const HWND box = this->W().GetFocus();
        if (text) this->Driver().TypeLabel(this->pane, text);
        this->Press(box, text ? VK_RETURN : VK_ESCAPE);
    };
    log.refuseBeginEdit = true;
    edit("Refused");
    EXPECT_EQ(tree->GetEditItem(), kTreeNone);
    EXPECT_EQ(this->W().GetFocus(), this->pane);
    log.refuseBeginEdit = false;
    edit(nullptr);
    log.acceptEndEdit = false;
    edit("Rejected");
    EXPECT_EQ(tree->GetItemText(item), "Old");
    log.acceptEndEdit = true;
    edit("");  // an empty label is the owner's to refuse
    EXPECT_EQ(tree->GetItemText(item), "");
    edit("New");
    EXPECT_EQ(tree->GetItemText(item), "New");
    const std::string i = N(item);
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "begin edit " + i, "begin edit " + i, "end edit " + i + " (cancelled)",
                             "begin edit " + i, "end edit " + i + " Rejected", "begin edit " + i,
                             "end edit " + i + " ", "begin edit " + i, "end edit " + i + " New"}));
}

TYPED_TEST(ControlsConformance, APersonsClicksAndDragsOnTheTreeNameTheItemUnderThePointer) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    TreeItem mine = tree->InsertItem("Mine", 0, 7, all, TreeInsert::Sort);
    tree->Expand(all, true);
    tree->SelectItem(all);
    log.lines.clear();
    RECT r{};
    ASSERT_TRUE(tree->GetItemRect(mine, r, true));
    const POINT middle = Middle(r);
    EXPECT_TRUE(this->Driver().TreeRightClick(this->pane, mine, middle));
    // A drag starts from the item without selecting it.
    EXPECT_TRUE(this->Driver().TreeBeginDrag(this->pane, mine, middle));
    this->Driver().MouseButton(WM_LBUTTONUP, this->W().ClientToScreen(this->pane, middle));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"right " + N(mine) + " at " + At(middle),
                                                   "drag " + N(mine) + " at " + At(middle)}));
    EXPECT_EQ(tree->GetSelectedItem(), all);
    EXPECT_FALSE(this->Driver().TreeBeginDrag(this->pane, 4711, middle));
}

// A drag over the panes highlights one folder or row at a time; the highlight is gone with its
// item, and so is an edit of a deleted item, without a word to the owner.
TYPED_TEST(ControlsConformance, TheDropHighlightAndTheEditGoWithTheirItem) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    TreeItem mine = tree->InsertItem("Mine", 0, 7, all, TreeInsert::Sort);
    TreeItem sub = tree->InsertItem("Sub", 0, 7, mine, TreeInsert::Sort);
    EXPECT_TRUE(tree->SelectDropTarget(sub));
    EXPECT_TRUE(tree->SelectDropTarget(mine));
    EXPECT_FALSE(tree->SelectDropTarget(4711));
    EXPECT_EQ(tree->GetDropHilightItem(), mine);
    ASSERT_TRUE(tree->EditLabel(sub));
    EXPECT_TRUE(tree->SetItemImage(sub, 3, 5));
    EXPECT_EQ(platform::DescribeTree(*tree),
              "All key=0 image=2/2\n"
              "  Mine key=0 image=0/7 drop\n"
              "    Sub key=0 image=3/5 editing\n");
    tree->DeleteItem(mine);
    EXPECT_EQ(tree->GetDropHilightItem(), kTreeNone);
    EXPECT_EQ(tree->GetEditItem(), kTreeNone);
    EXPECT_FALSE(this->Driver().TypeLabel(this->pane, "gone"));
    EXPECT_EQ(this->W().GetFocus(), this->pane);
    EXPECT_EQ(log.lines, std::vector<std::string>{"begin edit " + N(sub)});

    ListLog listLog;
    const HWND other = this->MakeChildWindow(this->top, RECT{300, 20, 490, 370});
    auto list = this->C().CreateListControl(other, listLog);
    list->InsertItem(0, "a", 0);
    list->InsertItem(1, "b", 1);
    list->SetItemState(1, platform::kListDropHilited, platform::kListDropHilited);
    list->SetItemState(1, 0, platform::kListDropHilited);
    list->SetItemState(0, platform::kListDropHilited, platform::kListDropHilited);
    EXPECT_EQ(list->GetItemState(0, platform::kListDropHilited), platform::kListDropHilited);
    EXPECT_TRUE(list->GetSelectedRows().empty());
    EXPECT_EQ(listLog.lines, (std::vector<std::string>{"row 1 0->8", "row 1 8->0", "row 0 0->8"}));
}

// A view's control may be destroyed after the platform went away.
TYPED_TEST(ControlsConformance, AControlMayOutliveThePlatformThatMadeIt) {
    TreeLog treeLog;
    ListLog listLog;
    auto tree = this->C().CreateTreeControl(this->pane, treeLog);
    auto list = this->C().CreateListControl(
        this->MakeChildWindow(this->top, RECT{300, 20, 490, 370}), listLog);
    tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    list->InsertItem(0, "row", 1);
    EXPECT_TRUE(list->EditLabel(0));
    this->W().DestroyWindow(this->top);
    platform::UninstallPlatform();
    EXPECT_EQ(tree->GetItemText(tree->GetRootItem()), "All");
    tree.reset();
    list.reset();
    // The fixture's own end wants a platform.
    this->SetUp();
}

// The arrow, page, Home and End keys and + and -, pressed as a person presses them, move the
// selection and expand as clicks do, after the owner has heard of the key.
TYPED_TEST(ControlsConformance, KeysMoveTheTreeSelectionAndExpandAsClicksDo) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    const TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    const TreeItem a = tree->InsertItem("A", 0, 7, all, TreeInsert::Sort);
    const TreeItem a1 = tree->InsertItem("A1", 0, 7, a, TreeInsert::Sort);
    const TreeItem a2 = tree->InsertItem("A2", 0, 7, a, TreeInsert::Sort);
    const TreeItem b = tree->InsertItem("B", 0, 7, all, TreeInsert::Sort);
    // Without a selection a key goes to the first item.
    this->Press(this->pane, VK_DOWN);
    tree->Expand(all, true);
    for (UINT key : {VK_DOWN, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_UP, VK_LEFT, VK_LEFT,
                     VK_SUBTRACT, VK_ADD, VK_END, VK_HOME, VK_NEXT, VK_PRIOR})
        this->Press(this->pane, key);
    const auto sel = [](TreeItem from, TreeItem to) { return "sel " + N(from) + "->" + N(to); };
    const auto key = [](UINT k) { return "key " + std::to_string(k); };
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             key(VK_DOWN), sel(kTreeNone, all), "expanding " + N(all), key(VK_DOWN),
                             sel(all, a), key(VK_RIGHT), "expanding " + N(a), key(VK_RIGHT),
                             sel(a, a1), key(VK_DOWN), sel(a1, a2), key(VK_DOWN), sel(a2, b),
                             key(VK_UP), sel(b, a2), key(VK_LEFT), sel(a2, a), key(VK_LEFT),
                             "collapsing " + N(a), key(VK_SUBTRACT), key(VK_ADD),
                             "expanding " + N(a), key(VK_END), sel(a, b), key(VK_HOME), sel(b, all),
                             // A page is more rows than the tree has.
                             key(VK_NEXT), sel(all, b), key(VK_PRIOR), sel(b, all)}));
    EXPECT_TRUE(tree->IsExpanded(a));
    RECT r{};
    EXPECT_TRUE(tree->GetItemRect(a2, r, true));

    // A refused expansion leaves the selection where it is, and a collapse takes the selection
    // out of the collapsed item.
    this->Press(this->pane, VK_END);
    log.refuseExpand = true;
    log.lines.clear();
    this->Press(this->pane, VK_LEFT);
    this->Press(this->pane, VK_LEFT);
    EXPECT_EQ(tree->GetSelectedItem(), all);
    EXPECT_EQ(log.lines, (std::vector<std::string>{key(VK_LEFT), sel(b, all), key(VK_LEFT),
                                                   "collapsing " + N(all)}));
}

// A key that makes another folder current disables the control while the folder loads: the
// tree keeps the keyboard through that, and takes the next keys where they are sent.
TYPED_TEST(ControlsConformance, AFocusedTreeTakesTheNextKeysAfterItsWindowWasDisabled) {
    struct LoadingLog : TreeLog {
        std::function<void()> load;
        void OnTreeSelChanged(TreeItem oldItem, TreeItem newItem) override {
            TreeLog::OnTreeSelChanged(oldItem, newItem);
            if (load) load();
        }
    } log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    const TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    const TreeItem a = tree->InsertItem("A", 0, 7, all, TreeInsert::Sort);
    const TreeItem b = tree->InsertItem("B", 0, 7, all, TreeInsert::Sort);
    tree->Expand(all, true);
    tree->SelectItem(all);
    log.load = [this] {
        this->W().EnableWindow(this->top, false);
        this->Pump();
        this->W().EnableWindow(this->top, true);
    };
    this->Press(this->W().GetFocus(), VK_DOWN);
    EXPECT_EQ(tree->GetSelectedItem(), a);
    EXPECT_EQ(this->W().GetFocus(), this->pane);
    EXPECT_EQ(TypeParam::KeyboardFocus(this->P(), this->top), this->pane);
    this->Press(this->W().GetFocus(), VK_DOWN);
    EXPECT_EQ(tree->GetSelectedItem(), b);
    log.load = nullptr;
}

// A folder moved in the tree takes everything of its item along, in the view as well.
TYPED_TEST(ControlsConformance, AMovedItemKeepsItsSubtreeExpansionAndSelectionInTheView) {
    TreeLog log;
    auto tree = this->C().CreateTreeControl(this->pane, log);
    const TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    const TreeItem a = tree->InsertItem("A", 3, 5, all, TreeInsert::Sort);
    const TreeItem a1 = tree->InsertItem("A1", 0, 7, a, TreeInsert::Sort);
    const TreeItem z = tree->InsertItem("Z", 0, 7, all, TreeInsert::Sort);
    tree->SetItemData(a1, 30);
    tree->Expand(all, true);
    tree->Expand(a, true);
    tree->SelectItem(a1);
    log.lines.clear();

    EXPECT_TRUE(tree->MoveItem(a, z, TreeInsert::Sort));
    EXPECT_FALSE(tree->MoveItem(z, a1, TreeInsert::Sort));
    EXPECT_FALSE(tree->MoveItem(4711, all, TreeInsert::Sort));
    EXPECT_EQ(platform::DescribeTree(*tree),
              "All key=0 image=2/2\n"
              "  Z key=0 image=0/7\n"
              "    A key=0 image=3/5\n"
              "      A1 key=30 image=0/7 current\n");
    EXPECT_TRUE(log.lines.empty());
    // Where the view shows them: under a parent it opens, the moved item still open.
    tree->Expand(z, true);
    RECT r{};
    ASSERT_TRUE(tree->GetItemRect(a1, r, true));
    EXPECT_EQ(tree->HitTest(Middle(r), nullptr), a1);
    ASSERT_TRUE(tree->GetItemRect(z, r, true));
    EXPECT_EQ(tree->HitTest(Middle(r), nullptr), z);
    // Keys walk the outline as it is now.
    this->Press(this->pane, VK_UP);
    EXPECT_EQ(tree->GetSelectedItem(), a);
    // Back to the top level, sorted among the others there.
    EXPECT_TRUE(tree->MoveItem(a, kTreeNone, TreeInsert::Sort));
    EXPECT_EQ(tree->GetRootItem(), a);
    EXPECT_EQ(tree->GetNextSiblingItem(a), all);
}

// ---------------------------------------------------------------------------------------
// The list

TYPED_TEST(ControlsConformance, ListRowsGoWhereAskedWithinTheCountAndColumnsKeepTheirTexts) {
    ListLog log;
    auto list = this->C().CreateListControl(this->pane, log);
    EXPECT_EQ(platform::DescribeList(*list), "columns:\n");
    EXPECT_EQ(list->InsertColumn(0, "Name", ListAlign::Left, 120), 0);
    EXPECT_EQ(list->InsertColumn(7, "Batch", ListAlign::Right, 40), 1);
    EXPECT_EQ(list->InsertColumn(1, "Page Start", ListAlign::Right, 40), 1);
    EXPECT_EQ(list->InsertItem(0, "report.tif", 1), 0);
    EXPECT_EQ(list->InsertItem(99, "scan.pdf", 1), 1);
    EXPECT_EQ(list->InsertItem(0, "Folder", 0), 0);
    list->SetItemData(0, 30);
    list->SetItemData(1, 40);
    EXPECT_TRUE(list->SetItemText(1, 1, "3"));
    EXPECT_TRUE(list->SetItemText(1, 2, "12"));
    EXPECT_FALSE(list->SetItemText(1, 3, "no such column"));
    list->SetItemState(2, kListSelected | kListFocused, kListSelected | kListFocused);
    EXPECT_EQ(platform::DescribeList(*list),
              "columns: Name | Page Start | Batch\n"
              "0 key=30 image=0: Folder |  | \n"
              "1 key=40 image=1: report.tif | 3 | 12\n"
              "2 key=0 image=1 selected focused: scan.pdf |  | \n");
    EXPECT_EQ(list->GetColumnAlign(1), ListAlign::Right);
    EXPECT_EQ(list->GetColumnWidth(2), 40);

    // A column's texts leave with it.
    EXPECT_TRUE(list->DeleteColumn(1));
    EXPECT_EQ(list->GetItemText(1, 1), "12");
    EXPECT_EQ(list->GetColumnTitle(1), "Batch");
}

TYPED_TEST(ControlsConformance, FocusIsOnOneRowAndEveryStateChangeIsNotified) {
    ListLog log;
    auto list = this->MakeList(log);
    for (int i = 0; i < 3; ++i) list->InsertItem(i, "row" + std::to_string(i), 1);

    EXPECT_TRUE(this->Driver().ListClick(this->pane, 0));
    EXPECT_TRUE(this->Driver().ListToggleSelect(this->pane, 2));
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(list->GetItemState(0, kListFocused), 0u);
    EXPECT_EQ(list->GetItemState(2, kListFocused), kListFocused);
    // Setting a state that is already there is no change.
    list->SetItemState(2, kListSelected, kListSelected);
    this->Driver().ListClick(this->pane, 1);
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(log.lines, (std::vector<std::string>{"row 0 0->3",
                                                   "row 0 3->2",  // focus leaves row 0 first
                                                   "row 2 0->3", "row 0 2->0", "row 2 3->1",
                                                   "row 2 1->0", "row 1 0->3"}));
    log.lines.clear();
    EXPECT_TRUE(this->Driver().ListDoubleClick(this->pane, 1));
    EXPECT_EQ(log.lines, std::vector<std::string>{"double 1"});
    EXPECT_FALSE(this->Driver().ListClick(this->pane, 3));
    EXPECT_FALSE(this->Driver().ListToggleSelect(this->pane, -1));

    // Every row at once, as the program does it.
    log.lines.clear();
    list->SetItemState(-1, kListSelected, kListSelected);
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"row 0 0->2", "row 2 0->2"}));
}

TYPED_TEST(ControlsConformance, ARightClickSelectsTheRowUnlessItIsSelectedAndEmptySpaceClears) {
    ListLog log;
    auto list = this->MakeList(log);
    for (int i = 0; i < 3; ++i) list->InsertItem(i, "row" + std::to_string(i), 1);
    this->Driver().ListClick(this->pane, 0);
    this->Driver().ListToggleSelect(this->pane, 1);
    log.lines.clear();
    RECT r{};
    ASSERT_TRUE(list->GetItemRect(1, r, true));
    const POINT onRow = Middle(r);
    EXPECT_TRUE(this->Driver().ListRightClick(this->pane, 1, onRow));
    EXPECT_EQ(list->GetSelectedRows(), (std::vector<int>{0, 1}));
    ASSERT_TRUE(list->GetItemRect(2, r, true));
    const POINT below{4, r.bottom + 4};
    EXPECT_EQ(list->HitTest(below, nullptr), -1);
    EXPECT_TRUE(this->Driver().ListRightClick(this->pane, -1, below));
    EXPECT_TRUE(list->GetSelectedRows().empty());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"right 1 at " + At(onRow), "row 0 2->0",
                                                   "row 1 3->1", "right -1 at " + At(below)}));
    // A key pressed on the list reaches the owner.
    log.lines.clear();
    this->Press(this->pane, VK_F2);
    EXPECT_EQ(log.lines, std::vector<std::string>{"key 113"});
}

TYPED_TEST(ControlsConformance, ListRowsAreHitOnTheirIconAndLabelButNotOnTheHeader) {
    ListLog log;
    auto list = this->MakeList(log);
    for (const char* name : {"a", "b", "c"}) list->InsertItem(list->GetItemCount(), name, 1);
    UINT flags = 0;
    RECT r{};
    ASSERT_TRUE(list->GetItemRect(1, r, true));
    EXPECT_EQ(list->HitTest(Middle(r), &flags), 1);
    EXPECT_EQ(flags, platform::kListHitOnLabel);
    EXPECT_EQ(list->HitTest(POINT{3, Middle(r).y}, &flags), 1);
    EXPECT_EQ(flags, platform::kListHitOnIcon);
    EXPECT_EQ(list->HitTest(POINT{3, 5}, &flags), -1);  // the header
    EXPECT_EQ(flags, platform::kListHitNowhere);
}

TYPED_TEST(ControlsConformance, EveryViewStyleHitsEachRowAtTheMiddleOfItsRectangles) {
    ListLog log;
    auto list = this->MakeList(log);
    for (int i = 0; i < 12; ++i) list->InsertItem(i, "entry " + std::to_string(i), i % 3);
    for (ListViewStyle style : {ListViewStyle::LargeIcons, ListViewStyle::SmallIcons,
                                ListViewStyle::List, ListViewStyle::Report}) {
        list->SetViewStyle(style);
        EXPECT_EQ(list->GetViewStyle(), style);
        for (int row = 0; row < list->GetItemCount(); ++row) {
            RECT label{};
            RECT whole{};
            ASSERT_TRUE(list->GetItemRect(row, label, true));
            ASSERT_TRUE(list->GetItemRect(row, whole, false));
            EXPECT_LE(whole.left, label.left);
            EXPECT_GE(whole.bottom, label.bottom);
            UINT flags = 0;
            EXPECT_EQ(list->HitTest(Middle(label), &flags), row) << static_cast<int>(style);
            EXPECT_EQ(flags, platform::kListHitOnLabel);
        }
        // A click selects the row whatever the style.
        this->Driver().ListClick(this->pane, 5);
        EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{5});
        this->Driver().ListClick(this->pane, 0);
    }
}

TYPED_TEST(ControlsConformance, TheEditedListRowFollowsRowsInsertedBeforeItAndEndsWithItsRow) {
    ListLog log;
    auto list = this->MakeList(log);
    log.logStates = false;
    for (const char* name : {"a", "b", "c"}) list->InsertItem(list->GetItemCount(), name, 1);
    ASSERT_TRUE(list->EditLabel(1));
    const HWND edit = this->W().GetFocus();
    EXPECT_EQ(this->W().GetClassName(edit), "Edit");
    list->InsertItem(0, "new", 1);
    EXPECT_EQ(list->GetEditRow(), 2);
    // Another view style keeps the edit going.
    list->SetViewStyle(ListViewStyle::List);
    EXPECT_EQ(list->GetEditRow(), 2);
    EXPECT_EQ(this->W().GetFocus(), edit);
    this->Driver().TypeLabel(this->pane, "B");
    this->Press(edit, VK_RETURN);
    EXPECT_EQ(list->GetItemText(2, 0), "B");
    EXPECT_EQ(this->W().GetFocus(), this->pane);
    // Deleting the edited row closes the box; no notification names a row that is gone.
    ASSERT_TRUE(list->EditLabel(3));
    const HWND second = this->W().GetFocus();
    list->DeleteItem(3);
    EXPECT_EQ(list->GetEditRow(), -1);
    EXPECT_FALSE(this->W().IsWindow(second));
    EXPECT_FALSE(this->Driver().TypeLabel(this->pane, "gone"));
    EXPECT_EQ(log.lines, std::vector<std::string>{"end 2 B"});
}

TYPED_TEST(ControlsConformance, ADragFromTheListStartsOnTheRowUnderThePointer) {
    ListLog log;
    auto list = this->MakeList(log);
    log.logStates = false;
    for (const char* name : {"a", "b"}) list->InsertItem(list->GetItemCount(), name, 1);
    RECT r{};
    ASSERT_TRUE(list->GetItemRect(1, r, true));
    EXPECT_TRUE(this->Driver().ListBeginDrag(this->pane, 1, Middle(r)));
    this->Driver().MouseButton(WM_LBUTTONUP, this->W().ClientToScreen(this->pane, Middle(r)));
    EXPECT_EQ(log.lines, std::vector<std::string>{"drag 1 at " + At(Middle(r))});
    auto image = list->CreateDragImage(1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Describe(0), "drag \"b\"#0");
    EXPECT_EQ(list->CreateDragImage(2), nullptr);
}

// The arrow, page, Home and End keys, pressed as a person presses them, move the focus and the
// selection as a click does, after the owner has heard of the key.
TYPED_TEST(ControlsConformance, KeysMoveTheListFocusAndSelectionAsAClickDoes) {
    ListLog log;
    auto list = this->MakeList(log);
    for (int row = 0; row < 5; ++row) list->InsertItem(row, "row " + std::to_string(row), 1);
    this->Press(this->pane, VK_DOWN);
    this->Press(this->pane, VK_DOWN);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"key 40", "row 0 0->3", "key 40", "row 0 3->1",
                                                   "row 0 1->0", "row 1 0->3"}));
    const struct {
        UINT key;
        int row;
    } steps[] = {{VK_END, 4}, {VK_UP, 3},   {VK_LEFT, 3}, {VK_RIGHT, 3}, {VK_HOME, 0},
                 {VK_UP, 0},  {VK_NEXT, 4}, {VK_DOWN, 4}, {VK_PRIOR, 0}};
    for (const auto& step : steps) {
        log.lines.clear();
        this->Press(this->pane, step.key);
        EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{step.row}) << step.key;
        EXPECT_EQ(list->GetItemState(step.row, kListFocused), kListFocused) << step.key;
        EXPECT_EQ(log.lines.front(), "key " + std::to_string(step.key));
    }
    // Beside each other, rows go left and right.
    list->SetViewStyle(ListViewStyle::List);
    this->Press(this->pane, VK_RIGHT);
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
    // Several selected rows give way to the one a key goes to.
    this->Driver().ListToggleSelect(this->pane, 3);
    this->Press(this->pane, VK_LEFT);
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{2});
}

TYPED_TEST(ControlsConformance, AHundredThousandRowsGoInAndReadBackQuickly) {
    ListLog log;
    auto list = this->MakeList(log);
    list->InsertColumn(1, "Page Start", ListAlign::Right, 60);
    constexpr int kRows = 100000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRows; ++i) {
        const int row = list->InsertItem(list->GetItemCount(), "Entry " + std::to_string(i), 1);
        list->SetItemData(row, static_cast<DWORD>(i));
        list->SetItemText(row, 1, std::to_string(i % 97));
    }
    this->Pump();
    RECT r{};
    list->GetItemRect(kRows - 1, r, true);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ timing   ] %d rows into the %s list in %.3f s\n", kRows,
                this->IsQt() ? "qt" : "headless", seconds);
    EXPECT_LT(seconds, 2.0);
    ASSERT_EQ(list->GetItemCount(), kRows);
    EXPECT_EQ(list->GetItemText(kRows - 1, 0), "Entry 99999");
    EXPECT_EQ(list->GetItemText(54321, 1), std::to_string(54321 % 97));
    EXPECT_EQ(list->GetItemData(77777), 77777u);
    EXPECT_TRUE(list->GetSelectedRows().empty());
}

}  // namespace
}  // namespace orbel::test
