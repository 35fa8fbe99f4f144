// The shell of the desktop: starts real programs for requests, as LaunchPlan.h decides, with
// posix_spawn and an argument vector; stdin is /dev/null and each program gets a session of
// its own, so that it outlives a host started from a terminal.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/shell/FileProperties.h"
#include "platform/shell/LaunchPlan.h"
#include "platform/shell/Shell.h"

namespace orbel::platform {

class Registry;

class LinuxShell final : public Shell {
  public:
    using PropertiesPresenter = std::function<bool(const FileProperties&)>;

    // registry (may be null) gives the type descriptions of the properties window.
    explicit LinuxShell(Registry* registry = nullptr);
    ~LinuxShell() override;
    LinuxShell(const LinuxShell&) = delete;
    LinuxShell& operator=(const LinuxShell&) = delete;

    int Execute(const ShellRequest& request) override;

    // The window for the verb "properties"; without one that verb finds no program.
    void SetPropertiesPresenter(PropertiesPresenter presenter);
    // Plans from this environment instead of the process's (tests use stub programs).
    void SetEnvironment(std::optional<ShellEnvironment> env);
    // How long xdg-open may take to give its verdict before it counts as started (it keeps
    // running with the program it started on some desktops), and how long a D-Bus call may
    // take.
    void SetOpenerGrace(std::chrono::milliseconds grace) { openerGrace_ = grace; }
    void SetQueryLimit(std::chrono::milliseconds limit) { queryLimit_ = limit; }

    // Waits until every program this shell left running has ended, at most `limit`; true when
    // they all have. For tests.
    bool WaitForChildren(std::chrono::milliseconds limit);

  private:
    int Start(const Launch& launch, const std::string& directory);
    // Collects programs that have ended, so that none stays a zombie for long.
    void ReapEnded();

    Registry* registry_;
    PropertiesPresenter presenter_;
    std::optional<ShellEnvironment> env_;
    std::chrono::milliseconds openerGrace_{300};
    std::chrono::milliseconds queryLimit_{3000};
    std::vector<pid_t> running_;
};

}  // namespace orbel::platform
