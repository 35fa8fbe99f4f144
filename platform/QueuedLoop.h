// What every message loop keeps whatever its event source: the queue of posted messages, the
// tasks they carry, the pending quit, the window timers and delayed tasks with their deadlines,
// and the hooks. A backend adds only how it waits and wakes and what its clock is.
#pragma once

#include <deque>
#include <map>
#include <vector>

#include "platform/LoopHooks.h"
#include "platform/MessageLoop.h"

namespace orbel::platform {

class QueuedLoop : public MessageLoop {
  public:
    void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    void PostTask(std::function<void()> fn) override;
    void PostDelayedTask(UINT ms, std::function<void()> fn) override;
    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT ms) override;
    bool KillTimer(HWND window, UINT_PTR id) override;
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
    void RunIdleHandlers() override { hooks_.RunIdleHandlers(); }
    bool RunTaskMessage(const MSG& msg) override;

    // Runs the message hooks on a message as if it was taken from the queue now (a key that
    // reaches the program by another way than the queue, such as a menu's modal loop).
    void RunHooks(MSG& msg);
    int QuitCode() const { return quitCode_; }

  protected:
    struct Timer {
        HWND window;
        UINT_PTR id = 0;
        UINT interval = 0;
        std::uint64_t due = 0;
        std::uint64_t order = 0;  // ties on `due` go in the order timers were set
        std::uint64_t task = 0;   // a delayed task rather than a window timer
    };

    // Makes sure the loop wakes no later than `due` on its clock; the headless clock jumps
    // there by itself.
    virtual void Arm(std::uint64_t /*due*/) {}

    // Takes the first queued message, without the hooks; false when the queue is empty.
    bool TakeQueued(MSG& msg);
    // Takes a pending quit as WM_QUIT; false when none was posted.
    bool TakeQuit(MSG& msg);
    // Runs the idle handlers unless they ran since the last message was taken.
    bool RunIdleOnce();
    // A message was taken: the next empty queue runs the idle handlers again.
    void Delivered() { idleDone_ = false; }
    bool HasIdleHandlers() const { return hooks_.HasIdleHandlers(); }
    bool QuitPosted() const { return quitPosted_; }
    // The earliest timer or delayed task, the one set first among equals; end when none.
    std::vector<Timer>::iterator NextDue();
    // Whether a message waits that TakeQueued would give (ticks of killed timers do not).
    bool HasQueued() const { return queue_.size() > droppedTicks_; }
    // Whether a WM_TIMER of the window's timer waits to be delivered (a backend that queues
    // ticks adds no second one then).
    bool TickWaiting(HWND window, UINT_PTR id) const;

    std::deque<MSG> queue_;
    std::vector<Timer> timers_;
    std::uint64_t nextOrder_ = 0;

  private:
    using Tasks = std::map<std::uint64_t, std::function<void()>>;
    static constexpr std::size_t kSpareTasks = 16;

    // Files fn under a new task number.
    std::uint64_t AddTask(std::function<void()> fn);

    Tasks tasks_;
    std::vector<Tasks::node_type> spareTasks_;
    // The WM_TIMER messages waiting for one (window, id). Killing the timer turns the waiting
    // ones into dropped ones, which the queue skips as it reaches them: they are the first of
    // that pair in the queue, so a kill never has to search the queue.
    struct Ticks {
        HWND window;
        UINT_PTR id = 0;
        std::size_t waiting = 0;
        std::size_t dropped = 0;
    };
    std::vector<Ticks>::iterator TicksOf(HWND window, UINT_PTR id);

    LoopHooks hooks_;
    std::vector<Ticks> ticks_;
    std::size_t droppedTicks_ = 0;
    std::uint64_t nextTask_ = 1;
    bool idleDone_ = false;
    bool quitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace orbel::platform
