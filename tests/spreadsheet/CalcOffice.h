// What the tests of the spreadsheet module on LibreOffice Calc need around the office: its
// presence, a profile of the build's own, and the offices this process left running.
#pragma once

#include <string>
#include <vector>

namespace orbel::test {

// Why the office cannot be used here, or empty; points the module at the build's profile.
std::string PrepareCalc();
// The office processes this process started that are still running.
int OfficesLeft();
// Ends every office this process started at once, as a crash would; false when there was none.
bool KillOffices();

// A virtual display of the test's own, for the office's windows; ended with the object.
class OwnDisplay {
  public:
    OwnDisplay();
    ~OwnDisplay();
    // ":N", or empty with `why` set when there is none.
    const std::string& Name() const { return name_; }
    const std::string& Why() const { return why_; }

  private:
    int pid_ = -1;
    std::string name_, why_;
};

// Runs a program with its arguments (never through a shell); true when it exits with 0.
bool RunProgram(std::vector<std::string> args);

}  // namespace orbel::test
