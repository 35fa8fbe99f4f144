// The headless pointer: window geometry and the mouse capture, popup menus answered by the
// scripted user, and the drag image's state. Hit tests of rows and edit boxes over labels are
// tested on both backends in the conformance suite.
#include <gtest/gtest.h>

#include "platform/Api.h"
#include "platform/framework/Menu.h"
#include "platform/framework/Wnd.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::kTreeNone;
using platform::TreeInsert;

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
    User().ClearFailures();
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
    platform::TreeControlEvents events;
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
