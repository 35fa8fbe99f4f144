// The thread's message queue: posted messages, tasks, window timers and the message hook.
// Not for: windows themselves (WindowSystem) or modal user interaction (UserInteraction).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Win.h"

namespace orbel::platform {

using HookHandle = std::uint32_t;
// Sees every message as it is removed from the queue and may rewrite it.
using GetMessageHook = std::function<void(MSG&)>;

class MessageLoop {
  public:
    virtual ~MessageLoop();

    // Takes the next message. Returns false with msg.message == WM_QUIT when the loop is to
    // end: a posted quit, or (headless) nothing left to deliver. The message hooks have
    // already seen the message when this returns.
    virtual bool GetMessage(MSG& msg) = 0;
    virtual void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    // Runs fn from the loop, after the messages already queued.
    virtual void PostTask(std::function<void()> fn) = 0;
    // Runs fn from the loop once `ms` milliseconds have passed on the loop's clock.
    virtual void PostDelayedTask(UINT ms, std::function<void()> fn) = 0;

    // A window timer: WM_TIMER with wParam = id to `window` every `ms` milliseconds, where ms
    // is taken within [kTimerMinimum, kTimerMaximum] (a negative interval passed as UINT is
    // thus the longest). Setting an existing (window, id) again restarts it. Returns the id
    // (0 on failure).
    virtual UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT ms) = 0;
    virtual bool KillTimer(HWND window, UINT_PTR id) = 0;

    // Milliseconds on the loop's clock (virtual in the headless backend).
    virtual std::uint64_t Now() const = 0;

    virtual HookHandle SetGetMessageHook(GetMessageHook hook) = 0;
    virtual bool UnhookGetMessageHook(HookHandle hook) = 0;

    // Handlers run each time the thread's queue runs empty, before the loop waits (the moment
    // a toolbar brings its buttons up to date).
    virtual HookHandle AddIdleHandler(std::function<void()> handler) = 0;
    virtual bool RemoveIdleHandler(HookHandle handler) = 0;
    // Runs every idle handler once now, in the order they were added (a host that changed
    // state without a message brings its toolbars up to date).
    virtual void RunIdleHandlers() = 0;
    // Runs a task message taken by GetMessage; false when msg is not one.
    virtual bool RunTaskMessage(const MSG& msg) = 0;
};

inline constexpr UINT kTimerMinimum = 10;
inline constexpr UINT kTimerMaximum = 0x7FFFFFFF;

// The message that carries a posted task; its lParam identifies the task.
inline constexpr UINT WM_ORBEL_TASK = WM_APP + 0x3FF0;

}  // namespace orbel::platform
