#include "platform/automation/TypeLib.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <tuple>
#include <utility>

namespace orbel {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool IsWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-';
}

bool IsIdentifier(std::string_view s) {
    if (s.empty()) return false;
    const char first = s.front();
    if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '_'))
        return false;
    for (char c : s)
        if (!IsWordChar(c) || c == '.' || c == '-') return false;
    return true;
}

// Thrown inside the parser only; ParseTypeLibrary turns it into "LINE: what".
struct Failure {
    int line;
    std::string what;
};

// Words run over letters, digits, '_', '.' and '-' so that a uuid, a version and a negative
// DISPID each arrive as one token; identifiers are checked for their stricter form on use.
enum class TokenKind { Word, String, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    int line = 1;

    bool Is(char punct) const { return kind == TokenKind::Punct && text[0] == punct; }
    bool IsWord(std::string_view w) const { return kind == TokenKind::Word && text == w; }
};

std::string Describe(const Token& t) {
    switch (t.kind) {
        case TokenKind::Word:
        case TokenKind::Punct:
            return "'" + t.text + "'";
        case TokenKind::String:
            return "a string";
        case TokenKind::End:
            return "the end of the text";
    }
    return "?";
}

class Lexer {
  public:
    explicit Lexer(std::string_view text) : text_(text) {}

    const Token& Peek() {
        if (!peeked_) {
            next_ = Lex();
            peeked_ = true;
        }
        return next_;
    }

    Token Next() {
        Peek();
        peeked_ = false;
        previous_ = next_;
        return std::move(next_);
    }

    // The token Next() returned last: a missing ';' belongs to its line, not to the next one.
    const Token& Previous() const { return previous_; }

  private:
    bool AtEnd() const { return pos_ >= text_.size(); }

    // Skips blanks, comments and preprocessor lines. Only #include is allowed: its headers
    // hold the standard DISPIDs and library names, which this subset never uses.
    void SkipTrivia() {
        while (!AtEnd()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                lineStart_ = true;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "//") {
                SkipToEndOfLine();
            } else if (text_.substr(pos_, 2) == "/*") {
                const int startLine = line_;
                pos_ += 2;
                while (!AtEnd() && text_.substr(pos_, 2) != "*/") {
                    if (text_[pos_] == '\n') ++line_;
                    ++pos_;
                }
                if (AtEnd()) throw Failure{startLine, "unterminated comment"};
                pos_ += 2;
                lineStart_ = false;
            } else if (c == '#' && lineStart_) {
                std::size_t p = pos_ + 1;
                while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t')) ++p;
                std::size_t e = p;
                while (e < text_.size() && IsWordChar(text_[e])) ++e;
                const std::string_view directive = text_.substr(p, e - p);
                if (directive != "include")
                    throw Failure{line_, "unsupported directive #" + std::string(directive)};
                SkipToEndOfLine();
            } else {
                return;
            }
        }
    }

    void SkipToEndOfLine() {
        while (!AtEnd() && text_[pos_] != '\n') ++pos_;
    }

    Token Lex() {
        SkipTrivia();
        Token t;
        t.line = line_;
        if (AtEnd()) return t;
        lineStart_ = false;
        const char c = text_[pos_];
        if (IsWordChar(c)) {
            t.kind = TokenKind::Word;
            const std::size_t start = pos_;
            while (!AtEnd() && IsWordChar(text_[pos_])) ++pos_;
            t.text = std::string(text_.substr(start, pos_ - start));
            return t;
        }
        if (c == '"') {
            t.kind = TokenKind::String;
            ++pos_;
            while (true) {
                if (AtEnd() || text_[pos_] == '\n') throw Failure{t.line, "unterminated string"};
                char ch = text_[pos_++];
                if (ch == '"') break;
                if (ch == '\\') {
                    if (AtEnd()) throw Failure{t.line, "unterminated string"};
                    ch = text_[pos_++];
                    if (ch == 'n')
                        ch = '\n';
                    else if (ch == 't')
                        ch = '\t';
                    else if (ch != '\\' && ch != '"')
                        throw Failure{t.line, std::string("unknown escape \\") + ch};
                }
                t.text += ch;
            }
            return t;
        }
        static constexpr std::string_view kPunct = "[](){};:,";
        if (kPunct.find(c) != std::string_view::npos) {
            t.kind = TokenKind::Punct;
            t.text = std::string(1, c);
            ++pos_;
            return t;
        }
        char shown[16];
        if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F)
            std::snprintf(shown, sizeof shown, "'%c'", c);
        else
            std::snprintf(shown, sizeof shown, "byte 0x%02X", static_cast<unsigned char>(c));
        throw Failure{line_, std::string("unexpected character ") + shown};
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool lineStart_ = true;
    Token next_;
    Token previous_;
    bool peeked_ = false;
};

// One attribute as written: its name, the tokens inside its parentheses, its line.
struct Attribute {
    std::string name;
    std::vector<Token> args;
    int line = 0;
};

// What each kind of declaration may carry. Attributes outside this model (help files,
// contexts, restricted, bindable...) are accepted everywhere and have no effect here.
enum Allow : unsigned {
    kUuid = 1u << 0,
    kVersion = 1u << 1,
    kHelp = 1u << 2,
    kId = 1u << 3,
    kHidden = 1u << 4,
    kControl = 1u << 5,
    kDefault = 1u << 6,
    kSource = 1u << 7,
};

struct Attributes {
    std::optional<Guid> uuid;
    std::optional<std::pair<int, int>> version;
    std::string help;
    std::optional<DISPID> id;
    bool hidden = false;
    bool control = false;
    bool isDefault = false;
    bool source = false;
};

bool IsIgnoredAttribute(std::string_view name) {
    static constexpr std::string_view kIgnored[] = {
        "helpfile",      "helpcontext",     "helpstringcontext",
        "lcid",          "restricted",      "licensed",
        "bindable",      "requestedit",     "displaybind",
        "defaultbind",   "nonbrowsable",    "appobject",
        "odl",           "oleautomation",   "in",
        "immediatebind", "defaultcollelem", "uidefault",
        "nonextensible"};
    for (std::string_view k : kIgnored)
        if (name == k) return true;
    return false;
}

std::optional<std::int64_t> ParseInteger(std::string_view s) {
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty() || s.size() > 12) return std::nullopt;
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -v : v;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : lex_(text) {}

    TypeLibrary ParseLibrary() {
        const int line = lex_.Peek().line;
        const Attributes attrs =
            ParseAttributes(kUuid | kVersion | kHelp | kControl | kHidden, "a library");
        ExpectWord("library");
        lib_.name = ExpectIdentifier("the library name");
        if (!attrs.uuid) throw Failure{line, "library " + lib_.name + " has no uuid"};
        lib_.libid = *attrs.uuid;
        if (attrs.version) std::tie(lib_.major, lib_.minor) = *attrs.version;
        lib_.help = attrs.help;
        lib_.control = attrs.control;
        Expect('{');
        while (!lex_.Peek().Is('}')) {
            if (lex_.Peek().Is(';')) {
                lex_.Next();
            } else if (lex_.Peek().IsWord("importlib")) {
                lex_.Next();
                Expect('(');
                const Token lib = lex_.Next();
                if (lib.kind != TokenKind::Word && lib.kind != TokenKind::String)
                    throw Failure{lib.line,
                                  "expected a library after importlib, found " + Describe(lib)};
                Expect(')');
                Expect(';');
            } else {
                ParseDeclaration();
            }
        }
        Expect('}');
        if (lex_.Peek().Is(';')) lex_.Next();
        const Token rest = lex_.Next();
        if (rest.kind != TokenKind::End)
            throw Failure{rest.line, "unexpected " + Describe(rest) + " after the library"};
        return std::move(lib_);
    }

  private:
    void ParseDeclaration() {
        const int line = lex_.Peek().line;
        std::vector<Attribute> attrs = ReadAttributes();
        const Token keyword = lex_.Next();
        if (keyword.IsWord("dispinterface")) {
            ParseDispinterface(Check(attrs, kUuid | kHelp | kHidden, "a dispinterface"), line);
        } else if (keyword.IsWord("coclass")) {
            ParseCoclass(Check(attrs, kUuid | kHelp | kControl, "a coclass"), line);
        } else {
            throw Failure{keyword.line,
                          "expected dispinterface or coclass, found " + Describe(keyword)};
        }
    }

    void ParseDispinterface(const Attributes& attrs, int line) {
        TypeLibInterface itf;
        itf.name = ExpectIdentifier("the dispinterface name");
        if (!attrs.uuid) throw Failure{line, "dispinterface " + itf.name + " has no uuid"};
        if (lib_.FindInterface(itf.name))
            throw Failure{line, "dispinterface " + itf.name + " is declared twice"};
        itf.iid = *attrs.uuid;
        itf.help = attrs.help;
        itf.hidden = attrs.hidden;
        Expect('{');
        ExpectWord("properties");
        Expect(':');
        while (!lex_.Peek().IsWord("methods")) {
            TypeLibMember m = ParseMemberHead(itf, true);
            Expect(';');
            AddMember(itf, std::move(m));
        }
        ExpectWord("methods");
        Expect(':');
        while (!lex_.Peek().Is('}')) {
            TypeLibMember m = ParseMemberHead(itf, false);
            Expect('(');
            ParseParams(m);
            Expect(';');
            AddMember(itf, std::move(m));
        }
        Expect('}');
        if (lex_.Peek().Is(';')) lex_.Next();
        lib_.interfaces.push_back(std::move(itf));
    }

    // The attributes, type and name of a property or method; `memberLine_` keeps its line.
    TypeLibMember ParseMemberHead(const TypeLibInterface& itf, bool property) {
        memberLine_ = lex_.Peek().line;
        const std::vector<Attribute> raw = ReadAttributes();
        const Attributes attrs = Check(raw, kId | kHelp | kHidden, "a member");
        TypeLibMember m;
        m.isProperty = property;
        m.type = ParseType(!property);
        m.name = ExpectIdentifier(property ? "a property name" : "a method name");
        if (!attrs.id)
            throw Failure{memberLine_, m.name + " in " + itf.name + " has no id attribute"};
        m.id = *attrs.id;
        return m;
    }

    void AddMember(TypeLibInterface& itf, TypeLibMember m) {
        if (const TypeLibMember* other = itf.Find(m.id))
            throw Failure{memberLine_, "DISPID " + std::to_string(m.id) + " of " + m.name +
                                           " is already used by " + other->name};
        if (itf.Find(m.name))
            throw Failure{memberLine_, m.name + " is declared twice in " + itf.name};
        itf.members.push_back(std::move(m));
    }

    void ParseParams(TypeLibMember& m) {
        if (lex_.Peek().Is(')')) {
            lex_.Next();
            return;
        }
        if (lex_.Peek().IsWord("void")) {
            lex_.Next();
            Expect(')');
            return;
        }
        while (true) {
            Check(ReadAttributes(), 0, "a parameter");
            TypeLibParam p;
            p.type = *ParseType(false);
            const int line = lex_.Peek().line;
            p.name = ExpectIdentifier("a parameter name");
            for (const TypeLibParam& q : m.params)
                if (EqualsNoCase(q.name, p.name))
                    throw Failure{line,
                                  "parameter " + p.name + " of " + m.name + " is declared twice"};
            m.params.push_back(std::move(p));
            const Token t = lex_.Next();
            if (t.Is(')')) return;
            if (!t.Is(','))
                throw Failure{t.line, "expected ',' or ')' in the parameters of " + m.name +
                                          ", found " + Describe(t)};
        }
    }

    // nullopt is void, allowed only as a method result.
    std::optional<VarType> ParseType(bool allowVoid) {
        const Token t = lex_.Next();
        if (t.kind == TokenKind::Word) {
            if (t.text == "boolean" || t.text == "VARIANT_BOOL") return VarType::Bool;
            if (t.text == "long") return VarType::I4;
            if (t.text == "BSTR") return VarType::BStr;
            if (t.text == "void") {
                if (allowVoid) return std::nullopt;
                throw Failure{t.line, "void is only a method result"};
            }
        }
        throw Failure{t.line, "expected a type (boolean, long, BSTR), found " + Describe(t)};
    }

    void ParseCoclass(const Attributes& attrs, int line) {
        TypeLibCoclass cls;
        cls.name = ExpectIdentifier("the coclass name");
        if (!attrs.uuid) throw Failure{line, "coclass " + cls.name + " has no uuid"};
        for (const TypeLibCoclass& other : lib_.coclasses)
            if (other.name == cls.name)
                throw Failure{line, "coclass " + cls.name + " is declared twice"};
        cls.clsid = *attrs.uuid;
        cls.help = attrs.help;
        cls.control = attrs.control;
        Expect('{');
        while (!lex_.Peek().Is('}')) {
            const int itemLine = lex_.Peek().line;
            const Attributes item =
                Check(ReadAttributes(), kDefault | kSource, "a coclass interface");
            ExpectWord("dispinterface");
            const std::string name = ExpectIdentifier("an interface name");
            Expect(';');
            if (!lib_.FindInterface(name))
                throw Failure{itemLine, "coclass " + cls.name + " names unknown interface " + name};
            if (!item.isDefault) continue;
            std::string& slot = item.source ? cls.defaultSource : cls.defaultInterface;
            if (!slot.empty())
                throw Failure{itemLine, "coclass " + cls.name + " has two default " +
                                            (item.source ? "source " : "") + "interfaces"};
            slot = name;
        }
        Expect('}');
        if (lex_.Peek().Is(';')) lex_.Next();
        lib_.coclasses.push_back(std::move(cls));
    }

    std::vector<Attribute> ReadAttributes() {
        std::vector<Attribute> out;
        if (!lex_.Peek().Is('[')) return out;
        lex_.Next();
        if (lex_.Peek().Is(']')) {
            lex_.Next();
            return out;
        }
        while (true) {
            Token name = lex_.Next();
            if (name.kind != TokenKind::Word || !IsIdentifier(name.text))
                throw Failure{name.line, "expected an attribute, found " + Describe(name)};
            Attribute a{std::move(name.text), {}, name.line};
            if (lex_.Peek().Is('(')) {
                lex_.Next();
                while (!lex_.Peek().Is(')')) {
                    Token arg = lex_.Next();
                    if (arg.kind != TokenKind::Word && arg.kind != TokenKind::String &&
                        !arg.Is(','))
                        throw Failure{arg.line,
                                      "unexpected " + Describe(arg) + " in " + a.name + "(...)"};
                    a.args.push_back(std::move(arg));
                }
                lex_.Next();
            }
            out.push_back(std::move(a));
            const Token t = lex_.Next();
            if (t.Is(']')) return out;
            if (!t.Is(','))
                throw Failure{t.line,
                              "expected ',' or ']' in an attribute list, found " + Describe(t)};
        }
    }

    Attributes ParseAttributes(unsigned allowed, std::string_view what) {
        return Check(ReadAttributes(), allowed, what);
    }

    // Interprets the attributes that matter here and rejects those that do not belong on
    // `what`, so that a misplaced id or a misspelt uuid does not pass unnoticed.
    static Attributes Check(const std::vector<Attribute>& attrs, unsigned allowed,
                            std::string_view what) {
        Attributes out;
        unsigned seen = 0;
        for (const Attribute& a : attrs) {
            if (IsIgnoredAttribute(a.name)) continue;
            unsigned flag = 0;
            if (a.name == "uuid")
                flag = kUuid;
            else if (a.name == "version")
                flag = kVersion;
            else if (a.name == "helpstring")
                flag = kHelp;
            else if (a.name == "id")
                flag = kId;
            else if (a.name == "hidden")
                flag = kHidden;
            else if (a.name == "control")
                flag = kControl;
            else if (a.name == "default")
                flag = kDefault;
            else if (a.name == "source")
                flag = kSource;
            else
                throw Failure{a.line, "unknown attribute " + a.name};
            if (!(allowed & flag))
                throw Failure{a.line,
                              "attribute " + a.name + " is not allowed on " + std::string(what)};
            if (seen & flag) throw Failure{a.line, "attribute " + a.name + " is given twice"};
            seen |= flag;
            const bool takesArgument =
                flag == kUuid || flag == kVersion || flag == kHelp || flag == kId;
            if (takesArgument && a.args.size() != 1)
                throw Failure{a.line, a.name + " takes one argument"};
            if (!takesArgument && !a.args.empty())
                throw Failure{a.line, a.name + " takes no argument"};
            switch (flag) {
                case kUuid:
                    out.uuid = Guid::Parse(a.args[0].text);
                    if (!out.uuid) throw Failure{a.line, "malformed uuid " + a.args[0].text};
                    break;
                case kVersion:
                    out.version = ParseVersion(a.args[0]);
                    break;
                case kHelp:
                    if (a.args[0].kind != TokenKind::String)
                        throw Failure{a.line, "helpstring needs a quoted string"};
                    out.help = a.args[0].text;
                    break;
                case kId: {
                    const auto v = a.args[0].kind == TokenKind::Word ? ParseInteger(a.args[0].text)
                                                                     : std::nullopt;
                    if (!v || *v < INT32_MIN || *v > UINT32_MAX)
                        throw Failure{a.line, "id needs a number, found " + a.args[0].text};
                    // Hex DISPIDs above 0x7FFFFFFF are the negative ones written unsigned.
                    out.id = static_cast<DISPID>(static_cast<std::uint32_t>(*v));
                    break;
                }
                case kHidden:
                    out.hidden = true;
                    break;
                case kControl:
                    out.control = true;
                    break;
                case kDefault:
                    out.isDefault = true;
                    break;
                case kSource:
                    out.source = true;
                    break;
            }
        }
        return out;
    }

    static std::pair<int, int> ParseVersion(const Token& t) {
        const std::string_view s = t.text;
        const std::size_t dot = s.find('.');
        auto part = [&](std::string_view p) {
            int v = -1;
            auto [end, ec] = std::from_chars(p.data(), p.data() + p.size(), v);
            if (p.empty() || ec != std::errc() || end != p.data() + p.size() || v < 0 || v > 0xFFFF)
                throw Failure{t.line, "version must be MAJOR.MINOR, found " + t.text};
            return v;
        };
        if (t.kind != TokenKind::Word)
            throw Failure{t.line, "version must be MAJOR.MINOR, found " + Describe(t)};
        if (dot == std::string_view::npos) return {part(s), 0};
        return {part(s.substr(0, dot)), part(s.substr(dot + 1))};
    }

    void Expect(char punct) {
        const Token before = lex_.Previous();
        const Token t = lex_.Next();
        if (t.Is(punct)) return;
        if (punct == ';' && before.kind != TokenKind::End)
            throw Failure{before.line,
                          "expected ';' after " + Describe(before) + ", found " + Describe(t)};
        throw Failure{t.line, std::string("expected '") + punct + "', found " + Describe(t)};
    }

    void ExpectWord(std::string_view word) {
        const Token t = lex_.Next();
        if (!t.IsWord(word))
            throw Failure{t.line, "expected " + std::string(word) + ", found " + Describe(t)};
    }

    std::string ExpectIdentifier(std::string_view what) {
        Token t = lex_.Next();
        if (t.kind != TokenKind::Word || !IsIdentifier(t.text))
            throw Failure{t.line, "expected " + std::string(what) + ", found " + Describe(t)};
        return std::move(t.text);
    }

    Lexer lex_;
    TypeLibrary lib_;
    int memberLine_ = 0;
};

}  // namespace

const TypeLibMember* TypeLibInterface::Find(std::string_view memberName) const {
    for (const TypeLibMember& m : members)
        if (EqualsNoCase(m.name, memberName)) return &m;
    return nullptr;
}

const TypeLibMember* TypeLibInterface::Find(DISPID id) const {
    for (const TypeLibMember& m : members)
        if (m.id == id) return &m;
    return nullptr;
}

const TypeLibInterface* TypeLibrary::FindInterface(std::string_view interfaceName) const {
    for (const TypeLibInterface& i : interfaces)
        if (i.name == interfaceName) return &i;
    return nullptr;
}

std::optional<TypeLibrary> ParseTypeLibrary(std::string_view text, std::string* error) {
    try {
        Parser parser(text);
        return parser.ParseLibrary();
    } catch (const Failure& f) {
        if (error) *error = std::to_string(f.line) + ": " + f.what;
        return std::nullopt;
    }
}

}  // namespace orbel
