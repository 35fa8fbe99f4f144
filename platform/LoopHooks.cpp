#include "platform/LoopHooks.h"

#include <algorithm>

namespace orbel::platform {

HookHandle LoopHooks::SetGetMessageHook(GetMessageHook hook) {
    const HookHandle h = nextHandle_++;
    hooks_.emplace_back(h, std::move(hook));
    return h;
}

bool LoopHooks::UnhookGetMessageHook(HookHandle hook) {
    return std::erase_if(hooks_, [&](const auto& h) { return h.first == hook; }) > 0;
}

HookHandle LoopHooks::AddIdleHandler(std::function<void()> handler) {
    const HookHandle h = nextHandle_++;
    idleHandlers_.emplace_back(h, std::move(handler));
    return h;
}

bool LoopHooks::RemoveIdleHandler(HookHandle handler) {
    return std::erase_if(idleHandlers_, [&](const auto& h) { return h.first == handler; }) > 0;
}

void LoopHooks::RunHooks(MSG& msg) {
    for (std::size_t i = 0; i < hooks_.size(); ++i) {
        auto hook = hooks_[i].second;  // a hook may unhook itself
        hook(msg);
    }
}

void LoopHooks::RunIdleHandlers() {
    // A handler may add or remove handlers (a toolbar destroyed by an update).
    std::vector<HookHandle> order;
    for (const auto& h : idleHandlers_) order.push_back(h.first);
    for (HookHandle handle : order) {
        auto it = std::find_if(idleHandlers_.begin(), idleHandlers_.end(),
                               [&](const auto& h) { return h.first == handle; });
        if (it == idleHandlers_.end()) continue;
        auto handler = it->second;
        handler();
    }
}

}  // namespace orbel::platform
