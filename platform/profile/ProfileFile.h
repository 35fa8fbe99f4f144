// The text of one initialisation file, parsed the lenient way the original platform reads
// them, and edited so that everything an edit does not touch (comments, blank lines, other
// sections, the order of keys, lines that mean nothing) is written back as it was.
// Knows nothing of disks: Profile.cpp reads and writes the files.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Win.h"

namespace orbel::platform {

// How lines are read:
//  - blanks (spaces, tabs) around every line, name and value are ignored;
//  - "[name]" starts a section (text after the "]" is ignored); a "[" line without "]" means
//    nothing;
//  - ";" starts a comment line;
//  - "key=value" inside a section sets key (split at the first "="); a line without "=", a
//    key line with an empty name and key lines before the first section mean nothing;
//  - a section or key that appears twice: reads see the first key of that name in any of the
//    section's parts; lists name each section and key once, in the spelling seen first.
// Names compare without regard to the case of ASCII letters.
class ProfileFile {
  public:
    static ProfileFile Parse(std::string_view text);
    // The file's text: byte for byte the parsed text when nothing was edited. New lines take
    // the line end the file uses (LF for a new file); a UTF-8 BOM is kept.
    std::string Text() const;

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;
    bool HasSection(std::string_view section) const;
    // The value with blanks around it removed, quotes kept; nullopt when there is no such key.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Whether a name or value can be written at all: no line breaks; a section name that is
    // not empty and holds no "]"; a key name that is not empty, holds no "=" and does not
    // begin like a section or comment line. Blanks around names are not part of them.
    static bool IsWritableSection(std::string_view section);
    static bool IsWritableKey(std::string_view key);
    static bool IsWritableValue(std::string_view value);

    // Edits; each returns whether the text changed. SetValue sets the first key of that name
    // or adds "key=value" after the last non-blank line of the section's first part, or
    // appends a new section at the end. DeleteKey removes every line of the key in the
    // section; DeleteSection removes every part of the section with all its lines. Names that
    // are not writable change nothing.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

  private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string text;  // as in the file, without the line end
        std::string end;   // "\n", "\r\n", or "" for a last line without one
        LineKind kind = LineKind::Other;
        std::string name;   // section name or key name
        std::string value;  // key value
    };
    static Line ParseLine(std::string text, std::string end, bool inSection);
    // The line end new lines get: the one the file uses first.
    std::string NewLineEnd() const;
    // Index of the line that starts each part of the section, in file order.
    std::vector<std::size_t> SectionStarts(std::string_view section) const;
    std::size_t SectionEnd(std::size_t start) const;

    std::vector<Line> lines_;
    bool bom_ = false;
};

// The bounded-buffer rules of GetPrivateProfileString (see Profile.h), applied to a parsed
// file; file nullptr stands for a file that does not exist.
DWORD GetProfileString(const ProfileFile* file, std::optional<std::string_view> section,
                       std::optional<std::string_view> key, std::string_view defaultValue,
                       std::span<char> buffer);

// Copies text into buffer, cut to buffer.size()-1 characters, NUL-terminated; returns the
// characters copied. An empty buffer gets nothing and returns 0.
DWORD CopyProfileText(std::string_view text, std::span<char> buffer);
// Copies names as a list: each NUL-terminated, a second NUL after the last. When the list does
// not fit, the name that reaches the end is cut, the buffer ends with two NULs and the result
// is buffer.size()-2; otherwise the result counts the characters without the final NUL. A
// buffer of one character gets an empty string and returns 0.
DWORD CopyProfileList(const std::vector<std::string>& names, std::span<char> buffer);

}  // namespace orbel::platform
