// A registry hive kept in a file in the ".reg" text form: keys with values, as the original
// platform's registry holds them. Registration writes here; creating an object by ProgID reads
// here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
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
    std::string text;         // Kind::String
    std::uint32_t dword = 0;  // Kind::DWord

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
    // hive (bad header, bad line) gives nullopt and an error "FILE:LINE: what"; such a file is
    // never overwritten by this class. A file that cannot be read is an error too, never an
    // empty hive.
    //
    // The text: the line "Windows Registry Editor Version 5.00", then sections
    // "[HKEY_CLASSES_ROOT\Key\Sub]" each followed by values: @="default", "Name"="text",
    // "Name"=dword:00020591. Inside quotes a backslash escapes a backslash or a quote. Blank
    // lines and lines starting with ";" are skipped; CRLF or LF, with or without a UTF-8 BOM.
    // Sections naming the same key add to it; a value given twice keeps the last.
    static std::optional<RegistryHive> Load(const std::filesystem::path& file, std::string* error);
    // Parses text that comes from no file; errors read "LINE: what". The hive has no file.
    static std::optional<RegistryHive> Parse(std::string_view text, std::string* error);

    // Loads the hive under an exclusive advisory lock (flock on the sibling file "FILE.lock",
    // which other processes take the same way), runs edit on it and saves it when edit returns
    // true. False with an error when the hive cannot be loaded or saved; an edit that returns
    // false leaves the file as it was and is not an error. Two processes registering at once
    // both see their keys land.
    static bool Update(const std::filesystem::path& file,
                       const std::function<bool(RegistryHive&)>& edit, std::string* error);

    // Writes the whole hive to a temporary file in the same folder and renames it over the
    // old one; creates the folder. False with an error text when that fails.
    bool Save(std::string* error) const;
    // Why the last Update or Save of the calling thread failed, empty after one that succeeded:
    // for callers that learn of a failed write only through a code (a module's registration).
    static std::string LastWriteError();
    const std::filesystem::path& File() const;

    // Paths name a root and any number of keys; a key name is not empty and holds no
    // backslash. Names and string values cannot hold a line break (the file could not keep
    // it): the calls that would store one return false and change nothing. The four roots
    // always exist and cannot be deleted.
    bool CreateKey(std::string_view path);
    bool KeyExists(std::string_view path) const;
    // Creates the key when missing.
    bool SetValue(std::string_view path, std::string_view name, RegValue value);
    std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) const;
    bool DeleteValue(std::string_view path, std::string_view name);
    // Deletes the key with every subkey; false when it did not exist.
    bool DeleteKeyTree(std::string_view path);
    // Direct subkey names, sorted without regard to case; values sorted by name, the default
    // value first.
    std::vector<std::string> EnumKeys(std::string_view path) const;
    std::vector<std::pair<std::string, RegValue>> EnumValues(std::string_view path) const;

    // The ".reg" text of the whole hive, keys in sorted order; what Save writes. Every key
    // below a root gets a section, so empty keys survive a save; a root gets one only when it
    // holds values. The same hive always gives the same bytes.
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
