#include "platform/qt/QtLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

namespace orbel::platform {

struct QtLoop::Timer {
    QTimer timer;
    // A WM_TIMER for it waits in the queue: another tick adds none (ticks coalesce).
    bool queued = false;
};

QtLoop::QtLoop() : guard_(std::make_unique<QObject>()) {
    clock_.start();
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
    queue_.push_back(MSG{window, message, wParam, lParam, 0});
    // A wait inside Qt's dispatcher returns to look at the queue.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

void QtLoop::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

void QtLoop::PostTask(std::function<void()> fn) {
    PostMessage(kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(NewTask(std::move(fn))));
}

void QtLoop::PostDelayedTask(UINT ms, std::function<void()> fn) {
    const auto task = static_cast<LPARAM>(NewTask(std::move(fn)));
    QTimer::singleShot(static_cast<int>(std::min<UINT>(ms, kTimerMaximum)), guard_.get(),
                       [this, task] { PostMessage(kNoWindow, WM_ORBEL_TASK, 0, task); });
}

UINT_PTR QtLoop::SetTimer(HWND window, UINT_PTR id, UINT ms) {
    if (id == 0) return 0;
    ms = std::clamp<UINT>(ms, kTimerMinimum, kTimerMaximum);
    KillTimer(window, id);
    auto timer = std::make_unique<Timer>();
    timer->timer.setInterval(static_cast<int>(ms));
    timer->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer->timer, &QTimer::timeout, guard_.get(),
                     [this, window, id] { OnTimer(window, id); });
    timer->timer.start();
    timers_[{window.value, id}] = std::move(timer);
    return id;
}

void QtLoop::OnTimer(HWND window, UINT_PTR id) {
    auto it = timers_.find({window.value, id});
    if (it == timers_.end() || it->second->queued) return;
    it->second->queued = true;
    PostMessage(window, WM_TIMER, id, 0);
}

bool QtLoop::KillTimer(HWND window, UINT_PTR id) {
    auto it = timers_.find({window.value, id});
    if (it == timers_.end()) return false;
    // A WM_TIMER already queued for it is not delivered any more.
    std::erase_if(queue_, [&](const MSG& m) {
        return m.message == WM_TIMER && m.hwnd == window && m.wParam == id;
    });
    timers_.erase(it);
    return true;
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
        if (it != timers_.end()) it->second->queued = false;
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
