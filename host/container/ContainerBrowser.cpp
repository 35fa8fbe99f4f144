// The container's actions in the web browser dialog: an address typed and GO pressed, the
// dialog's state as a person reads it, its menu bar and its border.
#include <chrono>
#include <utility>

#include "host/container/CommandArgs.h"
#include "host/container/Container.h"
#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/automation/ActiveObjects.h"
#include "platform/browser/BrowserIds.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::host {

namespace {

constexpr UINT kAddress = 235;
constexpr UINT kGo = 3;
constexpr UINT kStatus = 224;
constexpr UINT kBack = 32802;
constexpr UINT kForward = 32803;
constexpr auto kLongestLoad = std::chrono::seconds(30);
constexpr UINT kLookEveryMs = 20;

bool BrowserBusy() {
    const std::shared_ptr<IDispatch> browser = GetActiveObject(browser::kProgId);
    Variant busy;
    return browser &&
           browser->Invoke(browser::members::kBusy, InvokeKind::PropertyGet, {}, &busy) == S_OK &&
           busy.Type() == VarType::Bool && busy.Bool();
}

const char* Flag(bool on) {
    return on ? "TRUE" : "FALSE";
}

}  // namespace

// On the desktop a page loads while the program waits in its loop; without one it has loaded
// when GO returns.
std::string Container::WaitForBrowser() {
    if (!BrowserBusy()) return {};
    const auto deadline = std::chrono::steady_clock::now() + kLongestLoad;
    platform::MessageLoop& loop = platform::GetPlatform().Loop();
    auto state = std::make_shared<int>(0);  // 0 loading, 1 loaded, 2 too slow
    std::function<void()> look = [state, deadline, &loop, &look] {
        if (*state != 0) return;
        if (!BrowserBusy())
            *state = 1;
        else if (std::chrono::steady_clock::now() > deadline)
            *state = 2;
        else
            loop.PostDelayedTask(kLookEveryMs, look);
    };
    loop.PostDelayedTask(kLookEveryMs, look);
    holdLines_ = true;
    while (*state == 0) {
        MSG msg;
        if (!GetMessage(msg)) {
            *state = 3;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchMessage(msg);
    }
    holdLines_ = false;
    if (std::exchange(lineHeld_, false)) ScheduleLine();
    return *state == 2 ? "the page did not load within 30 seconds" : std::string();
}

std::string Container::NavigateBrowser(platform::LiveDialog& dialog, const std::string& url) {
    if (std::string why = dialog.UserType(kAddress, url); !why.empty()) return why;
    if (std::string why = dialog.UserPress(kGo); !why.empty()) return why;
    return WaitForBrowser();
}

std::string Container::DescribeBrowser(platform::LiveDialog& dialog) {
    if (!dialog.HasControl(kAddress)) return "this is not the web browser dialog";
    // The page the dialog opened with may still be loading.
    if (std::string why = WaitForBrowser(); !why.empty()) return why;
    Print("browser: address=" + QuoteString(dialog.GetText(kAddress)) + " title=" +
          QuoteString(dialog.GetCaption()) + " status=" + QuoteString(dialog.GetText(kStatus)) +
          " back=" + Flag(dialog.IsMenuItemEnabled(kBack)) +
          " forward=" + Flag(dialog.IsMenuItemEnabled(kForward)));
    return {};
}

std::string Container::ChooseDialogMenu(platform::LiveDialog& dialog, UINT id) {
    if (std::string why = dialog.UserMenu(id); !why.empty()) return why;
    return WaitForBrowser();
}

}  // namespace orbel::host
