// What a file-properties window shows about a file or folder: name, folder, type, size,
// dates and permissions. The desktop draws it; the data is gathered here for both backends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbel::platform {

class Registry;

struct FileProperties {
    std::string name;    // "report.odt"
    std::string folder;  // "/home/u/docs"
    std::string type;    // the type's description from the classes root, else "ODT File"
    bool directory = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970
    std::int64_t accessed = 0;
    std::int64_t changed = 0;  // status change: the nearest this system has to "created"
    unsigned mode = 0;         // permission bits, 0644
    std::string owner;
    std::string group;

    // "rw-r--r--"
    std::string Permissions() const;
    // The lines of the window, "Name: report.odt" ... "Permissions: rw-r--r-- (0644)", dates
    // in local time as "YYYY-MM-DD HH:MM:SS".
    std::string Text() const;
};

// The properties of an absolute path; nullopt with *error (an errno) when it cannot be
// examined. registry may be null: the type is then "ODT File", "File" or "Folder".
std::optional<FileProperties> ReadFileProperties(std::string_view path, Registry* registry,
                                                 int* error);

}  // namespace orbel::platform
