// The entry points of the control module: registration, the class factories and the unload
// test. Only the loadable module carries this file.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/ComRuntime.h"
#include "platform/automation/TypeLib.h"
#include "platform/framework/OleControl.h"
#include "platform/framework/Registration.h"
#include "src/control/OrbelIds.h"
#include "src/control/OrbelPropPage.h"
#include "src/module/ControlObject.h"
#include "src/module/DocumentTemplates.h"
#include "src/module/OrbelApp.h"
#include "src/resources/StringTable.h"
#include "src/resources/TypeLibrary.h"

using namespace orbel;

namespace {

// The application object lives as long as the module is loaded.
struct ModuleLifetime {
    COrbelApp app;
    ModuleLifetime() { app.InitInstance(); }
    ~ModuleLifetime() { app.ExitInstance(); }
};
ModuleLifetime theModule;

std::string ThisModulePath() {
    return ModulePathOf(reinterpret_cast<const void*>(&ThisModulePath));
}

std::shared_ptr<IUnknown> NewPropPage() {
    return std::make_shared<COrbelPropPage>();
}

std::optional<TypeLibRegistration> OrbelTypeLibRegistration() {
    auto lib = ParseTypeLibrary(OrbelTypeLibraryText(), nullptr);
    if (!lib) return std::nullopt;
    TypeLibRegistration r;
    r.libid = lib->libid;
    r.major = static_cast<unsigned short>(lib->major);
    r.minor = static_cast<unsigned short>(lib->minor);
    r.help = lib->help;
    r.modulePath = ThisModulePath();
    for (const auto& i : lib->interfaces) r.interfaces.emplace_back(i.iid, i.name);
    return r;
}

// Components of ours the control relies on, registered and unregistered with it when their
// module sits beside the control's.
constexpr const char* kCompanionModules[] = {"orbel-script.so"};

std::vector<std::string> CompanionPaths() {
    std::vector<std::string> paths;
    const std::string self = ThisModulePath();
    const std::string dir = self.substr(0, self.find_last_of('/') + 1);
    for (const char* name : kCompanionModules)
        if (std::error_code ec; std::filesystem::exists(dir + name, ec))
            paths.push_back(dir + name);
    return paths;
}

// Installed, the templates lie at a fixed place from the module; a module of the build tree
// takes the ones its build made.
std::string TemplatesDirectory() {
    const std::filesystem::path installed =
        std::filesystem::path(ThisModulePath()).parent_path() / ORBEL_TEMPLATES_FROM_MODULE;
    std::error_code ec;
    if (std::filesystem::exists(installed / kBlankPageTemplate, ec))
        return installed.lexically_normal().string();
    return ORBEL_BUILT_TEMPLATES;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    auto lib = OrbelTypeLibRegistration();
    if (!lib ||
        !EditDefaultHive([&](platform::RegistryHive& h) { return RegisterTypeLib(h, *lib); }))
        return SELFREG_E_TYPELIB;
    const std::string path = ThisModulePath();
    ControlRegistration control{
        ClsidOrbel(),     kOrbelProgId, LoadString(IDS_ORBEL), path,          1,
        kOrbelMiscStatus, LibidOrbel(), kTypeLibMajor,         kTypeLibMinor, false};
    ClassRegistration page{ClsidOrbelPropPage(), kOrbelPropPageProgId, LoadString(IDS_ORBEL_PPG),
                           path};
    bool ok = EditDefaultHive([&](platform::RegistryHive& h) {
        return RegisterControlClass(h, control) && RegisterPropertyPageClass(h, page) &&
               RegisterDocumentTemplates(h, TemplatesDirectory());
    });
    for (const std::string& companion : CompanionPaths())
        ok = ok && RegisterModule(companion) == S_OK;
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    auto lib = OrbelTypeLibRegistration();
    if (!lib ||
        !EditDefaultHive([&](platform::RegistryHive& h) { return UnregisterTypeLib(h, *lib); }))
        return SELFREG_E_TYPELIB;
    bool ok = EditDefaultHive([&](platform::RegistryHive& h) {
        return UnregisterClass(h, ClsidOrbel(), kOrbelProgId) &&
               UnregisterClass(h, ClsidOrbelPropPage(), kOrbelPropPageProgId) &&
               UnregisterDocumentTemplates(h, TemplatesDirectory());
    });
    for (const std::string& companion : CompanionPaths())
        ok = ok && UnregisterModule(companion) == S_OK;
    return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(
    const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    if (clsid == ClsidOrbel())
        factory = std::make_shared<ModuleClassFactory>(NewOrbelControl);
    else if (clsid == ClsidOrbelPropPage())
        factory = std::make_shared<ModuleClassFactory>(NewPropPage);
    else
        return CLASS_E_CLASSNOTAVAILABLE;
    return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return COleControl::LiveObjectCount() == 0 ? S_OK : S_FALSE;
}

extern "C" __attribute__((visibility("default"))) const char* DllGetTypeLibText() {
    static const std::string text(OrbelTypeLibraryText());
    return text.c_str();
}
