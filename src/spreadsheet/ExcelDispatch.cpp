#include "src/spreadsheet/ExcelDispatch.h"

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

namespace orbel {

namespace ids = spreadsheet;

bool COleDispatchDriver::CreateDispatch(const std::string& progId) {
    std::shared_ptr<IUnknown> object;
    if (FAILED(CreateObject(progId, object))) return false;
    auto dispatch = std::dynamic_pointer_cast<IDispatch>(object);
    if (!dispatch) return false;
    m_lpDispatch = std::move(dispatch);
    return true;
}

Variant COleDispatchDriver::InvokeHelper(DISPID id, InvokeKind kind, std::vector<Variant> args) {
    if (!m_lpDispatch) throw COleException{E_FAIL};
    Variant result;
    const HRESULT hr = m_lpDispatch->Invoke(id, kind, args, &result);
    if (hr == DISP_E_EXCEPTION) {
        ExcepInfo info;
        if (auto source = std::dynamic_pointer_cast<IExcepInfoSource>(m_lpDispatch))
            info = source->TakeExcepInfo();
        throw COleDispatchException{info.scode, info.description};
    }
    if (FAILED(hr)) throw COleException{hr};
    return result;
}

namespace {
std::shared_ptr<IDispatch> DispatchResult(const Variant& v) {
    if (v.Type() != VarType::Dispatch) throw COleException{DISP_E_TYPEMISMATCH};
    return v.Dispatch();
}
template <VarType T>
Variant Typed(const Variant& v) {
    auto typed = v.ChangeType(T);
    if (!typed) throw COleException{DISP_E_TYPEMISMATCH};
    return *typed;
}
}  // namespace

std::shared_ptr<IDispatch> _Application::GetWorkbooks() {
    return DispatchResult(InvokeHelper(ids::app::kWorkbooks, InvokeKind::PropertyGet));
}

void _Application::SetVisible(bool visible) {
    InvokeHelper(ids::app::kVisible, InvokeKind::PropertyPut, {Variant(visible)});
}

void _Application::Quit() {
    InvokeHelper(ids::app::kQuit, InvokeKind::Method);
}

std::shared_ptr<IDispatch> _Application::GetSelection() {
    return DispatchResult(GetProperty(ids::app::kSelection));
}

std::shared_ptr<IDispatch> Workbooks::Open(const std::string& filename) {
    std::vector<Variant> args{Variant(filename)};
    args.resize(ids::workbooks::kOpenArgCount, Variant::Missing());
    return DispatchResult(InvokeHelper(ids::workbooks::kOpen, InvokeKind::Method, std::move(args)));
}

std::shared_ptr<IDispatch> Range::GetWorksheet() {
    return DispatchResult(InvokeHelper(ids::range::kWorksheet, InvokeKind::PropertyGet));
}

std::int32_t Range::GetColumn() {
    return Typed<VarType::I4>(InvokeHelper(ids::range::kColumn, InvokeKind::PropertyGet)).I4();
}

std::int32_t Range::GetRow() {
    return Typed<VarType::I4>(InvokeHelper(ids::range::kRow, InvokeKind::PropertyGet)).I4();
}

std::string _Worksheet::GetName() {
    return Typed<VarType::BStr>(InvokeHelper(ids::worksheet::kName, InvokeKind::PropertyGet))
        .BStr();
}

}  // namespace orbel
