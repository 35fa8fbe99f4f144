// The entry points of the script component module: registration of the script control and the
// window-text wrapper, and their class factories.
#include <memory>

#include "platform/Platform.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Registration.h"
#include "src/script/ScriptControlObject.h"
#include "src/script/WindowTextWrapper.h"

using namespace orbel;

namespace {

constexpr const char* kScriptControlProgId = "OrbelScript.ScriptControl.1";
constexpr const char* kScriptControlName = "Orbel script control";
constexpr const char* kWrapperName = "Orbel window-text wrapper";

std::string ThisModulePath() {
    return ModulePathOf(reinterpret_cast<const void*>(&ThisModulePath));
}

std::shared_ptr<IUnknown> NewScriptControl() {
    return std::make_shared<CScriptControlObject>();
}

std::shared_ptr<IUnknown> NewWrapper() {
    return std::make_shared<CWindowTextWrapper>();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    const std::string path = ThisModulePath();
    ClassRegistration control{*Guid::Parse(kScriptControlClsidText), kScriptControlProgId,
                              kScriptControlName, path};
    ClassRegistration wrapper{*Guid::Parse(kWindowTextWrapperClsidText), kWindowTextWrapperProgId,
                              kWrapperName, path};
    const bool ok = EditDefaultHive([&](platform::RegistryHive& h) {
        return RegisterObjectClass(h, control) && RegisterObjectClass(h, wrapper);
    });
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    const bool ok = EditDefaultHive([&](platform::RegistryHive& h) {
        return UnregisterClass(h, *Guid::Parse(kScriptControlClsidText), kScriptControlProgId) &&
               UnregisterClass(h, *Guid::Parse(kWindowTextWrapperClsidText),
                               kWindowTextWrapperProgId);
    });
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    if (clsid == *Guid::Parse(kScriptControlClsidText))
        factory = std::make_shared<ModuleClassFactory>(NewScriptControl);
    else if (clsid == *Guid::Parse(kWindowTextWrapperClsidText))
        factory = std::make_shared<ModuleClassFactory>(NewWrapper);
    else
        return CLASS_E_CLASSNOTAVAILABLE;
    return S_OK;
}
