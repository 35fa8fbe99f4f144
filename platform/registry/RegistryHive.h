// A registry hive kept in a file in the ".reg" text form: keys with values, as the original
// platform's registry holds them. Registration writes here; creating an object by ProgID reads
// here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orbel::platform {

struct RegValue {
    enum class Kind { String, DWord };
    Kind kind = Kind::String;
    std::string text;          // Kind::String
    std::uint32_t dword = 0;   // Kind::DWord

    static RegValue String(std::string s) { return {Kind::String, std::move(s), 0}; }
    static RegValue DWord(std::uint32_t v) { return {Kind::DWord, {}, v}; }
    bool operator==(const RegValue&) const = default;
};

// Key paths are written from their root, with backslashes:
//   "HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}\\InprocServer32"
// The roots HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and their
// short forms HKCR, HKCU, HKLM, HKU are accepted and stored in their long form. Key and value
// names compare without regard to letter case and keep the case they were created with.
// The value name "" is the key's default value ("@" in the file).
class RegistryHive {
public:
    // The hive file: $ORBEL_REGISTRY when set, else $XDG_DATA_HOME/orbel/registry.reg
    // ($XDG_DATA_HOME defaults to ~/.local/share).
    static std::filesystem::path DefaultPath();

    // Reads a hive. A missing file is an empty hive bound to that path. A file that is not a
    // hive (bad header, bad line) gives nullopt and an error naming the file and line; such a
    // file is never overwritten by this class.
    static std::optional<RegistryHive> Load(const std::filesystem::path& file, std::string* error);
    static std::optional<RegistryHive> Parse(std::string_view text, std::string* error);

    // Writes the whole hive to a temporary file in the same folder and renames it over the
    // old one; creates the folder. False with an error text when that fails.
    bool Save(std::string* error) const;
    const std::filesystem::path& File() const;

    bool CreateKey(std::string_view path);
    bool KeyExists(std::string_view path) const;
    // Creates the key when missing.
    bool SetValue(std::string_view path, std::string_view name, RegValue value);
    std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) const;
    bool DeleteValue(std::string_view path, std::string_view name);
    // Deletes the key with every subkey; false when it did not exist.
    bool DeleteKeyTree(std::string_view path);
    // Direct subkey names, sorted without regard to case.
    std::vector<std::string> EnumKeys(std::string_view path) const;
    std::vector<std::pair<std::string, RegValue>> EnumValues(std::string_view path) const;

    // The ".reg" text of the whole hive, keys in sorted order; what Save writes.
    std::string Dump() const;

    RegistryHive();
    ~RegistryHive();
    RegistryHive(RegistryHive&&) noexcept;
    RegistryHive& operator=(RegistryHive&&) noexcept;
    RegistryHive(const RegistryHive&);
    RegistryHive& operator=(const RegistryHive&);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orbel::platform
