#include "platform/spreadsheet/SpreadsheetApp.h"

#include <utility>

#include "platform/EffectLog.h"
#include "platform/automation/Guid.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

namespace orbel::spreadsheet {

namespace {

void Effect(const std::string& line) {
    platform::RecordEffect("spreadsheet: " + line);
}

HRESULT Raise(AppState& state, std::string description) {
    state.pending = ExcepInfo{kAppError, std::move(description)};
    return DISP_E_EXCEPTION;
}

bool IsGet(InvokeKind kind, std::span<const Variant> args, Variant* result) {
    return kind == InvokeKind::PropertyGet && args.empty() && result;
}

// The objects the application hands out share its state and report its exceptions.
class SheetObject : public IDispatch, public IExcepInfoSource {
  public:
    explicit SheetObject(std::shared_ptr<AppState> state) : state_(std::move(state)) {}
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    ExcepInfo TakeExcepInfo() override { return std::exchange(state_->pending, {}); }

  protected:
    std::shared_ptr<AppState> state_;
};

class Worksheet final : public SheetObject {
  public:
    Worksheet(std::shared_ptr<AppState> state, std::string name)
        : SheetObject(std::move(state)), name_(std::move(name)) {}
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (id != worksheet::kName) return DISP_E_MEMBERNOTFOUND;
        if (!IsGet(kind, args, result)) return DISP_E_BADPARAMCOUNT;
        *result = name_;
        return S_OK;
    }

  private:
    std::string name_;
};

// A range as it was when it was asked for: the program hands out the selection of that moment.
class Range final : public SheetObject {
  public:
    Range(std::shared_ptr<AppState> state, std::string sheet, std::int32_t column, std::int32_t row)
        : SheetObject(std::move(state)), sheet_(std::move(sheet)), column_(column), row_(row) {}
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (id != range::kWorksheet && id != range::kColumn && id != range::kRow)
            return DISP_E_MEMBERNOTFOUND;
        if (!IsGet(kind, args, result)) return DISP_E_BADPARAMCOUNT;
        if (id == range::kWorksheet)
            *result = std::shared_ptr<IDispatch>(std::make_shared<Worksheet>(state_, sheet_));
        else
            *result = id == range::kColumn ? column_ : row_;
        return S_OK;
    }

  private:
    std::string sheet_;
    std::int32_t column_;
    std::int32_t row_;
};

// An opened workbook: its callers release it at once, and it answers nothing of its own.
class Workbook final : public SheetObject {
  public:
    using SheetObject::SheetObject;
    HRESULT Invoke(DISPID, InvokeKind, std::span<const Variant>, Variant*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

class Workbooks final : public SheetObject {
  public:
    using SheetObject::SheetObject;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (id != workbooks::kOpen) return DISP_E_MEMBERNOTFOUND;
        if (kind != InvokeKind::Method || args.size() != workbooks::kOpenArgCount || !result)
            return DISP_E_BADPARAMCOUNT;
        if (args[0].Type() != VarType::BStr) return DISP_E_TYPEMISMATCH;
        for (const Variant& omitted : args.subspan(1))
            if (!omitted.IsMissing()) return DISP_E_TYPEMISMATCH;
        const std::string& path = args[0].BStr();
        WorkbookState book{path, {}};
        CellSelection selection;
        std::string why;
        const HRESULT hr = state_->program->Open(path, book.sheets, selection, why);
        if (hr == DISP_E_EXCEPTION) {
            Effect("cannot open " + QuoteString(path) + ": " + why);
            return Raise(*state_, "'" + path + "' could not be opened: " + why + ".");
        }
        if (FAILED(hr)) return hr;
        std::string sheets;
        for (const std::string& s : book.sheets) sheets += (sheets.empty() ? "" : ", ") + s;
        Effect("opened " + QuoteString(path) + " with sheets " + sheets);
        state_->workbooks.push_back(std::move(book));
        state_->selection = selection;
        *result = std::shared_ptr<IDispatch>(std::make_shared<Workbook>(state_));
        return S_OK;
    }
};

class AppEvents final : public IConnectionPoint {
  public:
    explicit AppEvents(std::shared_ptr<AppState> state) : state_(std::move(state)) {}
    HRESULT Advise(std::shared_ptr<IDispatch> sink, DWORD& cookie) override {
        if (!sink) return E_INVALIDARG;
        cookie = state_->nextCookie++;
        state_->sinks[cookie] = std::move(sink);
        return S_OK;
    }
    HRESULT Unadvise(DWORD cookie) override {
        return state_->sinks.erase(cookie) ? S_OK : E_INVALIDARG;
    }

  private:
    std::shared_ptr<AppState> state_;
};

// A selection the program reports: it becomes the application's and reaches every sink.
void RaiseSelection(const std::shared_ptr<AppState>& state, const CellSelection& cell) {
    AppState& s = *state;
    if (s.workbooks.empty()) return;
    const std::vector<std::string>& sheets = s.workbooks.back().sheets;
    if (cell.sheet < 0 || static_cast<std::size_t>(cell.sheet) >= sheets.size()) return;
    s.selection = cell;
    const std::string& sheet = sheets[cell.sheet];
    Effect("selected " + QuoteString(sheet) + " column " + std::to_string(cell.column) + " row " +
           std::to_string(cell.row));
    // Sinks may unadvise from inside the event: call a copy.
    const auto sinks = s.sinks;
    for (const auto& [cookie, sink] : sinks) {
        const Variant eventArgs[] = {
            Variant(std::shared_ptr<IDispatch>(std::make_shared<Worksheet>(state, sheet))),
            Variant(std::shared_ptr<IDispatch>(
                std::make_shared<Range>(state, sheet, cell.column, cell.row)))};
        sink->Invoke(events::kSheetSelectionChange, InvokeKind::Method, eventArgs, nullptr);
    }
}

}  // namespace

CSpreadsheetApp::CSpreadsheetApp(std::unique_ptr<SpreadsheetProgram> program)
    : state_(std::make_shared<AppState>()) {
    state_->program = std::move(program);
    state_->program->onSelection =
        [weak = std::weak_ptr<AppState>(state_)](const CellSelection& cell) {
            if (auto state = weak.lock(); state && !state->quit) RaiseSelection(state, cell);
        };
    Effect("started");
}

CSpreadsheetApp::~CSpreadsheetApp() {
    if (state_->quit) return;
    state_->program->Quit();
    Effect("ended without Quit");
}

HRESULT CSpreadsheetApp::GetIDsOfNames(std::string_view, DISPID&) {
    return DISP_E_UNKNOWNNAME;
}

ExcepInfo CSpreadsheetApp::TakeExcepInfo() {
    return std::exchange(state_->pending, {});
}

HRESULT CSpreadsheetApp::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                                Variant* result) {
    AppState& s = *state_;
    switch (id) {
        case app::kWorkbooks:
            if (!IsGet(kind, args, result)) return DISP_E_BADPARAMCOUNT;
            *result = std::shared_ptr<IDispatch>(std::make_shared<Workbooks>(state_));
            return S_OK;
        case app::kVisible: {
            if (kind != InvokeKind::PropertyPut || args.size() != 1) return DISP_E_BADPARAMCOUNT;
            if (args[0].Type() != VarType::Bool) return DISP_E_TYPEMISMATCH;
            std::string why;
            const HRESULT hr = s.program->Show(args[0].Bool(), why);
            if (hr == DISP_E_EXCEPTION) return Raise(s, std::move(why));
            if (FAILED(hr)) return hr;
            s.visible = args[0].Bool();
            Effect(s.visible ? "shown" : "hidden");
            return S_OK;
        }
        case app::kQuit:
            if (kind != InvokeKind::Method || !args.empty()) return DISP_E_BADPARAMCOUNT;
            if (s.quit) return S_OK;
            s.program->Quit();
            s.quit = true;
            s.visible = false;
            s.workbooks.clear();
            Effect("quit");
            return S_OK;
        case app::kSelection: {
            if (!IsGet(kind, args, result)) return DISP_E_BADPARAMCOUNT;
            if (s.workbooks.empty()) return Raise(s, "No workbook is open.");
            const std::string& sheet = s.workbooks.back().sheets.at(s.selection.sheet);
            *result = std::shared_ptr<IDispatch>(
                std::make_shared<Range>(state_, sheet, s.selection.column, s.selection.row));
            return S_OK;
        }
        case app::kDump:
            if (!IsGet(kind, args, result)) return DISP_E_BADPARAMCOUNT;
            *result = Dump();
            return S_OK;
        case app::kUserSelect:
            if (kind != InvokeKind::Method) return DISP_E_BADPARAMCOUNT;
            return UserSelect(args);
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CSpreadsheetApp::UserSelect(std::span<const Variant> args) {
    AppState& s = *state_;
    if (args.size() != 3) return DISP_E_BADPARAMCOUNT;
    const auto column = args[1].ChangeType(VarType::I4);
    const auto row = args[2].ChangeType(VarType::I4);
    if (args[0].Type() != VarType::BStr || !column || !row) return DISP_E_TYPEMISMATCH;
    if (s.workbooks.empty()) return Raise(s, "No workbook is open.");
    const std::vector<std::string>& sheets = s.workbooks.back().sheets;
    int index = -1;
    for (std::size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i] == args[0].BStr()) index = static_cast<int>(i);
    // The sheet has 16,384 columns and 1,048,576 rows.
    if (index < 0 || column->I4() < 1 || column->I4() > 16384 || row->I4() < 1 ||
        row->I4() > 1048576)
        return Raise(s, "There is no cell " + QuoteString(args[0].BStr()) + " " +
                            std::to_string(column->I4()) + " " + std::to_string(row->I4()) + ".");
    std::string why;
    const HRESULT hr = s.program->Select(CellSelection{index, column->I4(), row->I4()}, why);
    if (hr == DISP_E_EXCEPTION) return Raise(s, std::move(why));
    return hr;
}

std::shared_ptr<IConnectionPoint> CSpreadsheetApp::FindConnectionPoint(const Guid& iid) {
    if (iid != *Guid::Parse(kAppEventsIidText)) return nullptr;
    return std::make_shared<AppEvents>(state_);
}

std::string CSpreadsheetApp::Dump() const {
    const AppState& s = *state_;
    std::string out = "workbook=";
    if (s.workbooks.empty()) {
        out += "none";
    } else {
        const WorkbookState& book = s.workbooks.back();
        out += QuoteString(book.path) + " sheets=";
        for (std::size_t i = 0; i < book.sheets.size(); ++i)
            out += (i ? "," : "") + QuoteString(book.sheets[i]);
        out += " selection=" + QuoteString(book.sheets.at(s.selection.sheet)) + ":" +
               std::to_string(s.selection.column) + ":" + std::to_string(s.selection.row);
    }
    out += std::string(" visible=") + (s.visible ? "TRUE" : "FALSE");
    out += " sinks=" + std::to_string(s.sinks.size());
    if (s.quit) out += " quit";
    return out;
}

}  // namespace orbel::spreadsheet
