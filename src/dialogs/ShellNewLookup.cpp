#include "src/dialogs/ShellNewLookup.h"

#include "platform/registry/Registry.h"
#include "src/services/ShellServices.h"

namespace orbel {

std::optional<ShellNewEntry> LookupShellNew(std::string_view extension) {
    const std::string typeName =
        ReadRegistryString(HKEY_CLASSES_ROOT, extension, "").value_or(std::string());
    if (typeName.empty()) return std::nullopt;
    const std::string ext(extension);
    RegKey key;
    std::string path = ext + "\\" + typeName + "\\ShellNew";
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, key) != ERROR_SUCCESS) {
        path = ext + "\\ShellNew";
        if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, key) != ERROR_SUCCESS) return std::nullopt;
    }
    if (key.HasValue("Command")) return std::nullopt;
    return ShellNewEntry{typeName, path};
}

std::string DocumentTypeDescription(std::string_view typeName) {
    std::string description =
        ReadRegistryString(HKEY_CLASSES_ROOT, typeName, "").value_or(std::string());
    return description.empty() ? std::string(typeName) : description;
}

std::vector<CreatableType> CreatableTypes() {
    std::vector<CreatableType> out;
    RegKey root;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, "", root) != ERROR_SUCCESS) return out;
    std::string name;
    for (DWORD i = 0; RegEnumKey(root, i, name) == ERROR_SUCCESS; ++i) {
        if (name.empty() || name.front() != '.') continue;
        if (std::optional<ShellNewEntry> entry = LookupShellNew(name))
            out.push_back({name, DocumentTypeDescription(entry->typeName), entry->keyPath});
    }
    return out;
}

}  // namespace orbel
