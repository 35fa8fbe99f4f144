#include "platform/files/FileSystem.h"

#include <fnmatch.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace orbel::platform {
namespace {

thread_local int lastError = 0;

}  // namespace

std::string SystemError::Text() const {
    return code == 0 ? std::string() : SystemMessage(code);
}

int LastErrorCode() {
    return lastError;
}
void SetLastErrorCode(int code) {
    lastError = code;
}

bool FailWith(int code) {
    lastError = code;
    return false;
}

std::string SystemMessage(int code) {
    std::array<char, 256> buffer{};
    // The GNU strerror_r returns the text, which may or may not be in buffer.
    return ::strerror_r(code, buffer.data(), buffer.size());
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern.empty() || pattern == "*" || pattern == "*.*") return true;
    return ::fnmatch(std::string(pattern).c_str(), std::string(name).c_str(), FNM_PERIOD) == 0;
}

bool IsHiddenName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return !base.empty() && base[0] == '.' && base != "." && base != "..";
}

File::~File() = default;
FileSystem::~FileSystem() = default;

std::string FileSystem::TempDirectory() {
    return "/tmp/";
}

bool FileSystem::Copy(std::string_view from, std::string_view to, bool failIfExists) {
    const auto info = Attributes(from);
    auto in = Open(from, FileAccess::Read, Disposition::OpenExisting);
    if (!info || !in) return false;
    auto out = Open(to, FileAccess::Write,
                    failIfExists ? Disposition::CreateNew : Disposition::CreateAlways);
    if (!out) return false;
    std::array<std::byte, 65536> buffer{};
    for (;;) {
        const auto n = in->Read(buffer);
        if (!n) return false;
        if (*n == 0) break;
        if (!out->Write(std::span<const std::byte>(buffer.data(), *n))) return false;
    }
    out.reset();
    return SetReadOnly(to, info->readOnly);
}

}  // namespace orbel::platform
