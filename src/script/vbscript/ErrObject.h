// The script's Err object: the last error caught under On Error Resume Next, and Raise.
#pragma once

#include <string>

#include "platform/automation/Dispatch.h"
#include "src/script/vbscript/Errors.h"

namespace orbel::vbs {

class ErrObject : public IDispatch {
  public:
    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    // Raise throws the ScriptError it describes; only the engine calls this object.
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    void Set(const ScriptError& error);
    void Clear();
    std::int32_t Number() const { return number_; }

  private:
    std::int32_t number_ = 0;
    std::string description_;
    std::string source_;
};

}  // namespace orbel::vbs
