#include "src/module/OrbelApp.h"

#include "platform/Platform.h"
#include "platform/framework/Wnd.h"

namespace orbel {

namespace {
struct KeyboardHook {
    platform::HookHandle handle = 0;
    // The platform whose loop the hook lives in: a process that installs a new platform gets a
    // new loop without the hook.
    std::uint64_t platform = 0;
};
KeyboardHook g_keyboardHook;

void OnMessageTaken(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
    if (CWnd::WalkPreTranslateTree(kNoWindow, msg)) {
        // Consumed: the host gets a message that does nothing.
        msg.message = WM_NULL;
        msg.wParam = 0;
        msg.lParam = 0;
    }
}
}  // namespace

bool COrbelApp::InitInstance() {
    g_keyboardHook = {};
    return true;
}

int COrbelApp::ExitInstance() {
    RemoveKeyboardHook();
    return 0;
}

void COrbelApp::InstallKeyboardHook() {
    if (KeyboardHookInstalled()) return;
    platform::Platform& p = platform::GetPlatform();
    g_keyboardHook = {p.Loop().SetGetMessageHook(OnMessageTaken), p.InstanceId()};
}

bool COrbelApp::KeyboardHookInstalled() {
    return g_keyboardHook.handle != 0 && platform::HasPlatform() &&
           platform::GetPlatform().InstanceId() == g_keyboardHook.platform;
}

void COrbelApp::RemoveKeyboardHook() {
    if (KeyboardHookInstalled())
        platform::GetPlatform().Loop().UnhookGetMessageHook(g_keyboardHook.handle);
    g_keyboardHook = {};
}

}  // namespace orbel
