// The control's hold on an outside imaging component: a child window of its own (with the
// name and ID the control gives it) in which the component, made from its class ID through the
// registry, is activated in place and filled to the window's size. Calls go by dispatch ID.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class CImagingControl {
  public:
    CImagingControl();
    virtual ~CImagingControl();
    CImagingControl(const CImagingControl&) = delete;
    CImagingControl& operator=(const CImagingControl&) = delete;

    // False, with nothing left behind, when the class is not registered or its module cannot
    // make it.
    bool CreateControl(const Guid& clsid, const std::string& name, DWORD style, const RECT& rect,
                       HWND parent, UINT id);
    void DestroyWindow();
    HWND GetSafeHwnd() const;
    bool MoveWindow(const RECT& rect, bool repaint = true);

    // Receives the component's events (one sink); the sink must not hold this wrapper's owner
    // strongly.
    bool Advise(const Guid& eventIid, std::shared_ptr<IDispatch> sink);

  protected:
    Variant GetProperty(DISPID id) const;
    void SetProperty(DISPID id, Variant value);
    Variant InvokeHelper(DISPID id, std::vector<Variant> args = {});

  private:
    class Site;
    std::unique_ptr<Site> site_;
    std::shared_ptr<IDispatch> dispatch_;
    std::shared_ptr<IOleInPlaceObject> inPlace_;
    std::shared_ptr<IConnectionPoint> events_;
    DWORD cookie_ = 0;
};

}  // namespace orbel
