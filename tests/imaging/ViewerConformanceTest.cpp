// The viewer component on both backends, driven as a person drives it: a rectangle dragged
// with the left button and a right click reach it through the window system's mouse path and
// come out as the same events; a page of every reader shows on both.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/qt/QtWindows.h"
#include "src/preview/ImgEdit.h"
#include "tests/conformance/Backends.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {
namespace {

template <class Backend>
class ViewerConformanceTest : public ConformanceTest<Backend> {
  protected:
    void SetUp() override {
        dir_ = MakeTempDir("viewer-conformance");
        setenv("ORBEL_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
        ConformanceTest<Backend>::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
        ASSERT_TRUE(form_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 500, 400}, kNoWindow, 0));
        ASSERT_TRUE(viewer_.Create("Image", WS_CHILD | WS_VISIBLE, RECT{50, 40, 450, 340},
                                   form_.GetSafeHwnd(), 104));
        ASSERT_TRUE(viewer_.AdviseEvents(events_));
    }
    void TearDown() override {
        viewer_.DestroyWindow();
        form_.DestroyWindow();
        ConformanceTest<Backend>::TearDown();
        std::filesystem::remove_all(dir_);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    POINT Screen(int x, int y) {
        return this->P().Windows().ClientToScreen(viewer_.GetSafeHwnd(), POINT{x, y});
    }

    std::filesystem::path dir_;
    CWnd form_;
    CImgEdit viewer_;
    std::shared_ptr<EventRecorder> events_ = std::make_shared<EventRecorder>(
        std::map<DISPID, std::string>{{4, "SelectionRectDrawn"}, {-607, "MouseUp"}});
};

TYPED_TEST_SUITE(ViewerConformanceTest, Backends, BackendNames);

TYPED_TEST(ViewerConformanceTest, ADraggedRectangleAndARightClickReachTheViewerAsEvents) {
    ASSERT_TRUE(WriteBilevelTiff(this->File("letter.tif"), 2, 850, 1100));
    this->viewer_.SetImage(this->File("letter.tif"));
    this->viewer_.FitTo(1, true);
    this->viewer_.SetSelectionRectangle(true);
    this->viewer_.Display();
    this->Pump();
    auto& mouse = this->Driver();
    mouse.MoveMouse(this->Screen(200, 150));
    mouse.MouseButton(WM_LBUTTONDOWN, this->Screen(200, 150));
    mouse.MoveMouse(this->Screen(150, 120));
    mouse.MoveMouse(this->Screen(80, 60));
    mouse.MouseButton(WM_LBUTTONUP, this->Screen(80, 60));
    this->Pump();
    mouse.MouseButton(WM_RBUTTONDOWN, this->Screen(30, 20));
    mouse.MouseButton(WM_RBUTTONUP, this->Screen(30, 20));
    this->Pump();
    EXPECT_EQ(
        this->events_->Events(),
        (std::vector<std::string>{"SelectionRectDrawn(80, 60, 120, 90)", "MouseUp(2, 0, 30, 20)"}));
    if (this->IsQt()) {
        // The desktop draws the page: a grab of the viewer holds black as well as white.
        auto& windows = static_cast<platform::QtWindows&>(this->P().Windows());
        const QImage shot = windows.Widget(this->viewer_.GetSafeHwnd())->grab().toImage();
        int dark = 0;
        for (int y = 0; y < shot.height(); y += 4)
            for (int x = 0; x < shot.width(); x += 4) dark += qGray(shot.pixel(x, y)) < 64;
        EXPECT_GT(dark, 100);
        if (const char* keep = std::getenv("ORBEL_KEEP_VIEWER_SHOT")) shot.save(keep);
    }
    this->viewer_.ZoomToSelection();
    EXPECT_NE(this->viewer_.Dump().find("zoom 156.9% (selection)"), std::string::npos)
        << this->viewer_.Dump();
}

TYPED_TEST(ViewerConformanceTest, APageOfEveryKindIsShownAndAnUnreadableFormatSaysWhy) {
    ASSERT_TRUE(
        WriteTiff(this->File("colour.tif"), {TiffPage{64, 48, 8, 3, 2 /* RGB */, 7 /* JPEG */}}));
    ASSERT_TRUE(WriteBmp(this->File("photo.bmp"), 40, 30));
    for (const char* name : {"colour.tif", "photo.bmp"}) {
        this->viewer_.SetImage(this->File(name));
        this->viewer_.Display();
        EXPECT_TRUE(this->viewer_.GetImageDisplayed()) << this->viewer_.Dump();
    }
    ASSERT_TRUE(WriteBytes(this->File("fax.dcx"), std::string("\xB1\x68\xDE\x3A", 4)));
    this->viewer_.SetImage(this->File("fax.dcx"));
    this->viewer_.Display();
    this->Pump();
    EXPECT_FALSE(this->viewer_.GetImageDisplayed());
    EXPECT_NE(this->viewer_.Dump().find("cannot show this image format"), std::string::npos);
}

}  // namespace
}  // namespace orbel::test
