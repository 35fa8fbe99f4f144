// The headless pointer and in-place editing: window geometry and the mouse capture, hit tests
// of tree and list rows, edit boxes over labels, keys reaching a control through its window,
// popup menus answered by the scripted user, and the drag image.
#include <gtest/gtest.h>

#include "platform/Api.h"
#include "platform/framework/Menu.h"
#include "platform/framework/Wnd.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::kTreeNone;
using platform::TreeInsert;
using platform::TreeItem;

// Records the messages a window gets, one line each.
class RecordingWnd : public CWnd {
  public:
    std::vector<std::string> lines;
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MOUSEMOVE || message == WM_LBUTTONUP || message == WM_COMMAND)
            lines.push_back(std::to_string(message) + " " + std::to_string(GET_X_LPARAM(lParam)) +
                            "," + std::to_string(GET_Y_LPARAM(lParam)) + " " +
                            std::to_string(wParam));
        return CWnd::WindowProc(window, message, wParam, lParam);
    }
};

class TreeEvents : public platform::TreeControlEvents {
  public:
    std::vector<std::string> lines;
    int limitOnBegin = 0;
    platform::TreeControl* tree = nullptr;
    bool OnTreeBeginLabelEdit(TreeItem item) override {
        lines.push_back("begin " + std::to_string(item));
        // The edit box is there when the owner is asked, so it can be limited now.
        if (limitOnBegin) {
            EXPECT_TRUE(tree->LimitEditText(limitOnBegin));
        }
        return false;
    }
    bool OnTreeEndLabelEdit(TreeItem item, const std::optional<std::string>& text) override {
        lines.push_back("end " + std::to_string(item) + " " + text.value_or("(cancelled)"));
        return true;
    }
    void OnTreeKeyDown(UINT key) override { lines.push_back("key " + std::to_string(key)); }
};

class ListEvents : public platform::ListControlEvents {
  public:
    std::vector<std::string> lines;
    bool OnListEndLabelEdit(int row, const std::optional<std::string>& text) override {
        lines.push_back("end " + std::to_string(row) + " " + text.value_or("(cancelled)"));
        return true;
    }
};

class PointerTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(top.Create("Top", "", WS_VISIBLE, RECT{100, 50, 600, 450}, kNoWindow, 0));
        ASSERT_TRUE(pane.Create("Pane", "", WS_CHILD | WS_VISIBLE, RECT{10, 20, 210, 320},
                                top.GetSafeHwnd(), 1));
    }
    platform::HeadlessWindows& W() { return P().Windows(); }
    // The message loop run until nothing is left, as after a user's action.
    void Settle() { P().RunUntilIdle(); }

    RecordingWnd top;
    RecordingWnd pane;
};

TEST_F(PointerTest, PointsMapThroughParentsAndTheDeepestShownWindowIsUnderTheMouse) {
    EXPECT_EQ(pane.ClientToScreen(POINT{5, 6}), (POINT{115, 76}));
    EXPECT_EQ(pane.ScreenToClient(POINT{115, 76}), (POINT{5, 6}));
    EXPECT_EQ(W().WindowFromPoint(POINT{115, 76}), pane.GetSafeHwnd());
    EXPECT_EQ(W().WindowFromPoint(POINT{400, 76}), top.GetSafeHwnd());
    EXPECT_EQ(W().WindowFromPoint(POINT{5, 5}), kNoWindow);
    pane.ShowWindow(false);
    EXPECT_EQ(W().WindowFromPoint(POINT{115, 76}), top.GetSafeHwnd());
}

TEST_F(PointerTest, TheCaptureGetsTheMouseWhereverItIsUntilReleasedOrGone) {
    W().UserMoveMouse(POINT{400, 100});
    EXPECT_EQ(top.lines.back(), "512 300,50 0");
    pane.SetCapture();
    W().UserMoveMouse(POINT{400, 100});
    W().UserMouseButton(WM_LBUTTONUP, POINT{90, 40});
    // Left of and above the pane: negative coordinates survive the trip.
    EXPECT_EQ(pane.lines, (std::vector<std::string>{"512 290,30 0", "514 -20,-30 0"}));
    EXPECT_EQ(W().GetCursorPos(), (POINT{90, 40}));
    ReleaseCapture();
    EXPECT_EQ(W().GetCapture(), kNoWindow);
    pane.SetCapture();
    pane.DestroyWindow();
    EXPECT_EQ(W().GetCapture(), kNoWindow);
}

TEST_F(PointerTest, TreeRowsAreHitOnTheirIconAndLabelAndHiddenChildrenAreNot) {
    TreeEvents events;
    auto tree = P().CommonControls().CreateTreeControl(pane.GetSafeHwnd(), events);
    TreeItem all = tree->InsertItem("All", 2, 2, kTreeNone, TreeInsert::First);
    TreeItem mine = tree->InsertItem("Mine", 0, 7, all, TreeInsert::Sort);
    TreeItem sub = tree->InsertItem("Sub", 0, 7, mine, TreeInsert::Sort);
    RECT r{};
    EXPECT_FALSE(tree->GetItemRect(mine, r, true));  // All is not open
    tree->EnsureVisible(sub);
    ASSERT_TRUE(tree->GetItemRect(sub, r, true));
    UINT flags = 0;
    EXPECT_EQ(tree->HitTest(POINT{r.left + 2, r.top + 2}, &flags), sub);
    EXPECT_EQ(flags, platform::kTreeHitOnLabel);
    EXPECT_EQ(tree->HitTest(POINT{r.left - 4, r.top + 2}, &flags), sub);
    EXPECT_EQ(flags, platform::kTreeHitOnIcon);
    EXPECT_EQ(tree->HitTest(POINT{1, r.top + 2}, &flags), sub);
    EXPECT_FALSE(flags & platform::kTreeHitOnItem);
    EXPECT_EQ(tree->HitTest(POINT{r.right + 50, r.top + 2}, &flags), sub);
    EXPECT_EQ(flags, platform::kTreeHitOnRight);
    EXPECT_EQ(tree->HitTest(POINT{r.left, r.bottom + 1}, &flags), kTreeNone);
    EXPECT_EQ(flags, platform::kTreeHitNowhere);
    tree->Expand(mine, false);
    EXPECT_FALSE(tree->GetItemRect(sub, r, true));
}

TEST_F(PointerTest, ATreeEditBoxTakesTheFocusAndEndsOnEnterOrEscape) {
    TreeEvents events;
    auto tree = P().CommonControls().CreateTreeControl(pane.GetSafeHwnd(), events);
    events.tree = tree.get();
    events.limitOnBegin = 5;
    TreeItem item = tree->InsertItem("Mine", 0, 7, kTreeNone, TreeInsert::Last);
    auto& model = *P().CommonControls().Tree(pane.GetSafeHwnd());

    ASSERT_TRUE(tree->EditLabel(item));
    HWND edit = model.EditBox()->Window();
    EXPECT_EQ(W().GetClassName(edit), "Edit");
    EXPECT_EQ(W().GetFocus(), edit);
    // Characters, not bytes: the cut never splits one.
    model.EditBox()->Type(
        "\xc3\xa4\xc3\xb6\xc3\xbc"
        "abcdef");
    EXPECT_EQ(model.EditBox()->Text(),
              "\xc3\xa4\xc3\xb6\xc3\xbc"
              "ab");
    P().Loop().PostMessage(edit, WM_KEYDOWN, VK_RETURN, 1);
    Settle();
    EXPECT_EQ(tree->GetItemText(item),
              "\xc3\xa4\xc3\xb6\xc3\xbc"
              "ab");
    EXPECT_EQ(tree->GetEditItem(), kTreeNone);
    EXPECT_FALSE(W().IsWindow(edit));
    EXPECT_EQ(W().GetFocus(), pane.GetSafeHwnd());

    ASSERT_TRUE(tree->EditLabel(item));
    model.EditBox()->Type("Other");
    P().Loop().PostMessage(W().GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    Settle();
    // Keys sent to the control's own window reach the owner as key notifications.
    P().Loop().PostMessage(pane.GetSafeHwnd(), WM_KEYDOWN, VK_DELETE, 1);
    Settle();
    const std::string n = std::to_string(item);
    EXPECT_EQ(events.lines,
              (std::vector<std::string>{"begin " + n,
                                        "end " + n +
                                            " \xc3\xa4\xc3\xb6\xc3\xbc"
                                            "ab",
                                        "begin " + n, "end " + n + " (cancelled)", "key 46"}));
    EXPECT_EQ(tree->GetItemText(item),
              "\xc3\xa4\xc3\xb6\xc3\xbc"
              "ab");
}

TEST_F(PointerTest, TheEditedListRowFollowsRowsInsertedBeforeItAndEndsWithItsRow) {
    ListEvents events;
    auto list = P().CommonControls().CreateListControl(pane.GetSafeHwnd(), events);
    list->InsertColumn(0, "Name", platform::ListAlign::Left, 120);
    for (const char* name : {"a", "b", "c"}) list->InsertItem(list->GetItemCount(), name, 1);
    UINT flags = 0;
    RECT r{};
    ASSERT_TRUE(list->GetItemRect(1, r, true));
    EXPECT_EQ(list->HitTest(POINT{r.left + 3, r.top + 3}, &flags), 1);
    EXPECT_EQ(flags, platform::kListHitOnLabel);
    EXPECT_EQ(list->HitTest(POINT{3, r.top + 3}, &flags), 1);
    EXPECT_EQ(flags, platform::kListHitOnIcon);
    EXPECT_EQ(list->HitTest(POINT{3, 5}, &flags), -1);  // the header

    ASSERT_TRUE(list->EditLabel(1));
    list->InsertItem(0, "new", 1);
    EXPECT_EQ(list->GetEditRow(), 2);
    auto& model = *P().CommonControls().List(pane.GetSafeHwnd());
    model.UserEditLabel(2, "B");
    EXPECT_EQ(list->GetItemText(2, 0), "B");
    // Deleting the edited row closes the box; no notification names a row that is gone.
    ASSERT_TRUE(list->EditLabel(3));
    list->DeleteItem(3);
    EXPECT_EQ(list->GetEditRow(), -1);
    EXPECT_EQ(model.EditBox(), nullptr);
    EXPECT_EQ(events.lines, std::vector<std::string>{"end 2 B"});
}

TEST_F(PointerTest, AMenuIsAnsweredByItemTextAndItsCommandReachesTheOwnerAfterwards) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 10, "Open");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_CHECKED, 11, "Details");
    menu.SetDefaultItem(10);
    User().AnswerMenu("Details");
    EXPECT_EQ(menu.TrackPopupMenu(TPM_LEFTALIGN, 5, 5, &pane), 11u);
    // Posted: the owner gets the command once the menu has closed.
    EXPECT_TRUE(pane.lines.empty());
    Settle();
    EXPECT_EQ(pane.lines, std::vector<std::string>{"273 0,0 11"});
    EXPECT_EQ(User().Transcript().back(), "menu Open (default) | - | Details (checked) -> Details");
    User().AnswerMenu("Rename");
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 5, 5, &pane), 0u);
    ASSERT_EQ(User().Failures().size(), 1u);
    EXPECT_NE(User().Failures()[0].find("has no item \"Rename\""), std::string::npos);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 5, 5, &pane), 0u);
    EXPECT_EQ(User().Failures().size(), 2u);
    User().AnswerMenu(std::nullopt);
    EXPECT_EQ(User().Unmet(), std::vector<std::string>{"menu answer none"});
    const_cast<std::vector<std::string>&>(User().Failures()).clear();
    menu.TrackPopupMenu(TPM_RETURNCMD, 5, 5, &pane);
}

TEST_F(PointerTest, DismissingAMenuPressesEscapeThroughTheMessageHooks) {
    std::vector<UINT> seen;
    P().Loop().SetGetMessageHook([&](MSG& msg) {
        if (msg.message == WM_KEYDOWN) seen.push_back(static_cast<UINT>(msg.wParam));
    });
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 10, "Open");
    User().AnswerMenu(std::nullopt);
    EXPECT_EQ(menu.TrackPopupMenu(0, 0, 0, &pane), 0u);
    EXPECT_EQ(seen, std::vector<UINT>{VK_ESCAPE});
    Settle();
    EXPECT_TRUE(pane.lines.empty());
}

TEST_F(PointerTest, TheDragImageIsShownWhereTheMouseIsWhileEntered) {
    auto& controls = P().CommonControls();
    TreeEvents events;
    auto tree = controls.CreateTreeControl(pane.GetSafeHwnd(), events);
    auto image = tree->CreateDragImage(tree->InsertItem("Mine", 0, 7, kTreeNone, TreeInsert::Last));
    ASSERT_TRUE(image);
    EXPECT_FALSE(controls.DragMove(POINT{1, 1}));  // no drag yet
    ASSERT_TRUE(controls.BeginDrag(*image, 0, POINT{0, 0}));
    controls.DragEnter(kNoWindow, POINT{10, 20});
    controls.DragMove(POINT{30, 40});
    EXPECT_EQ(controls.DragState(), "drag \"Mine\"#0 at (30,40) entered shown");
    controls.DragLeave(kNoWindow);
    EXPECT_EQ(controls.DragState(), "drag \"Mine\"#0 at (30,40)");
    controls.EndDrag();
    EXPECT_EQ(controls.DragState(), "none");
}

}  // namespace
}  // namespace orbel
