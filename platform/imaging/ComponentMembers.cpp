#include "platform/imaging/ComponentMembers.h"

#include "platform/automation/Dispatch.h"
#include "platform/text/AsciiCase.h"

namespace orbel::imaging {

HRESULT DumpIdOfName(std::string_view name, DISPID& id) {
    constexpr DISPID kDumpId = 1000;
    if (!EqualsIgnoringAsciiCase(name, "Dump")) return DISP_E_UNKNOWNNAME;
    id = kDumpId;
    return S_OK;
}

std::optional<long> LongArg(std::span<const Variant> args, std::size_t i) {
    if (i >= args.size() || args[i].IsMissing()) return std::nullopt;
    auto v = args[i].ChangeType(VarType::I4);
    if (!v) return std::nullopt;
    return v->I4();
}

}  // namespace orbel::imaging
