#include "src/script/RunningScriptWindow.h"

#include "platform/Platform.h"
#include "platform/framework/Dialog.h"

namespace orbel {

namespace {

constexpr const char* kWindowDelayKey = "WindowDelay";

const platform::DialogTemplate& RunningScriptTemplate() {
    using K = platform::DialogControlKind;
    auto at = [](int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; };
    static const platform::DialogTemplate t{
        kRunningScriptTemplateId,
        "Script",
        160,
        46,
        std::nullopt,
        {
            {kRunningScriptTextId, K::Static, "Running script...", at(7, 7, 146, 8), 0},
            {IDCANCEL, K::Button, "Cancel", at(55, 25, 50, 14), 0},
        }};
    return t;
}

// The top window holding the focus: the window is put over the program the person works in.
HWND FocusTopWindow() {
    const platform::WindowSystem& windows = platform::GetPlatform().Windows();
    HWND top = windows.GetFocus();
    while (top && windows.GetParent(top)) top = windows.GetParent(top);
    return top;
}

}  // namespace

class CRunningScriptWindow::Dialog final : public CDialog {
  public:
    Dialog(ScriptLimit& limit, HWND over) : CDialog(RunningScriptTemplate(), over), limit_(limit) {}

  protected:
    void OnCancel() override {
        limit_.Cancel();
        CDialog::OnCancel();
    }

  private:
    ScriptLimit& limit_;
};

std::int32_t CRunningScriptWindow::ConfiguredDelay() {
    return ScriptLimit::SettingMilliseconds(kWindowDelayKey, 0, kDefaultDelayMilliseconds);
}

CRunningScriptWindow::CRunningScriptWindow(ScriptLimit& limit, std::chrono::milliseconds delay)
    : limit_(limit), showAt_(ScriptLimit::Clock::now() + delay) {}

CRunningScriptWindow::~CRunningScriptWindow() {
    if (dialog_) dialog_->DestroyWindow();
}

void CRunningScriptWindow::StillRunning() {
    // Made before it is shown: showing it lets the loop run, which may call here again.
    if (dialog_ || ScriptLimit::Clock::now() < showAt_) return;
    const HWND over = FocusTopWindow();
    dialog_ = std::make_unique<Dialog>(limit_, over);
    if (dialog_->Create(over) && over) dialog_->CenterWindow(over);
}

}  // namespace orbel
