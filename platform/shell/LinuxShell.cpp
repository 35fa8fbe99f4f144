#include "platform/shell/LinuxShell.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

extern char** environ;

namespace orbel::platform {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollStep{2};
// The end of what a program wrote to its error output is kept for the reason of a failure.
constexpr std::size_t kKeptOutput = 4096;
constexpr std::size_t kReasonLine = 300;

int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A program's error output as it arrives: passed on to ours, so that nothing it says is lost,
// and its end kept for the reason of a failure.
class ErrorOutput {
  public:
    explicit ErrorOutput(int fd) : fd_(fd) {}
    ~ErrorOutput() { Close(); }
    ErrorOutput(ErrorOutput&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)), kept_(std::move(other.kept_)) {}
    ErrorOutput(const ErrorOutput&) = delete;
    ErrorOutput& operator=(const ErrorOutput&) = delete;
    ErrorOutput& operator=(ErrorOutput&&) = delete;

    bool Open() const { return fd_ >= 0; }
    const std::string& Kept() const { return kept_; }

    // Takes what is there without waiting; closes at the end of the output.
    void Take() {
        std::array<char, 1024> buffer{};
        while (fd_ >= 0) {
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                if (errno != EAGAIN) Close();
                return;
            }
            if (n == 0) {
                Close();
                return;
            }
            Keep(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        }
    }
    // Waits at most limit for more output.
    void Await(std::chrono::milliseconds limit) {
        if (fd_ < 0) {
            std::this_thread::sleep_for(limit);
            return;
        }
        pollfd p{fd_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(limit.count()));
    }

  private:
    void Keep(std::string_view text) {
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
            if (n <= 0 && errno != EINTR) break;
            if (n > 0) done += static_cast<std::size_t>(n);
        }
        kept_.append(text);
        if (kept_.size() > kKeptOutput) kept_.erase(0, kept_.size() - kKeptOutput);
    }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    int fd_;
    std::string kept_;
};

// The exit status of pid once it has ended within limit, its error output taken meanwhile so
// that a full pipe never holds it up; nullopt while it still runs.
std::optional<int> WaitWithin(pid_t pid, std::chrono::milliseconds limit, ErrorOutput& output) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        output.Take();
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            output.Take();
            return ExitStatus(status);
        }
        // Someone else reaps children (SIGCHLD ignored): no verdict can come.
        if (done < 0 && errno != EINTR) return std::nullopt;
        if (Clock::now() >= deadline) return std::nullopt;
        output.Await(kPollStep);
    }
}

// The last line with something in it, control characters made blanks, cut short at a
// character boundary.
std::string LastLine(std::string_view text) {
    std::size_t end = text.find_last_not_of(" \t\r\n");
    if (end == std::string_view::npos) return {};
    const std::size_t begin = text.find_last_of('\n', end);
    std::string line(text.substr(begin == std::string_view::npos ? 0 : begin + 1,
                                 end + 1 - (begin == std::string_view::npos ? 0 : begin + 1)));
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    }
    if (line.size() > kReasonLine) {
        std::size_t cut = kReasonLine;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        line.resize(cut);
        line += "...";
    }
    return line;
}

class SpawnSetup {
  public:
    SpawnSetup(const std::string& directory, bool newSession, int errorOutput) {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attr_);
        ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
        if (errorOutput >= 0) ::posix_spawn_file_actions_adddup2(&actions_, errorOutput, 2);
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

struct LinuxShell::Children {
    std::mutex mutex;
    std::condition_variable ended;
    int waiting = 0;
    LateFailureListener lateFailure;

    // A thread of its own waits for pid (none: -1) and takes the rest of its error output, so
    // that the program is collected the moment it ends, and a program it left running can
    // still write. An opener's failure found then is told to the listener.
    static void Watch(const std::shared_ptr<Children>& children, pid_t pid, ErrorOutput output,
                      std::optional<ShellRequest> opened) {
        {
            const std::lock_guard lock(children->mutex);
            ++children->waiting;
        }
        auto wait = [children, pid, output = std::move(output),
                     opened = std::move(opened)]() mutable {
            std::optional<int> status;
            while (pid > 0 && !status) {
                output.Take();
                int raw = 0;
                const pid_t done = ::waitpid(pid, &raw, output.Open() ? WNOHANG : 0);
                if (done == pid) {
                    status = ExitStatus(raw);
                } else if (done < 0 && errno != EINTR) {
                    break;  // collected by someone else
                } else if (output.Open()) {
                    output.Await(std::chrono::milliseconds(100));
                }
            }
            output.Take();
            LateFailureListener listener;
            {
                const std::lock_guard lock(children->mutex);
                listener = children->lateFailure;
            }
            if (opened && status && *status != 0 && listener) {
                listener(*opened, OpenerVerdict(*status, output.Kept()));
            }
            {
                const std::lock_guard lock(children->mutex);
                --children->waiting;
                children->ended.notify_all();
            }
            // A program the opener started may hold its error output long after.
            while (output.Open()) {
                output.Await(std::chrono::milliseconds(1000));
                output.Take();
            }
        };
        try {
            std::thread(std::move(wait)).detach();
        } catch (const std::system_error&) {
            // No thread to be had: the program is left to the system when this process ends.
            const std::lock_guard lock(children->mutex);
            --children->waiting;
        }
    }
};

LinuxShell::LinuxShell(Registry* registry)
    : registry_(registry), children_(std::make_shared<Children>()) {}

LinuxShell::~LinuxShell() = default;

void LinuxShell::SetPropertiesPresenter(PropertiesPresenter presenter) {
    presenter_ = std::move(presenter);
}

void LinuxShell::SetEnvironment(std::optional<ShellEnvironment> env) {
    env_ = std::move(env);
}

void LinuxShell::SetLateFailureListener(LateFailureListener listener) {
    const std::lock_guard lock(children_->mutex);
    children_->lateFailure = std::move(listener);
}

ShellResult LinuxShell::Execute(const ShellRequest& request) {
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
        if (!properties) return {ShellErrorFromErrno(error), {}};
        if (!presenter_ || !presenter_(*properties)) return {SE_ERR_NOASSOC, {}};
        return {kShellStarted, {}};
    }

    const LaunchPlan plan = PlanShellRequest(request, env);
    if (plan.failure != 0) return {plan.failure, plan.reason};
    ShellResult result{SE_ERR_NOASSOC, {}};
    for (const Launch& launch : plan.launches) {
        result = Start(request, launch, plan.directory);
        if (launch.mode != LaunchMode::Query || result.code > 32) return result;
    }
    return result;
}

ShellResult LinuxShell::Start(const ShellRequest& request, const Launch& launch,
                              const std::string& directory) {
    std::vector<char*> argv;
    argv.reserve(launch.argv.size() + 1);
    for (const std::string& arg : launch.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    // The opener's error output says why it failed; both ends close on exec, the child's copy
    // on its descriptor 2 stays.
    std::array<int, 2> pipe{-1, -1};
    if (launch.mode == LaunchMode::Opener) {
        if (::pipe2(pipe.data(), O_CLOEXEC) == 0) {
            ::fcntl(pipe[0], F_SETFL, ::fcntl(pipe[0], F_GETFL) | O_NONBLOCK);
        } else {
            pipe = {-1, -1};
        }
    }
    ErrorOutput output(pipe[0]);
    pid_t pid = 0;
    int error = 0;
    {
        const SpawnSetup setup(directory, launch.mode != LaunchMode::Query, pipe[1]);
        error = ::posix_spawn(&pid, argv[0], setup.Actions(), setup.Attr(), argv.data(), environ);
    }
    if (pipe[1] >= 0) ::close(pipe[1]);
    if (error != 0) return {ShellErrorFromErrno(error), {}};

    switch (launch.mode) {
        case LaunchMode::Detached:
            Children::Watch(children_, pid, std::move(output), std::nullopt);
            return {kShellStarted, {}};
        case LaunchMode::Opener: {
            if (const auto status = WaitWithin(pid, openerGrace_, output)) {
                const ShellResult verdict = OpenerVerdict(*status, output.Kept());
                // What it started may go on writing.
                Children::Watch(children_, -1, std::move(output), std::nullopt);
                return verdict;
            }
            Children::Watch(children_, pid, std::move(output), request);
            return {kShellStarted, {}};
        }
        case LaunchMode::Query: {
            const auto status = WaitWithin(pid, queryLimit_, output);
            if (!status) {
                ::kill(pid, SIGTERM);
                Children::Watch(children_, pid, std::move(output), std::nullopt);
                return {SE_ERR_NOASSOC, {}};
            }
            return {*status == 0 ? kShellStarted : SE_ERR_NOASSOC, {}};
        }
    }
    return {SE_ERR_NOASSOC, {}};
}

bool LinuxShell::WaitForChildren(std::chrono::milliseconds limit) {
    std::unique_lock lock(children_->mutex);
    return children_->ended.wait_for(lock, limit, [this] { return children_->waiting == 0; });
}

ShellResult OpenerVerdict(int status, std::string_view errorOutput) {
    if (status == 0) return {kShellStarted, {}};
    ShellResult result{status == 2 ? SE_ERR_FNF : SE_ERR_NOASSOC, {}};
    switch (status) {
        case 1:
            result.reason = "The desktop's opener did not understand the request.";
            break;
        case 2:
            result.reason = "The desktop's opener did not find the file.";
            break;
        case 3:
            result.reason = "No program is set up to open this kind of file.";
            break;
        case 4:
            result.reason = "The program set up for this kind of file could not open it.";
            break;
        default:
            result.reason =
                "The desktop's opener stopped with status " + std::to_string(status) + ".";
            break;
    }
    if (const std::string line = LastLine(errorOutput); !line.empty()) {
        result.reason += " (" + line + ")";
    }
    return result;
}

}  // namespace orbel::platform
