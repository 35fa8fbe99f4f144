// The entry points of the web browser module: it registers the browser under its class ID and
// makes one for whoever creates it through the registry.
#include <memory>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/browser/BrowserIds.h"
#include "platform/browser/WebBrowser.h"
#include "platform/framework/Registration.h"

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
    const ClassRegistration r = BrowserRegistration();
    return EditDefaultHive([&](platform::RegistryHive& h) { return RegisterObjectClass(h, r); })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    const ClassRegistration r = BrowserRegistration();
    return EditDefaultHive(
               [&](platform::RegistryHive& h) { return UnregisterClass(h, r.clsid, r.progId); })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    if (clsid != *Guid::Parse(kClsidText)) return CLASS_E_CLASSNOTAVAILABLE;
    factory = std::make_shared<ModuleClassFactory>(NewBrowser);
    return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return COleControl::LiveObjectCount() == 0 ? S_OK : S_FALSE;
}
