// The headless program behind the spreadsheet application: a workbook model over the real
// file, whose sheets are the file's own and whose selection is whatever the person (a test or
// the container) makes.
#pragma once

#include <memory>

#include "platform/spreadsheet/SpreadsheetProgram.h"

namespace orbel::spreadsheet {

std::unique_ptr<SpreadsheetProgram> MakeFileProgram();

}  // namespace orbel::spreadsheet
