// The entry points of a spreadsheet module: it registers the application under the program's
// ProgID, and each application it makes, on the module's program, is reachable as the running
// one while it lives.
#include <memory>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/ModuleEntryPoints.h"
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
    return RegisterModuleClass(AppRegistration());
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return UnregisterModuleClass(AppRegistration());
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    return ModuleClassObject(*Guid::Parse(kModuleProgram.clsid), clsid, NewApp, factory);
}
