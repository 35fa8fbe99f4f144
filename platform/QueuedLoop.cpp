#include "platform/QueuedLoop.h"

#include <algorithm>

namespace orbel::platform {

void QueuedLoop::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto it = TicksOf(window, wParam);
        if (it == ticks_.end()) it = ticks_.insert(it, Ticks{window, wParam, 0, 0});
        ++it->waiting;
    }
    queue_.push_back(MSG{window, message, wParam, lParam, 0});
}

void QueuedLoop::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

std::uint64_t QueuedLoop::AddTask(std::function<void()> fn) {
    const std::uint64_t task = nextTask_++;
    // Numbers only grow, so the new task goes last.
    if (spareTasks_.empty()) {
        tasks_.emplace_hint(tasks_.end(), task, std::move(fn));
        return task;
    }
    Tasks::node_type node = std::move(spareTasks_.back());
    spareTasks_.pop_back();
    node.key() = task;
    node.mapped() = std::move(fn);
    tasks_.insert(tasks_.end(), std::move(node));
    return task;
}

void QueuedLoop::PostTask(std::function<void()> fn) {
    PostMessage(kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(AddTask(std::move(fn))));
}

void QueuedLoop::PostDelayedTask(UINT ms, std::function<void()> fn) {
    const std::uint64_t task = AddTask(std::move(fn));
    const std::uint64_t due = Now() + ms;
    timers_.push_back(Timer{kNoWindow, 0, 0, due, nextOrder_++, task});
    Arm(due);
}

UINT_PTR QueuedLoop::SetTimer(HWND window, UINT_PTR id, UINT ms) {
    if (id == 0) return 0;
    ms = std::clamp<UINT>(ms, kTimerMinimum, kTimerMaximum);
    KillTimer(window, id);
    const std::uint64_t due = Now() + ms;
    timers_.push_back(Timer{window, id, ms, due, nextOrder_++, 0});
    Arm(due);
    return id;
}

bool QueuedLoop::KillTimer(HWND window, UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) {
        return t.task == 0 && t.window == window && t.id == id;
    });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    // A WM_TIMER already queued for it is not delivered any more. A wake-up armed for it
    // stays: it comes with nothing due.
    if (auto ticks = TicksOf(window, id); ticks != ticks_.end()) {
        ticks->dropped += ticks->waiting;
        droppedTicks_ += ticks->waiting;
        ticks->waiting = 0;
    }
    return true;
}

std::vector<QueuedLoop::Ticks>::iterator QueuedLoop::TicksOf(HWND window, UINT_PTR id) {
    return std::find_if(ticks_.begin(), ticks_.end(),
                        [&](const Ticks& t) { return t.window == window && t.id == id; });
}

bool QueuedLoop::TickWaiting(HWND window, UINT_PTR id) const {
    return std::any_of(ticks_.begin(), ticks_.end(), [&](const Ticks& t) {
        return t.window == window && t.id == id && t.waiting > 0;
    });
}

std::vector<QueuedLoop::Timer>::iterator QueuedLoop::NextDue() {
    return std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
}

bool QueuedLoop::TakeQueued(MSG& msg) {
    while (!queue_.empty()) {
        msg = queue_.front();
        queue_.pop_front();
        if (msg.message != WM_TIMER) return true;
        auto ticks = TicksOf(msg.hwnd, msg.wParam);
        const bool dropped = ticks->dropped > 0;
        if (dropped) {
            --ticks->dropped;
            --droppedTicks_;
        } else {
            --ticks->waiting;
        }
        if (ticks->waiting == 0 && ticks->dropped == 0) ticks_.erase(ticks);
        if (dropped) continue;
        return true;
    }
    return false;
}

bool QueuedLoop::TakeQuit(MSG& msg) {
    if (!quitPosted_) return false;
    quitPosted_ = false;
    msg = MSG{kNoWindow, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, Now()};
    return true;
}

bool QueuedLoop::RunIdleOnce() {
    if (idleDone_) return false;
    idleDone_ = true;
    RunIdleHandlers();
    return true;
}

void QueuedLoop::RunHooks(MSG& msg) {
    msg.time = Now();
    hooks_.RunHooks(msg);
}

bool QueuedLoop::RunTaskMessage(const MSG& msg) {
    if (msg.message != WM_ORBEL_TASK || msg.hwnd) return false;
    auto it = tasks_.find(static_cast<std::uint64_t>(msg.lParam));
    if (it == tasks_.end()) return true;
    Tasks::node_type node = tasks_.extract(it);
    auto fn = std::move(node.mapped());
    node.mapped() = nullptr;
    // A host that answers a select row by row posts a task per row: the node is kept for the
    // next one instead of going back to the heap.
    if (spareTasks_.size() < kSpareTasks) spareTasks_.push_back(std::move(node));
    fn();
    return true;
}

}  // namespace orbel::platform
