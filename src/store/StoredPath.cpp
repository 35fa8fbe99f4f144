#include "src/store/StoredPath.h"

namespace orbel {

StoredPathParts SplitStoredPath(std::string_view stored) {
    StoredPathParts parts;
    std::string_view before = stored;
    if (auto bang = stored.find('!'); bang != std::string_view::npos) {
        before = stored.substr(0, bang);
        parts.link = std::string(stored.substr(bang + 1));
    }
    if (auto marker = before.find("%P"); marker != std::string_view::npos) {
        parts.marker = std::string(before.substr(marker, 5));
        before = before.substr(0, marker);
    } else {
        parts.marker = "00";
    }
    parts.file = std::string(before);
    return parts;
}

std::string JoinStoredPath(std::string_view file, std::string_view link) {
    std::string stored(file);
    if (!link.empty()) stored.append("!").append(link);
    return stored;
}

}  // namespace orbel
