#include "platform/qt/QtLoop.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

#include "platform/CrossThread.h"

namespace orbel::platform {

namespace {
constexpr unsigned kMessagesPerClockRead = 64;
constexpr std::uint64_t kEventsEveryMs = 50;
}  // namespace

QtLoop::QtLoop() : wake_(std::make_unique<QTimer>()) {
    clock_.start();
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    QObject::connect(wake_.get(), &QTimer::timeout, [this] { OnWake(); });
    SetCrossThreadWaker([] {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] { TakeCrossThreadTasks(); }, Qt::QueuedConnection);
    });
}

QtLoop::~QtLoop() {
    SetCrossThreadWaker({});
}

std::uint64_t QtLoop::Now() const {
    return static_cast<std::uint64_t>(clock_.elapsed());
}

// Nothing posted needs a wake-up: everything that posts runs on this thread from an event that
// Qt's dispatcher is delivering, and the wait returns once that delivery is done (waking the
// dispatcher would cost a system call per message).

void QtLoop::Arm(std::uint64_t due) {
    if (wake_->isActive() && wakeAt_ <= due) return;
    wakeAt_ = due;
    const std::uint64_t now = Now();
    wake_->start(
        static_cast<int>(std::min<std::uint64_t>(due > now ? due - now : 0, kTimerMaximum)));
}

void QtLoop::OnWake() {
    const std::uint64_t now = Now();
    std::vector<Timer> dueTasks;
    for (Timer& timer : timers_) {
        if (timer.due > now) continue;
        if (timer.task) {
            dueTasks.push_back(timer);
            continue;
        }
        if (!TickWaiting(timer.window, timer.id)) PostMessage(timer.window, WM_TIMER, timer.id, 0);
        timer.due = now + timer.interval;
    }
    std::erase_if(timers_, [&](const Timer& t) { return t.task && t.due <= now; });
    // Delayed tasks in the order they fall due, those set first first.
    std::sort(dueTasks.begin(), dueTasks.end(), [](const Timer& a, const Timer& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    for (const Timer& task : dueTasks)
        PostMessage(kNoWindow, WM_ORBEL_TASK, 0, static_cast<LPARAM>(task.task));
    if (auto next = NextDue(); next != timers_.end()) Arm(next->due);
}

bool QtLoop::TakeNext(MSG& msg) {
    if (!TakeQueued(msg)) return false;
    Delivered();
    RunHooks(msg);
    return true;
}

bool QtLoop::TakeWithoutWaiting(MSG& msg) {
    if (TakeNext(msg)) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (TakeNext(msg)) return true;
    // The queue ran empty: the idle handlers run once, as before a wait.
    RunIdleOnce();
    return TakeNext(msg);
}

bool QtLoop::GetMessage(MSG& msg) {
    while (true) {
        // A host that streams thousands of rows keeps the queue full for seconds: what the
        // window system delivers (paints, input, the wake-up of the loop's timers) still gets
        // its turn a few times a second. The clock is read once every so many messages only.
        if (++takenSinceCheck_ >= kMessagesPerClockRead) {
            takenSinceCheck_ = 0;
            if (HasQueued() && Now() - eventsAt_ >= kEventsEveryMs) {
                QCoreApplication::processEvents(QEventLoop::AllEvents);
                eventsAt_ = Now();
            }
        }
        if (TakeNext(msg)) return true;
        if (TakeQuit(msg)) return false;
        if (RunIdleOnce()) continue;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        eventsAt_ = Now();
    }
}

}  // namespace orbel::platform
