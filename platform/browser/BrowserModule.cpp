// The entry points of the web browser module: it registers the browser under its class ID and
// makes one for whoever creates it through the registry.
#include <memory>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/browser/BrowserIds.h"
#include "platform/browser/WebBrowser.h"
#include "platform/framework/ModuleEntryPoints.h"

using namespace orbel;
using namespace orbel::browser;

namespace {

std::string ThisModulePath() {
    return ModulePathOf(reinterpret_cast<const void*>(&ThisModulePath));
}

ClassRegistration BrowserRegistration() {
    return ClassRegistration{*Guid::Parse(kClsidText), kProgId, "Orbel Web Browser",
                             ThisModulePath()};
}

// Each browser is reachable as the running one while it lives, for whoever plays the person at
// it (a test, the test container).
std::shared_ptr<IUnknown> NewBrowser() {
    auto browser = std::make_shared<CWebBrowser>(MakeBrowserEngine());
    RegisterActiveObject(kProgId, browser);
    return browser;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return RegisterModuleClass(BrowserRegistration());
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return UnregisterModuleClass(BrowserRegistration());
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    return ModuleClassObject(*Guid::Parse(kClsidText), clsid, NewBrowser, factory);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return COleControl::LiveObjectCount() == 0 ? S_OK : S_FALSE;
}
