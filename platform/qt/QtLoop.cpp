#include "platform/qt/QtLoop.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

namespace orbel::platform {

QtLoop::QtLoop() : wake_(std::make_unique<QTimer>()) {
    clock_.start();
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    QObject::connect(wake_.get(), &QTimer::timeout, [this] { OnWake(); });
}

QtLoop::~QtLoop() = default;

std::uint64_t QtLoop::Now() const {
    return static_cast<std::uint64_t>(clock_.elapsed());
}

std::uint64_t QtLoop::NewTask(std::function<void()> fn) {
    std::uint64_t id = nextTask_++;
    tasks_.emplace(id, std::move(fn));
    return id;
}

void QtLoop::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // No wake-up is needed: everything that posts runs on this thread from an event that Qt's
    // dispatcher is delivering, and the wait returns once that delivery is done (waking the
    // dispatcher would cost a system call per message).
    queue_.push_back(MSG{window, message, wParam, lParam, 0});
}

void QtLoop::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

void QtLoop::PostTask(std::function<void()> fn) {
    PostMessage(kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(NewTask(std::move(fn))));
}

void QtLoop::PostDelayedTask(UINT ms, std::function<void()> fn) {
    const std::uint64_t due = Now() + std::min<UINT>(ms, kTimerMaximum);
    delayed_.push_back(DelayedTask{due, NewTask(std::move(fn))});
    Arm(due);
}

UINT_PTR QtLoop::SetTimer(HWND window, UINT_PTR id, UINT ms) {
    if (id == 0) return 0;
    ms = std::clamp<UINT>(ms, kTimerMinimum, kTimerMaximum);
    KillTimer(window, id);
    const std::uint64_t due = Now() + ms;
    timers_[{window.value, id}] = Timer{ms, due, false};
    Arm(due);
    return id;
}

bool QtLoop::KillTimer(HWND window, UINT_PTR id) {
    auto it = timers_.find({window.value, id});
    if (it == timers_.end()) return false;
    // A WM_TIMER already queued for it is not delivered any more.
    std::erase_if(queue_, [&](const MSG& m) {
        return m.message == WM_TIMER && m.hwnd == window && m.wParam == id;
    });
    timers_.erase(it);
    // The wake-up stays armed: when it comes with nothing due, it is armed again.
    return true;
}

void QtLoop::Arm(std::uint64_t due) {
    if (wake_->isActive() && wakeAt_ <= due) return;
    wakeAt_ = due;
    const std::uint64_t now = Now();
    wake_->start(
        static_cast<int>(std::min<std::uint64_t>(due > now ? due - now : 0, kTimerMaximum)));
}

void QtLoop::OnWake() {
    const std::uint64_t now = Now();
    std::uint64_t next = UINT64_MAX;
    for (auto& [key, timer] : timers_) {
        if (timer.due <= now) {
            if (!timer.queued) {
                timer.queued = true;
                PostMessage(HWND{key.first}, WM_TIMER, key.second, 0);
            }
            timer.due = now + timer.interval;
        }
        next = std::min(next, timer.due);
    }
    // Delayed tasks in the order they fall due, those set first first.
    std::stable_sort(delayed_.begin(), delayed_.end(),
                     [](const DelayedTask& a, const DelayedTask& b) { return a.due < b.due; });
    auto due = delayed_.begin();
    for (; due != delayed_.end() && due->due <= now; ++due)
        PostMessage(kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(due->task));
    delayed_.erase(delayed_.begin(), due);
    if (!delayed_.empty()) next = std::min(next, delayed_.front().due);
    if (next != UINT64_MAX) Arm(next);
}

void QtLoop::RunHooks(MSG& msg) {
    msg.time = Now();
    hooks_.RunHooks(msg);
}

bool QtLoop::TakeQueued(MSG& msg) {
    if (queue_.empty()) return false;
    msg = queue_.front();
    queue_.pop_front();
    if (msg.message == WM_TIMER) {
        auto it = timers_.find({msg.hwnd.value, msg.wParam});
        if (it != timers_.end()) it->second.queued = false;
    }
    idleDone_ = false;
    RunHooks(msg);
    return true;
}

bool QtLoop::TakeWithoutWaiting(MSG& msg) {
    if (TakeQueued(msg)) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (TakeQueued(msg)) return true;
    // The queue ran empty: the idle handlers run once, as before a wait.
    if (!idleDone_) {
        idleDone_ = true;
        RunIdleHandlers();
    }
    return TakeQueued(msg);
}

bool QtLoop::GetMessage(MSG& msg) {
    while (true) {
        if (TakeQueued(msg)) return true;
        if (quitPosted_) {
            quitPosted_ = false;
            msg = MSG{kNoWindow, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, Now()};
            return false;
        }
        if (!idleDone_) {
            idleDone_ = true;
            RunIdleHandlers();
            continue;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

bool QtLoop::RunTaskMessage(const MSG& msg) {
    if (msg.message != WM_ORBEL_TASK || msg.hwnd) return false;
    auto it = tasks_.find(static_cast<std::uint64_t>(msg.lParam));
    if (it == tasks_.end()) return true;
    auto fn = std::move(it->second);
    tasks_.erase(it);
    fn();
    return true;
}

}  // namespace orbel::platform
