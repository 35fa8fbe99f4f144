// Windows on both backends: creation and destruction, state, focus, geometry and the mouse,
// seen through the framework's window class where the system code uses it that way.
#include <string>
#include <vector>

#include "platform/Api.h"
#include "platform/framework/Wnd.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

class Probe : public CWnd {
  public:
    std::vector<std::string> log;
    int createResult = 0;
    bool consumeKeys = false;

    bool PreTranslateMessage(MSG& msg) override {
        log.push_back("pretranslate " + std::to_string(msg.wParam));
        return consumeKeys;
    }

  protected:
    int OnCreate() override {
        log.push_back("create");
        return createResult;
    }
    void OnSize(int cx, int cy) override {
        log.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnDestroy() override {
        log.push_back("destroy");
        CWnd::OnDestroy();
    }
};

// Writes the messages a plain window gets.
class Recorder : public platform::WindowProcedure {
  public:
    std::vector<std::string> lines;
    LRESULT WindowProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SETFOCUS:
                lines.push_back("setfocus");
                break;
            case WM_KILLFOCUS:
                lines.push_back("killfocus");
                break;
            case WM_ENABLE:
                lines.push_back(wParam ? "enable" : "disable");
                break;
            case WM_MOUSEMOVE:
            case WM_LBUTTONUP:
                lines.push_back(std::string(message == WM_MOUSEMOVE ? "move " : "up ") +
                                std::to_string(GET_X_LPARAM(lParam)) + "," +
                                std::to_string(GET_Y_LPARAM(lParam)));
                break;
            default:
                break;
        }
        return 0;
    }
};

template <class B>
class WindowsConformance : public ConformanceTest<B> {};
TYPED_TEST_SUITE(WindowsConformance, Backends, BackendNames);

TYPED_TEST(WindowsConformance, CreationSendsCreateThenTheSizeAndAFailedCreateLeavesNoWindow) {
    Probe ok;
    ASSERT_TRUE(ok.Create("Probe", "", WS_VISIBLE, RECT{0, 0, 100, 50}, kNoWindow, 0));
    // The size comes at once, so a window that lays out children on it starts laid out.
    EXPECT_EQ(ok.log, (std::vector<std::string>{"create", "size 100x50"}));
    EXPECT_EQ(CWnd::FromHandlePermanent(ok.GetSafeHwnd()), &ok);
    EXPECT_EQ(this->P().Windows().GetClassName(ok.GetSafeHwnd()), "Probe");

    Probe refused;
    refused.createResult = -1;
    EXPECT_FALSE(refused.Create("Probe", "", WS_CHILD, RECT{}, kNoWindow, 0));
    EXPECT_FALSE(refused.GetSafeHwnd());
    EXPECT_EQ(refused.log, (std::vector<std::string>{"create", "destroy"}));
}

TYPED_TEST(WindowsConformance, MovingSendsSizeOnlyWhenTheSizeChanges) {
    Probe w;
    ASSERT_TRUE(w.Create("Probe", "", WS_VISIBLE, RECT{0, 30, 200, 100}, kNoWindow, 0));
    w.MoveWindow(RECT{0, 0, 200, 70});
    w.MoveWindow(RECT{0, 0, 300, 100});
    this->Pump();
    EXPECT_EQ(w.log, (std::vector<std::string>{"create", "size 200x70", "size 300x100"}));
    EXPECT_EQ(w.GetClientRect(), (RECT{0, 0, 300, 100}));
}

TYPED_TEST(WindowsConformance, DestroyingAParentDestroysItsChildrenAndUnbindsThem) {
    Probe parent, child;
    ASSERT_TRUE(parent.Create("Parent", "", WS_VISIBLE, RECT{0, 0, 10, 10}, kNoWindow, 0));
    ASSERT_TRUE(child.Create("Child", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 5, 5},
                             parent.GetSafeHwnd(), 4));
    HWND childHandle = child.GetSafeHwnd();
    EXPECT_EQ(this->P().Windows().GetDlgCtrlID(childHandle), 4u);
    EXPECT_EQ(this->P().Windows().GetParent(childHandle), parent.GetSafeHwnd());
    this->P().Windows().SetFocus(childHandle);
    parent.DestroyWindow();
    this->Pump();
    EXPECT_FALSE(this->P().Windows().IsWindow(childHandle));
    EXPECT_FALSE(child.GetSafeHwnd());
    EXPECT_EQ(CWnd::FromHandlePermanent(childHandle), nullptr);
    EXPECT_FALSE(this->P().Windows().GetFocus());
    EXPECT_EQ(child.log.back(), "destroy");
}

TYPED_TEST(WindowsConformance, PreTranslationWalksFromTheTargetUpToItsParentsUntilOneConsumes) {
    Probe parent, child;
    ASSERT_TRUE(parent.Create("Parent", "", WS_VISIBLE, RECT{0, 0, 10, 10}, kNoWindow, 0));
    ASSERT_TRUE(child.Create("Child", "", WS_CHILD, RECT{0, 0, 5, 5}, parent.GetSafeHwnd(), 0));
    parent.consumeKeys = true;
    MSG msg{child.GetSafeHwnd(), WM_KEYDOWN, VK_TAB, 0, 0};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(kNoWindow, msg));
    EXPECT_EQ(child.log.back(), "pretranslate 9");
    EXPECT_EQ(parent.log.back(), "pretranslate 9");
}

TYPED_TEST(WindowsConformance, EnablingShowingAndFocusTellTheWindowsConcerned) {
    auto& windows = this->P().Windows();
    Recorder topRec, aRec, bRec;
    HWND top = this->MakeTopWindow(RECT{10, 10, 310, 210}, &topRec);
    HWND a = this->MakeChildWindow(top, RECT{0, 0, 100, 100}, &aRec);
    HWND b = this->MakeChildWindow(top, RECT{100, 0, 200, 100}, &bRec);
    // EnableWindow answers whether the window was disabled before.
    EXPECT_FALSE(windows.EnableWindow(a, false));
    EXPECT_TRUE(windows.EnableWindow(a, false));
    EXPECT_FALSE(windows.IsWindowEnabled(a));
    EXPECT_TRUE(windows.EnableWindow(a, true));
    EXPECT_EQ(aRec.lines, (std::vector<std::string>{"disable", "enable"}));
    // A child of a hidden window is not visible, though its own flag is set.
    EXPECT_TRUE(windows.IsWindowVisible(b));
    EXPECT_TRUE(windows.ShowWindow(top, false));
    EXPECT_FALSE(windows.IsWindowVisible(b));
    EXPECT_FALSE(windows.ShowWindow(top, true));
    EXPECT_TRUE(windows.IsWindowVisible(b));

    aRec.lines.clear();
    EXPECT_FALSE(windows.SetFocus(a));
    EXPECT_EQ(windows.SetFocus(b), a);
    EXPECT_EQ(windows.GetFocus(), b);
    EXPECT_EQ(windows.SetFocus(b), b);  // again: nothing is told
    this->Pump();
    EXPECT_EQ(aRec.lines, (std::vector<std::string>{"setfocus", "killfocus"}));
    EXPECT_EQ(bRec.lines, (std::vector<std::string>{"setfocus"}));
    EXPECT_EQ(windows.GetFocus(), b);
}

TYPED_TEST(WindowsConformance, ScreenPointsMapToTheDeepestWindowAndBack) {
    auto& windows = this->P().Windows();
    HWND top = this->MakeTopWindow(RECT{40, 30, 440, 330});
    HWND pane = this->MakeChildWindow(top, RECT{100, 50, 300, 250});
    HWND inner = this->MakeChildWindow(pane, RECT{10, 10, 60, 60});
    this->Pump();
    const POINT origin = windows.ClientToScreen(pane, POINT{0, 0});
    const POINT topOrigin = windows.ClientToScreen(top, POINT{0, 0});
    EXPECT_EQ(origin.x - topOrigin.x, 100);
    EXPECT_EQ(origin.y - topOrigin.y, 50);
    EXPECT_EQ(windows.ScreenToClient(pane, windows.ClientToScreen(pane, POINT{-5, 7})),
              (POINT{-5, 7}));
    EXPECT_EQ(windows.WindowFromPoint(windows.ClientToScreen(pane, POINT{20, 20})), inner);
    EXPECT_EQ(windows.WindowFromPoint(windows.ClientToScreen(pane, POINT{150, 150})), pane);
    EXPECT_EQ(windows.WindowFromPoint(windows.ClientToScreen(top, POINT{5, 5})), top);
    windows.ShowWindow(inner, false);
    EXPECT_EQ(windows.WindowFromPoint(windows.ClientToScreen(pane, POINT{20, 20})), pane);
}

TYPED_TEST(WindowsConformance, TheWindowHoldingTheCaptureGetsTheMouseWhereverItIs) {
    auto& windows = this->P().Windows();
    Recorder leftRec, rightRec;
    HWND top = this->MakeTopWindow(RECT{20, 20, 420, 220});
    HWND left = this->MakeChildWindow(top, RECT{0, 0, 200, 200}, &leftRec);
    HWND right = this->MakeChildWindow(top, RECT{200, 0, 400, 200}, &rightRec);
    this->Pump();
    const POINT overRight = windows.ClientToScreen(right, POINT{30, 40});
    this->Driver().MoveMouse(overRight);
    this->Pump();
    EXPECT_EQ(rightRec.lines, (std::vector<std::string>{"move 30,40"}));
    EXPECT_EQ(windows.GetCursorPos(), overRight);

    EXPECT_FALSE(windows.SetCapture(left));
    EXPECT_EQ(windows.GetCapture(), left);
    this->Driver().MoveMouse(overRight);
    this->Driver().MouseButton(WM_LBUTTONUP, overRight);
    this->Pump();
    // Over the right-hand window, in the left one's coordinates (beyond its right edge).
    EXPECT_EQ(leftRec.lines, (std::vector<std::string>{"move 230,40", "up 230,40"}));
    EXPECT_TRUE(windows.ReleaseCapture());
    EXPECT_FALSE(windows.GetCapture());
}

TYPED_TEST(WindowsConformance, TheHourglassStaysUntilTheArrowComesBack) {
    auto& windows = this->P().Windows();
    EXPECT_EQ(windows.GetCursor(), platform::Cursor::Arrow);
    EXPECT_EQ(windows.SetCursor(platform::Cursor::Hourglass), platform::Cursor::Arrow);
    EXPECT_EQ(windows.SetCursor(platform::Cursor::Hourglass), platform::Cursor::Hourglass);
    EXPECT_EQ(windows.GetCursor(), platform::Cursor::Hourglass);
    EXPECT_EQ(windows.SetCursor(platform::Cursor::Arrow), platform::Cursor::Hourglass);
}

}  // namespace
}  // namespace orbel::test
