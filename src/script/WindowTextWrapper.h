// The window-text wrapper that generated scripts create by ProgID to set and read the fields of
// the host's windows. This one keeps the texts itself, one per window handle, for the life of
// the process, and tells each call as an outside effect, so that a host sees what a script did
// to its fields.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/automation/Dispatch.h"

namespace orbel {

inline constexpr const char* kWindowTextWrapperProgId = "Halvord_Win32_Wrapper.Call";
inline constexpr const char* kWindowTextWrapperClsidText = "{48F5D7AC-C1C7-4569-BFF2-AEB1D512311C}";

class CWindowTextWrapper final : public IDispatch {
  public:
    static constexpr DISPID kDispidSetWindowText = 1;
    static constexpr DISPID kDispidGetWindowText = 2;

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    // The texts every wrapper of the process keeps, by handle.
    static std::map<std::int32_t, std::string>& Texts();
};

}  // namespace orbel
