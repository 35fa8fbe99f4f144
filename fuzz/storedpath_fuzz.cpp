// Stored paths, mapping values and mount tables all come from outside: the host's table, the
// initialisation file, the kernel. None of them may crash the conversions, and a path that
// nothing applies to must come through untouched.
//
// Input: [mountinfo text, NUL] path, then up to eight lines "from=value", each value read as
// the initialisation file's values are ("to,flag").

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network/MountTable.h"
#include "src/maintenance/DriveMapping.h"

namespace {

using orbel::CMappingList;
using orbel::platform::MountTable;

void Require(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

// The value scan must agree with the C scan format it stands for.
void CheckScanAgainstSscanf(std::string_view value) {
    const auto parsed = orbel::ScanMappingValue(value);
    if (value.size() >= 999 || value.find('\0') != std::string_view::npos) return;
    const std::string text(value);
    std::array<char, 1000> to{};
    char flag = 0;
    const int scanned = std::sscanf(text.c_str(), "%999[^','],%1c", to.data(), &flag);
    Require(parsed.has_value() == (scanned == 2));
    if (parsed) Require(parsed->to == to.data() && parsed->flag == flag);
}

void CheckMountTable(const MountTable& mounts, const std::string& path) {
    const auto name = mounts.UniversalName(path);
    if (name) Require(name->starts_with("\\\\") && name->find('/') == std::string::npos);
    // A local path found for a universal name leads back to itself.
    if (const auto local = mounts.LocalPath(path)) {
        const auto again = mounts.UniversalName(*local);
        Require(again.has_value());
        Require(mounts.LocalPath(*again) == local);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view mountText;
    if (const std::size_t nul = input.find('\0'); nul != std::string_view::npos) {
        mountText = input.substr(0, nul);
        input.remove_prefix(nul + 1);
    }
    const MountTable mounts = MountTable::FromMountInfo(mountText);
    const MountTable noMounts;

    const auto lines = SplitLines(input);
    const std::string path(lines.front());

    CMappingList list(mounts);
    CMappingList forwardOnly(noMounts);
    for (std::size_t i = 1; i < lines.size() && i <= 8; ++i) {
        const std::size_t eq = lines[i].find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view value = lines[i].substr(eq + 1);
        CheckScanAgainstSscanf(value);
        const auto parsed = orbel::ScanMappingValue(value);
        if (!parsed) continue;
        const std::string from(lines[i].substr(0, eq));
        list.AddMapping(from, parsed->to, parsed->flag == 'Y', i % 2 == 0);
        forwardOnly.AddMapping(from, parsed->to, false, i % 2 == 0);
    }

    std::string translated = path;
    if (!list.TranslateStoredPath(translated)) Require(translated == path);
    (void)list.ToStoredPath(path);

    // Without reverse entries and without mounts, storing changes nothing.
    Require(forwardOnly.ToStoredPath(path) == path);
    // Without entries and without mounts, nothing translates.
    const CMappingList empty(noMounts);
    std::string untouched = path;
    Require(!empty.TranslateStoredPath(untouched) && untouched == path);

    CheckMountTable(mounts, path);
    return 0;
}
