#include "platform/profile/ProfileFile.h"

#include <algorithm>
#include <set>

#include "platform/text/AsciiCase.h"

namespace orbel::platform {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// A value written in quotes reads without them, as the original platform does; only a pair
// of the same quote counts.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

ProfileFile::Line ProfileFile::ParseLine(std::string text, std::string end, bool inSection) {
    Line line;
    const std::string_view trimmed = Trim(text);
    if (!trimmed.empty() && trimmed[0] == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = Trim(trimmed.substr(1, close - 1));
        }
    } else if (inSection && !trimmed.empty() && trimmed[0] != ';') {
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string_view::npos) {
            const std::string_view name = Trim(trimmed.substr(0, equals));
            if (!name.empty()) {
                line.kind = LineKind::Key;
                line.name = name;
                line.value = Trim(trimmed.substr(equals + 1));
            }
        }
    }
    line.text = std::move(text);
    line.end = std::move(end);
    return line;
}

ProfileFile ProfileFile::Parse(std::string_view text) {
    ProfileFile file;
    if (text.substr(0, kBom.size()) == kBom) {
        file.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t newline = text.find('\n', pos);
        std::string_view body;
        std::string_view end;
        if (newline == std::string_view::npos) {
            body = text.substr(pos);
            pos = text.size();
        } else {
            body = text.substr(pos, newline - pos);
            pos = newline + 1;
            end = "\n";
            if (!body.empty() && body.back() == '\r') {
                body.remove_suffix(1);
                end = "\r\n";
            }
        }
        Line line = ParseLine(std::string(body), std::string(end), inSection);
        if (line.kind == LineKind::Section) inSection = true;
        file.lines_.push_back(std::move(line));
    }
    return file;
}

std::string ProfileFile::Text() const {
    std::string out;
    if (bom_) out += kBom;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::string ProfileFile::NewLineEnd() const {
    for (const Line& line : lines_) {
        if (!line.end.empty()) return line.end;
    }
    return "\n";
}

std::vector<std::size_t> ProfileFile::SectionStarts(std::string_view section) const {
    section = Trim(section);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section &&
            EqualsIgnoringAsciiCase(lines_[i].name, section)) {
            starts.push_back(i);
        }
    }
    return starts;
}

std::size_t ProfileFile::SectionEnd(std::size_t start) const {
    std::size_t i = start + 1;
    while (i < lines_.size() && lines_[i].kind != LineKind::Section) ++i;
    return i;
}

std::vector<std::string> ProfileFile::SectionNames() const {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const Line& line : lines_) {
        // An empty name would read as the end of the list.
        if (line.kind == LineKind::Section && !line.name.empty() &&
            seen.insert(FoldedAscii(line.name)).second) {
            names.push_back(line.name);
        }
    }
    return names;
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::size_t start : SectionStarts(section)) {
        for (std::size_t i = start + 1, end = SectionEnd(start); i < end; ++i) {
            if (lines_[i].kind == LineKind::Key &&
                seen.insert(FoldedAscii(lines_[i].name)).second) {
                names.push_back(lines_[i].name);
            }
        }
    }
    return names;
}

bool ProfileFile::HasSection(std::string_view section) const {
    return !SectionStarts(section).empty();
}

std::optional<std::string> ProfileFile::Value(std::string_view section,
                                              std::string_view key) const {
    key = Trim(key);
    for (std::size_t start : SectionStarts(section)) {
        for (std::size_t i = start + 1, end = SectionEnd(start); i < end; ++i) {
            if (lines_[i].kind == LineKind::Key && EqualsIgnoringAsciiCase(lines_[i].name, key)) {
                return lines_[i].value;
            }
        }
    }
    return std::nullopt;
}

bool ProfileFile::IsWritableSection(std::string_view section) {
    section = Trim(section);
    return !section.empty() && !HasLineBreak(section) && section.find(']') == std::string::npos;
}

bool ProfileFile::IsWritableKey(std::string_view key) {
    key = Trim(key);
    return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string::npos &&
           key[0] != '[' && key[0] != ';';
}

bool ProfileFile::IsWritableValue(std::string_view value) {
    return !HasLineBreak(value);
}

bool ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsWritableSection(section) || !IsWritableKey(key) || !IsWritableValue(value)) {
        return false;
    }
    section = Trim(section);
    key = Trim(key);
    const std::vector<std::size_t> starts = SectionStarts(section);
    for (std::size_t start : starts) {
        for (std::size_t i = start + 1, end = SectionEnd(start); i < end; ++i) {
            Line& line = lines_[i];
            if (line.kind != LineKind::Key || !EqualsIgnoringAsciiCase(line.name, key)) continue;
            // The key keeps the spelling the file gave it.
            std::string text = line.name + "=" + std::string(value);
            if (text == line.text) return false;
            line = ParseLine(std::move(text), line.end, true);
            return true;
        }
    }

    const std::string lineEnd = NewLineEnd();
    // A last line without its line end gets one before anything follows it.
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = lineEnd;

    Line added = ParseLine(std::string(key) + "=" + std::string(value), lineEnd, true);
    if (!starts.empty()) {
        // After the section's last non-blank line, so that a blank line separating it from the
        // next section stays where it is.
        std::size_t at = SectionEnd(starts.front());
        while (at > starts.front() + 1 && Trim(lines_[at - 1].text).empty()) --at;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
        return true;
    }
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) {
        lines_.push_back(ParseLine({}, lineEnd, true));
    }
    lines_.push_back(ParseLine("[" + std::string(section) + "]", lineEnd, true));
    lines_.push_back(std::move(added));
    return true;
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    key = Trim(key);
    bool changed = false;
    const std::vector<std::size_t> starts = SectionStarts(section);
    // From the last part backwards so that earlier indices stay valid.
    for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
        for (std::size_t i = SectionEnd(*start); i > *start + 1; --i) {
            const Line& line = lines_[i - 1];
            if (line.kind == LineKind::Key && EqualsIgnoringAsciiCase(line.name, key)) {
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i - 1));
                changed = true;
            }
        }
    }
    return changed;
}

bool ProfileFile::DeleteSection(std::string_view section) {
    const std::vector<std::size_t> starts = SectionStarts(section);
    for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*start),
                     lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*start)));
    }
    return !starts.empty();
}

DWORD CopyProfileText(std::string_view text, std::span<char> buffer) {
    if (buffer.empty()) return 0;
    const std::size_t count = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), count, buffer.begin());
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

DWORD CopyProfileList(const std::vector<std::string>& names, std::span<char> buffer) {
    if (buffer.empty()) return 0;
    if (buffer.size() == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t used = 0;
    for (const std::string& name : names) {
        // The name, its NUL and the list's final NUL must all fit.
        if (used + name.size() + 2 > buffer.size()) {
            // A name that ended right before the last two places leaves no room for more.
            const std::size_t room = used < buffer.size() - 2 ? buffer.size() - 2 - used : 0;
            std::copy_n(name.begin(), room, buffer.begin() + static_cast<std::ptrdiff_t>(used));
            buffer[buffer.size() - 2] = '\0';
            buffer[buffer.size() - 1] = '\0';
            return static_cast<DWORD>(buffer.size() - 2);
        }
        std::copy(name.begin(), name.end(), buffer.begin() + static_cast<std::ptrdiff_t>(used));
        used += name.size();
        buffer[used++] = '\0';
    }
    buffer[used] = '\0';
    // An empty list still reads as a list: two NULs.
    if (used == 0) buffer[1] = '\0';
    return static_cast<DWORD>(used);
}

DWORD GetProfileString(const ProfileFile* file, std::optional<std::string_view> section,
                       std::optional<std::string_view> key, std::string_view defaultValue,
                       std::span<char> buffer) {
    if (buffer.empty()) return 0;
    if (!section)
        return CopyProfileList(file ? file->SectionNames() : std::vector<std::string>{}, buffer);
    if (!key) {
        return CopyProfileList(file ? file->KeyNames(*section) : std::vector<std::string>{},
                               buffer);
    }
    if (file) {
        if (const auto value = file->Value(*section, *key)) {
            return CopyProfileText(Unquote(*value), buffer);
        }
    }
    const std::size_t last = defaultValue.find_last_not_of(" \t");
    defaultValue = defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1);
    return CopyProfileText(defaultValue, buffer);
}

}  // namespace orbel::platform
