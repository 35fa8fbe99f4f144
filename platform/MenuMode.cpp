#include "platform/MenuMode.h"

#include <utility>
#include <vector>

namespace orbel::platform {

namespace {
// The program's windows live on one thread: these are that thread's.
std::vector<std::pair<HookHandle, MessageFilterHook>> g_filters;
HookHandle g_nextFilter = 1;
MenuModeScope* g_openMenu = nullptr;
}  // namespace

HookHandle SetMessageFilterHook(MessageFilterHook hook) {
    const HookHandle h = g_nextFilter++;
    g_filters.emplace_back(h, std::move(hook));
    return h;
}

bool UnhookMessageFilterHook(HookHandle hook) {
    return std::erase_if(g_filters, [&](const auto& h) { return h.first == hook; }) > 0;
}

bool CallMsgFilter(MSG& msg, int code) {
    // A hook may unhook itself or others meanwhile.
    for (std::size_t i = g_filters.size(); i-- > 0;) {
        if (i >= g_filters.size()) continue;
        auto filter = g_filters[i].second;
        if (filter(code, msg)) return true;
    }
    return false;
}

void EndMenu() {
    if (g_openMenu) g_openMenu->Close();
}

MenuModeScope::MenuModeScope(std::function<void()> close)
    : close_(std::move(close)), outer_(g_openMenu) {
    g_openMenu = this;
}

MenuModeScope::~MenuModeScope() {
    g_openMenu = outer_;
}

void MenuModeScope::Close() {
    if (close_) close_();
}

}  // namespace orbel::platform
