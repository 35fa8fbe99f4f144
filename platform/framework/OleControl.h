// The framework's base for a control: a window that a host activates in place, a dispatch
// interface run from the control's dispatch table, and one outgoing event interface whose
// sinks the host advises.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "platform/framework/DispatchMap.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class COleControl : public CWnd,
                    public IDispatch,
                    public IConnectionPointContainer,
                    public IOleInPlaceObject,
                    public std::enable_shared_from_this<COleControl> {
  public:
    COleControl();
    ~COleControl() override;

    // IDispatch
    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;
    // IConnectionPointContainer: the event interface's connection point.
    std::shared_ptr<IConnectionPoint> FindConnectionPoint(const Guid& iid) override;
    // IOleInPlaceObject
    HRESULT InPlaceActivate(HWND parent, const RECT& rect, HWND& window) override;
    HRESULT SetObjectRects(const RECT& rect) override;
    HRESULT InPlaceDeactivate() override;

    const DispatchMap& GetDispatchMap() const { return dispatchMap_; }
    const std::vector<EventEntry>& GetEventMap() const { return eventMap_; }
    bool IsModified() const { return modified_; }
    std::size_t SinkCount() const;
    // Controls alive in this process: a module may be unloaded only when none is.
    static long LiveObjectCount();

  protected:
    // Calls every advised sink with the event, in the order they were advised. A sink may
    // call back into the control.
    void FireEvent(DISPID id, std::vector<Variant> args);
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    // Set up by the derived control's constructor.
    void InitializeIIDs(const Guid& dispatchIid, const Guid& eventIid);
    DispatchMap& MutableDispatchMap() { return dispatchMap_; }
    void AddEvent(EventEntry entry) { eventMap_.push_back(std::move(entry)); }

    // The window class name of the control's window.
    virtual std::string WindowClassName() const = 0;
    // The host's drawing request: the control paints through its children.
    virtual void OnDraw(const RECT& bounds, const RECT& invalid);
    void OnPaint() override;

  private:
    class EventConnectionPoint;
    DispatchMap dispatchMap_;
    std::vector<EventEntry> eventMap_;
    Guid dispatchIid_;
    Guid eventIid_;
    std::shared_ptr<EventConnectionPoint> events_;
    bool modified_ = false;
};

}  // namespace orbel
