#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace orbel::platform {

namespace {
std::unique_ptr<Platform>& Installed() {
    static std::unique_ptr<Platform> platform;
    return platform;
}
}  // namespace

Platform::Platform() {
    static std::uint64_t instances = 0;
    instanceId_ = ++instances;
}

Platform::~Platform() = default;

LRESULT Platform::DispatchMessage(const MSG& msg) {
    if (Loop().RunTaskMessage(msg)) return 0;
    if (!msg.hwnd || !Windows().IsWindow(msg.hwnd)) return 0;
    return Windows().SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

bool Platform::HasFeature(Feature) const {
    return false;
}

int Platform::DeliverWhile(const std::function<bool(MSG&)>& take) {
    int delivered = 0;
    MSG msg;
    while (take(msg)) {
        DispatchMessage(msg);
        ++delivered;
    }
    return delivered;
}

void InstallPlatform(std::unique_ptr<Platform> platform) {
    Installed() = std::move(platform);
}

void UninstallPlatform() {
    Installed().reset();
}

bool HasPlatform() {
    return Installed() != nullptr;
}

Platform& GetPlatform() {
    if (!Installed()) {
        std::fputs("orbel: no platform is installed in this process\n", stderr);
        std::abort();
    }
    return *Installed();
}

}  // namespace orbel::platform
