// The "Running script..." window: up while a call into a script runs longer than a moment,
// with Cancel to stop it. A call that ends sooner never shows it, so quick scripts show nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "src/script/ScriptLimit.h"

namespace orbel {

// Built in code like the script's input box, numbered beside it.
inline constexpr unsigned kRunningScriptTemplateId = 0x7f01;
inline constexpr unsigned kRunningScriptTextId = 100;

class CRunningScriptWindow final {
  public:
    // How long a call runs before the window comes: the component's setting WindowDelay,
    // else one second.
    static constexpr std::int32_t kDefaultDelayMilliseconds = 1000;
    static std::int32_t ConfiguredDelay();

    // The call has just started under `limit`; Cancel cancels it.
    CRunningScriptWindow(ScriptLimit& limit, std::chrono::milliseconds delay);
    ~CRunningScriptWindow();
    CRunningScriptWindow(const CRunningScriptWindow&) = delete;
    CRunningScriptWindow& operator=(const CRunningScriptWindow&) = delete;

    // Called while the call goes on: the window comes up once the delay has passed.
    void StillRunning();

  private:
    class Dialog;
    ScriptLimit& limit_;
    ScriptLimit::Clock::time_point showAt_;
    std::unique_ptr<Dialog> dialog_;
};

}  // namespace orbel
