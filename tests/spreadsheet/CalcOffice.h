// What the tests of the spreadsheet module on LibreOffice Calc need around the office: its
// presence, a profile of the build's own, and the offices this process left running.
#pragma once

#include <string>

namespace orbel::test {

// Why the office cannot be used here, or empty; points the module at the build's profile.
std::string PrepareCalc();
// The office processes this process started that are still running.
int OfficesLeft();
// Ends every office this process started at once, as a crash would; false when there was none.
bool KillOffices();

}  // namespace orbel::test
