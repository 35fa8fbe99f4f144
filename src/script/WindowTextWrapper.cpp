#include "src/script/WindowTextWrapper.h"

#include <strings.h>

#include "platform/EffectLog.h"

namespace orbel {

std::map<std::int32_t, std::string>& CWindowTextWrapper::Texts() {
    static std::map<std::int32_t, std::string> texts;
    return texts;
}

HRESULT CWindowTextWrapper::GetIDsOfNames(std::string_view name, DISPID& id) {
    auto is = [&](std::string_view member) {
        return name.size() == member.size() &&
               strncasecmp(name.data(), member.data(), name.size()) == 0;
    };
    if (is("rSetWindowText")) {
        id = kDispidSetWindowText;
    } else if (is("rGetWindowText")) {
        id = kDispidGetWindowText;
    } else {
        return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
}

HRESULT CWindowTextWrapper::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                                   Variant* result) {
    if (kind == InvokeKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
    const std::size_t wanted = id == kDispidSetWindowText ? 2 : 1;
    if (id != kDispidSetWindowText && id != kDispidGetWindowText) return DISP_E_MEMBERNOTFOUND;
    if (args.size() != wanted) return DISP_E_BADPARAMCOUNT;
    const auto handle = args[0].ChangeType(VarType::I4);
    if (!handle) return DISP_E_TYPEMISMATCH;
    const std::string call = "(" + std::to_string(handle->I4());
    if (id == kDispidSetWindowText) {
        const auto text = args[1].ChangeType(VarType::BStr);
        if (!text) return DISP_E_TYPEMISMATCH;
        Texts()[handle->I4()] = text->BStr();
        platform::RecordEffect(std::string(kWindowTextWrapperProgId) + " rSetWindowText" + call +
                               ", " + QuoteString(text->BStr()) + ")");
        if (result) *result = Variant();
        return S_OK;
    }
    auto it = Texts().find(handle->I4());
    const std::string text = it == Texts().end() ? std::string() : it->second;
    platform::RecordEffect(std::string(kWindowTextWrapperProgId) + " rGetWindowText" + call +
                           ") -> " + QuoteString(text));
    if (result) *result = Variant(text);
    return S_OK;
}

}  // namespace orbel
