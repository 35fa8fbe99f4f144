// The shell of the desktop: starts real programs for requests, as LaunchPlan.h decides, with
// posix_spawn and an argument vector; stdin is /dev/null and each program gets a session of
// its own, so that it outlives a host started from a terminal. Every program it starts is
// waited for by a thread of its own, so none is ever left a zombie.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/shell/FileProperties.h"
#include "platform/shell/LaunchPlan.h"
#include "platform/shell/Shell.h"

namespace orbel::platform {

class Registry;

class LinuxShell final : public Shell {
  public:
    using PropertiesPresenter = std::function<bool(const FileProperties&)>;
    using LateFailureListener = std::function<void(const ShellRequest&, const ShellResult&)>;

    // registry (may be null) gives the type descriptions of the properties window.
    explicit LinuxShell(Registry* registry = nullptr);
    ~LinuxShell() override;
    LinuxShell(const LinuxShell&) = delete;
    LinuxShell& operator=(const LinuxShell&) = delete;

    ShellResult Execute(const ShellRequest& request) override;

    // The window for the verb "properties"; without one that verb finds no program.
    void SetPropertiesPresenter(PropertiesPresenter presenter);
    // Plans from this environment instead of the process's (tests use stub programs).
    void SetEnvironment(std::optional<ShellEnvironment> env);
    // How long xdg-open may take to give its verdict before it counts as started (it keeps
    // running with the program it started on some desktops), and how long a D-Bus call may
    // take.
    void SetOpenerGrace(std::chrono::milliseconds grace) { openerGrace_ = grace; }
    void SetQueryLimit(std::chrono::milliseconds limit) { queryLimit_ = limit; }
    // Told when an xdg-open that outlived its grace, and so counted as started, ends with a
    // failure after all. Called on the thread that waited for it, not the caller's.
    void SetLateFailureListener(LateFailureListener listener);

    // Waits until every program this shell started has ended and been collected, at most
    // `limit`; true when they all have. For tests.
    bool WaitForChildren(std::chrono::milliseconds limit);

    struct Children;  // what the waiting threads share with the shell

  private:
    ShellResult Start(const ShellRequest& request, const Launch& launch,
                      const std::string& directory);

    Registry* registry_;
    PropertiesPresenter presenter_;
    std::optional<ShellEnvironment> env_;
    std::chrono::milliseconds openerGrace_{1000};
    std::chrono::milliseconds queryLimit_{3000};
    std::shared_ptr<Children> children_;
};

// xdg-open's exit status as a result: 0 started; 2 the file was not found; 1, 3, 4 and any
// other status no program, with the reason in plain words, ending with the last line the
// opener wrote to its error output when there is one.
ShellResult OpenerVerdict(int status, std::string_view errorOutput);

}  // namespace orbel::platform
