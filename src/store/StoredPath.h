// A stored resource path: the file (or web address), optionally the processed marker "%P"
// with three more characters, and optionally "!" and a link inside the file (a spreadsheet
// cell, a script's language and start function).
#pragma once

#include <string>
#include <string_view>

namespace orbel {

struct StoredPathParts {
    std::string file;    // before the first "!", cut before "%P"
    std::string link;    // after the first "!"; empty without one
    std::string marker;  // "%P" and the next three characters; "00" without a marker
};

StoredPathParts SplitStoredPath(std::string_view stored);
// The stored form of a file and its link: the file, then "!" and the link when there is one.
std::string JoinStoredPath(std::string_view file, std::string_view link);

}  // namespace orbel
