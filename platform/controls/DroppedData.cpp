#include "platform/controls/DroppedData.h"

#include "platform/shell/LaunchPlan.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The path of a local file URI, decoded; nothing for anything else.
std::optional<std::string> LocalPath(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (FoldedAscii(uri.substr(0, kScheme.size())) != kScheme) return std::nullopt;
    uri.remove_prefix(kScheme.size());
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string host = FoldedAscii(uri.substr(0, slash));
    if (!host.empty() && host != "localhost") return std::nullopt;
    uri.remove_prefix(slash);
    // A query or fragment has no meaning for a file and may hide what is named.
    if (uri.find_first_of("?#") != std::string_view::npos) return std::nullopt;
    std::string path;
    path.reserve(uri.size());
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] != '%') {
            path += uri[i];
            continue;
        }
        const int high = i + 2 < uri.size() ? HexValue(uri[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(uri[i + 2]) : -1;
        if (low < 0) return std::nullopt;
        const char byte = static_cast<char>(high * 16 + low);
        if (byte == '\0') return std::nullopt;
        path += byte;
        i += 2;
    }
    return path;
}

}  // namespace

DroppedFiles FilesFromUriList(std::string_view uriList) {
    DroppedFiles result;
    while (!uriList.empty()) {
        const std::size_t end = uriList.find('\n');
        std::string_view line = uriList.substr(0, end);
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (auto path = LocalPath(line))
            result.files.push_back(std::move(*path));
        else
            result.refused.emplace_back(line);
    }
    return result;
}

std::string UriListOf(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += FileUri(path) + "\r\n";
    return list;
}

}  // namespace orbel::platform
