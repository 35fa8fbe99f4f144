// Characters as a user counts them in UTF-8 text (code points), for edit limits and cuts.
#pragma once

#include <cstddef>
#include <string_view>

namespace orbel {

inline bool IsUtf8ContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

inline std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        if (!IsUtf8ContinuationByte(c)) ++count;
    return count;
}

// The first `count` characters of the text (all of it when it is shorter).
inline std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsUtf8ContinuationByte(text[i])) continue;
        if (seen == count) return text.substr(0, i);
        ++seen;
    }
    return text;
}

}  // namespace orbel
