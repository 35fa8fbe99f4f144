#include "src/script/ScriptLimit.h"

#include <array>
#include <charconv>

#include "platform/profile/Profile.h"

namespace orbel {

namespace {
constexpr const char* kSettingsFile = "orbel-script.ini";
constexpr const char* kSettingsSection = "Scripts";
constexpr const char* kTimeLimitKey = "TimeLimit";
}  // namespace

std::int32_t ScriptLimit::SettingMilliseconds(const char* key, std::int32_t least,
                                              std::int32_t fallback) {
    std::array<char, 32> buffer{};
    const DWORD n =
        platform::GetPrivateProfileString(kSettingsSection, key, "", buffer, kSettingsFile);
    std::int32_t value = 0;
    const char* end = buffer.data() + n;
    auto [at, error] = std::from_chars(buffer.data(), end, value);
    if (n == 0 || error != std::errc{} || at != end || value < least) return fallback;
    return value;
}

std::int32_t ScriptLimit::ConfiguredMilliseconds() {
    // A non-positive setting keeps the default rather than letting a script run without any
    // limit.
    return SettingMilliseconds(kTimeLimitKey, 1, kDefaultMilliseconds);
}

void ScriptLimit::Start(std::int32_t milliseconds) {
    milliseconds_ = milliseconds;
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    deadline_.store(deadline.time_since_epoch().count(), std::memory_order_relaxed);
    cancelled_.store(false, std::memory_order_relaxed);
}

ScriptLimit::Stop ScriptLimit::Check() const {
    if (cancelled_.load(std::memory_order_relaxed)) return Stop::Cancelled;
    if (Clock::now().time_since_epoch().count() >= deadline_.load(std::memory_order_relaxed))
        return Stop::TimeLimit;
    return Stop::None;
}

std::string ScriptLimit::StopMessage(Stop why) const {
    if (why == Stop::Cancelled) return "The script was cancelled.";
    const std::int32_t ms = milliseconds_;
    const std::string amount =
        ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
    return "The script was stopped: it ran longer than its time limit of " + amount + ".";
}

}  // namespace orbel
