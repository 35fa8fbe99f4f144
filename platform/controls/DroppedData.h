// What another program drops on a control: the list of files (text/uri-list) and the plain text
// it carries, with the files read out of the list the way the system's own file-list format
// gives them: local paths, in order. Everything in it is untrusted.
// Not for: drags inside the control, which the tree carries (Part of the panes).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbel::platform {

struct DroppedData {
    // The text/uri-list as carried, empty when there was none.
    std::string uriList;
    // The plain text, when the drop carried one.
    std::optional<std::string> text;
};

struct DroppedFiles {
    // Local paths, decoded, in the order of the list.
    std::vector<std::string> files;
    // Entries that name no local file (another scheme, another host, a broken escape, a NUL
    // or a relative path), as carried.
    std::vector<std::string> refused;
};

// Reads a text/uri-list: one URI a line (CR LF or LF), "#" lines are comments. A file is a
// "file:" URI with no host or "localhost" and an absolute path whose escapes decode to no NUL.
DroppedFiles FilesFromUriList(std::string_view uriList);
// The uri-list of the paths, one file URI (FileUri) a line.
std::string UriListOf(const std::vector<std::string>& paths);

}  // namespace orbel::platform
