// The file calls of the control code, in the platform's vocabulary; each forwards to the
// installed platform's file system.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Win.h"
#include "platform/files/FileSystem.h"

namespace orbel {

inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// FILE_ATTRIBUTE_* bits, or INVALID_FILE_ATTRIBUTES when the path names nothing.
DWORD GetFileAttributes(std::string_view path);
// Only FILE_ATTRIBUTE_READONLY has a meaning here: set, it removes the write permissions;
// clear, it gives the owner write permission.
bool SetFileAttributes(std::string_view path, DWORD attributes);

// A file that CreateFile or CopyFile brings into being (not one it opens or replaces) is
// recorded as the effect `created file "PATH"`, with the path as the caller gave it.

std::unique_ptr<platform::File> CreateFile(std::string_view path, platform::FileAccess access,
                                           platform::Disposition disposition);
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);
bool DeleteFile(std::string_view path);
// The entries of a directory matching pattern, in the file system's order.
std::optional<std::vector<platform::DirectoryEntry>> FindFiles(std::string_view directory,
                                                               std::string_view pattern);

std::string GetCurrentDirectory();
bool SetCurrentDirectory(std::string_view path);
// Ends with the separator, ready for a file name to be appended.
std::string GetTempPath();

// The calling thread's last error number (an errno) and its system text.
DWORD GetLastError();
void SetLastError(DWORD code);
std::string FormatSystemMessage(DWORD code);

}  // namespace orbel
