// The preview's bars on both backends, as a person uses them: Alt with a menu's letter pressed
// through the window system's key path opens that menu; in an open menu the arrow keys move to
// the neighbouring menu, wrapping at both ends, Escape closes it, and a click on its own button
// closes it without opening it again. A page number typed into the page box with Enter or Tab
// shows that page; one past the end or no number at all changes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/automation/ComRuntime.h"
#include "src/module/OrbelApp.h"
#include "src/preview/ImageFrame.h"
#include "src/preview/ImageView.h"
#include "tests/conformance/Backends.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {
namespace {

constexpr UINT kViewMenu = 1;
constexpr UINT kZoomMenu = 2;
constexpr UINT kPageMenu = 3;

template <class Backend>
class MenuToolBarConformanceTest : public ConformanceTest<Backend> {
  protected:
    void SetUp() override {
        dir_ = MakeTempDir("menu-toolbar");
        setenv("ORBEL_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
        ConformanceTest<Backend>::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
        COrbelApp::InstallKeyboardHook();
        ASSERT_TRUE(
            frame_.Create(CImageFrame::kClassName, WS_VISIBLE, RECT{0, 0, 500, 400}, kNoWindow));
        ASSERT_TRUE(WriteBilevelTiff(File("letter.tif"), 3, 200, 300));
        View().ShowImage(File("letter.tif"), 1, 3);
        this->P().Windows().SetFocus(View().GetSafeHwnd());
        this->Pump();
        this->P().Loop().RunIdleHandlers();
    }
    void TearDown() override {
        frame_.DestroyWindow();
        COrbelApp::RemoveKeyboardHook();
        ConformanceTest<Backend>::TearDown();
        std::filesystem::remove_all(dir_);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    CImageView& View() { return *frame_.GetActiveView(); }
    HWND MenuBar() { return frame_.MenuBar().GetSafeHwnd(); }
    void PressAlt(UINT key) {
        this->Driver().PressKey(View().GetSafeHwnd(), key, false, false, true);
        this->Pump();
    }
    // The middle of a menu button, on the screen.
    POINT ButtonMiddle(UINT id) {
        const RECT r = frame_.MenuBar().ButtonRect(id);
        return this->P().Windows().ClientToScreen(
            MenuBar(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    std::filesystem::path dir_;
    CImageFrame frame_;
};

TYPED_TEST_SUITE(MenuToolBarConformanceTest, Backends, BackendNames);

TYPED_TEST(MenuToolBarConformanceTest, AltWithAMenusLetterOpensItAndTheArrowsMoveAroundTheBar) {
    auto& user = this->User();
    // Zoom, then Right to Page, Right again wraps to View, Left wraps back to Page, where
    // Next Page is chosen.
    user.AnswerMenuKey(VK_RIGHT);
    user.AnswerMenuKey(VK_RIGHT);
    user.AnswerMenuKey(VK_LEFT);
    user.AnswerMenu("Next Page");
    this->PressAlt('Z');
    EXPECT_EQ(this->View().Viewer()->GetPage(), 2);
    EXPECT_EQ(this->frame_.MenuBar().HotIndex(), -1);
    EXPECT_EQ(user.Transcript(),
              (std::vector<std::string>{
                  "menu Best Fit | Fit To Width (checked) | Fit To Height | Actual Size | Zoom To "
                  "Selection -> key Right, none",
                  "menu Next Page | Previous Page | First Page | Last Page -> key Right, none",
                  "menu Scale To Grey (checked) -> key Left, none",
                  "menu Next Page | Previous Page | First Page | Last Page -> Next Page"}));
    // Each menu opens below its own button.
    const RECT page = this->frame_.MenuBar().ButtonRect(kPageMenu);
    const POINT below =
        this->P().Windows().ClientToScreen(this->MenuBar(), POINT{page.left, page.bottom});
    ASSERT_TRUE(user.LastMenuPoint());
    EXPECT_EQ(user.LastMenuPoint()->x, below.x);
    EXPECT_EQ(user.LastMenuPoint()->y, below.y);
    // A letter that no menu marks is not the bar's: it opens nothing.
    this->PressAlt('Q');
    EXPECT_EQ(user.Transcript().size(), 4u);
}

TYPED_TEST(MenuToolBarConformanceTest, EscapeAndAClickOnTheOpenMenusButtonCloseItForGood) {
    auto& user = this->User();
    user.AnswerMenuKey(VK_ESCAPE);
    this->PressAlt('V');
    user.AnswerMenuClick(this->ButtonMiddle(kZoomMenu));
    ASSERT_TRUE(this->Driver().ToolBarClick(this->MenuBar(), kZoomMenu));
    this->Pump();
    // A click elsewhere closes the menu too, and the Left arrow from the first menu reaches the
    // last one.
    user.AnswerMenuKey(VK_LEFT);
    user.AnswerMenuClick(this->ButtonMiddle(kViewMenu));
    ASSERT_TRUE(this->Driver().ToolBarClick(this->MenuBar(), kViewMenu));
    this->Pump();
    EXPECT_EQ(this->frame_.MenuBar().HotIndex(), -1);
    const POINT zoom = this->ButtonMiddle(kZoomMenu);
    const POINT view = this->ButtonMiddle(kViewMenu);
    EXPECT_EQ(user.Transcript(),
              (std::vector<std::string>{
                  "menu Scale To Grey (checked) -> key Escape, none",
                  "menu Best Fit | Fit To Width (checked) | Fit To Height | Actual Size | Zoom To "
                  "Selection -> click " +
                      std::to_string(zoom.x) + "," + std::to_string(zoom.y) + ", none",
                  "menu Scale To Grey (checked) -> key Left, none",
                  "menu Next Page | Previous Page | First Page | Last Page -> click " +
                      std::to_string(view.x) + "," + std::to_string(view.y) + ", none"}));
    EXPECT_EQ(this->View().Viewer()->GetPage(), 1);
    EXPECT_TRUE(this->View().GreyFlag());
}

TYPED_TEST(MenuToolBarConformanceTest, APageTypedIntoThePageBoxIsShownOnEnterOrTab) {
    platform::LiveDialog* box = this->frame_.PageBar().PageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->GetText(IDC_PAGEBOX), "1");
    // The person types where the keyboard is: in the box.
    const auto type = [&](const char* text, UINT key) {
        ASSERT_EQ(box->UserType(IDC_PAGEBOX, text), "");
        this->P().Windows().SetFocus(box->Window());
        this->Driver().PressKey(box->Window(), key, false, false, false);
        this->Pump();
    };
    type("3", VK_RETURN);
    EXPECT_EQ(this->View().Viewer()->GetPage(), 3);
    type("2", VK_TAB);
    EXPECT_EQ(this->View().Viewer()->GetPage(), 2);
    EXPECT_EQ(box->GetText(IDC_PAGEBOX), "2");
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok, "There is no such Page Number.");
    type("9", VK_RETURN);
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please enter an integer.");
    type("2a", VK_RETURN);
    EXPECT_EQ(this->View().Viewer()->GetPage(), 2);
    EXPECT_EQ(box->GetText(IDC_PAGEBOX), "2");
    // Cleared, the box takes nothing typed.
    this->View().ClearImage();
    EXPECT_NE(box->UserType(IDC_PAGEBOX, "1"), "");
    EXPECT_EQ(box->GetText(IDC_PAGEBOX), "");
}

}  // namespace
}  // namespace orbel::test
