#include "platform/shell/CommandLine.h"

namespace orbel::platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsPlainWordChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '_':
        case '@':
        case '%':
        case '+':
        case '=':
        case ':':
        case ',':
        case '.':
        case '/':
        case '-':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<std::string> SplitShellWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a word has begun, even if it is still empty ("")
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            const std::size_t end = close == std::string_view::npos ? n : close;
            word.append(text.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? n : close + 1;
        } else if (c == '"') {
            ++i;
            while (i < n && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < n) {
                    const char next = text[i + 1];
                    if (next == '"' || next == '\\' || next == '$' || next == '`') {
                        word += next;
                        i += 2;
                        continue;
                    }
                }
                word += text[i++];
            }
            if (i < n) ++i;  // the closing quote
        } else if (c == '\\') {
            if (i + 1 < n) {
                word += text[i + 1];
                i += 2;
            } else {
                word += c;
                ++i;
            }
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::string QuoteShellWord(std::string_view word) {
    bool plain = !word.empty();
    for (char c : word) plain = plain && IsPlainWordChar(c);
    if (plain) return std::string(word);
    std::string out = "'";
    for (char c : word) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    out += '\'';
    return out;
}

std::string JoinShellWords(std::span<const std::string> words) {
    std::string out;
    for (const std::string& w : words) {
        if (!out.empty()) out += ' ';
        out += QuoteShellWord(w);
    }
    return out;
}

}  // namespace orbel::platform
