#include "platform/shell/LinuxShell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>

extern char** environ;

namespace orbel::platform {
namespace {

constexpr std::chrono::milliseconds kPollStep{2};

// The exit status of pid once it has ended within limit; nullopt while it still runs.
std::optional<int> WaitWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        // Someone else reaps children (SIGCHLD ignored): no verdict can come.
        if (done < 0 && errno != EINTR) return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(kPollStep);
    }
}

class SpawnSetup {
  public:
    SpawnSetup(const std::string& directory, bool newSession) {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attr_);
        ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
        if (!directory.empty()) {
            ::posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str());
        }
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attr_, &none);
        ::posix_spawnattr_setsigdefault(&attr_, &all);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (newSession) flags |= POSIX_SPAWN_SETSID;
        ::posix_spawnattr_setflags(&attr_, flags);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attr() const { return &attr_; }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

}  // namespace

LinuxShell::LinuxShell(Registry* registry) : registry_(registry) {}

LinuxShell::~LinuxShell() {
    ReapEnded();
}

void LinuxShell::SetPropertiesPresenter(PropertiesPresenter presenter) {
    presenter_ = std::move(presenter);
}

void LinuxShell::SetEnvironment(std::optional<ShellEnvironment> env) {
    env_ = std::move(env);
}

int LinuxShell::Execute(const ShellRequest& request) {
    ReapEnded();
    const ShellEnvironment env = env_ ? *env_ : ShellEnvironment::FromProcess();
    if (CanonicalVerb(request.verb) == "properties") {
        std::filesystem::path path(request.file);
        if (!path.is_absolute()) {
            path = std::filesystem::path(request.directory.empty() ? env.currentDirectory
                                                                   : request.directory) /
                   path;
        }
        int error = 0;
        const auto properties =
            ReadFileProperties(path.lexically_normal().string(), registry_, &error);
        if (!properties) return ShellErrorFromErrno(error);
        if (!presenter_ || !presenter_(*properties)) return SE_ERR_NOASSOC;
        return kShellStarted;
    }

    const LaunchPlan plan = PlanShellRequest(request, env);
    if (plan.failure != 0) return plan.failure;
    int result = SE_ERR_NOASSOC;
    for (const Launch& launch : plan.launches) {
        result = Start(launch, plan.directory);
        if (launch.mode != LaunchMode::Query || result > 32) return result;
    }
    return result;
}

int LinuxShell::Start(const Launch& launch, const std::string& directory) {
    std::vector<char*> argv;
    argv.reserve(launch.argv.size() + 1);
    for (const std::string& arg : launch.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const SpawnSetup setup(directory, launch.mode != LaunchMode::Query);
    pid_t pid = 0;
    const int error =
        ::posix_spawn(&pid, argv[0], setup.Actions(), setup.Attr(), argv.data(), environ);
    if (error != 0) return ShellErrorFromErrno(error);

    switch (launch.mode) {
        case LaunchMode::Detached:
            running_.push_back(pid);
            return kShellStarted;
        case LaunchMode::Opener: {
            const auto status = WaitWithin(pid, openerGrace_);
            if (!status) {
                running_.push_back(pid);
                return kShellStarted;
            }
            // xdg-open: 2 the file was not found, 3 no program for it, 4 the program failed.
            if (*status == 0) return kShellStarted;
            if (*status == 2) return SE_ERR_FNF;
            return SE_ERR_NOASSOC;
        }
        case LaunchMode::Query: {
            const auto status = WaitWithin(pid, queryLimit_);
            if (!status) {
                ::kill(pid, SIGTERM);
                running_.push_back(pid);
                return SE_ERR_NOASSOC;
            }
            return *status == 0 ? kShellStarted : SE_ERR_NOASSOC;
        }
    }
    return SE_ERR_NOASSOC;
}

void LinuxShell::ReapEnded() {
    std::erase_if(running_, [](pid_t pid) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        return done == pid || (done < 0 && errno == ECHILD);
    });
}

bool LinuxShell::WaitForChildren(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        ReapEnded();
        if (running_.empty()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollStep);
    }
}

}  // namespace orbel::platform
