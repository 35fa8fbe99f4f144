// Objects that make themselves known while they run, by ProgID, so that another part of the
// process (a test container acting as the person at the other program) can reach the instance
// the control started. Only a weak hold: an object leaves the table when its last user lets go.
#pragma once

#include <memory>
#include <string_view>

#include "platform/automation/Dispatch.h"

namespace orbel {

void RegisterActiveObject(std::string_view progId, const std::shared_ptr<IDispatch>& object);
// The latest running object registered under the ProgID; null when none is alive.
std::shared_ptr<IDispatch> GetActiveObject(std::string_view progId);

// What Invoke answers when the call raised an exception that ExcepInfo describes.
inline constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);

// What a failed call raised when the object says more than a status: the error code and the
// description its program gave. Invoke answers DISP_E_EXCEPTION and the caller asks for this.
struct ExcepInfo {
    HRESULT scode = 0;
    std::string description;
};

class IExcepInfoSource : public virtual IUnknown {
  public:
    // The exception of the last call that answered DISP_E_EXCEPTION, taken once.
    virtual ExcepInfo TakeExcepInfo() = 0;
};

}  // namespace orbel
