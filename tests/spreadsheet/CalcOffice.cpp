#include "tests/spreadsheet/CalcOffice.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern char** environ;

namespace orbel::test {

std::string PrepareCalc() {
    if (access(ORBEL_SOFFICE_PATH, X_OK) != 0)
        return "no LibreOffice here (" ORBEL_SOFFICE_PATH ")";
    // The module keeps its profile between runs; a test run running beside it gets one of its
    // own.
    setenv("ORBEL_CALC_PROFILE", ORBEL_TEST_CALC_PROFILE, 1);
    return {};
}

namespace {

// Each office this process starts accepts on a pipe named after the process.
std::vector<pid_t> Offices() {
    const std::string mark = "name=orbel-calc-" + std::to_string(getpid()) + "-";
    std::vector<pid_t> offices;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        const std::string cmdline{std::istreambuf_iterator<char>(in), {}};
        if (cmdline.find(mark) != std::string::npos)
            offices.push_back(static_cast<pid_t>(std::atoi(entry.path().filename().c_str())));
    }
    return offices;
}

}  // namespace

int OfficesLeft() {
    return static_cast<int>(Offices().size());
}

bool KillOffices() {
    const std::vector<pid_t> offices = Offices();
    for (pid_t pid : offices) kill(pid, SIGKILL);
    return !offices.empty();
}

}  // namespace orbel::test

namespace orbel::test {

bool RunProgram(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

OwnDisplay::OwnDisplay() {
    constexpr const char* kXvfb = "/usr/bin/Xvfb";
    if (access(kXvfb, X_OK) != 0 || access("/usr/bin/xdotool", X_OK) != 0) {
        why_ = "no Xvfb or xdotool here";
        return;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        why_ = "no pipe";
        return;
    }
    // Xvfb picks a free display and writes its number to the pipe.
    std::vector<std::string> args{kXvfb,       "-displayfd", std::to_string(fds[1]),
                                  "-screen",   "0",          "1280x1024x24",
                                  "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addclose(&files, fds[0]);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, kXvfb, &files, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&files);
    close(fds[1]);
    std::string number;
    char c = 0;
    while (started && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!started || number.empty()) {
        why_ = "Xvfb did not start";
        if (started) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        return;
    }
    pid_ = pid;
    name_ = ":" + number;
}

OwnDisplay::~OwnDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

}  // namespace orbel::test
