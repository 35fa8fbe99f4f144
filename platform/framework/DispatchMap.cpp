#include "platform/framework/DispatchMap.h"

#include "platform/text/AsciiCase.h"

namespace orbel {

const DispatchEntry* DispatchMap::Find(DISPID id) const {
    for (const DispatchEntry& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

const DispatchEntry* DispatchMap::Find(std::string_view name) const {
    for (const DispatchEntry& e : entries_)
        if (EqualsIgnoringAsciiCase(e.name, name)) return &e;
    return nullptr;
}

HRESULT DispatchMap::Invoke(DISPID id, bool propertyGet, bool propertyPut,
                            std::span<const Variant> args, Variant* result) const {
    const DispatchEntry* e = Find(id);
    if (!e) return DISP_E_MEMBERNOTFOUND;
    if (e->kind == DispatchEntry::Kind::Property) {
        if (!propertyGet && !propertyPut) return DISP_E_MEMBERNOTFOUND;
        if (!e->Implemented()) return E_NOTIMPL;
        if (propertyGet) {
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            if (result) *result = e->get();
            return S_OK;
        }
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        if (args[0].IsMissing()) return DISP_E_PARAMNOTFOUND;
        auto value = args[0].ChangeType(*e->type);
        if (!value) return DISP_E_TYPEMISMATCH;
        e->put(*value);
        return S_OK;
    }
    if (propertyGet || propertyPut) return DISP_E_MEMBERNOTFOUND;
    if (args.size() != e->params.size()) return DISP_E_BADPARAMCOUNT;
    std::vector<Variant> coerced;
    coerced.reserve(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].IsMissing()) return DISP_E_PARAMNOTFOUND;
        auto value = args[i].ChangeType(e->params[i]);
        if (!value) return DISP_E_TYPEMISMATCH;
        coerced.push_back(std::move(*value));
    }
    if (!e->call) return E_NOTIMPL;
    Variant r = e->call(coerced);
    if (result) *result = std::move(r);
    return S_OK;
}

}  // namespace orbel
