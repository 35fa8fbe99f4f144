// The entry points of the imaging module: it registers its components under their class IDs
// and makes them for whoever creates them through the registry.
#include <functional>
#include <memory>

#include "platform/automation/ComRuntime.h"
#include "platform/framework/Registration.h"
#include "platform/imaging/ImageViewer.h"
#include "platform/imaging/ImagingIds.h"

using namespace orbel;
using namespace orbel::imaging;

namespace {

std::string ThisModulePath() {
    return ModulePathOf(reinterpret_cast<const void*>(&ThisModulePath));
}

ClassRegistration ViewerRegistration() {
    return ClassRegistration{ParsedGuid(kClsidImgEditText), kImgEditProgId, "Orbel Image Viewer",
                             ThisModulePath()};
}

std::shared_ptr<IUnknown> NewViewer() {
    return std::make_shared<CImageViewer>(MakeViewerSurface());
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    const ClassRegistration viewer = ViewerRegistration();
    return EditDefaultHive(
               [&](platform::RegistryHive& h) { return RegisterObjectClass(h, viewer); })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    const ClassRegistration viewer = ViewerRegistration();
    return EditDefaultHive([&](platform::RegistryHive& h) {
        return UnregisterClass(h, viewer.clsid, viewer.progId);
    })
               ? S_OK
               : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    if (clsid != ParsedGuid(kClsidImgEditText)) return CLASS_E_CLASSNOTAVAILABLE;
    factory = std::make_shared<ModuleClassFactory>(NewViewer);
    return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return COleControl::LiveObjectCount() == 0 ? S_OK : S_FALSE;
}
