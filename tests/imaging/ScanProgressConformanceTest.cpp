// The scanner's progress window on both backends: it is up, modeless, while SANE's test scanner
// reads, and goes when the scan ends; its Cancel, pressed by the person while the scan runs,
// stops the scan, leaves no file and makes the scan fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Api.h"
#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/framework/Wnd.h"
#include "platform/imaging/ImagingIds.h"
#include "tests/conformance/Backends.h"
#include "tests/imaging/ScanAsNewItem.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using namespace imaging::scan;

template <class Backend>
class ScanProgressConformanceTest : public ConformanceTest<Backend> {
  protected:
    void SetUp() override {
        UseSaneTestScanners();
        dir_ = MakeTempDir("scan-progress");
        setenv("ORBEL_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
        // The device used last is remembered in the test's own folder.
        setenv("ORBEL_INI_DIR", (dir_ / "ini").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        ConformanceTest<Backend>::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
        ASSERT_TRUE(form_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 400, 300}, kNoWindow, 0));
        platform::SetEffectListener([this](const std::string& line) { effects_.push_back(line); });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        form_.DestroyWindow();
        ConformanceTest<Backend>::TearDown();
        std::filesystem::remove_all(dir_);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    // A feeder run of colour sheets at 300 dpi, as the scan dialog asks for it.
    long Scan(const std::string& target) {
        this->User().AnswerDialog(
            kSetupDialog, {Action::Choose(kSourceBox, "Automatic Document Feeder"),
                           Action::Choose(kModeBox, "Color"), Action::Set(kResolutionBox, "300"),
                           Action::Press(IDOK)});
        return ScanAsNewItem(form_.GetSafeHwnd(), target);
    }
    // The person presses Cancel in the progress window as soon as the program waits.
    void CancelOnceUp() {
        this->P().Loop().PostDelayedTask(0, [this] {
            const auto& up = this->User().ModelessDialogs();
            ASSERT_FALSE(up.empty());
            ASSERT_EQ(up.back()->Template().id, kProgressDialog);
            shownWhileScanning_ = up.back()->GetText(kProgressText);
            EXPECT_EQ(up.back()->UserPress(IDCANCEL), "");
        });
    }

    std::filesystem::path dir_;
    CWnd form_;
    std::vector<std::string> effects_;
    std::string shownWhileScanning_;
};

TYPED_TEST_SUITE(ScanProgressConformanceTest, Backends, BackendNames);

TYPED_TEST(ScanProgressConformanceTest, TheWindowIsUpWhileTheScannerReadsAndGoesAfter) {
    ASSERT_EQ(this->Scan(this->File("run.tif")), 0);
    EXPECT_TRUE(std::filesystem::exists(this->File("run.tif")));
    EXPECT_TRUE(this->User().ModelessDialogs().empty());
    const auto& lines = this->User().Transcript();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 2], "dialog 4110 \"Scanning\" shown");
    EXPECT_EQ(lines.back(), "dialog 4110 \"Scanning\" closed");
}

TYPED_TEST(ScanProgressConformanceTest, CancelStopsTheScanLeavesNoFileAndFails) {
    this->CancelOnceUp();
    EXPECT_EQ(this->Scan(this->File("run.tif")), 2);
    EXPECT_FALSE(std::filesystem::exists(this->File("run.tif")));
    EXPECT_FALSE(this->shownWhileScanning_.empty());
    EXPECT_TRUE(this->User().ModelessDialogs().empty());
    ASSERT_EQ(this->effects_.size(), 1u);
    EXPECT_EQ(this->effects_[0], "scan test:0 mode=Color dpi=300 -> " +
                                     QuoteString(this->File("run.tif")) + " cancelled");
}

}  // namespace
}  // namespace orbel::test
