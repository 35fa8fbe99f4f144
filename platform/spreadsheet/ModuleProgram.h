// What a spreadsheet module puts behind the application it registers: the class it registers
// under the program's ProgID, and the program its applications run on. The module's entry
// points (SpreadsheetModule.cpp) are the same for every program; each module links one
// definition of this.
#pragma once

#include <memory>

#include "platform/spreadsheet/SpreadsheetProgram.h"

namespace orbel::spreadsheet {

struct ModuleProgram {
    const char* clsid;
    const char* description;
    // Null when the program cannot be started; the application is not made then.
    std::unique_ptr<SpreadsheetProgram> (*start)();
};

extern const ModuleProgram kModuleProgram;

}  // namespace orbel::spreadsheet
