#include "platform/spreadsheet/CalcProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace orbel::spreadsheet {

namespace {

std::string TempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp == '/' ? tmp : "/tmp";
}

// A folder of ours alone: made by us or already ours, no link, closed to others.
bool PrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 077) == 0;
}

}  // namespace

std::string FileUrlOf(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absolutePath) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

// The profile is kept between runs, so that only the first start pays for making it; a second
// process of ours finds it taken and makes one for itself alone.
bool CalcProcess::TakeProfile(std::string& why) {
    const char* own = std::getenv("ORBEL_CALC_PROFILE");
    std::string shared =
        own && *own ? own : TempRoot() + "/orbel-calc-" + std::to_string(geteuid());
    if (PrivateFolder(shared)) {
        const std::string lock = shared + "/.orbel-lock";
        lockFd_ = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            profile_ = shared;
            return true;
        }
        if (lockFd_ >= 0) close(lockFd_);
        lockFd_ = -1;
    }
    std::string pattern = TempRoot() + "/orbel-calc-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        why = "no folder for the profile";
        return false;
    }
    profile_ = pattern;
    temporaryProfile_ = true;
    return true;
}

bool CalcProcess::Start(const std::string& launcher, bool headless, std::string& why) {
    if (access(launcher.c_str(), X_OK) != 0) {
        why = launcher + " is not there";
        return false;
    }
    if (!TakeProfile(why)) return false;
    static std::atomic<int> serial{0};
    pipe_ = "orbel-calc-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
    std::vector<std::string> args{
        launcher,
        "--accept=pipe,name=" + pipe_ + ";urp;StarOffice.ComponentContext",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        "--nofirststartwizard",
        "-env:UserInstallation=" + FileUrlOf(profile_)};
    if (headless) args.push_back("--headless");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
    const int rc = posix_spawn(&pid_, launcher.c_str(), &files, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        pid_ = -1;
        why = "cannot start " + launcher;
        End(0);
        return false;
    }
    return true;
}

bool CalcProcess::Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    // Reaped: what is left of the group is ended by End().
    return false;
}

void CalcProcess::End(int graceMs) {
    if (pid_ > 0) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(graceMs);
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        while (done == 0 && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            done = waitpid(pid_, &status, WNOHANG);
        }
        // The launcher waits for the office; whatever of the group is left goes now.
        kill(-pid_, SIGKILL);
        if (done == 0) waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    if (lockFd_ >= 0) {
        close(lockFd_);
        lockFd_ = -1;
    }
    if (temporaryProfile_) {
        std::error_code ec;
        std::filesystem::remove_all(profile_, ec);
        temporaryProfile_ = false;
    }
}

std::string CalcProcess::ConnectUrl() const {
    return "uno:pipe,name=" + pipe_ + ";urp;StarOffice.ComponentContext";
}

}  // namespace orbel::spreadsheet
