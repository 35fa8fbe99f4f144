// The entry points of a spreadsheet module: it registers the application under the program's
// ProgID, and each application it makes, on the module's program, is reachable as the running
// one while it lives.
#include <memory>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Registration.h"
#include "platform/spreadsheet/ModuleProgram.h"
#include "platform/spreadsheet/SpreadsheetApp.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

using namespace orbel;
using namespace orbel::spreadsheet;

namespace {

std::string ThisModulePath() {
    return ModulePathOf(reinterpret_cast<const void*>(&ThisModulePath));
}

ClassRegistration AppRegistration() {
    return ClassRegistration{*Guid::Parse(kModuleProgram.clsid), kProgId,
                             kModuleProgram.description, ThisModulePath()};
}

std::shared_ptr<IUnknown> NewApp() {
    std::unique_ptr<SpreadsheetProgram> program = kModuleProgram.start();
    if (!program) return nullptr;
    auto app = std::make_shared<CSpreadsheetApp>(std::move(program));
    RegisterActiveObject(kProgId, app);
    return app;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    const ClassRegistration r = AppRegistration();
    return EditDefaultHive([&](platform::RegistryHive& h) { return RegisterObjectClass(h, r); })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    const ClassRegistration r = AppRegistration();
    return EditDefaultHive(
               [&](platform::RegistryHive& h) { return UnregisterClass(h, r.clsid, r.progId); })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    if (clsid != *Guid::Parse(kModuleProgram.clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    factory = std::make_shared<ModuleClassFactory>(NewApp);
    return S_OK;
}
