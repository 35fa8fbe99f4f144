#include "platform/framework/Registration.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/framework/ModuleEntryPoints.h"

namespace orbel {

using platform::RegValue;

namespace {
const char* const kClassesRoot = "HKEY_CLASSES_ROOT\\";
// The standard marshaller of dispatch interfaces.
const char* const kDispatchProxyStub = "{00020420-0000-0000-C000-000000000046}";

std::string Version(unsigned short major, unsigned short minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

bool Set(platform::RegistryHive& hive, const std::string& key, const std::string& name,
         const std::string& value) {
    return hive.SetValue(kClassesRoot + key, name, RegValue::String(value));
}

// Removes `key` and then each parent up to `stopAt` that has been left empty.
void DeleteAndPrune(platform::RegistryHive& hive, std::string key, const std::string& stopAt) {
    hive.DeleteKeyTree(kClassesRoot + key);
    while (true) {
        auto cut = key.rfind('\\');
        if (cut == std::string::npos) return;
        key.resize(cut);
        if (key == stopAt) return;
        const std::string full = kClassesRoot + key;
        if (!hive.EnumKeys(full).empty() || !hive.EnumValues(full).empty()) return;
        hive.DeleteKeyTree(full);
    }
}
}  // namespace

bool RegisterTypeLib(platform::RegistryHive& hive, const TypeLibRegistration& r) {
    const std::string lib = "TypeLib\\" + r.libid.ToString() + "\\" + Version(r.major, r.minor);
    std::string helpDir = std::filesystem::path(r.modulePath).parent_path().string();
    bool ok = Set(hive, lib, "", r.help) && Set(hive, lib + "\\0\\win32", "", r.modulePath) &&
              Set(hive, lib + "\\FLAGS", "", "2") && Set(hive, lib + "\\HELPDIR", "", helpDir);
    for (const auto& [iid, name] : r.interfaces) {
        const std::string key = "Interface\\" + iid.ToString();
        ok = ok && Set(hive, key, "", name) &&
             Set(hive, key + "\\ProxyStubClsid", "", kDispatchProxyStub) &&
             Set(hive, key + "\\ProxyStubClsid32", "", kDispatchProxyStub) &&
             Set(hive, key + "\\TypeLib", "", r.libid.ToString()) &&
             Set(hive, key + "\\TypeLib", "Version", Version(r.major, r.minor));
    }
    return ok;
}

bool UnregisterTypeLib(platform::RegistryHive& hive, const TypeLibRegistration& r) {
    for (const auto& [iid, name] : r.interfaces)
        hive.DeleteKeyTree(kClassesRoot + std::string("Interface\\") + iid.ToString());
    DeleteAndPrune(hive, "TypeLib\\" + r.libid.ToString() + "\\" + Version(r.major, r.minor),
                   "TypeLib");
    return true;
}

bool RegisterControlClass(platform::RegistryHive& hive, const ControlRegistration& r) {
    const std::string cls = "CLSID\\" + r.clsid.ToString();
    char misc[16];
    std::snprintf(misc, sizeof misc, "%u", static_cast<unsigned>(r.miscStatus));
    bool ok =
        Set(hive, cls, "", r.typeName) && Set(hive, cls + "\\InprocServer32", "", r.modulePath) &&
        Set(hive, cls + "\\InprocServer32", "ThreadingModel", "Apartment") &&
        Set(hive, cls + "\\ProgID", "", r.progId) &&
        hive.CreateKey(kClassesRoot + cls + "\\Control") &&
        Set(hive, cls + "\\ToolboxBitmap32", "",
            r.modulePath + ", " + std::to_string(r.toolboxBitmapId)) &&
        Set(hive, cls + "\\MiscStatus", "", "0") && Set(hive, cls + "\\MiscStatus\\1", "", misc) &&
        Set(hive, cls + "\\TypeLib", "", r.libid.ToString()) &&
        Set(hive, cls + "\\Version", "", Version(r.major, r.minor)) &&
        Set(hive, r.progId, "", r.typeName) &&
        Set(hive, r.progId + "\\CLSID", "", r.clsid.ToString());
    if (ok && r.insertable) ok = hive.CreateKey(kClassesRoot + cls + "\\Insertable");
    return ok;
}

bool RegisterPropertyPageClass(platform::RegistryHive& hive, const ClassRegistration& r) {
    return RegisterObjectClass(hive, r);
}

bool RegisterObjectClass(platform::RegistryHive& hive, const ClassRegistration& r) {
    const std::string cls = "CLSID\\" + r.clsid.ToString();
    return Set(hive, cls, "", r.typeName) &&
           Set(hive, cls + "\\InprocServer32", "", r.modulePath) &&
           Set(hive, cls + "\\InprocServer32", "ThreadingModel", "Apartment") &&
           Set(hive, cls + "\\ProgID", "", r.progId) && Set(hive, r.progId, "", r.typeName) &&
           Set(hive, r.progId + "\\CLSID", "", r.clsid.ToString());
}

bool UnregisterClass(platform::RegistryHive& hive, const Guid& clsid, const std::string& progId) {
    hive.DeleteKeyTree(kClassesRoot + std::string("CLSID\\") + clsid.ToString());
    if (!progId.empty()) hive.DeleteKeyTree(kClassesRoot + progId);
    return true;
}

bool EditDefaultHive(const std::function<bool(platform::RegistryHive&)>& edit) {
    std::string error;
    return platform::RegistryHive::Update(platform::RegistryHive::DefaultPath(), edit, &error);
}

HRESULT ModuleClassFactory::CreateInstance(std::shared_ptr<IUnknown>& object) {
    if (!platform::HasPlatform()) return E_FAIL;
    object = make_();
    return object ? S_OK : E_FAIL;
}

std::string ModulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname) return {};
    std::error_code ec;
    auto path = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : path.string();
}

}  // namespace orbel

namespace orbel {

HRESULT RegisterModuleClass(const ClassRegistration& r) {
    return EditDefaultHive([&](platform::RegistryHive& h) { return RegisterObjectClass(h, r); })
               ? S_OK
               : SELFREG_E_CLASS;
}

HRESULT UnregisterModuleClass(const ClassRegistration& r) {
    return EditDefaultHive(
               [&](platform::RegistryHive& h) { return UnregisterClass(h, r.clsid, r.progId); })
               ? S_OK
               : SELFREG_E_CLASS;
}

HRESULT ModuleClassObject(const Guid& served, const Guid& asked, ModuleClassFactory::Make make,
                          std::shared_ptr<IClassFactory>& factory) {
    if (asked != served) return CLASS_E_CLASSNOTAVAILABLE;
    factory = std::make_shared<ModuleClassFactory>(make);
    return S_OK;
}

}  // namespace orbel
