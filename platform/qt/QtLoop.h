// The desktop message loop: the thread's queue of posted messages and tasks, fed by Qt's own
// event loop. Taking a message from an empty queue runs Qt's events (input, paint, timers)
// until something is queued, so a nested wait stays responsive. Window timers and delayed
// tasks are deadlines on the wall clock, served by one Qt timer armed for the earliest: a
// control that restarts its time-out on every reply only moves a deadline. A timer's ticks
// queue one WM_TIMER at a time, as the original platform coalesces them.
#pragma once

#include <QElapsedTimer>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "platform/LoopHooks.h"
#include "platform/MessageLoop.h"

class QTimer;

namespace orbel::platform {

class QtLoop final : public MessageLoop {
  public:
    QtLoop();
    ~QtLoop() override;
    QtLoop(const QtLoop&) = delete;
    QtLoop& operator=(const QtLoop&) = delete;

    bool GetMessage(MSG& msg) override;
    void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    void PostTask(std::function<void()> fn) override;
    void PostDelayedTask(UINT ms, std::function<void()> fn) override;
    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT ms) override;
    bool KillTimer(HWND window, UINT_PTR id) override;
    std::uint64_t Now() const override;
    HookHandle SetGetMessageHook(GetMessageHook hook) override {
        return hooks_.SetGetMessageHook(std::move(hook));
    }
    bool UnhookGetMessageHook(HookHandle hook) override {
        return hooks_.UnhookGetMessageHook(hook);
    }
    HookHandle AddIdleHandler(std::function<void()> handler) override {
        return hooks_.AddIdleHandler(std::move(handler));
    }
    bool RemoveIdleHandler(HookHandle handler) override {
        return hooks_.RemoveIdleHandler(handler);
    }
    bool RunTaskMessage(const MSG& msg) override;

    // Runs the message hooks on a message as if it was taken from the queue now: the way a key
    // from Qt's input passes them before any widget sees it.
    void RunHooks(MSG& msg);
    void RunIdleHandlers() override { hooks_.RunIdleHandlers(); }

    // Runs Qt's pending events once, then takes a queued message if there is one (the idle
    // handlers run when there is none); never waits. False when nothing is queued.
    bool TakeWithoutWaiting(MSG& msg);
    // Whether a quit was posted and not taken yet.
    bool QuitPending() const { return quitPosted_; }

  private:
    struct Timer {
        UINT interval = 0;
        std::uint64_t due = 0;
        // A WM_TIMER for it waits in the queue: another tick adds none.
        bool queued = false;
    };
    struct DelayedTask {
        std::uint64_t due = 0;
        std::uint64_t task = 0;
    };
    bool TakeQueued(MSG& msg);
    std::uint64_t NewTask(std::function<void()> fn);
    // Queues what has fallen due, then arms the wake-up for the next deadline.
    void OnWake();
    // Makes sure the wake-up comes no later than `due`.
    void Arm(std::uint64_t due);

    std::deque<MSG> queue_;
    std::map<std::pair<std::uint32_t, UINT_PTR>, Timer> timers_;
    std::vector<DelayedTask> delayed_;
    std::map<std::uint64_t, std::function<void()>> tasks_;
    LoopHooks hooks_;
    bool idleDone_ = false;
    QElapsedTimer clock_;
    std::unique_ptr<QTimer> wake_;
    std::uint64_t wakeAt_ = 0;  // when the armed wake-up comes
    std::uint64_t nextTask_ = 1;
    bool quitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace orbel::platform
