#include "platform/shell/FileProperties.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "platform/registry/Registry.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {
namespace {

std::string LocalTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!::localtime_r(&t, &tm)) return {};
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &tm);
    return buffer;
}

std::string TypeDescription(const std::string& name, bool directory, Registry* registry) {
    if (directory) return "Folder";
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return "File";
    const std::string extension = name.substr(dot);
    if (registry) {
        const auto type = registry->QueryValue(RegRoot::ClassesRoot, extension, "");
        if (type && type->kind == RegValue::Kind::String && !type->text.empty()) {
            const auto description = registry->QueryValue(RegRoot::ClassesRoot, type->text, "");
            if (description && description->kind == RegValue::Kind::String &&
                !description->text.empty()) {
                return description->text;
            }
        }
    }
    return UpperedAscii(std::string_view(extension).substr(1)) + " File";
}

}  // namespace

std::string FileProperties::Permissions() const {
    std::string out = "---------";
    static constexpr char kLetters[] = "rwx";
    for (int i = 0; i < 9; ++i) {
        if (mode & (0400u >> i)) out[static_cast<std::size_t>(i)] = kLetters[i % 3];
    }
    return out;
}

std::string FileProperties::Text() const {
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", mode & 07777);
    std::string out;
    out += "Name: " + name + "\n";
    out += "Folder: " + folder + "\n";
    out += "Type: " + type + "\n";
    if (!directory) out += "Size: " + std::to_string(size) + " bytes\n";
    out += "Modified: " + LocalTime(modified) + "\n";
    out += "Accessed: " + LocalTime(accessed) + "\n";
    out += "Changed: " + LocalTime(changed) + "\n";
    out += "Owner: " + owner + "\n";
    out += "Group: " + group + "\n";
    out += "Permissions: " + Permissions() + " (" + octal + ")\n";
    return out;
}

std::optional<FileProperties> ReadFileProperties(std::string_view path, Registry* registry,
                                                 int* error) {
    const std::string p(path);
    struct stat st {};
    if (p.find('\0') != std::string::npos || ::stat(p.c_str(), &st) != 0) {
        if (error) *error = p.find('\0') != std::string::npos ? ENOENT : errno;
        return std::nullopt;
    }
    const std::filesystem::path fsPath(p);
    FileProperties props;
    props.name = fsPath.filename().string();
    props.folder = fsPath.parent_path().string();
    props.directory = S_ISDIR(st.st_mode);
    props.type = TypeDescription(props.name, props.directory, registry);
    props.size = props.directory ? 0 : static_cast<std::uint64_t>(st.st_size);
    props.modified = st.st_mtime;
    props.accessed = st.st_atime;
    props.changed = st.st_ctime;
    props.mode = st.st_mode & 07777;
    // getpwuid_r would be kinder to threads; the shell runs on the user-interface thread.
    if (const passwd* pw = ::getpwuid(st.st_uid)) {
        props.owner = pw->pw_name;
    } else {
        props.owner = std::to_string(st.st_uid);
    }
    if (const group* gr = ::getgrgid(st.st_gid)) {
        props.group = gr->gr_name;
    } else {
        props.group = std::to_string(st.st_gid);
    }
    return props;
}

}  // namespace orbel::platform
