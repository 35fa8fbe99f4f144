// The program behind the spreadsheet application component. The component answers its callers
// by the program's dispatch IDs and raises its events; the program holds the workbook: a model
// over the file (headless), or LibreOffice Calc in a window of its own (desktop). Every call
// comes on the user-interface thread, and so does every selection the program reports.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/automation/ActiveObjects.h"

namespace orbel::spreadsheet {

// A selected cell: the sheet's index in the workbook, 1-based column and row.
struct CellSelection {
    int sheet = 0;
    std::int32_t column = 1;
    std::int32_t row = 1;
    bool operator==(const CellSelection&) const = default;
};

class SpreadsheetProgram {
  public:
    virtual ~SpreadsheetProgram() = default;

    // Each call answers S_OK, DISP_E_EXCEPTION with `description` set to the error the program
    // reports, or another status when the program could not be reached.

    // Opens the workbook, giving its sheet names and the cell selected in it; the description
    // of a refusal is the reason alone ("no such file", "not a workbook").
    virtual HRESULT Open(const std::string& path, std::vector<std::string>& sheets,
                         CellSelection& selection, std::string& description) = 0;
    virtual HRESULT Show(bool visible, std::string& description) = 0;
    // Selects the cell as the person does there; the selection is reported before this returns.
    virtual HRESULT Select(const CellSelection& cell, std::string& description) = 0;
    // Closes the workbooks it opened, and the program itself when it was started for them.
    virtual void Quit() = 0;

    // Set by the component: each selection made in the program.
    std::function<void(const CellSelection&)> onSelection;
};

}  // namespace orbel::spreadsheet
