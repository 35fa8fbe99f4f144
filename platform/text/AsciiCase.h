// Names that compare without regard to letter case, as the registry, initialisation files and
// automation names do: ASCII letters only, so UTF-8 text is never changed.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace orbel {

inline char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperedAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

inline std::string FoldedAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = FoldAscii(c);
    return out;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

}  // namespace orbel
