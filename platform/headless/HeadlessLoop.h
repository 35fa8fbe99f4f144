// The headless message loop: a queue and a virtual clock. Taking a message from an empty
// queue advances the clock to the next due timer instead of waiting, so a ten-second time-out
// costs no wall time; with nothing queued and no timer it reports a quit. The idle handlers run
// once each time the queue runs empty, before the clock moves on.
#pragma once

#include <string>

#include "platform/QueuedLoop.h"

namespace orbel::platform {

class HeadlessLoop final : public QueuedLoop {
  public:
    bool GetMessage(MSG& msg) override;
    std::uint64_t Now() const override { return now_; }

    // Whether anything is left to deliver (queued messages, a pending quit, timers).
    bool Idle() const;
    // Why the last GetMessage returned false: a posted quit, or nothing left to deliver.
    bool LastQuitWasPosted() const { return lastQuitPosted_; }
    // Queue, timers and clock as text, for failing tests.
    std::string Dump() const;

  private:
    bool TakeMessage(MSG& msg);

    std::uint64_t now_ = 0;
    bool lastQuitPosted_ = false;
};

}  // namespace orbel::platform
