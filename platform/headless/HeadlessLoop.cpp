#include "platform/headless/HeadlessLoop.h"

#include <algorithm>
#include <sstream>

#include "platform/CrossThread.h"

namespace orbel::platform {

bool HeadlessLoop::TakeMessage(MSG& msg) {
    TakeCrossThreadTasks();
    if (TakeQueued(msg)) return true;
    if (HasIdleHandlers() && RunIdleOnce() && TakeQueued(msg)) return true;
    if (TakeQuit(msg)) {
        lastQuitPosted_ = true;
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
    Delivered();
    RunHooks(msg);
    return true;
}

bool HeadlessLoop::Idle() const {
    return !HasQueued() && !QuitPosted() && timers_.empty();
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
    if (QuitPosted()) out << "\n  quit posted (" << QuitCode() << ")";
    return out.str();
}

}  // namespace orbel::platform
