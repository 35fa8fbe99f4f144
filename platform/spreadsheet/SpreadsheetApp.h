// The spreadsheet application component as its callers see it: the application, its workbooks
// collection, a range and a worksheet, reached by the dispatch IDs of the program's type
// library, and a connection point for the application events. The workbook is held by the
// program behind it (SpreadsheetProgram.h); every selection the program reports is raised as
// SheetSelectionChange. Whoever plays the user (a test or the container) selects through the
// application's kUserSelect member, which the program carries out as a person's click.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/Dispatch.h"
#include "platform/spreadsheet/SpreadsheetProgram.h"

namespace orbel::spreadsheet {

struct WorkbookState {
    std::string path;
    std::vector<std::string> sheets;
};

// What the application and the objects it hands out share.
struct AppState {
    bool visible = false;
    bool quit = false;
    std::vector<WorkbookState> workbooks;
    // In the last workbook.
    CellSelection selection;
    std::unique_ptr<SpreadsheetProgram> program;
    std::map<DWORD, std::shared_ptr<IDispatch>> sinks;
    DWORD nextCookie = 1;
    ExcepInfo pending;
};

class CSpreadsheetApp final : public IDispatch,
                              public IConnectionPointContainer,
                              public IExcepInfoSource,
                              public std::enable_shared_from_this<CSpreadsheetApp> {
  public:
    explicit CSpreadsheetApp(std::unique_ptr<SpreadsheetProgram> program);
    ~CSpreadsheetApp() override;

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;
    std::shared_ptr<IConnectionPoint> FindConnectionPoint(const Guid& iid) override;
    ExcepInfo TakeExcepInfo() override;

    // The state as one line: workbook, sheets, visible, selection, advised sinks.
    std::string Dump() const;

  private:
    HRESULT UserSelect(std::span<const Variant> args);
    std::shared_ptr<AppState> state_;
};

}  // namespace orbel::spreadsheet
