// The object model a host and a control meet through: interfaces queried by cast, a dispatch
// interface invoked by DISPID or by name, connection points for outgoing events, class
// factories. Objects are shared; a sink must not hold its source strongly.
#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Win.h"
#include "platform/automation/Guid.h"
#include "platform/automation/Variant.h"

namespace orbel {

class IUnknown {
  public:
    virtual ~IUnknown();
};

enum class InvokeKind { Method, PropertyGet, PropertyPut };

class IDispatch : public virtual IUnknown {
  public:
    virtual HRESULT GetIDsOfNames(std::string_view name, DISPID& id) = 0;
    // Arguments in declaration order (not reversed). A property put takes one argument.
    virtual HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                           Variant* result) = 0;
};

class IConnectionPoint : public virtual IUnknown {
  public:
    virtual HRESULT Advise(std::shared_ptr<IDispatch> sink, DWORD& cookie) = 0;
    virtual HRESULT Unadvise(DWORD cookie) = 0;
};

class IConnectionPointContainer : public virtual IUnknown {
  public:
    virtual std::shared_ptr<IConnectionPoint> FindConnectionPoint(const Guid& iid) = 0;
};

// In-place activation of a control in a host window.
class IOleInPlaceObject : public virtual IUnknown {
  public:
    virtual HRESULT InPlaceActivate(HWND parent, const RECT& rect, HWND& window) = 0;
    virtual HRESULT SetObjectRects(const RECT& rect) = 0;
    virtual HRESULT InPlaceDeactivate() = 0;
};

class IClassFactory : public virtual IUnknown {
  public:
    virtual HRESULT CreateInstance(std::shared_ptr<IUnknown>& object) = 0;
};

// Convenience calls over IDispatch, for hosts and tests.
HRESULT InvokeByName(IDispatch& object, std::string_view name, InvokeKind kind,
                     std::vector<Variant> args, Variant* result);

}  // namespace orbel
