// The processed marker of a stored resource path: "%P", the attach flag, the e-mail flag and
// "%" after the file and before any "!" link, so that a routed file stays marked wherever it is
// listed again.
#pragma once

#include <string>

namespace orbel {

// Flag numbers as the routing columns number them.
inline constexpr int kAttachFlag = 1;
inline constexpr int kEmailFlag = 2;

// Whether flag `flag` of the marker in `path` (a path with markers) is set. A path with a
// marker is cut before it, link and all; one without is left as it is.
bool TakeProcessedFlag(std::string& path, int flag);
// The same question, leaving the path as it is.
bool HasProcessedFlag(std::string path, int flag);

// The stored form with flag `flag` set to `value`: the file followed by the marker (a fresh
// "%P00%" when it had none), and the link that came after "!", unchanged.
struct MarkedPath {
    std::string file;
    std::string link;
};
MarkedPath WithProcessedFlag(const std::string& path, int flag, bool value);

}  // namespace orbel
