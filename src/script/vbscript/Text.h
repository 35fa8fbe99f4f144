// Text helpers the language needs: names compare without regard to case (ASCII letters).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orbel::vbs {

std::string Lower(std::string_view s);
std::string Upper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Texts are UTF-8; the string functions count characters, not bytes. ByteOffset is where the
// character at a 0-based position starts (the text's size past its end).
std::size_t CharCount(std::string_view s);
std::size_t ByteOffset(std::string_view s, std::size_t chars);

// The character of a code point in the text's encoding (UTF-8), and the code point of the
// first character of a text (0 for an empty one).
std::string CharOf(std::uint32_t codePoint);
std::uint32_t FirstCodePoint(std::string_view s);

}  // namespace orbel::vbs
