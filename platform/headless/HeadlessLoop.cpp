#include "platform/headless/HeadlessLoop.h"

#include <algorithm>
#include <sstream>

namespace orbel::platform {

std::uint64_t HeadlessLoop::NewTask(std::function<void()> fn) {
    std::uint64_t id = nextTask_++;
    tasks_.emplace(id, std::move(fn));
    return id;
}

void HeadlessLoop::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) ++queuedTimerMessages_;
    queue_.push_back(MSG{window, message, wParam, lParam, 0});
}

void HeadlessLoop::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

void HeadlessLoop::PostTask(std::function<void()> fn) {
    PostMessage(kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(NewTask(std::move(fn))));
}

void HeadlessLoop::PostDelayedTask(UINT ms, std::function<void()> fn) {
    timers_.push_back(Timer{kNoWindow, 0, 0, now_ + ms, nextOrder_++, NewTask(std::move(fn))});
}

UINT_PTR HeadlessLoop::SetTimer(HWND window, UINT_PTR id, UINT ms) {
    if (id == 0) return 0;
    ms = std::clamp<UINT>(ms, kTimerMinimum, kTimerMaximum);
    KillTimer(window, id);
    timers_.push_back(Timer{window, id, ms, now_ + ms, nextOrder_++, 0});
    return id;
}

bool HeadlessLoop::KillTimer(HWND window, UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) {
        return t.task == 0 && t.window == window && t.id == id;
    });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    // A WM_TIMER already queued for it is not delivered any more. Timers are killed and set
    // again on every reply of a streamed select, so the queue is only searched when it holds a
    // timer message at all.
    if (queuedTimerMessages_ > 0)
        queuedTimerMessages_ -= std::erase_if(queue_, [&](const MSG& m) {
            return m.message == WM_TIMER && m.hwnd == window && m.wParam == id;
        });
    return true;
}

std::vector<HeadlessLoop::Timer>::iterator HeadlessLoop::NextDue() {
    return std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
}

bool HeadlessLoop::TakeQueued(MSG& msg) {
    if (queue_.empty()) return false;
    msg = queue_.front();
    queue_.pop_front();
    if (msg.message == WM_TIMER) --queuedTimerMessages_;
    return true;
}

bool HeadlessLoop::TakeMessage(MSG& msg) {
    if (TakeQueued(msg)) return true;
    if (!idleDone_ && hooks_.HasIdleHandlers()) {
        idleDone_ = true;
        RunIdleHandlers();
        if (TakeQueued(msg)) return true;
    }
    if (quitPosted_) {
        quitPosted_ = false;
        lastQuitPosted_ = true;
        msg = MSG{kNoWindow, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, now_};
        return false;
    }
    if (timers_.empty()) {
        lastQuitPosted_ = false;
        msg = MSG{kNoWindow, WM_QUIT, 0, 0, now_};
        return false;
    }
    auto it = NextDue();
    now_ = std::max(now_, it->due);
    if (it->task != 0) {
        msg = MSG{kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(it->task), now_};
        timers_.erase(it);
    } else {
        msg = MSG{it->window, WM_TIMER, it->id, 0, now_};
        // A zero interval would otherwise fire forever at one instant.
        it->due = now_ + std::max<UINT>(it->interval, 1);
        it->order = nextOrder_++;
    }
    return true;
}

bool HeadlessLoop::GetMessage(MSG& msg) {
    if (!TakeMessage(msg)) return false;
    idleDone_ = false;
    RunHooks(msg);
    return true;
}

void HeadlessLoop::RunHooks(MSG& msg) {
    msg.time = now_;
    hooks_.RunHooks(msg);
}

bool HeadlessLoop::RunTaskMessage(const MSG& msg) {
    if (msg.message != WM_ORBEL_TASK || msg.hwnd) return false;
    auto it = tasks_.find(static_cast<std::uint64_t>(msg.lParam));
    if (it == tasks_.end()) return true;
    auto fn = std::move(it->second);
    tasks_.erase(it);
    fn();
    return true;
}

bool HeadlessLoop::Idle() const {
    return queue_.empty() && !quitPosted_ && timers_.empty();
}

std::string HeadlessLoop::Dump() const {
    std::ostringstream out;
    out << "clock " << now_ << " ms; " << queue_.size() << " queued";
    for (const MSG& m : queue_)
        out << "\n  message 0x" << std::hex << m.message << std::dec << " to " << m.hwnd.value;
    for (const Timer& t : timers_) {
        if (t.task)
            out << "\n  delayed task due " << t.due;
        else
            out << "\n  timer " << t.id << " of window " << t.window.value << " every "
                << t.interval << " ms, due " << t.due;
    }
    if (quitPosted_) out << "\n  quit posted (" << quitCode_ << ")";
    return out.str();
}

}  // namespace orbel::platform
