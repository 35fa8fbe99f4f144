// The script control as its users reach it: a fresh instance through its interface (language,
// user interface allowed, code, run), the one on the script view's form by dispatch ID.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "platform/automation/Guid.h"

namespace orbel {

inline constexpr const char* kScriptControlClsidText = "{0E59F1D5-1FBE-11D0-8FF2-00A0D10038BC}";
inline constexpr const char* kScriptControlIidText = "{0E59F1D3-1FBE-11D0-8FF2-00A0D10038BC}";

// Dispatch IDs of the control, of its procedure collection and of one procedure.
inline constexpr DISPID kDispidLanguage = 1500;
inline constexpr DISPID kDispidAllowUI = 1504;
inline constexpr DISPID kDispidReset = 2501;
inline constexpr DISPID kDispidAddCode = 2000;
inline constexpr DISPID kDispidProcedures = 1001;
inline constexpr DISPID kDispidCount = 1;
inline constexpr DISPID kDispidItem = 0;
inline constexpr DISPID kDispidName = 0;

// The interface's calls that a fresh instance is driven by, in the order of their places in
// it. A failure's reason, when there is one, is given in `error`.
class IScriptControl : public virtual IDispatch {
  public:
    virtual HRESULT PutLanguage(const std::string& language, std::string* error) = 0;
    virtual HRESULT PutAllowUI(bool allow) = 0;
    virtual HRESULT AddCode(const std::string& code, std::string* error) = 0;
    virtual HRESULT Run(const std::string& procedure, const std::vector<Variant>& args,
                        Variant* result, std::string* error) = 0;
};

}  // namespace orbel
