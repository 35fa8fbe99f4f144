// Where the frame, the toolbar and the panes sit in the control's window, from creation on.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/preview/FrameContainer.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

class FrameLayoutTest : public test::StoreControlTest {
  protected:
    RECT WindowRect(const CWnd& wnd) { return P().Windows().GetWindowRect(wnd.GetSafeHwnd()); }
};

TEST_F(FrameLayoutTest, TheFrameIsMadeBelowTheTopAndFillsTheWindowFromTheFirstSizeOn) {
    CFrameContainer& frame = *Ctrl().Frame();
    // The control is 600 x 400. The frame is made 30 pixels below the top, and the size every
    // new window gets right after its creation makes it fill the control at once.
    EXPECT_EQ(WindowRect(frame), (RECT{0, 0, 600, 400}));
    EXPECT_EQ(WindowRect(*Ctrl().TreeView()).Width(), 600 / 4);

    Ctrl().MoveWindow(RECT{0, 0, 800, 500});
    EXPECT_EQ(WindowRect(frame), (RECT{0, 0, 800, 500}));
    // The toolbar sits at the frame's top, the splitters under it, the tree at the left.
    const RECT bar = WindowRect(Ctrl().ToolBar());
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.Width(), 800);
    const RECT outer = WindowRect(frame.OuterSplitter());
    EXPECT_EQ(outer.top, bar.bottom);
    EXPECT_EQ(outer.bottom, 500);
    const RECT tree = WindowRect(*Ctrl().TreeView());
    const RECT list = WindowRect(*Ctrl().ListView());
    EXPECT_EQ(tree.left, 0);
    EXPECT_GT(tree.Width(), 0);
    EXPECT_GT(list.Width(), 0);
    EXPECT_EQ(frame.InnerSplitter().GetRowCount(), 1);
}

TEST_F(FrameLayoutTest, TheToolbarFollowsTheModeAndHidesInScriptMaintenance) {
    Ctrl().SetToolbarForMode(DisplayMode::FolderMaint);
    EXPECT_EQ(Ctrl().ToolBar().LoadedResource(), 208u);
    EXPECT_EQ(ToolBarModel().ButtonWidth(), 16);
    Ctrl().SetToolbarForMode(static_cast<DisplayMode>(7));
    EXPECT_EQ(Ctrl().ToolBar().LoadedResource(), 207u);
    EXPECT_TRUE(Ctrl().ToolBar().IsShown());
    Ctrl().SetToolbarForMode(DisplayMode::ScriptMaint);
    EXPECT_EQ(Ctrl().ToolBar().LoadedResource(), 210u);
    EXPECT_FALSE(Ctrl().ToolBar().IsShown());
    // With the bar hidden the panes take the whole frame.
    EXPECT_EQ(WindowRect(Ctrl().Frame()->OuterSplitter()).top, 0);
}

TEST_F(FrameLayoutTest, AMouseMoveKeepsTheHourglassWhileTheControlIsDisabled) {
    Ctrl().EnableControl(false);
    P().Windows().SetCursor(platform::Cursor::Arrow);
    Ctrl().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(P().Windows().GetCursor(), platform::Cursor::Hourglass);
    Ctrl().EnableControl(true);
    Ctrl().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(P().Windows().GetCursor(), platform::Cursor::Arrow);
}

}  // namespace
}  // namespace orbel
