#include "platform/files/FileApi.h"

#include "platform/EffectLog.h"
#include "platform/Platform.h"
#include "platform/automation/Variant.h"

namespace orbel {

using platform::GetPlatform;

namespace {
// Runs the creating call and records it as an effect when the path named nothing before it
// (nobody listening, nothing is looked at).
template <typename Make>
auto TellCreated(std::string_view path, Make make) {
    const bool listened = platform::EffectListened();
    const bool existed = listened && GetPlatform().Files().Exists(path);
    auto made = make();
    if (listened && made && !existed)
        platform::RecordEffect("created file " + QuoteString(std::string(path)));
    return made;
}
}  // namespace

DWORD GetFileAttributes(std::string_view path) {
    const auto info = GetPlatform().Files().Attributes(path);
    if (!info) return INVALID_FILE_ATTRIBUTES;
    DWORD bits = 0;
    if (info->directory) bits |= FILE_ATTRIBUTE_DIRECTORY;
    if (info->readOnly) bits |= FILE_ATTRIBUTE_READONLY;
    if (info->hidden) bits |= FILE_ATTRIBUTE_HIDDEN;
    return bits == 0 ? FILE_ATTRIBUTE_NORMAL : bits;
}

bool SetFileAttributes(std::string_view path, DWORD attributes) {
    return GetPlatform().Files().SetReadOnly(path, (attributes & FILE_ATTRIBUTE_READONLY) != 0);
}

std::unique_ptr<platform::File> CreateFile(std::string_view path, platform::FileAccess access,
                                           platform::Disposition disposition) {
    if (disposition == platform::Disposition::OpenExisting)
        return GetPlatform().Files().Open(path, access, disposition);
    return TellCreated(path, [&] { return GetPlatform().Files().Open(path, access, disposition); });
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    return TellCreated(to, [&] { return GetPlatform().Files().Copy(from, to, failIfExists); });
}

bool DeleteFile(std::string_view path) {
    return GetPlatform().Files().Delete(path);
}

std::optional<std::vector<platform::DirectoryEntry>> FindFiles(std::string_view directory,
                                                               std::string_view pattern) {
    return GetPlatform().Files().Find(directory, pattern);
}

std::string GetCurrentDirectory() {
    return GetPlatform().Files().CurrentDirectory();
}

bool SetCurrentDirectory(std::string_view path) {
    return GetPlatform().Files().SetCurrentDirectory(path);
}

std::string GetTempPath() {
    return GetPlatform().Files().TempDirectory();
}

DWORD GetLastError() {
    return static_cast<DWORD>(platform::LastErrorCode());
}

void SetLastError(DWORD code) {
    platform::SetLastErrorCode(static_cast<int>(code));
}

std::string FormatSystemMessage(DWORD code) {
    return platform::SystemMessage(static_cast<int>(code));
}

}  // namespace orbel
