// The container's lines for the spreadsheet application the cell link starts: its state, and
// the cell the person selects in it.
#include "host/container/CommandArgs.h"
#include "host/container/Container.h"
#include "platform/automation/ActiveObjects.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

namespace orbel::host {

namespace ids = spreadsheet;

void Container::CmdSpreadsheet(std::span<const Token> args) {
    Need(args, 0, 0, "spreadsheet");
    const std::shared_ptr<IDispatch> app = GetActiveObject(ids::kProgId);
    Variant state;
    if (!app) {
        Print("spreadsheet: not running");
    } else if (app->Invoke(ids::app::kDump, InvokeKind::PropertyGet, {}, &state) != S_OK ||
               state.Type() != VarType::BStr) {
        throw ScriptError{"the running spreadsheet application does not describe itself"};
    } else {
        Print("spreadsheet: " + state.BStr());
    }
}

std::string Container::PickCell(const std::string& sheet, std::int32_t column, std::int32_t row) {
    const std::shared_ptr<IDispatch> app = GetActiveObject(ids::kProgId);
    if (!app) return "no spreadsheet application is running";
    const Variant args[] = {Variant(sheet), Variant(column), Variant(row)};
    const HRESULT hr = app->Invoke(ids::app::kUserSelect, InvokeKind::Method, args, nullptr);
    if (hr == S_OK) return {};
    if (auto source = std::dynamic_pointer_cast<IExcepInfoSource>(app);
        source && hr == DISP_E_EXCEPTION)
        return source->TakeExcepInfo().description;
    return "the spreadsheet application refused the selection";
}

void Container::CmdCellPick(std::span<const Token> args) {
    Need(args, 3, 3, "cellpick \"SHEET\" COLUMN ROW");
    const std::string why = PickCell(StringArg(args[0], "SHEET"), IntegerArg(args[1], "COLUMN"),
                                     IntegerArg(args[2], "ROW"));
    if (!why.empty()) Print("cellpick refused: " + why);
}

}  // namespace orbel::host
