// The registry as the control reads it: the hive file (RegistryHive::DefaultPath()) over a
// read-only view built from freedesktop data (ClassesRoot.h). A key that the hive holds
// overrides the view's key of the same path: its values are the hive's alone, while the
// subkeys of both are seen. Subkeys enumerate in one sorted order (without regard to case), so
// "index order" is the same on every run.
//
// The hive file is read again only when it changed on disk; the view is built on first use
// and kept until the folders it comes from change (another XDG data or config folder, a new
// MIME database, a changed templates folder).
// Not for: writing. Registration edits the hive file itself (RegistryHive::Update).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Win.h"
#include "platform/registry/RegistryHive.h"

namespace orbel::platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };
// "HKEY_CLASSES_ROOT", ...
std::string_view RootName(RegRoot root);

class Registry {
  public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // subKey is a path below the root, "" for the root itself; key names compare without
    // regard to case. A malformed path ("a\\\\b", a line break) names no key.
    bool KeyExists(RegRoot root, std::string_view subKey);
    std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey,
                                       std::string_view name);
    // The key's values (default first, then by name); nullopt when there is no such key.
    std::optional<std::vector<std::pair<std::string, RegValue>>> Values(RegRoot root,
                                                                        std::string_view subKey);
    // The key's direct subkeys, sorted without regard to case; empty when there is no key.
    std::vector<std::string> EnumKeys(RegRoot root, std::string_view subKey);

    // Why the hive file could not be read the last time (it is then left out), else empty.
    std::string HiveError();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orbel::platform

namespace orbel {

// The registry calls of the control code, in the platform's vocabulary, over the installed
// platform's registry.
using LONG = std::int32_t;
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_DWORD = 4;

// The predefined keys.
enum class HKEY : std::uint32_t {
    ClassesRoot = 0x80000000,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
};
inline constexpr HKEY HKEY_CLASSES_ROOT = HKEY::ClassesRoot;
inline constexpr HKEY HKEY_CURRENT_USER = HKEY::CurrentUser;
inline constexpr HKEY HKEY_LOCAL_MACHINE = HKEY::LocalMachine;
inline constexpr HKEY HKEY_USERS = HKEY::Users;

// An open key, closed when the object goes (or by Close). It names a path; every call reads
// the registry as it is then, except EnumKey, which enumerates the subkeys as they were at its
// first call so that indexes stay stable through a loop.
class RegKey {
  public:
    RegKey() = default;
    RegKey(RegKey&&) noexcept = default;
    RegKey& operator=(RegKey&&) noexcept = default;

    // ERROR_SUCCESS, or ERROR_FILE_NOT_FOUND when there is no such key.
    LONG Open(HKEY root, std::string_view subKey);
    // A key below this one; ERROR_INVALID_HANDLE when this one is not open.
    LONG Open(const RegKey& parent, std::string_view subKey);
    void Close();
    bool IsOpen() const { return open_; }
    // The path below the root, "" for the root.
    const std::string& SubKey() const { return subKey_; }

    // ERROR_FILE_NOT_FOUND when the value is missing. Text asks for a string (a DWORD value
    // is given in decimal); type (may be null) receives REG_SZ or REG_DWORD.
    LONG QueryValue(std::string_view name, std::string& text, DWORD* type = nullptr) const;
    LONG QueryValue(std::string_view name, platform::RegValue& value) const;
    bool HasValue(std::string_view name) const;
    // The name of subkey index; ERROR_NO_MORE_ITEMS past the last.
    LONG EnumKey(DWORD index, std::string& name) const;

  private:
    bool open_ = false;
    platform::RegRoot root_ = platform::RegRoot::ClassesRoot;
    std::string subKey_;
    mutable std::optional<std::vector<std::string>> subKeys_;
};

// As the original calls, with the key object in place of a handle.
LONG RegOpenKeyEx(HKEY root, std::string_view subKey, RegKey& result);
LONG RegQueryValueEx(const RegKey& key, std::string_view name, std::string& text,
                     DWORD* type = nullptr);
LONG RegEnumKey(const RegKey& key, DWORD index, std::string& name);
LONG RegCloseKey(RegKey& key);

}  // namespace orbel
