// LibreOffice Calc as a process of our own: started with a user profile of ours (never the
// user's), accepting one connection on a pipe of its own name, in a process group of its own so
// that nothing of it outlives End().
#pragma once

#include <sys/types.h>

#include <string>

namespace orbel::spreadsheet {

class CalcProcess {
  public:
    CalcProcess() = default;
    ~CalcProcess() { End(0); }
    CalcProcess(const CalcProcess&) = delete;
    CalcProcess& operator=(const CalcProcess&) = delete;

    // Starts the office from `launcher`, headless when `headless`; false with `why` set.
    bool Start(const std::string& launcher, bool headless, std::string& why);
    // Whether the started office is still there.
    bool Running();
    // Waits up to `graceMs` for the office to end by itself, then ends its whole group; the
    // profile is given back (removed when it was made for this process alone).
    void End(int graceMs);

    // The connection string of the office's pipe.
    std::string ConnectUrl() const;
    pid_t Pid() const { return pid_; }
    const std::string& Profile() const { return profile_; }

  private:
    bool TakeProfile(std::string& why);

    pid_t pid_ = -1;
    std::string pipe_;
    std::string profile_;
    bool temporaryProfile_ = false;
    int lockFd_ = -1;
};

// The file URL of an absolute path, its bytes escaped as URLs want them.
std::string FileUrlOf(const std::string& absolutePath);

}  // namespace orbel::spreadsheet
