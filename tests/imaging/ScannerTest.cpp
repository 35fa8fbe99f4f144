// The scan component on SANE's test scanner, driven in the order the control drives it: its
// scan dialog comes through the modal funnel, every sheet of a feeder run goes into one TIFF
// file (G4 for line art, LZW otherwise) at the resolution chosen, and a cancelled dialog or a
// missing component leaves no file. The device used is remembered for the next scan.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Api.h"
#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/imaging/ImageFile.h"
#include "platform/imaging/ImagingIds.h"
#include "platform/imaging/SaneScanner.h"
#include "src/preview/ImgScan.h"
#include "tests/imaging/ScanAsNewItem.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using namespace imaging::scan;

class ScannerTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        test::UseSaneTestScanners();
        HeadlessTest::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
        ASSERT_TRUE(form_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 400, 300}, kNoWindow, 0));
        platform::SetEffectListener([this](const std::string& line) { effects_.push_back(line); });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        form_.DestroyWindow();
        HeadlessTest::TearDown();
    }
    std::string File(const std::string& name) const { return (TempDir() / name).string(); }
    // One scan as a new item's scan makes it: the scan dialog shown first.
    long Scan(const std::string& target) {
        return test::ScanAsNewItem(form_.GetSafeHwnd(), target);
    }
    std::unique_ptr<imaging::ImageFile> Open(const std::string& path) {
        std::string error;
        auto file = imaging::ImageFile::Open(path, error);
        EXPECT_TRUE(file) << error;
        return file;
    }

    CWnd form_;
    std::vector<std::string> effects_;
};

TEST_F(ScannerTest, AFlatbedScanWritesOnePageInTheModeAndResolutionChosen) {
    User().AnswerDialog(kSetupDialog, {Action::Choose(kModeBox, "Gray"),
                                       Action::Set(kResolutionBox, "100"), Action::Press(IDOK)});
    ASSERT_EQ(Scan(File("page.tif")), 0);
    auto file = Open(File("page.tif"));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->PageCount(), 1);
    EXPECT_EQ(file->Page(1).type, imaging::PageType::Gray8);
    EXPECT_EQ(file->Page(1).compression, "LZW");
    EXPECT_EQ(file->Page(1).xResolution, 100);
    ASSERT_EQ(effects_.size(), 1u);
    EXPECT_EQ(effects_[0],
              "scan test:0 mode=Gray dpi=100 -> " + QuoteString(File("page.tif")) + " 1 page");
    // The device used is the one the next scan opens without looking for devices.
    EXPECT_EQ(imaging::SaneScanner::RememberedDevice(), "test:0");
}

TEST_F(ScannerTest, AFeederRunOfLineArtPutsEverySheetInOneG4File) {
    User().AnswerDialog(kSetupDialog, {Action::Choose(kSourceBox, "Automatic Document Feeder"),
                                       Action::Choose(kModeBox, "Lineart"),
                                       Action::Set(kResolutionBox, "75"), Action::Press(IDOK)});
    ASSERT_EQ(Scan(File("run.tif")), 0);
    auto file = Open(File("run.tif"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->PageCount(), 10);
    EXPECT_EQ(file->Page(10).type, imaging::PageType::BlackAndWhite);
    EXPECT_EQ(file->Page(10).compression, "G4");
    std::string error;
    EXPECT_TRUE(file->DecodeTiffPage(10, error)) << error;
}

TEST_F(ScannerTest, ACancelledDialogOrAMissingComponentLeavesNoFile) {
    User().AnswerDialog(kSetupDialog, {Action::Press(IDCANCEL)});
    EXPECT_NE(Scan(File("none.tif")), 0);
    EXPECT_FALSE(std::filesystem::exists(File("none.tif")));
    ASSERT_EQ(UnregisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
    EXPECT_FALSE(ScannerAvailable(form_.GetSafeHwnd()));
    EXPECT_NE(Scan(File("none.tif")), 0);
    EXPECT_FALSE(std::filesystem::exists(File("none.tif")));
}

TEST_F(ScannerTest, TheProbeFindsTheTestScannerAndLeavesNoWindow) {
    EXPECT_TRUE(ScannerAvailable(form_.GetSafeHwnd()));
    EXPECT_TRUE(P().Windows().GetChildren(form_.GetSafeHwnd()).empty());
}

}  // namespace
}  // namespace orbel
