// The viewer component as the control meets it: registered by its own module, made through
// the registry into a window of the control's, driven by dispatch ID through the wrapper, and
// drawn on with the mouse. Without its module the imaging probe fails.
#include <gtest/gtest.h>

#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "src/preview/ImagingProbe.h"
#include "src/preview/ImgEdit.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

class ViewerTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
        ASSERT_TRUE(form_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 600, 400}, kNoWindow, 0));
    }
    void TearDown() override {
        viewer_.DestroyWindow();
        form_.DestroyWindow();
        HeadlessTest::TearDown();
    }
    // A viewer of 400 x 300 at (100, 50) in the form, its events recorded.
    void MakeViewer() {
        ASSERT_TRUE(viewer_.Create("Image", WS_CHILD | WS_VISIBLE, RECT{100, 50, 500, 350},
                                   form_.GetSafeHwnd(), 104));
        ASSERT_TRUE(viewer_.AdviseEvents(events_));
    }
    std::string File(const std::string& name) const { return (TempDir() / name).string(); }
    // A point of the viewer's window on the screen.
    POINT Screen(int x, int y) {
        return P().Windows().ClientToScreen(viewer_.GetSafeHwnd(), POINT{x, y});
    }

    CWnd form_;
    CImgEdit viewer_;
    std::shared_ptr<test::EventRecorder> events_ = std::make_shared<test::EventRecorder>(
        std::map<DISPID, std::string>{{4, "SelectionRectDrawn"}, {-607, "MouseUp"}});
};

TEST_F(ViewerTest, TheProbeMakesAViewerOnlyWhileItsModuleIsRegisteredAndLeavesNoWindow) {
    const HWND form = form_.GetSafeHwnd();
    EXPECT_TRUE(ImagingControlsAvailable(form));
    EXPECT_TRUE(P().Windows().GetChildren(form).empty());
    ASSERT_EQ(UnregisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
    EXPECT_FALSE(ImagingControlsAvailable(form));
    EXPECT_FALSE(viewer_.Create("Image", WS_CHILD, RECT{0, 0, 1, 1}, form, 104));
    EXPECT_TRUE(P().Windows().GetChildren(form).empty());
}

TEST_F(ViewerTest, TheViewerLivesInAWindowNamedAndNumberedByTheControlAndPagesThroughAFile) {
    MakeViewer();
    const HWND site = viewer_.GetSafeHwnd();
    EXPECT_EQ(P().Windows().GetDlgCtrlID(site), 104u);
    ASSERT_TRUE(test::WriteBilevelTiff(File("letter.tif"), 3, 800, 1000));
    viewer_.SetImage(File("letter.tif"));
    EXPECT_EQ(viewer_.GetImage(), File("letter.tif"));
    EXPECT_EQ(viewer_.GetPageCount(), 3);
    EXPECT_EQ(viewer_.GetPageType(), 1);
    EXPECT_EQ(viewer_.GetImageResolutionX(), 200);
    EXPECT_FALSE(viewer_.GetImageDisplayed());
    viewer_.FitTo(1, true);
    viewer_.Display();
    EXPECT_TRUE(viewer_.GetImageDisplayed());
    EXPECT_EQ(viewer_.Dump(),
              "viewer: \"" + File("letter.tif") +
                  "\" page 1 of 3, black-and-white 800x1000 G4 200x200 dpi, shown zoom 50.0% (fit "
                  "to width) scaling 0 rotation 0, no selection, pages decoded 1");
    // Paging decodes the page shown and no other.
    viewer_.SetPage(3);
    viewer_.Display();
    EXPECT_EQ(viewer_.GetPage(), 3);
    EXPECT_NE(viewer_.Dump().find("page 3 of 3"), std::string::npos);
    EXPECT_NE(viewer_.Dump().find("pages decoded 2"), std::string::npos);
    // Turning the page a quarter makes its height the width to fit; the file is not changed.
    const auto before = std::filesystem::last_write_time(File("letter.tif"));
    viewer_.SetAutoRefresh(true);
    viewer_.RotateRight();
    EXPECT_NE(viewer_.Dump().find("zoom 40.0% (fit to width) scaling 0 rotation 90"),
              std::string::npos);
    viewer_.RotateLeft();
    viewer_.RotateLeft();
    EXPECT_NE(viewer_.Dump().find("rotation 270"), std::string::npos);
    EXPECT_EQ(std::filesystem::last_write_time(File("letter.tif")), before);
    viewer_.FitTo(0, true);
    EXPECT_NE(viewer_.Dump().find("zoom 37.5% (best fit)"), std::string::npos);
    viewer_.FitTo(3, true);
    EXPECT_NE(viewer_.Dump().find("zoom 100.0% (actual size)"), std::string::npos);
    viewer_.SetDisplayScaleAlgorithm(2);
    EXPECT_EQ(viewer_.GetDisplayScaleAlgorithm(), 2);
    EXPECT_NE(viewer_.Dump().find("scaling 2"), std::string::npos);
    // A page past the end is not shown, and says so.
    viewer_.SetPage(4);
    viewer_.Display();
    EXPECT_FALSE(viewer_.GetImageDisplayed());
    EXPECT_NE(viewer_.Dump().find("\"there is no page 4\""), std::string::npos);
    viewer_.DisplayBlankImage(400, 300, 200, 200, 1);
    EXPECT_NE(viewer_.Dump().find("blank 400x300"), std::string::npos);
}

TEST_F(ViewerTest, FormatsNoReaderUnderstandsShowAReasonInsteadOfAPage) {
    MakeViewer();
    ASSERT_TRUE(test::WriteBytes(File("fax.awd"), std::string("\xD0\xCF\x11\xE0", 4)));
    ASSERT_TRUE(test::WriteBilevelTiff(File("scan.xif"), 1));
    for (const char* name : {"fax.awd", "scan.xif"}) {
        viewer_.SetImage(File(name));
        EXPECT_EQ(viewer_.GetPageCount(), 0);
        viewer_.Display();
        EXPECT_FALSE(viewer_.GetImageDisplayed());
        EXPECT_EQ(viewer_.Dump(), "viewer: \"" + File(name) +
                                      "\", \"cannot show this image format\", pages decoded 0");
    }
    ASSERT_TRUE(test::WriteBmp(File("photo.bmp"), 40, 30));
    viewer_.SetImage(File("photo.bmp"));
    viewer_.Display();
    EXPECT_TRUE(viewer_.GetImageDisplayed());
    EXPECT_EQ(viewer_.GetPageType(), 6);
}

TEST_F(ViewerTest, ARectangleDrawnWithTheMouseIsReportedAndZoomedToAndARightClickToo) {
    MakeViewer();
    ASSERT_TRUE(test::WriteBilevelTiff(File("letter.tif"), 1, 800, 600));
    viewer_.SetImage(File("letter.tif"));
    viewer_.FitTo(3, true);
    viewer_.Display();
    // Before rectangles are allowed a drag draws nothing.
    P().Windows().UserMouseButton(WM_LBUTTONDOWN, Screen(10, 10));
    P().Windows().UserMoveMouse(Screen(60, 60));
    P().Windows().UserMouseButton(WM_LBUTTONUP, Screen(60, 60));
    EXPECT_TRUE(events_->Events().empty());
    viewer_.SetSelectionRectangle(true);
    P().Windows().UserMouseButton(WM_LBUTTONDOWN, Screen(150, 120));
    P().Windows().UserMoveMouse(Screen(90, 80));
    P().Windows().UserMoveMouse(Screen(50, 20));
    P().Windows().UserMouseButton(WM_LBUTTONUP, Screen(50, 20));
    EXPECT_EQ(events_->Events(), std::vector<std::string>{"SelectionRectDrawn(50, 20, 100, 100)"});
    EXPECT_NE(viewer_.Dump().find("selection 50,20,100,100"), std::string::npos);
    // The view is 400 x 300, the rectangle 100 x 100: three times nearer.
    viewer_.ZoomToSelection();
    EXPECT_NE(viewer_.Dump().find("zoom 300.0% (selection)"), std::string::npos);
    EXPECT_NE(viewer_.Dump().find("no selection"), std::string::npos);
    events_->Clear();
    // A click without a drag reports that there is no rectangle.
    P().Windows().UserMouseButton(WM_LBUTTONDOWN, Screen(30, 30));
    P().Windows().UserMouseButton(WM_LBUTTONUP, Screen(30, 30));
    P().Windows().UserMouseButton(WM_RBUTTONDOWN, Screen(70, 40));
    P().Windows().UserMouseButton(WM_RBUTTONUP, Screen(70, 40));
    EXPECT_EQ(events_->Events(), (std::vector<std::string>{"SelectionRectDrawn(0, 0, 0, 0)",
                                                           "MouseUp(2, 0, 70, 40)"}));
}

}  // namespace
}  // namespace orbel
