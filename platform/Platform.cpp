#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace orbel::platform {

namespace {
// A plain pointer beside the owner: every loop message asks for the platform several times, and
// reading it then costs no guard of a function's static.
Platform* g_installed = nullptr;
// Owns the platform and forgets the pointer before the platform goes, also at the process's end.
struct Owner {
    std::unique_ptr<Platform> platform;
    // The one coming in is already the platform while the one going out is destroyed.
    void Reset(std::unique_ptr<Platform> next = nullptr) {
        std::unique_ptr<Platform> old = std::exchange(platform, std::move(next));
        g_installed = platform.get();
        old.reset();
    }
    ~Owner() { Reset(); }
} g_owner;
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
    g_owner.Reset(std::move(platform));
}

void UninstallPlatform() {
    g_owner.Reset();
}

bool HasPlatform() {
    return g_installed != nullptr;
}

Platform& GetPlatform() {
    if (!g_installed) [[unlikely]] {
        std::fputs("orbel: no platform is installed in this process\n", stderr);
        std::abort();
    }
    return *g_installed;
}

}  // namespace orbel::platform
