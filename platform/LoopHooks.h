// What every message loop keeps beside its queue: the message hooks that see each message as
// it is taken, and the idle handlers that run when the queue runs empty. One piece for both
// backends, so that they hook and idle alike.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/MessageLoop.h"

namespace orbel::platform {

class LoopHooks {
  public:
    HookHandle SetGetMessageHook(GetMessageHook hook);
    bool UnhookGetMessageHook(HookHandle hook);
    HookHandle AddIdleHandler(std::function<void()> handler);
    bool RemoveIdleHandler(HookHandle handler);
    // Each hook in the order set; a hook may unhook itself or others meanwhile.
    void RunHooks(MSG& msg);
    // Those there at the start and still there when their turn comes, in the order added.
    void RunIdleHandlers();
    bool HasIdleHandlers() const { return !idleHandlers_.empty(); }

  private:
    std::vector<std::pair<HookHandle, GetMessageHook>> hooks_;
    std::vector<std::pair<HookHandle, std::function<void()>>> idleHandlers_;
    HookHandle nextHandle_ = 1;
};

}  // namespace orbel::platform
