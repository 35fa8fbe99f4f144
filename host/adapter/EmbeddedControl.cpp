#include "host/adapter/EmbeddedControl.h"

#include "host/adapter/HostAdapter.h"
#include "platform/automation/ComRuntime.h"

namespace orbel::host {

bool EmbeddedControl::CreateObjectOf(const Options& options, std::string& error) {
    Guid clsid;
    const bool always = options.registration == Registration::Always && !options.modulePath.empty();
    HRESULT hr = always ? REGDB_E_CLASSNOTREG : CLSIDFromProgID(kOrbelProgId, clsid);
    if (hr == S_OK) hr = CreateObject(kOrbelProgId, object_);
    // Not registered yet, registered from a module that is no longer there, or to be registered
    // afresh from the host's own module.
    const bool unregistered =
        hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG || hr == CO_E_DLLNOTFOUND;
    if (unregistered && !options.modulePath.empty()) {
        std::string why;
        if (RegisterModule(options.modulePath, &why) != S_OK) {
            error = "cannot register " + options.modulePath + ": " + why;
            return false;
        }
        hr = CreateObject(kOrbelProgId, object_);
    }
    if (hr != S_OK) {
        error = std::string("cannot create ") + kOrbelProgId + ": " + ComErrorText(hr);
        return false;
    }
    dispatch_ = std::dynamic_pointer_cast<IDispatch>(object_);
    if (!dispatch_ || !std::dynamic_pointer_cast<IConnectionPointContainer>(object_) ||
        !std::dynamic_pointer_cast<IOleInPlaceObject>(object_)) {
        error = std::string(kOrbelProgId) + " is not a control";
        return false;
    }
    return true;
}

bool EmbeddedControl::LoadTypeLibrary(std::string& error) {
    Guid clsid;
    TypeLibrary library;
    std::string why;
    if (CLSIDFromProgID(kOrbelProgId, clsid) != S_OK ||
        LoadClassTypeLib(clsid, library, &why) != S_OK) {
        error = std::string("no type library for ") + kOrbelProgId + " " + why;
        return false;
    }
    const TypeLibCoclass* coclass = nullptr;
    for (const TypeLibCoclass& c : library.coclasses)
        if (c.clsid == clsid) coclass = &c;
    const TypeLibInterface* dispatch =
        coclass ? library.FindInterface(coclass->defaultInterface) : nullptr;
    const TypeLibInterface* events =
        coclass ? library.FindInterface(coclass->defaultSource) : nullptr;
    if (!dispatch || !events) {
        error = std::string("the type library does not describe ") + kOrbelProgId;
        return false;
    }
    interface_ = *dispatch;
    for (const TypeLibMember& m : events->members) eventNames_[m.id] = m.name;
    eventNames_.emplace(kSelectAttachmentEvent, "SelectAttachment");
    auto points = std::dynamic_pointer_cast<IConnectionPointContainer>(object_);
    events_ = points->FindConnectionPoint(events->iid);
    if (!events_) {
        error = std::string(kOrbelProgId) + " has no connection point for its events";
        return false;
    }
    return true;
}

bool EmbeddedControl::Create(HWND parent, const RECT& rect, std::shared_ptr<IDispatch> sink,
                             const Options& options, std::string& error) {
    Destroy();
    if (!CreateObjectOf(options, error) || !LoadTypeLibrary(error)) {
        Destroy();
        return false;
    }
    auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object_);
    if (inplace->InPlaceActivate(parent, rect, window_) != S_OK) {
        error = "the control did not open its window";
        Destroy();
        return false;
    }
    if (sink && events_->Advise(std::move(sink), cookie_) != S_OK) {
        error = "the control takes no event sink";
        Destroy();
        return false;
    }
    return true;
}

void EmbeddedControl::Destroy() {
    if (events_ && cookie_) events_->Unadvise(cookie_);
    cookie_ = 0;
    events_.reset();
    if (auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object_))
        inplace->InPlaceDeactivate();
    window_ = kNoWindow;
    dispatch_.reset();
    object_.reset();
    interface_ = {};
    eventNames_.clear();
}

void EmbeddedControl::Resize(const RECT& rect) {
    if (auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object_))
        inplace->SetObjectRects(rect);
}

}  // namespace orbel::host
