#include "src/maintenance/DriveMapping.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/profile/Profile.h"
#include "platform/text/AsciiCase.h"

namespace orbel {

namespace {

constexpr std::string_view kMappingSection = "Mapping";
constexpr std::size_t kProfileBufferSize = 1000;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char FoldForMatch(char c) {
    if (c == '/') return '\\';
    return UpperAscii(c);
}

// The prefix as it is matched: with a separator at its end, so that it only matches at a
// directory boundary.
std::string MatchPrefix(const std::string& prefix) {
    if (!prefix.empty() && IsSeparator(prefix.back())) return prefix;
    return prefix + '\\';
}

bool StartsWithPrefix(std::string_view path, std::string_view prefix) {
    return path.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), path.begin(),
                      [](char a, char b) { return FoldForMatch(a) == FoldForMatch(b); });
}

bool IsLinuxPrefix(std::string_view prefix) {
    return prefix.find('/') != std::string_view::npos &&
           prefix.find('\\') == std::string_view::npos;
}

std::string JoinPrefix(const std::string& prefix, std::string_view tail) {
    const bool linuxStyle = IsLinuxPrefix(prefix);
    std::string result = prefix;
    if (result.empty() || !IsSeparator(result.back())) result += linuxStyle ? '/' : '\\';
    const std::size_t tailStart = result.size();
    result += tail;
    if (linuxStyle) {
        const auto tailBegin = result.begin() + static_cast<std::ptrdiff_t>(tailStart);
        std::replace(tailBegin, result.end(), '\\', '/');
    }
    return result;
}

// The NUL-separated names of a profile key list; the count may or may not include the NUL
// that ends the last name.
std::vector<std::string> SplitNames(std::string_view names) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < names.size()) {
        std::size_t end = names.find('\0', pos);
        if (end == std::string_view::npos) end = names.size();
        if (end > pos) out.emplace_back(names.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

}  // namespace

std::optional<MappingValue> ScanMappingValue(std::string_view value) {
    // Mirrors the scan format "%[^','],%1c", whose scan set excludes both the comma and the
    // apostrophe, and which stops at the end of the text.
    value = value.substr(0, value.find('\0'));
    const std::size_t stop = std::min(value.find_first_of(",'"), value.size());
    if (stop == 0 || stop >= value.size() || value[stop] != ',' || stop + 1 >= value.size()) {
        return std::nullopt;
    }
    return MappingValue{std::string(value.substr(0, stop)), value[stop + 1]};
}

CMappingList::CMappingList(const platform::MountTable& mounts, std::string iniFile)
    : mounts_(mounts), iniFile_(std::move(iniFile)) {}

void CMappingList::LoadMappings() {
    std::array<char, kProfileBufferSize> names{};
    const DWORD namesLength =
        platform::GetPrivateProfileString(kMappingSection, std::nullopt, "", names, iniFile_);
    const std::size_t namesUsed = std::min<std::size_t>(namesLength, names.size());

    for (const std::string& key : SplitNames(std::string_view(names.data(), namesUsed))) {
        std::array<char, kProfileBufferSize> value{};
        const DWORD valueLength =
            platform::GetPrivateProfileString(kMappingSection, key, "", value, iniFile_);
        const std::size_t valueUsed = std::min<std::size_t>(valueLength, value.size() - 1);
        if (valueUsed == 0) continue;
        const auto parsed = ScanMappingValue(std::string_view(value.data(), valueUsed));
        if (!parsed) continue;
        AddMapping(key, parsed->to, parsed->flag == 'Y', true);
    }
}

void CMappingList::AddMapping(std::string from, std::string to, bool reverse, bool fromIni) {
    MappingEntry entry{std::move(from), std::move(to), reverse, fromIni};
    if (fromIni) {
        const auto lastFromIni = std::find_if(entries_.rbegin(), entries_.rend(),
                                              [](const MappingEntry& e) { return e.fromIni; });
        if (lastFromIni != entries_.rend()) {
            entries_.insert(lastFromIni.base(), std::move(entry));
            return;
        }
    }
    entries_.push_back(std::move(entry));
}

void CMappingList::ReloadMappingsAfterOptions() {
    std::erase_if(entries_, [](const MappingEntry& e) { return e.fromIni; });
    LoadMappings();
}

bool CMappingList::TranslateStoredPath(std::string& path) const {
    for (const MappingEntry& entry : entries_) {
        const std::string prefix = MatchPrefix(entry.from);
        if (StartsWithPrefix(path, prefix)) {
            path = JoinPrefix(entry.to, std::string_view(path).substr(prefix.size()));
            return true;
        }
    }
    if (auto local = mounts_.LocalPath(path)) {
        path = std::move(*local);
        return true;
    }
    return false;
}

std::string CMappingList::ToStoredPath(const std::string& path) const {
    const std::string stored = mounts_.UniversalName(path).value_or(path);
    for (const MappingEntry& entry : entries_) {
        if (!entry.reverse) continue;
        const std::string prefix = MatchPrefix(entry.to);
        if (StartsWithPrefix(stored, prefix)) {
            return JoinPrefix(entry.from, std::string_view(stored).substr(prefix.size()));
        }
    }
    return stored;
}

void CMappingList::RemoveAll() {
    entries_.clear();
}

std::string CMappingList::Dump() const {
    std::string out;
    for (const MappingEntry& entry : entries_) {
        out += entry.from + " -> " + entry.to;
        if (entry.reverse) out += " [reverse]";
        if (entry.fromIni) out += " [ini]";
        out += '\n';
    }
    return out;
}

}  // namespace orbel
