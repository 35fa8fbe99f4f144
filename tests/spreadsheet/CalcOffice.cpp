#include "tests/spreadsheet/CalcOffice.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

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
