// The "Running script..." window on both backends: a script that runs on brings it up while
// the program waits, and the person's click on its Cancel stops the script; the control then
// runs the next script as before.
#include <chrono>
#include <memory>

#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/dialogs/Dialogs.h"
#include "src/script/RunningScriptWindow.h"
#include "src/script/ScriptControlObject.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

template <class B>
class ScriptWindowConformance : public ConformanceTest<B> {
  protected:
    // Clicks the window's Cancel once it is up. A desktop button is a window under the
    // pointer; the headless dialog draws its buttons itself and takes the press on its model.
    void CancelWhenShown() {
        this->P().Loop().PostDelayedTask(10, [this] {
            const auto& up = this->User().ModelessDialogs();
            if (up.empty()) return CancelWhenShown();
            platform::LiveDialog& window = *up.back();
            platform::WindowSystem& windows = this->P().Windows();
            for (HWND child : windows.GetChildren(window.Window())) {
                if (windows.GetDlgCtrlID(child) != static_cast<UINT>(IDCANCEL)) continue;
                const RECT r = windows.GetWindowRect(child);
                const POINT centre = windows.ClientToScreen(
                    window.Window(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
                this->Driver().MouseButton(WM_LBUTTONDOWN, centre);
                this->Driver().MouseButton(WM_LBUTTONUP, centre);
                return;
            }
            EXPECT_FALSE(this->IsQt()) << "the desktop's Cancel is a window of its own";
            EXPECT_EQ(window.UserPress(IDCANCEL), "");
        });
    }
};
TYPED_TEST_SUITE(ScriptWindowConformance, Backends, BackendNames);

TYPED_TEST(ScriptWindowConformance, ThePersonsCancelStopsARunningScript) {
    auto control = std::make_shared<CScriptControlObject>();
    std::string error;
    ASSERT_EQ(control->PutLanguage("JScript", &error), S_OK) << error;
    ASSERT_EQ(
        control->AddCode("function Spin() { for (;;) {} }\nfunction Two() { return 2; }", &error),
        S_OK)
        << error;
    control->PutAllowUI(true);
    control->SetTimeLimit(60000);
    control->SetWindowDelay(50);
    this->CancelWhenShown();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control->Run("Spin", {}, nullptr, &error), E_FAIL);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(error, "The script was cancelled.");
    const std::string id = std::to_string(kRunningScriptTemplateId);
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{"dialog " + id + " \"Script\" shown",
                                        "dialog " + id + " \"Script\" closed"}));
    Variant result;
    ASSERT_EQ(control->Run("Two", {}, &result, &error), S_OK) << error;
    EXPECT_EQ(result, Variant(2));
}

}  // namespace
}  // namespace orbel::test
