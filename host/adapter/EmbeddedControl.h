// The control in a host's window in one call: registers the control module when the class is
// not registered (or always, when asked), creates the control by its ProgID, activates it in
// the parent window and connects the host's event sink to the control's event interface.
// Taking it down undoes the same steps in reverse. The event names and the dispatch interface
// come from the type library the class registered, as a late-binding host reads them.
//
// Not for: answering the control (the host adapter does that) or the window around it.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/wrapper/OrbelWrapper.h"
#include "platform/Win.h"
#include "platform/automation/TypeLib.h"

namespace orbel::host {

inline constexpr const char* kOrbelProgId = "ORBEL.OrbelCtrl.1";

class EmbeddedControl {
  public:
    enum class Registration {
        IfMissing,  // register the module only when the ProgID does not create the control
        Always,     // this module becomes the registered one, whatever was registered before
    };
    struct Options {
        std::string modulePath;  // the control module to register; empty: use what is registered
        Registration registration = Registration::IfMissing;
    };

    EmbeddedControl() = default;
    ~EmbeddedControl() { Destroy(); }
    EmbeddedControl(const EmbeddedControl&) = delete;
    EmbeddedControl& operator=(const EmbeddedControl&) = delete;

    // Creates the control in `parent` at `rect` and connects `sink` (which may be null: then
    // nobody hears the events). False with `error` saying which step failed; nothing is left
    // half made then.
    bool Create(HWND parent, const RECT& rect, std::shared_ptr<IDispatch> sink,
                const Options& options, std::string& error);
    // Disconnects the sink and takes the control down; harmless when nothing was created.
    void Destroy();

    bool Created() const { return dispatch_ != nullptr; }
    const std::shared_ptr<IUnknown>& Object() const { return object_; }
    const std::shared_ptr<IDispatch>& Dispatch() const { return dispatch_; }
    // The typed calls; calls on a control not created fail with E_POINTER.
    COrbelWrapper Control() const { return COrbelWrapper(dispatch_); }
    HWND Window() const { return window_; }
    void Resize(const RECT& rect);

    // The control's dispatch interface and its event names by DISPID, from its type library.
    const TypeLibInterface& Interface() const { return interface_; }
    const std::map<DISPID, std::string>& EventNames() const { return eventNames_; }

  private:
    bool CreateObjectOf(const Options& options, std::string& error);
    bool LoadTypeLibrary(std::string& error);

    std::shared_ptr<IUnknown> object_;
    std::shared_ptr<IDispatch> dispatch_;
    std::shared_ptr<IConnectionPoint> events_;
    DWORD cookie_ = 0;
    HWND window_;
    TypeLibInterface interface_;
    std::map<DISPID, std::string> eventNames_;
};

}  // namespace orbel::host
