#include "tests/spreadsheet/CellLinkUser.h"

#include <gtest/gtest.h>

#include "platform/automation/ActiveObjects.h"
#include "platform/spreadsheet/SpreadsheetIds.h"
#include "src/dialogs/CellLinkDlg.h"

namespace orbel::test {

namespace ids = spreadsheet;

std::string LinkCell(CWnd& control, const std::string& stored) {
    std::string result = "(nothing)";
    const bool ok = RunCellLink(&control, "Book.xls", stored,
                                [&](const std::string& workbook, const std::string& cell) {
                                    result = workbook + (cell.empty() ? "" : "!" + cell);
                                });
    EXPECT_EQ(ok, result != "(nothing)");
    return result;
}

CellLinkAction PickCell(std::string sheet, std::int32_t column, std::int32_t row) {
    return CellLinkAction::Elsewhere("pick", [=] {
        auto app = GetActiveObject(ids::kProgId);
        if (!app) return std::string("not running");
        const Variant args[] = {Variant(sheet), Variant(column), Variant(row)};
        return app->Invoke(ids::app::kUserSelect, InvokeKind::Method, args, nullptr) == S_OK
                   ? std::string()
                   : std::string("refused");
    });
}

std::string SpreadsheetState() {
    auto app = GetActiveObject(ids::kProgId);
    Variant v;
    if (!app || app->Invoke(ids::app::kDump, InvokeKind::PropertyGet, {}, &v) != S_OK)
        return "not running";
    return v.BStr();
}

CellLinkAction LookAtSpreadsheet(std::string& state) {
    return CellLinkAction::Elsewhere("look", [&state] {
        state = SpreadsheetState();
        return std::string();
    });
}

}  // namespace orbel::test
