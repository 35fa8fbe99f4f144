#include "src/script/vbscript/Lexer.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

bool IsNameStart(unsigned char c) {
    return std::isalpha(c) || c >= 0x80;
}
bool IsNameChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

class Lexer {
  public:
    explicit Lexer(std::string_view text) : t_(text) {}

    std::vector<Token> Run() {
        while (true) {
            bool space = SkipBlanks();
            if (p_ >= t_.size()) break;
            char c = t_[p_];
            Token tok;
            tok.line = line_;
            tok.spaceBefore = space;
            if (c == '\n' || c == '\r' || c == ':') {
                // CR LF and LF CR are both one line break.
                if (c != ':' && p_ + 1 < t_.size() && (t_[p_ + 1] == '\n' || t_[p_ + 1] == '\r') &&
                    t_[p_ + 1] != c)
                    ++p_;
                if (c != ':') ++line_;
                ++p_;
                // A single-line If ends at the line break, not at a ':'.
                if (c == ':') tok.text = ":";
                Push(Tok::Newline, tok);
            } else if (c == '\'') {
                SkipComment();
            } else if (IsNameStart(static_cast<unsigned char>(c))) {
                std::size_t start = p_;
                while (p_ < t_.size() && IsNameChar(static_cast<unsigned char>(t_[p_]))) ++p_;
                tok.text = std::string(t_.substr(start, p_ - start));
                if (EqualsNoCase(tok.text, "rem") &&
                    (p_ >= t_.size() || t_[p_] == ' ' || t_[p_] == '\t' || t_[p_] == '\r' ||
                     t_[p_] == '\n')) {
                    SkipComment();
                    continue;
                }
                tok.kind = Tok::Name;
                out_.push_back(std::move(tok));
            } else if (c == '[') {
                // A bracketed name may hold any character but ']'.
                std::size_t close = t_.find(']', p_);
                std::size_t eol = t_.find_first_of("\r\n", p_);
                if (close == std::string_view::npos || close > eol)
                    throw ScriptError(kExpectedIdentifier, ErrorDescription(kExpectedIdentifier),
                                      line_);
                tok.kind = Tok::Name;
                tok.text = std::string(t_.substr(p_ + 1, close - p_ - 1));
                p_ = close + 1;
                out_.push_back(std::move(tok));
            } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                       (c == '.' && p_ + 1 < t_.size() &&
                        std::isdigit(static_cast<unsigned char>(t_[p_ + 1])))) {
                ReadNumber(tok);
            } else if (c == '&' && p_ + 1 < t_.size() &&
                       (t_[p_ + 1] == 'h' || t_[p_ + 1] == 'H' || t_[p_ + 1] == 'o' ||
                        t_[p_ + 1] == 'O')) {
                ReadRadix(tok);
            } else if (c == '"') {
                ReadString(tok);
            } else if (c == '#') {
                std::size_t close = t_.find('#', p_ + 1);
                std::size_t eol = t_.find_first_of("\r\n", p_);
                if (close == std::string_view::npos || close > eol)
                    throw ScriptError(kSyntaxError, ErrorDescription(kSyntaxError), line_);
                tok.kind = Tok::DateLit;
                tok.text = std::string(t_.substr(p_ + 1, close - p_ - 1));
                p_ = close + 1;
                out_.push_back(std::move(tok));
            } else {
                ReadSymbol(tok);
            }
        }
        Token end;
        end.line = line_;
        end.kind = Tok::Newline;
        out_.push_back(end);
        end.kind = Tok::End;
        out_.push_back(end);
        return std::move(out_);
    }

  private:
    // Returns whether blanks were skipped. A '_' after a blank and before the end of the line
    // continues the statement on the next line.
    bool SkipBlanks() {
        bool any = false;
        while (p_ < t_.size()) {
            char c = t_[p_];
            if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
                ++p_;
                any = true;
            } else if (c == '_' && ContinuesLine()) {
                std::size_t q = p_ + 1;
                while (q < t_.size() && (t_[q] == ' ' || t_[q] == '\t')) ++q;
                if (q + 1 < t_.size() && (t_[q + 1] == '\n' || t_[q + 1] == '\r') &&
                    t_[q + 1] != t_[q])
                    ++q;
                p_ = q + 1;
                ++line_;
                any = true;
            } else {
                break;
            }
        }
        return any;
    }

    bool ContinuesLine() const {
        std::size_t q = p_ + 1;
        while (q < t_.size() && (t_[q] == ' ' || t_[q] == '\t')) ++q;
        return q < t_.size() && (t_[q] == '\r' || t_[q] == '\n');
    }

    void SkipComment() {
        while (p_ < t_.size() && t_[p_] != '\n' && t_[p_] != '\r') ++p_;
    }

    void Push(Tok kind, Token& tok) {
        tok.kind = kind;
        out_.push_back(std::move(tok));
    }

    void ReadNumber(Token& tok) {
        std::size_t start = p_;
        bool isFloat = false;
        while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) ++p_;
        if (p_ < t_.size() && t_[p_] == '.') {
            isFloat = true;
            ++p_;
            while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) ++p_;
        }
        if (p_ < t_.size() && (t_[p_] == 'e' || t_[p_] == 'E')) {
            std::size_t q = p_ + 1;
            if (q < t_.size() && (t_[q] == '+' || t_[q] == '-')) ++q;
            if (q < t_.size() && std::isdigit(static_cast<unsigned char>(t_[q]))) {
                isFloat = true;
                p_ = q;
                while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) ++p_;
            }
        }
        std::string digits(t_.substr(start, p_ - start));
        if (p_ < t_.size() && IsNameChar(static_cast<unsigned char>(t_[p_])))
            throw ScriptError(kExpectedEndOfStatement, ErrorDescription(kExpectedEndOfStatement),
                              line_);
        tok.number = std::strtod(digits.c_str(), nullptr);
        if (!std::isfinite(tok.number))
            throw ScriptError(kOverflow, ErrorDescription(kOverflow), line_);
        tok.kind = isFloat || tok.number > 2147483647.0 ? Tok::Float : Tok::Integer;
        tok.text = std::move(digits);
        out_.push_back(std::move(tok));
    }

    // &Hff, &O17, with an optional '&' suffix; 16-bit patterns are Integers, as written.
    void ReadRadix(Token& tok) {
        int base = (t_[p_ + 1] == 'h' || t_[p_ + 1] == 'H') ? 16 : 8;
        p_ += 2;
        std::uint64_t v = 0;
        std::size_t digits = 0;
        while (p_ < t_.size()) {
            int d = -1;
            char c = t_[p_];
            if (c >= '0' && c <= '9') d = c - '0';
            if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0 || d >= base) break;
            v = v * base + d;
            if (v > 0xffffffffULL) throw ScriptError(kOverflow, ErrorDescription(kOverflow), line_);
            ++digits;
            ++p_;
        }
        if (digits == 0) throw ScriptError(kInvalidNumber, ErrorDescription(kInvalidNumber), line_);
        bool isLong = p_ < t_.size() && t_[p_] == '&';
        if (isLong) ++p_;
        if (!isLong && v <= 0xffff)
            tok.number = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
        else
            tok.number = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        tok.kind = Tok::Integer;
        out_.push_back(std::move(tok));
    }

    void ReadString(Token& tok) {
        ++p_;
        std::string s;
        while (true) {
            if (p_ >= t_.size() || t_[p_] == '\n' || t_[p_] == '\r')
                throw ScriptError(kUnterminatedString, ErrorDescription(kUnterminatedString),
                                  line_);
            if (t_[p_] == '"') {
                if (p_ + 1 < t_.size() && t_[p_ + 1] == '"') {
                    s += '"';
                    p_ += 2;
                    continue;
                }
                ++p_;
                break;
            }
            s += t_[p_++];
        }
        tok.kind = Tok::String;
        tok.text = std::move(s);
        out_.push_back(std::move(tok));
    }

    void ReadSymbol(Token& tok) {
        static constexpr std::string_view kTwo[] = {"<=", ">=", "<>", "=<", "=>"};
        for (auto two : kTwo) {
            if (t_.substr(p_, 2) == two) {
                tok.text = two == "=<" ? "<=" : two == "=>" ? ">=" : std::string(two);
                p_ += 2;
                Push(Tok::Symbol, tok);
                return;
            }
        }
        char c = t_[p_];
        if (std::string_view("(),.=<>+-*/\\^&").find(c) == std::string_view::npos)
            throw ScriptError(kInvalidCharacter, ErrorDescription(kInvalidCharacter), line_);
        tok.text = std::string(1, c);
        ++p_;
        Push(Tok::Symbol, tok);
    }

    std::string_view t_;
    std::size_t p_ = 0;
    int line_ = 1;
    std::vector<Token> out_;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view text) {
    return Lexer(text).Run();
}

}  // namespace orbel::vbs
