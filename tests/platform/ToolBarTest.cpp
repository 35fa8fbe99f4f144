#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/framework/ToolBar.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

// An owner as a frame is one: some commands have a handler, some an update handler as well.
class Owner : public CCmdTarget {
  public:
    std::set<UINT> handled;
    std::map<UINT, bool> enable;
    std::map<UINT, bool> check;
    std::vector<UINT> executed;

    bool OnCmdMsg(UINT id, CCmdUI* ui) override {
        if (!handled.contains(id)) return false;
        if (!ui) {
            executed.push_back(id);
            return true;
        }
        if (auto e = enable.find(id); e != enable.end()) ui->Enable(e->second);
        if (auto c = check.find(id); c != check.end()) ui->SetCheck(c->second);
        return true;
    }
};

std::string CommandText(UINT id) {
    switch (id) {
        case 32834:
            return "New Folder\nNew Folder";
        case 32833:
            return "New OLE Item";
        case 32786:
            return "Show Preview Pane\nShow or hide the preview";
        default:
            return {};
    }
}

const ToolBarResource kResource{209, 19, 18, {32834, 32833, 0, 32786, 4711}};

class ToolBarTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(
            host.Create("Host", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 100}, kNoWindow, 0));
        owner.handled = {32834, 32833, 32786};
        owner.enable[32833] = false;
        owner.check[32786] = true;
    }
    platform::HeadlessToolBarControl& Buttons(const CToolBar& bar) {
        return *P().CommonControls().ToolBar(bar.GetSafeHwnd());
    }
    CWnd host;
    Owner owner;
};

TEST_F(ToolBarTest, LoadingTakesTextsAndTipsAndAsksTheOwnerAtOnce) {
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_TOOLBAR, &owner));
    EXPECT_EQ(P().Windows().GetClassName(bar.GetSafeHwnd()), "ToolbarWindow32");
    EXPECT_EQ(bar.GetBarStyle(), CBRS_ALIGN_TOP);
    ASSERT_TRUE(bar.LoadToolBar(kResource, CommandText));
    EXPECT_EQ(bar.LoadedResource(), 209u);
    // A command nobody handles is disabled; one with a handler but no update handler stays
    // as it is.
    EXPECT_EQ(Buttons(bar).Dump(),
              "32834 \"New Folder\"\n"
              "32833 \"New OLE Item\" disabled\n"
              "separator\n"
              "32786 \"Show Preview Pane\" checked\n"
              "4711 \"\" disabled\n");
    EXPECT_EQ(bar.GetToolBarCtrl().Buttons()[3].tip, "Show or hide the preview");
    EXPECT_EQ(bar.GetToolBarCtrl().Buttons()[1].tip, "");
    EXPECT_EQ(bar.BarHeight(), 18 + 8);
}

TEST_F(ToolBarTest, ButtonStatesFollowTheOwnerWhenTheThreadGoesIdle) {
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE, AFX_IDW_TOOLBAR, &owner));
    ASSERT_TRUE(bar.LoadToolBar(kResource, CommandText));
    // The program disables a button whose command has no update handler; idle leaves it.
    bar.GetToolBarCtrl().EnableButton(32834, false);
    owner.enable[32833] = true;
    owner.check[32786] = false;
    P().Loop().PostTask([] {});
    P().RunUntilIdle();
    EXPECT_EQ(Buttons(bar).Dump(),
              "32834 \"New Folder\" disabled\n"
              "32833 \"New OLE Item\"\n"
              "separator\n"
              "32786 \"Show Preview Pane\"\n"
              "4711 \"\" disabled\n");

    // Clicks reach the owner as commands, only on buttons the user can press.
    EXPECT_FALSE(Buttons(bar).UserClick(32834));
    EXPECT_TRUE(Buttons(bar).UserClick(32833));
    EXPECT_EQ(owner.executed, std::vector<UINT>{32833});
}

TEST_F(ToolBarTest, AHiddenOrEmptyBarTakesNoRoom) {
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE, AFX_IDW_TOOLBAR, &owner));
    EXPECT_EQ(bar.BarHeight(), 0);
    ASSERT_TRUE(bar.LoadToolBar(ToolBarResource{210, 16, 16, {32810, 32811}}, CommandText));
    EXPECT_EQ(bar.BarHeight(), 24);
    bar.ShowWindow(false);
    EXPECT_EQ(bar.BarHeight(), 0);
    EXPECT_FALSE(P().Windows().IsWindowVisible(bar.GetSafeHwnd()));
}

TEST_F(ToolBarTest, ADestroyedBarNoLongerUpdatesAtIdle) {
    auto bar = std::make_unique<CToolBar>();
    ASSERT_TRUE(bar->Create(&host, WS_CHILD | WS_VISIBLE, AFX_IDW_TOOLBAR, &owner));
    ASSERT_TRUE(bar->LoadToolBar(kResource, CommandText));
    HWND window = bar->GetSafeHwnd();
    bar.reset();
    EXPECT_EQ(P().CommonControls().ToolBar(window), nullptr);
    EXPECT_FALSE(P().Windows().IsWindow(window));
    P().RunIdleHandlers();  // would reach the freed bar if its handler stayed
}

}  // namespace
}  // namespace orbel
