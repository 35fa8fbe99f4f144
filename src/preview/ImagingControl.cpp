#include "src/preview/ImagingControl.h"

#include "platform/automation/ComRuntime.h"

namespace orbel {

// The window the component lives in; the component follows its size.
class CImagingControl::Site final : public CWnd {
  public:
    std::shared_ptr<IOleInPlaceObject> inPlace;

  protected:
    void OnSize(int cx, int cy) override {
        if (inPlace) inPlace->SetObjectRects(RECT{0, 0, cx, cy});
    }
};

CImagingControl::CImagingControl() = default;

CImagingControl::~CImagingControl() {
    DestroyWindow();
}

bool CImagingControl::CreateControl(const Guid& clsid, const std::string& name, DWORD style,
                                    const RECT& rect, HWND parent, UINT id) {
    DestroyWindow();
    std::shared_ptr<IUnknown> object;
    if (FAILED(CoCreateInstance(clsid, object))) return false;
    auto dispatch = std::dynamic_pointer_cast<IDispatch>(object);
    auto inPlace = std::dynamic_pointer_cast<IOleInPlaceObject>(object);
    if (!dispatch || !inPlace) return false;
    auto site = std::make_unique<Site>();
    if (!site->Create("ImagingControlSite", name, style, rect, parent, id)) return false;
    HWND window = kNoWindow;
    const RECT inner{0, 0, rect.Width(), rect.Height()};
    if (inPlace->InPlaceActivate(site->GetSafeHwnd(), inner, window) != S_OK) {
        site->DestroyWindow();
        return false;
    }
    site->inPlace = inPlace;
    site_ = std::move(site);
    dispatch_ = std::move(dispatch);
    inPlace_ = std::move(inPlace);
    return true;
}

void CImagingControl::DestroyWindow() {
    if (events_ && cookie_) events_->Unadvise(cookie_);
    events_.reset();
    if (inPlace_) inPlace_->InPlaceDeactivate();
    if (site_) site_->DestroyWindow();
    site_.reset();
    inPlace_.reset();
    dispatch_.reset();
    cookie_ = 0;
}

HWND CImagingControl::GetSafeHwnd() const {
    return site_ ? site_->GetSafeHwnd() : kNoWindow;
}

bool CImagingControl::MoveWindow(const RECT& rect, bool repaint) {
    return site_ && site_->MoveWindow(rect, repaint);
}

bool CImagingControl::Advise(const Guid& eventIid, std::shared_ptr<IDispatch> sink) {
    auto container = std::dynamic_pointer_cast<IConnectionPointContainer>(dispatch_);
    if (!container || events_) return false;
    events_ = container->FindConnectionPoint(eventIid);
    if (!events_ || events_->Advise(std::move(sink), cookie_) != S_OK) {
        events_.reset();
        return false;
    }
    return true;
}

Variant CImagingControl::GetProperty(DISPID id) const {
    Variant result;
    if (dispatch_) dispatch_->Invoke(id, InvokeKind::PropertyGet, {}, &result);
    return result;
}

void CImagingControl::SetProperty(DISPID id, Variant value) {
    if (dispatch_) dispatch_->Invoke(id, InvokeKind::PropertyPut, std::span(&value, 1), nullptr);
}

Variant CImagingControl::InvokeHelper(DISPID id, std::vector<Variant> args) {
    Variant result;
    if (dispatch_) dispatch_->Invoke(id, InvokeKind::Method, args, &result);
    return result;
}

}  // namespace orbel
