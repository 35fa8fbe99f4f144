#include "src/store/ProcessedMarker.h"

namespace orbel {

namespace {
constexpr const char* kMarkerStart = "%P";
constexpr const char* kFreshMarker = "%P00%";
constexpr std::size_t kMarkerLength = 5;
}  // namespace

bool TakeProcessedFlag(std::string& path, int flag) {
    const std::size_t at = path.find(kMarkerStart);
    if (at == std::string::npos) return false;
    const std::string marker = path.substr(at, kMarkerLength);
    path.erase(at);
    const auto position = static_cast<std::size_t>(flag + 1);
    return flag >= 0 && position < marker.size() && marker[position] == '1';
}

bool HasProcessedFlag(std::string path, int flag) {
    return TakeProcessedFlag(path, flag);
}

MarkedPath WithProcessedFlag(const std::string& path, int flag, bool value) {
    MarkedPath out;
    out.file = path;
    if (const std::size_t bang = out.file.find('!'); bang != std::string::npos) {
        out.link = out.file.substr(bang + 1);
        out.file.erase(bang);
    }
    std::string marker = kFreshMarker;
    if (const std::size_t at = out.file.find(kMarkerStart); at != std::string::npos) {
        // A marker cut short by the path's end keeps the flags it has.
        const std::string found = out.file.substr(at, kMarkerLength);
        marker.replace(0, found.size(), found);
        out.file.erase(at);
    }
    const auto position = static_cast<std::size_t>(flag + 1);
    if (flag >= 0 && position < marker.size()) marker[position] = value ? '1' : '0';
    out.file += marker;
    return out;
}

}  // namespace orbel
