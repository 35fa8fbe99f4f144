// Characters as a user counts them in UTF-8 text (code points), for edit limits, cuts and the
// fixed-width fields of stored rows. Text from outside may hold bytes that are no UTF-8: each
// such byte is a character of its own, so that counting and cutting keep it as it is and never
// split a well-formed character into stray bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace orbel {

inline bool IsUtf8ContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the character that starts at `at`: the length of the well-formed sequence there
// (no overlong forms, surrogates or values past U+10FFFF), or 1 for a byte that starts none.
inline std::size_t CharacterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    // The range the second byte must fall in depends on the lead; later bytes are 80..BF.
    unsigned low = 0x80, high = 0xBF;
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    if (byte(1) < low || byte(1) > high) return 1;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsUtf8ContinuationByte(static_cast<char>(byte(i)))) return 1;
    return length;
}

// The byte offset `count` characters after `at` (the end of the text when it is shorter).
inline std::size_t SkipCharacters(std::string_view text, std::size_t at, std::size_t count) {
    for (; count > 0 && at < text.size(); --count) at += CharacterLength(text, at);
    return at;
}

inline std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) ++count;
    return count;
}

// The first `count` characters of the text (all of it when it is shorter).
inline std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    return text.substr(0, SkipCharacters(text, 0, count));
}

}  // namespace orbel
