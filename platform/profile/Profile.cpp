#include "platform/profile/Profile.h"

#include <cstdlib>
#include <string>

#include "platform/profile/ProfileFile.h"
#include "platform/registry/DataFile.h"

namespace orbel::platform {

std::filesystem::path ProfileDirectory() {
    if (const char* dir = std::getenv("ORBEL_INI_DIR"); dir && dir[0] != '\0') return dir;
    return XdgBaseDirectory("XDG_CONFIG_HOME", ".config") / "orbel";
}

std::filesystem::path ResolveProfilePath(std::string_view fileName) {
    // Only "/" makes a directory here: a Windows path such as "C:\dir\x.ini" names nothing on
    // this system, and the name alone is what callers mean by a bare file name.
    if (fileName.find('/') != std::string_view::npos) return std::filesystem::path(fileName);
    return ProfileDirectory() / std::filesystem::path(fileName);
}

DWORD GetPrivateProfileString(std::optional<std::string_view> section,
                              std::optional<std::string_view> key, std::string_view defaultValue,
                              std::span<char> buffer, std::string_view fileName) {
    if (buffer.empty()) return 0;
    std::string text;
    // A file that cannot be read answers like a missing one: with the default.
    if (ReadFileText(ResolveProfilePath(fileName), text, nullptr) != ReadResult::Ok) {
        return GetProfileString(nullptr, section, key, defaultValue, buffer);
    }
    const ProfileFile file = ProfileFile::Parse(text);
    return GetProfileString(&file, section, key, defaultValue, buffer);
}

bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                               std::optional<std::string_view> value, std::string_view fileName) {
    if (!ProfileFile::IsWritableSection(section)) return false;
    if (key && !ProfileFile::IsWritableKey(*key)) return false;
    if (key && value && !ProfileFile::IsWritableValue(*value)) return false;

    const std::filesystem::path path = ResolveProfilePath(fileName);
    std::string text;
    const ReadResult read = ReadFileText(path, text, nullptr);
    // Never replace a file we could not read: its contents would be lost.
    if (read == ReadResult::Failed) return false;
    ProfileFile file = ProfileFile::Parse(text);

    bool changed = false;
    if (!key) {
        changed = file.DeleteSection(section);
    } else if (!value) {
        changed = file.DeleteKey(section, *key);
    } else {
        changed = file.SetValue(section, *key, *value);
    }
    if (!changed) return true;
    return ReplaceFileText(path, file.Text(), nullptr);
}

}  // namespace orbel::platform
