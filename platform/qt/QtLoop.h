// The desktop message loop: the thread's queue of posted messages and tasks, fed by Qt's own
// event loop. Taking a message from an empty queue runs Qt's events (input, paint, timers)
// until something is queued, so a nested wait stays responsive. Window timers and delayed
// tasks are deadlines on the wall clock, served by one Qt timer armed for the earliest: a
// control that restarts its time-out on every reply only moves a deadline. A timer's ticks
// queue one WM_TIMER at a time, as the original platform coalesces them.
#pragma once

#include <QElapsedTimer>
#include <memory>

#include "platform/QueuedLoop.h"

class QTimer;

namespace orbel::platform {

class QtLoop final : public QueuedLoop {
  public:
    QtLoop();
    ~QtLoop() override;
    QtLoop(const QtLoop&) = delete;
    QtLoop& operator=(const QtLoop&) = delete;

    bool GetMessage(MSG& msg) override;
    std::uint64_t Now() const override;

    // Runs Qt's pending events once, then takes a queued message if there is one (the idle
    // handlers run when there is none); never waits. False when nothing is queued.
    bool TakeWithoutWaiting(MSG& msg);
    // Whether a quit was posted and not taken yet.
    bool QuitPending() const { return QuitPosted(); }

  private:
    // Takes a queued message through the hooks.
    bool TakeNext(MSG& msg);
    // Queues what has fallen due, then arms the wake-up for the next deadline.
    void OnWake();
    void Arm(std::uint64_t due) override;

    QElapsedTimer clock_;
    std::unique_ptr<QTimer> wake_;
    std::uint64_t wakeAt_ = 0;  // when the armed wake-up comes
    // When Qt last delivered its events, and messages taken since the clock was read.
    std::uint64_t eventsAt_ = 0;
    unsigned takenSinceCheck_ = 0;
};

}  // namespace orbel::platform
