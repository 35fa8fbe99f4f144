#include "platform/headless/HeadlessPlatform.h"

#include "platform/MenuMode.h"

namespace orbel::platform {

HeadlessPlatform::HeadlessPlatform() {
    windows_.SetControlRouter([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return controls_.RouteMessage(window, message, wParam, lParam);
    });
    controls_.SetClientRects([this](HWND window) { return windows_.GetClientRect(window); });
    // A key pressed while a menu of the platform is open passes the message hooks as every
    // key does, then the menu's filter hooks; the menu then takes it, so no window gets it.
    user_.SetKeyPresser([this](UINT key) {
        MSG msg{windows_.GetFocus(), WM_KEYDOWN, key, 1, loop_.Now()};
        loop_.RunHooks(msg);
        return msg.message == WM_NULL || CallMsgFilter(msg, MSGF_MENU);
    });
}

int HeadlessPlatform::RunUntilIdle() {
    return DeliverWhile([this](MSG& msg) { return loop_.GetMessage(msg); });
}

int HeadlessPlatform::RunFor(std::uint64_t ms) {
    bool reached = false;
    // A delayed task marks the deadline; messages due before it are delivered first.
    loop_.PostDelayedTask(static_cast<UINT>(ms), [&reached] { reached = true; });
    return DeliverWhile([this, &reached](MSG& msg) { return !reached && loop_.GetMessage(msg); });
}

MemoryFileSystem& HeadlessPlatform::UseMemoryFiles() {
    if (!memoryFiles_) memoryFiles_ = std::make_unique<MemoryFileSystem>();
    files_ = memoryFiles_.get();
    return *memoryFiles_;
}

std::string HeadlessPlatform::Dump() const {
    std::string out = "loop: " + loop_.Dump() + "\nwindows:\n" + windows_.Dump();
    out += controls_.Dump();
    out += "drag image: " + controls_.DragState() + "\n";
    out += "dialogs:\n" + dialogs_.Dump();
    out += "shell:\n" + shell_.Dump();
    if (memoryFiles_) out += "files:\n" + memoryFiles_->Dump();
    out += "transcript:\n";
    for (const std::string& line : user_.Transcript()) out += "  " + line + "\n";
    return out;
}

HeadlessPlatform& InstallHeadlessPlatform() {
    auto platform = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& ref = *platform;
    InstallPlatform(std::move(platform));
    return ref;
}

}  // namespace orbel::platform
