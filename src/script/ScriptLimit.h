// How long one call into a script engine may run, and the way to stop it early. The engine
// asks from its own thread; the limit is set and the run cancelled from the user-interface
// thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace orbel {

class ScriptLimit {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Stop { None, TimeLimit, Cancelled };

    // The limit of each call, in milliseconds, from the component's setting.
    static std::int32_t ConfiguredMilliseconds();
    // A time in milliseconds from the component's settings file; `fallback` when the key is
    // missing, unreadable or below `least`.
    static std::int32_t SettingMilliseconds(const char* key, std::int32_t least,
                                            std::int32_t fallback);
    static constexpr std::int32_t kDefaultMilliseconds = 30000;

    // A new call starts: it may run `milliseconds` from now, and is not cancelled.
    void Start(std::int32_t milliseconds);
    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    // Whether the running call must stop now, and why; cheap enough for an engine's
    // interrupt check.
    Stop Check() const;
    std::int32_t Milliseconds() const { return milliseconds_; }
    // What the user is told when a call was stopped.
    std::string StopMessage(Stop why) const;

  private:
    std::atomic<Clock::rep> deadline_{0};
    std::atomic<bool> cancelled_{false};
    std::int32_t milliseconds_ = kDefaultMilliseconds;
};

}  // namespace orbel
