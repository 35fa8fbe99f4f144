#include "host/container/ScriptLine.h"

#include <charconv>
#include <fstream>

namespace orbel::host {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::string_view digits = text.substr(!text.empty() && text[0] == '-' ? 1 : 0);
    if (digits.empty()) return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool LooksNumeric(std::string_view text) {
    std::string_view digits = text.substr(!text.empty() && text[0] == '-' ? 1 : 0);
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::optional<Variant> Token::ToValue() const {
    switch (kind) {
        case Kind::String:
            return Variant(text);
        case Kind::Integer:
            return Variant(integer);
        case Kind::Boolean:
            return Variant(boolean);
        case Kind::Word:
            break;
    }
    return std::nullopt;
}

std::string Token::Spelling() const {
    return kind == Kind::String ? QuoteString(text) : text;
}

std::optional<std::vector<Token>> TokenizeLine(std::string_view line, std::string& error) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && IsBlank(line[i])) ++i;
    };
    skipBlanks();
    if (i < line.size() && line[i] == '#') return tokens;
    while (i < line.size()) {
        Token token;
        if (line[i] == '"') {
            token.kind = Token::Kind::String;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    token.text += c;
                    continue;
                }
                if (i == line.size()) break;
                switch (char e = line[i++]) {
                    case '"':
                    case '\\':
                        token.text += e;
                        break;
                    case 'n':
                        token.text += '\n';
                        break;
                    case 'r':
                        token.text += '\r';
                        break;
                    case 't':
                        token.text += '\t';
                        break;
                    default:
                        error = std::string("unknown escape \\") + e + " in a string";
                        return std::nullopt;
                }
            }
            if (!closed) {
                error = "a string is not closed";
                return std::nullopt;
            }
            if (i < line.size() && !IsBlank(line[i])) {
                error = "a blank must follow a string";
                return std::nullopt;
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i])) ++i;
            token.text = std::string(line.substr(start, i - start));
            if (token.text.find('"') != std::string::npos) {
                error = "a quote inside " + token.text;
                return std::nullopt;
            }
            if (token.text == "TRUE" || token.text == "FALSE") {
                token.kind = Token::Kind::Boolean;
                token.boolean = token.text == "TRUE";
            } else if (LooksNumeric(token.text)) {
                auto value = ParseInteger(token.text);
                if (!value) {
                    error = "the number " + token.text + " does not fit in 32 bits";
                    return std::nullopt;
                }
                token.kind = Token::Kind::Integer;
                token.integer = *value;
            }
        }
        tokens.push_back(std::move(token));
        skipBlanks();
    }
    return tokens;
}

// ---------------------------------------------------------------------------------------

ScriptSource::ScriptSource(std::vector<std::string> files, std::istream& standardInput)
    : files_(std::move(files)), stdin_(standardInput) {
    if (files_.empty()) files_.push_back("-");
}

ScriptSource::~ScriptSource() = default;

std::vector<std::string> ScriptSource::Unreadable() const {
    std::vector<std::string> out;
    for (const std::string& f : files_)
        if (f != "-" && !std::ifstream(f)) out.push_back(f);
    return out;
}

bool ScriptSource::OpenNext() {
    if (nextFile_ == files_.size()) return false;
    const std::string& name = files_[nextFile_++];
    if (name == "-") {
        file_.reset();
        current_ = &stdin_;
        last_ = {"<stdin>", 0};
    } else {
        file_ = std::make_unique<std::ifstream>(name);
        current_ = file_.get();
        last_ = {name, 0};
    }
    return true;
}

bool ScriptSource::Next(std::string& text, ScriptLocation& where) {
    for (;;) {
        if (!current_ && !OpenNext()) return false;
        if (std::getline(*current_, text)) {
            ++last_.line;
            where = last_;
            return true;
        }
        current_ = nullptr;
    }
}

}  // namespace orbel::host
