// The person at the cell link and at the spreadsheet program it starts: runs the link for a
// row, selects a cell in the running program, and reads the program's state.
#pragma once

#include <string>

#include "platform/framework/Wnd.h"
#include "platform/headless/ScriptedUser.h"

namespace orbel::test {

using CellLinkAction = platform::ScriptedUser::DialogAction;

// Runs the link for an item named Book.xls with the stored path; the stored result, or
// "(nothing)" after Cancel.
std::string LinkCell(CWnd& control, const std::string& stored);
// Selects the cell in the running spreadsheet program as the person does there.
CellLinkAction PickCell(std::string sheet, std::int32_t column, std::int32_t row);
// The running program's state as it describes itself, or "not running".
std::string SpreadsheetState();
// An action that only notes the program's state into `state`.
CellLinkAction LookAtSpreadsheet(std::string& state);

}  // namespace orbel::test
