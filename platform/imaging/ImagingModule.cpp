// The entry points of the imaging module: it registers its components under their class IDs
// and makes them for whoever creates them through the registry.
#include <functional>
#include <memory>
#include <vector>

#include "platform/automation/ComRuntime.h"
#include "platform/framework/Registration.h"
#include "platform/imaging/ImageAdmin.h"
#include "platform/imaging/ImageScan.h"
#include "platform/imaging/ImageViewer.h"
#include "platform/imaging/ImagingIds.h"

using namespace orbel;
using namespace orbel::imaging;

namespace {

std::string ThisModulePath() {
    return ModulePathOf(reinterpret_cast<const void*>(&ThisModulePath));
}

struct Component {
    const char* clsid;
    const char* progId;
    const char* name;
    std::shared_ptr<IUnknown> (*make)();
};

const std::vector<Component>& Components() {
    static const std::vector<Component> components{
        {kClsidImgEditText, kImgEditProgId, "Orbel Image Viewer",
         []() -> std::shared_ptr<IUnknown> {
             return std::make_shared<CImageViewer>(MakeViewerSurface());
         }},
        {kClsidImgAdminText, kImgAdminProgId, "Orbel Image Print Administrator",
         []() -> std::shared_ptr<IUnknown> {
             return std::make_shared<CImageAdmin>(MakePagePrinter());
         }},
        {kClsidImgScanText, kImgScanProgId, "Orbel Scanner",
         []() -> std::shared_ptr<IUnknown> { return std::make_shared<CImageScan>(); }},
    };
    return components;
}

ClassRegistration RegistrationOf(const Component& c) {
    return ClassRegistration{ParsedGuid(c.clsid), c.progId, c.name, ThisModulePath()};
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return EditDefaultHive([&](platform::RegistryHive& h) {
        for (const Component& c : Components())
            if (!RegisterObjectClass(h, RegistrationOf(c))) return false;
        return true;
    })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return EditDefaultHive([&](platform::RegistryHive& h) {
        bool done = true;
        for (const Component& c : Components())
            done = UnregisterClass(h, ParsedGuid(c.clsid), c.progId) && done;
        return done;
    })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    for (const Component& c : Components()) {
        if (clsid != ParsedGuid(c.clsid)) continue;
        factory = std::make_shared<ModuleClassFactory>(c.make);
        return S_OK;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return COleControl::LiveObjectCount() == 0 ? S_OK : S_FALSE;
}
