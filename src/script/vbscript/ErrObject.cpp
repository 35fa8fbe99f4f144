#include "src/script/vbscript/ErrObject.h"

#include <optional>

#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

enum : DISPID { kNumber = 0, kDescription = 1, kSource = 2, kRaise = 3, kClear = 4 };

std::optional<std::int32_t> NumberOf(const Variant& v) {
    auto n = v.ChangeType(VarType::I4);
    if (!n) return std::nullopt;
    return n->I4();
}

}  // namespace

HRESULT ErrObject::GetIDsOfNames(std::string_view name, DISPID& id) {
    static const char* const kNames[] = {"number", "description", "source", "raise", "clear"};
    for (DISPID i = 0; i < 5; ++i) {
        if (EqualsNoCase(name, kNames[i])) {
            id = i;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT ErrObject::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                          Variant* result) {
    if (id == kRaise || id == kClear) {
        if (kind == InvokeKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
        if (id == kClear) {
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            Clear();
            return S_OK;
        }
        if (args.empty() || args.size() > 5) return DISP_E_BADPARAMCOUNT;
        auto number = NumberOf(args[0]);
        if (!number) return DISP_E_TYPEMISMATCH;
        auto text = [&](std::size_t i) -> std::optional<std::string> {
            if (args.size() <= i || args[i].IsMissing() || args[i].IsEmpty()) return std::nullopt;
            auto s = args[i].ChangeType(VarType::BStr);
            return s ? std::optional<std::string>(s->BStr()) : std::nullopt;
        };
        number_ = *number;
        source_ = text(1).value_or("");
        description_ = text(2).value_or(ErrorDescription(*number));
        throw ScriptError(number_, description_);
    }
    if (kind == InvokeKind::PropertyPut) {
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        if (id == kNumber) {
            auto number = NumberOf(args[0]);
            if (!number) return DISP_E_TYPEMISMATCH;
            number_ = *number;
            return S_OK;
        }
        auto s = args[0].ChangeType(VarType::BStr);
        if (!s) return DISP_E_TYPEMISMATCH;
        (id == kDescription ? description_ : source_) = s->BStr();
        return S_OK;
    }
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    if (result) {
        if (id == kNumber)
            *result = Variant(number_);
        else
            *result = Variant(id == kDescription ? description_ : source_);
    }
    return S_OK;
}

void ErrObject::Set(const ScriptError& error) {
    number_ = error.Number();
    description_ = error.Description();
}

void ErrObject::Clear() {
    number_ = 0;
    description_.clear();
    source_.clear();
}

}  // namespace orbel::vbs
