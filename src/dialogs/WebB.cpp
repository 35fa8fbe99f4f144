#include "src/dialogs/WebB.h"

#include "platform/browser/BrowserIds.h"

namespace orbel {

using namespace browser::members;

namespace {
std::string Text(const Variant& v) {
    return v.Type() == VarType::BStr ? v.BStr() : std::string();
}
}  // namespace

bool CWebB::Create(const std::string& name, DWORD style, const RECT& rect, HWND parent, UINT id) {
    return CreateControl(*Guid::Parse(browser::kClsidText), name, style, rect, parent, id);
}

bool CWebB::AdviseEvents(std::shared_ptr<IDispatch> sink) {
    return Advise(*Guid::Parse(browser::kEventsIidText), std::move(sink));
}

void CWebB::GoBack() {
    InvokeHelper(kGoBack);
}
void CWebB::GoForward() {
    InvokeHelper(kGoForward);
}
void CWebB::GoHome() {
    InvokeHelper(kGoHome);
}
void CWebB::GoSearch() {
    InvokeHelper(kGoSearch);
}
void CWebB::Navigate(const std::string& url) {
    InvokeHelper(kNavigate, {Variant(url), Variant(), Variant(), Variant(), Variant()});
}
void CWebB::Stop() {
    InvokeHelper(kStop);
}
void CWebB::Refresh() {
    InvokeHelper(kRefresh);
}
std::string CWebB::GetLocationName() const {
    return Text(GetProperty(kLocationName));
}
std::string CWebB::GetLocationURL() const {
    return Text(GetProperty(kLocationURL));
}
void CWebB::ExecWB(long command, long option) {
    InvokeHelper(kExecWB, {Variant(static_cast<std::int32_t>(command)),
                           Variant(static_cast<std::int32_t>(option)), Variant(), Variant()});
}

}  // namespace orbel
