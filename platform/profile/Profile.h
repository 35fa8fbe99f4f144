// Initialisation files ("name.ini") with the original platform's call semantics.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "platform/Win.h"

namespace orbel::platform {

// Folder of initialisation files named without a directory: $ORBEL_INI_DIR when set, else
// $XDG_CONFIG_HOME/orbel ($XDG_CONFIG_HOME defaults to ~/.config).
std::filesystem::path ProfileDirectory();
// A bare file name lives in ProfileDirectory(); a name with a directory is used as given.
std::filesystem::path ResolveProfilePath(std::string_view fileName);

// As GetPrivateProfileString:
//  - section and key given: the value (blanks around it removed, one pair of matching quotes
//    around it removed), or defaultValue (trailing blanks removed) when the file, section or
//    key is missing; copied into buffer, cut to buffer.size()-1 characters and NUL-terminated;
//    returns the number of characters copied without the NUL.
//  - key nullopt: every key name of the section, each NUL-terminated, the list ended by a
//    second NUL; when it does not fit, the last name that fits is cut and the list is ended
//    with two NULs and the result is buffer.size()-2.
//  - section nullopt: every section name, in the same form.
// Section and key names compare without regard to letter case. An empty buffer returns 0.
DWORD GetPrivateProfileString(std::optional<std::string_view> section,
                              std::optional<std::string_view> key, std::string_view defaultValue,
                              std::span<char> buffer, std::string_view fileName);

// As WritePrivateProfileString: sets the key's value (creating file, section and key as
// needed); value nullopt removes the key; key nullopt removes the whole section. The file is
// rewritten through a temporary file renamed over it; comments and other sections are kept.
// Returns false when the file cannot be read or written, or when a name or value cannot be
// stored in the file (a line break, a key holding "=", a section name holding "]"; see
// ProfileFile). Removing what is not there succeeds and leaves the file untouched.
bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                               std::optional<std::string_view> value, std::string_view fileName);

}  // namespace orbel::platform
