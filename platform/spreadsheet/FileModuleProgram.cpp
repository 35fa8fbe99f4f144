#include "platform/spreadsheet/FileProgram.h"
#include "platform/spreadsheet/ModuleProgram.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

namespace orbel::spreadsheet {

const ModuleProgram kModuleProgram{kClsidText, "Orbel spreadsheet application", MakeFileProgram};

}  // namespace orbel::spreadsheet
