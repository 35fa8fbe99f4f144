// String functions. Positions and lengths count characters of the UTF-8 text.
#include <cstdio>

#include "src/script/vbscript/Builtins.h"
#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

using Args = std::vector<Value>;

std::int32_t Count(const Value& v) {
    std::int32_t n = ToLong(v);
    if (n < 0) Fail(kInvalidCall);
    return n;
}

std::int32_t Position(const Value& v) {
    std::int32_t n = ToLong(v);
    if (n < 1) Fail(kInvalidCall);
    return n;
}

bool TextCompare(const Args& a, std::size_t i) {
    return i < a.size() && a[i].type != Type::Empty && ToLong(a[i]) == 1;
}

// Finds needle in hay from byte offset 'from', by character codes or ignoring case.
std::size_t Find(const std::string& hay, const std::string& needle, std::size_t from, bool text) {
    if (!text) return hay.find(needle, from);
    return Lower(hay).find(Lower(needle), from);
}

std::size_t FindLast(const std::string& hay, const std::string& needle, std::size_t from,
                     bool text) {
    if (!text) return hay.rfind(needle, from);
    return Lower(hay).rfind(Lower(needle), from);
}

// The 1-based character position of a byte offset, 0 for none.
Value CharPosition(const std::string& s, std::size_t at) {
    if (at == std::string::npos) return Value::Lng(0);
    return Value::Lng(static_cast<std::int32_t>(CharCount(std::string_view(s).substr(0, at)) + 1));
}

Value Len(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    return Value::Lng(static_cast<std::int32_t>(CharCount(ToStr(a[0]))));
}

Value Left(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    std::int32_t n = Count(a[1]);
    std::string s = ToStr(a[0]);
    return Value::Str(s.substr(0, ByteOffset(s, static_cast<std::size_t>(n))));
}

Value Right(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    std::size_t n = static_cast<std::size_t>(Count(a[1]));
    std::string s = ToStr(a[0]);
    std::size_t total = CharCount(s);
    return Value::Str(n >= total ? s : s.substr(ByteOffset(s, total - n)));
}

Value Mid(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    std::size_t start = static_cast<std::size_t>(Position(a[1])) - 1;
    std::string s = ToStr(a[0]);
    std::size_t from = ByteOffset(s, start);
    if (a.size() < 3) return Value::Str(s.substr(from));
    std::size_t to = ByteOffset(s, start + static_cast<std::size_t>(Count(a[2])));
    return Value::Str(s.substr(from, to - from));
}

Value InStr(Interpreter&, Args& a) {
    std::size_t start = 1;
    std::size_t first = 0;
    if (a.size() >= 3) {
        start = static_cast<std::size_t>(Position(a[0]));
        first = 1;
    }
    if (AnyNull(a, first + 2)) return Value::Null();
    std::string hay = ToStr(a[first]), needle = ToStr(a[first + 1]);
    if (start > CharCount(hay)) return Value::Lng(0);
    if (needle.empty()) return Value::Lng(static_cast<std::int32_t>(start));
    std::size_t at = Find(hay, needle, ByteOffset(hay, start - 1), TextCompare(a, 3));
    return CharPosition(hay, at);
}

Value InStrRev(Interpreter&, Args& a) {
    if (AnyNull(a, 2)) return Value::Null();
    std::string hay = ToStr(a[0]), needle = ToStr(a[1]);
    std::int32_t start = a.size() > 2 && a[2].type != Type::Empty ? ToLong(a[2]) : -1;
    if (start == 0 || start < -1) Fail(kInvalidCall);
    std::size_t chars = CharCount(hay);
    std::size_t endChar = start == -1 ? chars : static_cast<std::size_t>(start);
    if (endChar > chars) return Value::Lng(0);
    if (needle.empty()) return Value::Lng(static_cast<std::int32_t>(endChar));
    std::size_t end = ByteOffset(hay, endChar);
    if (needle.size() > end) return Value::Lng(0);
    std::size_t at = FindLast(hay, needle, end - needle.size(), TextCompare(a, 3));
    return CharPosition(hay, at);
}

Value LCase(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    return Value::Str(Lower(ToStr(a[0])));
}

Value UCase(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    return Value::Str(Upper(ToStr(a[0])));
}

Value TrimSides(const Value& v, bool left, bool right) {
    if (v.type == Type::Null) return Value::Null();
    std::string s = ToStr(v);
    std::size_t b = 0, e = s.size();
    if (left)
        while (b < e && s[b] == ' ') ++b;
    if (right)
        while (e > b && s[e - 1] == ' ') --e;
    return Value::Str(s.substr(b, e - b));
}

Value Trim(Interpreter&, Args& a) {
    return TrimSides(a[0], true, true);
}
Value LTrim(Interpreter&, Args& a) {
    return TrimSides(a[0], true, false);
}
Value RTrim(Interpreter&, Args& a) {
    return TrimSides(a[0], false, true);
}

// The result starts at 'start', as the language's Replace does.
Value Replace(Interpreter&, Args& a) {
    if (AnyNull(a, 3)) return Value::Null();
    std::string s = ToStr(a[0]), find = ToStr(a[1]), with = ToStr(a[2]);
    std::size_t start = a.size() > 3 && a[3].type != Type::Empty ? Position(a[3]) : 1;
    std::int32_t count = a.size() > 4 && a[4].type != Type::Empty ? ToLong(a[4]) : -1;
    if (count < -1) Fail(kInvalidCall);
    bool text = TextCompare(a, 5);
    if (start > CharCount(s)) return Value::Str("");
    s = s.substr(ByteOffset(s, start - 1));
    if (find.empty() || count == 0) return Value::Str(s);
    std::string out;
    std::size_t from = 0;
    std::string folded = text ? Lower(s) : std::string();
    std::string foldedFind = text ? Lower(find) : std::string();
    while (count != 0) {
        std::size_t at = text ? folded.find(foldedFind, from) : s.find(find, from);
        if (at == std::string::npos) break;
        out.append(s, from, at - from);
        out += with;
        from = at + find.size();
        if (count > 0) --count;
    }
    out.append(s, from, std::string::npos);
    return Value::Str(std::move(out));
}

Value Space(Interpreter&, Args& a) {
    return Value::Str(std::string(Count(a[0]), ' '));
}

Value StringFn(Interpreter&, Args& a) {
    if (AnyNull(a, 2)) return Value::Null();
    std::int32_t n = Count(a[0]);
    std::string ch;
    if (a[1].type == Type::String) {
        if (a[1].s.empty()) Fail(kInvalidCall);
        ch = CharOf(FirstCodePoint(a[1].s));
    } else {
        ch = CharOf(static_cast<std::uint32_t>(ToLong(a[1]) & 0xFF));
    }
    std::string out;
    out.reserve(ch.size() * static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) out += ch;
    return Value::Str(std::move(out));
}

Value StrReverse(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) Fail(kInvalidUseOfNull);
    std::string s = ToStr(a[0]);
    std::string out;
    out.reserve(s.size());
    for (std::size_t end = s.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && (static_cast<unsigned char>(s[begin]) & 0xC0) == 0x80) --begin;
        out.append(s, begin, end - begin);
        end = begin;
    }
    return Value::Str(std::move(out));
}

Value StrComp(Interpreter&, Args& a) {
    if (AnyNull(a, 2)) return Value::Null();
    std::string x = ToStr(a[0]), y = ToStr(a[1]);
    if (TextCompare(a, 2)) {
        x = Lower(x);
        y = Lower(y);
    }
    int c = x.compare(y);
    return Value::Int(c < 0 ? -1 : c > 0 ? 1 : 0);
}

Value Asc(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) Fail(kInvalidUseOfNull);
    std::string s = ToStr(a[0]);
    if (s.empty()) Fail(kInvalidCall);
    return Value::Number(FirstCodePoint(s));
}

Value Chr(Interpreter&, Args& a) {
    std::int32_t code = ToLong(a[0]);
    if (code < 0 || code > 0x10FFFF) Fail(kInvalidCall);
    return Value::Str(CharOf(static_cast<std::uint32_t>(code)));
}

Value Split(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) Fail(kInvalidUseOfNull);
    std::string s = ToStr(a[0]);
    std::string delim = a.size() > 1 && a[1].type != Type::Empty ? ToStr(a[1]) : " ";
    std::int32_t limit = a.size() > 2 && a[2].type != Type::Empty ? ToLong(a[2]) : -1;
    bool text = TextCompare(a, 3);
    std::vector<std::string> parts;
    if (s.empty() || limit == 0) return Value::Arr(StringArray({}));
    if (delim.empty()) return Value::Arr(StringArray({s}));
    std::size_t from = 0;
    while (limit < 0 || static_cast<std::int32_t>(parts.size()) < limit - 1) {
        std::size_t at = Find(s, delim, from, text);
        if (at == std::string::npos) break;
        parts.push_back(s.substr(from, at - from));
        from = at + delim.size();
    }
    parts.push_back(s.substr(from));
    return Value::Arr(StringArray(std::move(parts)));
}

Value Join(Interpreter&, Args& a) {
    if (a[0].type != Type::Array || a[0].arr->upper.size() != 1) Fail(kTypeMismatch);
    std::string delim = a.size() > 1 ? ToStr(a[1]) : " ";
    std::string out;
    bool first = true;
    for (const Value& item : a[0].arr->items) {
        if (!first) out += delim;
        first = false;
        if (item.type != Type::Null) out += ToStr(item);
    }
    return Value::Str(std::move(out));
}

Value Filter(Interpreter&, Args& a) {
    if (a[0].type != Type::Array || a[0].arr->upper.size() != 1) Fail(kTypeMismatch);
    std::string match = ToStr(a[1]);
    bool include = a.size() < 3 || a[2].type == Type::Empty || ToBool(a[2]);
    bool text = TextCompare(a, 3);
    std::vector<std::string> kept;
    for (const Value& item : a[0].arr->items) {
        std::string s = ToStr(item);
        if ((Find(s, match, 0, text) != std::string::npos) == include) kept.push_back(s);
    }
    return Value::Arr(StringArray(std::move(kept)));
}

// Integers show 16 bits, longs 32, as two's complement when negative.
Value Radix(const Value& v, const char* format) {
    if (v.type == Type::Null) return Value::Null();
    std::int32_t n = ToLong(v);
    bool narrow = v.type == Type::Integer || v.type == Type::Boolean || v.type == Type::Empty ||
                  (n >= -32768 && n <= 32767 && v.type != Type::Long && n >= 0);
    std::uint32_t bits =
        narrow && n < 0 ? static_cast<std::uint16_t>(n) : static_cast<std::uint32_t>(n);
    char buf[16];
    std::snprintf(buf, sizeof buf, format, bits);
    return Value::Str(buf);
}

Value Hex(Interpreter&, Args& a) {
    return Radix(a[0], "%X");
}
Value Oct(Interpreter&, Args& a) {
    return Radix(a[0], "%o");
}

constexpr Builtin kText[] = {
    {"len", 1, 1, false, Len},
    {"left", 2, 2, false, Left},
    {"right", 2, 2, false, Right},
    {"mid", 2, 3, false, Mid},
    {"instr", 2, 4, false, InStr},
    {"instrrev", 2, 4, false, InStrRev},
    {"lcase", 1, 1, false, LCase},
    {"ucase", 1, 1, false, UCase},
    {"trim", 1, 1, false, Trim},
    {"ltrim", 1, 1, false, LTrim},
    {"rtrim", 1, 1, false, RTrim},
    {"replace", 3, 6, false, Replace},
    {"space", 1, 1, false, Space},
    {"string", 2, 2, false, StringFn},
    {"strreverse", 1, 1, false, StrReverse},
    {"strcomp", 2, 3, false, StrComp},
    {"asc", 1, 1, false, Asc},
    {"ascw", 1, 1, false, Asc},
    {"chr", 1, 1, false, Chr},
    {"chrw", 1, 1, false, Chr},
    {"split", 1, 4, false, Split},
    {"join", 1, 2, false, Join},
    {"filter", 2, 4, false, Filter},
    {"hex", 1, 1, false, Hex},
    {"oct", 1, 1, false, Oct},
};

}  // namespace

std::span<const Builtin> TextBuiltins() {
    return kText;
}

}  // namespace orbel::vbs
