// The headless message loop: a queue and a virtual clock. Taking a message from an empty
// queue advances the clock to the next due timer instead of waiting, so a ten-second time-out
// costs no wall time; with nothing queued and no timer it reports a quit. The idle handlers run
// once each time the queue runs empty, before the clock moves on.
#pragma once

#include <deque>
#include <map>
#include <vector>

#include "platform/LoopHooks.h"
#include "platform/MessageLoop.h"

namespace orbel::platform {

class HeadlessLoop final : public MessageLoop {
  public:
    bool GetMessage(MSG& msg) override;
    void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    void PostTask(std::function<void()> fn) override;
    void PostDelayedTask(UINT ms, std::function<void()> fn) override;
    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT ms) override;
    bool KillTimer(HWND window, UINT_PTR id) override;
    std::uint64_t Now() const override { return now_; }
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

    // Runs the message hooks on a message as if it was taken from the queue now (a key that a
    // modal loop of the platform takes, such as a menu's).
    void RunHooks(MSG& msg);

    // Runs every idle handler once now, in the order they were added.
    void RunIdleHandlers() override { hooks_.RunIdleHandlers(); }

    // Whether anything is left to deliver (queued messages, a pending quit, timers).
    bool Idle() const;
    // Why the last GetMessage returned false: a posted quit, or nothing left to deliver.
    bool LastQuitWasPosted() const { return lastQuitPosted_; }
    int QuitCode() const { return quitCode_; }
    // Queue, timers and clock as text, for failing tests.
    std::string Dump() const;

  private:
    struct Timer {
        HWND window;
        UINT_PTR id = 0;
        UINT interval = 0;
        std::uint64_t due = 0;
        std::uint64_t order = 0;  // ties on `due` go in the order timers were set
        std::uint64_t task = 0;   // a delayed task rather than a window timer
    };
    bool TakeQueued(MSG& msg);
    bool TakeMessage(MSG& msg);
    std::uint64_t NewTask(std::function<void()> fn);
    std::vector<Timer>::iterator NextDue();

    std::deque<MSG> queue_;
    std::vector<Timer> timers_;
    std::map<std::uint64_t, std::function<void()>> tasks_;
    LoopHooks hooks_;
    // The handlers ran since the last message was delivered; they wait for the next one.
    bool idleDone_ = false;
    std::size_t queuedTimerMessages_ = 0;
    std::uint64_t now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::uint64_t nextTask_ = 1;
    bool quitPosted_ = false;
    bool lastQuitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace orbel::platform
