#include "platform/automation/ComRuntime.h"

#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <optional>

#include "platform/registry/RegistryHive.h"

namespace orbel {

namespace {

std::optional<std::string> ReadDefault(const std::string& key) {
    std::string error;
    auto hive = platform::RegistryHive::Load(platform::RegistryHive::DefaultPath(), &error);
    if (!hive) return std::nullopt;
    auto value = hive->QueryValue("HKEY_CLASSES_ROOT\\" + key, "");
    if (!value || value->kind != platform::RegValue::Kind::String) return std::nullopt;
    return value->text;
}

// Modules stay loaded for the life of the process, as objects from them may live anywhere.
void* LoadModule(const std::string& path, std::string* error) {
    static std::map<std::string, void*> loaded;
    auto it = loaded.find(path);
    if (it != loaded.end()) return it->second;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) *error = dlerror();
        return nullptr;
    }
    loaded.emplace(path, handle);
    return handle;
}

template <class Fn>
Fn Entry(void* module, const char* name) {
    return reinterpret_cast<Fn>(dlsym(module, name));
}

}  // namespace

HRESULT CLSIDFromProgID(std::string_view progId, Guid& clsid) {
    auto text = ReadDefault(std::string(progId) + "\\CLSID");
    if (!text) return CO_E_CLASSSTRING;
    auto parsed = Guid::Parse(*text);
    if (!parsed) return CO_E_CLASSSTRING;
    clsid = *parsed;
    return S_OK;
}

HRESULT CoGetClassObject(const Guid& clsid, std::shared_ptr<IClassFactory>& factory) {
    auto path = ReadDefault("CLSID\\" + clsid.ToString() + "\\InprocServer32");
    if (!path) return REGDB_E_CLASSNOTREG;
    void* module = LoadModule(*path, nullptr);
    if (!module) return CO_E_DLLNOTFOUND;
    auto get = Entry<DllGetClassObjectFn>(module, "DllGetClassObject");
    if (!get) return CO_E_DLLNOTFOUND;
    return get(clsid, factory);
}

HRESULT CoCreateInstance(const Guid& clsid, std::shared_ptr<IUnknown>& object) {
    std::shared_ptr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(clsid, factory);
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(object);
}

HRESULT CreateObject(std::string_view progId, std::shared_ptr<IUnknown>& object) {
    Guid clsid;
    HRESULT hr = CLSIDFromProgID(progId, clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, object);
}

HRESULT LoadRegTypeLib(const Guid& libid, unsigned short major, unsigned short minor,
                       TypeLibrary& library, std::string* error) {
    auto path = ReadDefault("TypeLib\\" + libid.ToString() + "\\" + std::to_string(major) + "." +
                            std::to_string(minor) + "\\0\\win32");
    if (!path) {
        if (error) *error = "type library " + libid.ToString() + " is not registered";
        return REGDB_E_CLASSNOTREG;
    }
    void* module = LoadModule(*path, error);
    if (!module) return CO_E_DLLNOTFOUND;
    auto text = Entry<DllGetTypeLibTextFn>(module, "DllGetTypeLibText");
    if (!text) {
        if (error) *error = *path + " carries no type library";
        return E_FAIL;
    }
    auto parsed = ParseTypeLibrary(text(), error);
    if (!parsed) return E_FAIL;
    library = std::move(*parsed);
    return S_OK;
}

HRESULT LoadClassTypeLib(const Guid& clsid, TypeLibrary& library, std::string* error) {
    const std::string cls = "CLSID\\" + clsid.ToString();
    auto libid = ReadDefault(cls + "\\TypeLib");
    auto parsed = libid ? Guid::Parse(*libid) : std::nullopt;
    if (!parsed) {
        if (error) *error = "class " + clsid.ToString() + " names no type library";
        return REGDB_E_CLASSNOTREG;
    }
    unsigned major = 1, minor = 0;
    if (auto version = ReadDefault(cls + "\\Version"))
        std::sscanf(version->c_str(), "%u.%u", &major, &minor);
    return LoadRegTypeLib(*parsed, static_cast<unsigned short>(major),
                          static_cast<unsigned short>(minor), library, error);
}

namespace {
HRESULT CallRegistration(const std::string& modulePath, const char* entry, std::string* error) {
    void* module = LoadModule(modulePath, error);
    if (!module) return CO_E_DLLNOTFOUND;
    auto fn = Entry<DllRegisterServerFn>(module, entry);
    if (!fn) {
        if (error) *error = modulePath + " has no entry point " + entry;
        return E_FAIL;
    }
    const HRESULT hr = fn();
    // The entry point returns only a code; the hive keeps the reason of its failed write.
    if ((hr == SELFREG_E_TYPELIB || hr == SELFREG_E_CLASS) && error) {
        *error = ComErrorText(hr);
        if (const std::string why = platform::RegistryHive::LastWriteError(); !why.empty())
            *error += ": " + why;
    }
    return hr;
}
}  // namespace

HRESULT RegisterModule(const std::string& modulePath, std::string* error) {
    return CallRegistration(modulePath, "DllRegisterServer", error);
}

HRESULT UnregisterModule(const std::string& modulePath, std::string* error) {
    return CallRegistration(modulePath, "DllUnregisterServer", error);
}

std::string ComErrorText(HRESULT hr) {
    switch (hr) {
        case S_OK:
            return "success";
        case CO_E_CLASSSTRING:
            return "invalid class string (the ProgID is not registered)";
        case REGDB_E_CLASSNOTREG:
            return "class not registered";
        case CO_E_DLLNOTFOUND:
            return "the module named in the registry cannot be loaded";
        case CLASS_E_CLASSNOTAVAILABLE:
            return "the module does not serve that class";
        case SELFREG_E_TYPELIB:
            return "the type library could not be registered";
        case SELFREG_E_CLASS:
            return "a class could not be registered";
        case E_NOTIMPL:
            return "not implemented";
        case DISP_E_MEMBERNOTFOUND:
            return "member not found";
        case DISP_E_UNKNOWNNAME:
            return "unknown name";
        case DISP_E_BADPARAMCOUNT:
            return "wrong number of arguments";
        case DISP_E_TYPEMISMATCH:
            return "type mismatch";
        case DISP_E_PARAMNOTFOUND:
            return "argument missing";
        default:
            return "failure " + HResultText(hr);
    }
}

}  // namespace orbel
