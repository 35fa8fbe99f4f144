#include <gtest/gtest.h>

#include "platform/framework/FrameWnd.h"
#include "platform/framework/SplitterWnd.h"
#include "platform/framework/ToolBar.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

// A view with its own OnCreate, made from its runtime class as the panes make views.
class View : public CWnd {
  public:
    static inline int created = 0;
    static std::unique_ptr<CWnd> Make() { return std::make_unique<View>(); }

  protected:
    int OnCreate() override {
        ++created;
        return 0;
    }
};

class BrokenView : public CWnd {
  public:
    static std::unique_ptr<CWnd> Make() { return std::make_unique<BrokenView>(); }

  protected:
    int OnCreate() override { return -1; }
};

const CRuntimeClass kView{"CTestView", &View::Make};
const CRuntimeClass kBrokenView{"CBrokenView", &BrokenView::Make};

// Makes its lower row from a class whose window cannot be made, as a preview that is not
// available.
class LowerRowFails : public CSplitterWnd {
  public:
    bool CreateView(int row, int col, const CRuntimeClass& viewClass, SIZE initial) override {
        return CSplitterWnd::CreateView(row, col, row == 0 ? viewClass : kBrokenView, initial);
    }
};

class SplitterFrameTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        View::created = 0;
        ASSERT_TRUE(
            host.Create("Host", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, kNoWindow, 0));
    }
    RECT Rect(const CWnd* w) { return P().Windows().GetWindowRect(w->GetSafeHwnd()); }
    CWnd host;
};

TEST_F(SplitterFrameTest, AStaticGridGivesColumnsAndRowsTheirIdealSizeAndTheLastTheRest) {
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&host, 2, 2, WS_CHILD | WS_VISIBLE));
    ASSERT_TRUE(splitter.CreateView(0, 0, kView, SIZE{100, 120}));
    ASSERT_TRUE(splitter.CreateView(0, 1, kView, SIZE{}));
    ASSERT_TRUE(splitter.CreateView(1, 0, kView, SIZE{}));
    ASSERT_TRUE(splitter.CreateView(1, 1, kView, SIZE{}));
    EXPECT_FALSE(splitter.CreateView(1, 1, kView, SIZE{}));  // the pane is taken
    EXPECT_EQ(View::created, 4);
    splitter.MoveWindow(RECT{0, 0, 400, 300});

    EXPECT_EQ(Rect(splitter.GetPane(0, 0)), (RECT{0, 0, 100, 120}));
    EXPECT_EQ(Rect(splitter.GetPane(0, 1)), (RECT{100, 0, 400, 120}));
    EXPECT_EQ(Rect(splitter.GetPane(1, 0)), (RECT{0, 120, 100, 300}));
    EXPECT_EQ(Rect(splitter.GetPane(1, 1)), (RECT{100, 120, 400, 300}));
    HWND lowerRight = splitter.GetPane(1, 1)->GetSafeHwnd();
    EXPECT_EQ(P().Windows().GetDlgCtrlID(lowerRight), AFX_IDW_PANE_FIRST + 17);
    EXPECT_EQ(P().Windows().GetClassName(lowerRight), "CTestView");

    // A column with no width gets an empty rectangle; one wider than the room is cut.
    splitter.SetColumnInfo(0, 0, 0);
    splitter.RecalcLayout();
    EXPECT_EQ(Rect(splitter.GetPane(0, 0)), RECT{});
    EXPECT_EQ(Rect(splitter.GetPane(0, 1)), (RECT{0, 0, 400, 120}));
    splitter.SetColumnInfo(0, 1000, 0);
    splitter.RecalcLayout();
    EXPECT_EQ(Rect(splitter.GetPane(1, 0)), (RECT{0, 120, 400, 300}));
    EXPECT_EQ(Rect(splitter.GetPane(1, 1)), RECT{});
    EXPECT_FALSE(splitter.SplitRow(50));  // a static grid does not split
}

TEST_F(SplitterFrameTest, ADynamicSplitterNestedInAPaneSplitsAndDeletesItsRow) {
    CSplitterWnd outer;
    ASSERT_TRUE(outer.CreateStatic(&host, 1, 2, WS_CHILD | WS_VISIBLE));
    ASSERT_TRUE(outer.CreateView(0, 0, kView, SIZE{100, 300}));
    CSplitterWnd inner;
    ASSERT_TRUE(inner.Create(&outer, 2, 1, SIZE{10, 10}, kView,
                             WS_CHILD | WS_VISIBLE | SPLS_DYNAMIC_SPLIT, outer.IdFromRowCol(0, 1)));
    EXPECT_TRUE(inner.IsDynamic());
    EXPECT_EQ(outer.GetPane(0, 1), &inner);
    outer.MoveWindow(RECT{0, 0, 400, 300});
    EXPECT_EQ(Rect(&inner), (RECT{100, 0, 400, 300}));
    EXPECT_EQ(Rect(inner.GetPane(0, 0)), (RECT{0, 0, 300, 300}));

    ASSERT_TRUE(inner.SplitRow(100));
    EXPECT_EQ(inner.GetRowCount(), 2);
    EXPECT_EQ(View::created, 3);
    CWnd* lower = inner.GetPane(1, 0);
    ASSERT_NE(lower, nullptr);
    HWND lowerWindow = lower->GetSafeHwnd();
    EXPECT_EQ(P().Windows().GetDlgCtrlID(lowerWindow), AFX_IDW_PANE_FIRST + 16);
    EXPECT_EQ(Rect(inner.GetPane(0, 0)), (RECT{0, 0, 300, 100}));
    EXPECT_EQ(Rect(lower), (RECT{0, 100, 300, 300}));
    EXPECT_FALSE(inner.SplitRow(50));  // at its most rows

    inner.DeleteRow(1);
    EXPECT_EQ(inner.GetRowCount(), 1);
    EXPECT_EQ(inner.GetPane(1, 0), nullptr);
    EXPECT_FALSE(P().Windows().IsWindow(lowerWindow));
    EXPECT_EQ(Rect(inner.GetPane(0, 0)), (RECT{0, 0, 300, 300}));
}

TEST_F(SplitterFrameTest, ARowWhoseViewCannotBeMadeIsNotAdded) {
    LowerRowFails splitter;
    ASSERT_TRUE(splitter.Create(&host, 2, 1, SIZE{10, 10}, kView, WS_CHILD | WS_VISIBLE));
    splitter.MoveWindow(RECT{0, 0, 400, 300});
    EXPECT_FALSE(splitter.SplitRow(150));
    EXPECT_EQ(splitter.GetRowCount(), 1);
    EXPECT_EQ(P().Windows().GetChildren(splitter.GetSafeHwnd()).size(), 1u);
    EXPECT_EQ(Rect(splitter.GetPane(0, 0)), (RECT{0, 0, 400, 300}));

    CSplitterWnd broken;
    EXPECT_FALSE(broken.Create(&host, 2, 1, SIZE{10, 10}, kBrokenView, WS_CHILD | WS_VISIBLE));
    EXPECT_FALSE(broken.GetSafeHwnd());
}

// A frame with one client window, recording the commands that reach it.
class Frame : public CFrameWnd {
  public:
    bool failClient = false;
    std::vector<UINT> commands;
    CWnd client;

    bool OnCmdMsg(UINT id, CCmdUI* ui) override {
        if (!ui) commands.push_back(id);
        return true;
    }

  protected:
    bool OnCreateClient() override {
        return !failClient && client.Create("Client", "", WS_CHILD | WS_VISIBLE, RECT{},
                                            GetSafeHwnd(), AFX_IDW_PANE_FIRST);
    }
};

TEST_F(SplitterFrameTest, TheFramePutsShownBarsOnTopAndItsClientInTheRest) {
    Frame frame;
    ASSERT_TRUE(
        frame.Create("Frame", WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, host.GetSafeHwnd()));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(bar.LoadToolBar(ToolBarResource{209, 19, 18, {32834, 0, 32786}}, nullptr));
    frame.DockControlBar(&bar);
    frame.RecalcLayout();
    EXPECT_EQ(Rect(&bar), (RECT{0, 0, 400, 26}));
    EXPECT_EQ(Rect(&frame.client), (RECT{0, 26, 400, 300}));

    frame.MoveWindow(RECT{0, 0, 500, 200});
    EXPECT_EQ(Rect(&frame.client), (RECT{0, 26, 500, 200}));
    bar.ShowWindow(false);
    frame.RecalcLayout();
    EXPECT_EQ(Rect(&frame.client), (RECT{0, 0, 500, 200}));
    EXPECT_EQ(frame.ClientArea(), (RECT{0, 0, 500, 200}));

    // Commands reach the frame from its bar (the parent is the owner) and as WM_COMMAND.
    bar.ShowWindow(true);
    P().CommonControls().ToolBar(bar.GetSafeHwnd())->UserClick(32786);
    frame.SendMessage(WM_COMMAND, 32834, 0);
    EXPECT_EQ(frame.commands, (std::vector<UINT>{32786, 32834}));
}

TEST_F(SplitterFrameTest, AFrameWhoseClientFailsIsNotCreated) {
    Frame frame;
    frame.failClient = true;
    EXPECT_FALSE(
        frame.Create("Frame", WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, host.GetSafeHwnd()));
    EXPECT_FALSE(frame.GetSafeHwnd());
    EXPECT_TRUE(P().Windows().GetChildren(host.GetSafeHwnd()).empty());
}

}  // namespace
}  // namespace orbel
