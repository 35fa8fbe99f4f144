// The preview pane in the control: its toolbar button splits off an image frame only while the
// viewer's module is registered; an opened image shows page by page, is zoomed, grey-scaled and
// turned from the frame's menus, its page bar and the mouse; opening a store blanks it.
#include <gtest/gtest.h>

#include "platform/automation/ComRuntime.h"
#include "platform/headless/HeadlessToolBar.h"
#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"
#include "src/preview/ImageFrame.h"
#include "src/preview/ImageView.h"
#include "src/preview/ImagingProbe.h"
#include "tests/imaging/TestImages.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

class PreviewPaneTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        test::UseSaneTestScanners();
        StoreControlTest::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
    }
    std::string File(const std::string& name) const { return (TempDir() / name).string(); }
    CImageFrame* Frame() {
        auto& splitter = Ctrl().Frame()->InnerSplitter();
        return splitter.GetRowCount() > 1 ? dynamic_cast<CImageFrame*>(splitter.GetPane(1, 0))
                                          : nullptr;
    }
    CImageView& View() { return *Frame()->GetActiveView(); }
    platform::HeadlessToolBarControl& Bar(CToolBar& bar) {
        return *P().CommonControls().ToolBar(bar.GetSafeHwnd());
    }
    void ShowPreview() {
        ASSERT_TRUE(ToolBarModel().UserClick(ID_SHOW_PREVIEW_PANE));
        ASSERT_TRUE(Frame());
    }
    // Opens the file as the host's ShowItem does: all pages, the preview allowed.
    void Open(const std::string& path) {
        ASSERT_EQ(InvokeByName(Ctrl(), "ShowItem", InvokeKind::Method, {Variant(path)}, nullptr),
                  S_OK);
    }
    std::string Viewer() { return View().Viewer()->Dump(); }
    POINT ViewerScreen(int x, int y) {
        return P().Windows().ClientToScreen(View().Viewer()->GetSafeHwnd(), POINT{x, y});
    }
};

TEST_F(PreviewPaneTest, ScanNewItemIsOfferedWhileAScannerOpensAndTheControlIsNotBusy) {
    P().RunIdleHandlers();
    EXPECT_TRUE(ToolBarModel().IsButtonEnabled(ID_SCAN_NEW_ITEM));
    Ctrl().SetBusy(true);
    P().RunIdleHandlers();
    EXPECT_FALSE(ToolBarModel().IsButtonEnabled(ID_SCAN_NEW_ITEM));
    Ctrl().SetBusy(false);
    P().RunIdleHandlers();
    EXPECT_TRUE(ToolBarModel().IsButtonEnabled(ID_SCAN_NEW_ITEM));
}

TEST_F(PreviewPaneTest, TheButtonShowsAndHidesAFreshPaneOnlyWhileTheViewerCanBeMade) {
    ShowPreview();
    EXPECT_TRUE(ToolBarModel().IsButtonChecked(ID_SHOW_PREVIEW_PANE));
    EXPECT_TRUE(Ctrl().PreviewPaneWanted());
    EXPECT_EQ(Ctrl().ListView()->ImageView(), &View());
    EXPECT_EQ(View().Describe(), "empty");
    ASSERT_TRUE(test::WriteBilevelTiff(File("a.tif"), 2));
    Open(File("a.tif"));
    View().Zoom(0);
    ASSERT_TRUE(ToolBarModel().UserClick(ID_SHOW_PREVIEW_PANE));
    EXPECT_FALSE(Frame());
    EXPECT_EQ(Ctrl().ListView()->ImageView(), nullptr);
    EXPECT_FALSE(Ctrl().PreviewPaneWanted());
    // Each showing is a new frame and view: no viewer, the zoom mode anew.
    ShowPreview();
    EXPECT_FALSE(View().HasViewer());
    EXPECT_EQ(View().ZoomMode(), 0);
    Open(File("a.tif"));
    EXPECT_EQ(View().ZoomMode(), 1);

    // Without the module the probe fails and the button does nothing at all.
    ASSERT_TRUE(ToolBarModel().UserClick(ID_SHOW_PREVIEW_PANE));
    ASSERT_EQ(UnregisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
    EXPECT_TRUE(ToolBarModel().UserClick(ID_SHOW_PREVIEW_PANE));
    EXPECT_FALSE(Frame());
    EXPECT_FALSE(ToolBarModel().IsButtonChecked(ID_SHOW_PREVIEW_PANE));
    // With no viewer to count them a file counts as one page.
    EXPECT_EQ(PageCount(HostWindow(), File("a.tif")), 1);
}

TEST_F(PreviewPaneTest, AnOpenedImagePagesThroughEveryPageAndRefusesToGoPastEitherEnd) {
    ShowPreview();
    ASSERT_TRUE(test::WriteBilevelTiff(File("letter.tif"), 3, 800, 1000));
    EXPECT_EQ(PageCount(HostWindow(), File("letter.tif")), 3);
    Open(File("letter.tif"));
    EXPECT_EQ(View().Describe(),
              "\"" + File("letter.tif") + "\" page 1 of 3 zoom width grey on rotation 0");
    EXPECT_EQ(Frame()->PageBar().PageBoxText(), "1");
    // Grey scaling is on for a bilevel page; off, the scaling read at opening comes back.
    EXPECT_NE(Viewer().find("scaling 2"), std::string::npos);
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_NEXTPG));
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_NEXTPG));
    EXPECT_EQ(Frame()->PageBar().PageBoxText(), "3");
    User().AnswerMessageBox(MessageAnswer::Ok, "You have reached the last page.");
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_NEXTPG));
    EXPECT_EQ(View().Viewer()->GetPage(), 3);
    View().FirstPage();
    User().AnswerMessageBox(MessageAnswer::Ok, "You have reached the first page.");
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_PREVPG));
    EXPECT_EQ(View().Viewer()->GetPage(), 1);
    View().LastPage();
    EXPECT_EQ(Frame()->PageBar().PageBoxText(), "3");
    View().GoToPage(2);
    EXPECT_EQ(Frame()->PageBar().PageBoxText(), "2");
    User().AnswerMessageBox(MessageAnswer::Ok, "There is no such Page Number.");
    View().GoToPage(7);
    EXPECT_EQ(View().Viewer()->GetPage(), 2);
    EXPECT_EQ(Frame()->PageBar().PageBoxText(), "2");
    // Only the pages shown were decoded: 1, 2, 3, 1, 3, 2.
    EXPECT_NE(Viewer().find("pages decoded 6"), std::string::npos);
}

TEST_F(PreviewPaneTest, TheTypedPageIsReadAsDigitsAndPageZeroIsTheViewersAffair) {
    ShowPreview();
    ASSERT_TRUE(test::WriteBilevelTiff(File("letter.tif"), 3, 800, 1000));
    // Typed before any image is shown, a page goes nowhere.
    platform::LiveDialog* box = Frame()->PageBar().PageBox();
    ASSERT_TRUE(box);
    const auto enter = [&](const char* text) {
        ASSERT_EQ(box->UserType(IDC_PAGEBOX, text), "");
        P().Windows().SetFocus(box->Window());
        P().Loop().PostMessage(box->Window(), WM_KEYDOWN, VK_RETURN, 1);
        P().RunUntilIdle();
    };
    enter("2");
    EXPECT_EQ(View().Describe(), "empty");
    Open(File("letter.tif"));
    // A sign is not a digit.
    User().AnswerMessageBox(MessageAnswer::Ok, "Please enter an integer.");
    enter("-1");
    EXPECT_EQ(View().Viewer()->GetPage(), 1);
    enter("0");
    EXPECT_EQ(View().Viewer()->GetPage(), 0);
    EXPECT_NE(Viewer().find("there is no page 0"), std::string::npos) << Viewer();
    enter("3");
    EXPECT_EQ(View().Viewer()->GetPage(), 3);
}

TEST_F(PreviewPaneTest, TheMenusThePageBarAndTheMouseZoomTurnAndGreyTheView) {
    ShowPreview();
    ASSERT_TRUE(test::WriteBilevelTiff(File("letter.tif"), 1, 800, 1000));
    Open(File("letter.tif"));
    // The Zoom menu of the menu toolbar, with the mode checked.
    User().AnswerMenu("Actual Size");
    EXPECT_TRUE(Bar(Frame()->MenuBar()).UserClick(2));
    EXPECT_EQ(View().ZoomMode(), 3);
    EXPECT_NE(Viewer().find("zoom 100.0% (actual size)"), std::string::npos);
    User().AnswerMenu("Scale To Grey");
    EXPECT_TRUE(Bar(Frame()->MenuBar()).UserClick(1));
    EXPECT_FALSE(View().GreyFlag());
    EXPECT_NE(Viewer().find("scaling 0"), std::string::npos);
    // A rectangle drawn in the viewer, then zoomed to from the context menu of a right click.
    P().Windows().UserMouseButton(WM_LBUTTONDOWN, ViewerScreen(10, 10));
    P().Windows().UserMoveMouse(ViewerScreen(40, 30));
    P().Windows().UserMouseButton(WM_LBUTTONUP, ViewerScreen(40, 30));
    EXPECT_TRUE(View().SelectionFlag());
    EXPECT_NE(View().Describe().find("selection 10,10,30,20"), std::string::npos);
    User().AnswerMenu("Zoom To Selection");
    P().Windows().UserMouseButton(WM_RBUTTONDOWN, ViewerScreen(50, 50));
    P().Windows().UserMouseButton(WM_RBUTTONUP, ViewerScreen(50, 50));
    EXPECT_EQ(View().ZoomMode(), 4);
    EXPECT_FALSE(View().SelectionFlag());
    const std::string zoomed = Viewer();
    EXPECT_NE(zoomed.find("(selection)"), std::string::npos);
    // Resizing fits with the mode it has, which for a selection keeps the zoom.
    const RECT frame = Ctrl().Frame()->GetClientRect();
    Ctrl().Frame()->MoveWindow(RECT{0, 0, frame.Width() - 20, frame.Height() - 20});
    EXPECT_EQ(Viewer(), zoomed);
    // Turning is for the display only.
    const auto written = std::filesystem::last_write_time(File("letter.tif"));
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_RIGHT));
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_RIGHT));
    EXPECT_TRUE(Bar(Frame()->PageBar()).UserClick(IDC_LEFT));
    EXPECT_NE(View().Describe().find("rotation 90"), std::string::npos);
    EXPECT_EQ(std::filesystem::last_write_time(File("letter.tif")), written);
}

TEST_F(PreviewPaneTest, OpeningAStoreBlanksTheImageAndDisablesItsControlsUntilTheNextOne) {
    ShowPreview();
    ASSERT_TRUE(test::WriteTiff(File("grey.tif"),
                                {test::TiffPage{64, 48, 8, 1, 1 /* min-is-black */, 5 /* LZW */}}));
    Open(File("grey.tif"));
    EXPECT_FALSE(View().GreyFlag());
    EXPECT_TRUE(Bar(Frame()->MenuBar()).IsButtonEnabled(2));
    SeedFolder(8, 4, 0, 0, "Letters");
    SeedFolder(7, 1, 0, 0, "Mine");
    ASSERT_EQ(Ctrl().Initiate(7, 8), 7);
    EXPECT_EQ(View().Describe(), "empty");
    EXPECT_NE(Viewer().find("blank"), std::string::npos);
    EXPECT_EQ(Frame()->PageBar().PageBoxText(), "");
    EXPECT_FALSE(Bar(Frame()->MenuBar()).IsButtonEnabled(2));
    EXPECT_FALSE(Bar(Frame()->PageBar()).IsButtonEnabled(IDC_NEXTPG));
    EXPECT_FALSE(Bar(Frame()->PageBar()).UserClick(IDC_NEXTPG));
    Open(File("grey.tif"));
    EXPECT_TRUE(Bar(Frame()->PageBar()).IsButtonEnabled(IDC_NEXTPG));
}

}  // namespace
}  // namespace orbel
