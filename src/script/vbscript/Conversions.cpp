#include "src/script/vbscript/Conversions.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

Value Value::Number(std::int64_t v) {
    if (v >= -32768 && v <= 32767) return Int(static_cast<std::int32_t>(v));
    if (v >= INT32_MIN && v <= INT32_MAX) return Lng(static_cast<std::int32_t>(v));
    return Dbl(static_cast<double>(v));
}

std::shared_ptr<ArrayData> ArrayData::Make(const std::vector<std::int32_t>& upper, bool fixed) {
    auto a = std::make_shared<ArrayData>();
    a->upper = upper;
    a->fixed = fixed;
    std::size_t n = 1;
    for (std::int32_t u : upper) {
        if (u < -1) Fail(kSubscriptOutOfRange);
        n *= static_cast<std::size_t>(u + 1);
        if (n > (1u << 26)) Fail(kOutOfMemory);
    }
    a->items.resize(upper.empty() ? 0 : n);
    return a;
}

std::size_t ArrayData::Count() const {
    return items.size();
}

double RoundHalfEven(double d) {
    return std::nearbyint(d);
}

std::optional<double> ParseNumberText(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    s = s.substr(b, e - b);
    if (s.empty()) return std::nullopt;
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O')) {
        int base = (s[1] == 'h' || s[1] == 'H') ? 16 : 8;
        std::uint64_t v = 0;
        for (std::size_t i = 2; i < s.size(); ++i) {
            int d = std::isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0'
                    : (base == 16 && std::isxdigit(static_cast<unsigned char>(s[i])))
                        ? std::tolower(static_cast<unsigned char>(s[i])) - 'a' + 10
                        : -1;
            if (d < 0 || d >= base) return std::nullopt;
            v = v * base + d;
            if (v > 0xffffffffULL) return std::nullopt;
        }
        if (v <= 0xffff) return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    std::size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exp = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++exp;
        if (exp == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    std::string text(s);
    double d = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

bool IsNumericText(std::string_view s) {
    return ParseNumberText(s).has_value();
}

double ToDouble(const Value& v) {
    switch (v.type) {
        case Type::Empty:
            return 0;
        case Type::Integer:
        case Type::Long:
            return v.i;
        case Type::Double:
        case Type::Date:
            return v.d;
        case Type::Currency:
            return static_cast<double>(v.c) / 10000.0;
        case Type::Boolean:
            return v.b ? -1 : 0;
        case Type::String: {
            auto d = ParseNumberText(v.s);
            if (!d) Fail(kTypeMismatch);
            return *d;
        }
        case Type::Null:
            Fail(kInvalidUseOfNull);
        default:
            Fail(kTypeMismatch);
    }
}

std::int32_t ToLong(const Value& v) {
    if (v.type == Type::Integer || v.type == Type::Long) return v.i;
    double d = RoundHalfEven(ToDouble(v));
    if (!(d >= -2147483648.0 && d <= 2147483647.0)) Fail(kOverflow);
    return static_cast<std::int32_t>(d);
}

std::int32_t ToInteger(const Value& v) {
    std::int32_t l = ToLong(v);
    if (l < -32768 || l > 32767) Fail(kOverflow);
    return l;
}

std::int64_t ToCurrency(const Value& v) {
    if (v.type == Type::Currency) return v.c;
    double d = RoundHalfEven(ToDouble(v) * 10000.0);
    if (!(std::fabs(d) < 9.2e18)) Fail(kOverflow);
    return static_cast<std::int64_t>(d);
}

bool ToBool(const Value& v) {
    switch (v.type) {
        case Type::Boolean:
            return v.b;
        case Type::String:
            if (EqualsNoCase(v.s, "true")) return true;
            if (EqualsNoCase(v.s, "false")) return false;
            return ToDouble(v) != 0;
        case Type::Currency:
            return v.c != 0;
        default:
            return ToDouble(v) != 0;
    }
}

std::string FormatDouble(double d) {
    if (d == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    std::string s(buf);
    // "1.5E+20" keeps its exponent; the language writes at least two exponent digits.
    auto e = s.find('E');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string exp = s.substr(e + 1);
        char sign = exp[0];
        exp = exp.substr(1);
        while (exp.size() > 2 && exp[0] == '0') exp.erase(0, 1);
        s = mant + "E" + sign + exp;
    }
    return s;
}

std::string FormatCurrency(std::int64_t c) {
    bool neg = c < 0;
    std::uint64_t u = neg ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
    std::string s = std::to_string(u / 10000);
    std::uint64_t frac = u % 10000;
    if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(frac));
        std::string f(buf);
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return neg ? "-" + s : s;
}

namespace {

// Days from 1 March of year 0 in the proleptic Gregorian calendar, shifted to the epoch.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;  // days since 1970-01-01
}

constexpr std::int64_t kEpochShift = 25569;  // 1970-01-01 is day 25569 after 1899-12-30

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = yoe + era * 400;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

// Whole seconds since the epoch day, the time part counted away from zero as the language does
// for dates before 1899-12-30.
std::int64_t TotalSeconds(double date) {
    if (!(std::fabs(date) < 2958466.0)) Fail(kOverflow);  // beyond 31 December 9999
    double whole = std::trunc(date);
    double frac = std::fabs(date - whole);
    return static_cast<std::int64_t>(whole) * 86400 +
           (date < 0 ? -1 : 1) * static_cast<std::int64_t>(std::llround(frac * 86400.0));
}

}  // namespace

double DateFromParts(std::int64_t year, std::int64_t month, std::int64_t day) {
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    // Months and days beyond their range roll over into the next year or month.
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
    if (month < 1) {
        month += 12;
        year -= 1;
    }
    if (year < 100 || year > 9999) Fail(kInvalidCall);
    return static_cast<double>(DaysFromCivil(year, month, 1) + kEpochShift + day - 1);
}

void DateParts(double date, int& year, int& month, int& day) {
    std::int64_t secs = TotalSeconds(date);
    std::int64_t days = secs / 86400;
    CivilFromDays(days - kEpochShift, year, month, day);
}

void TimeParts(double date, int& hour, int& minute, int& second) {
    std::int64_t secs = TotalSeconds(date) % 86400;
    if (secs < 0) secs = -secs;
    hour = static_cast<int>(secs / 3600);
    minute = static_cast<int>(secs / 60 % 60);
    second = static_cast<int>(secs % 60);
}

int WeekdayOf(double date) {
    std::int64_t days = static_cast<std::int64_t>(std::floor(date));
    // 1899-12-30 was a Saturday.
    std::int64_t w = ((days % 7) + 7 + 6) % 7;
    return static_cast<int>(w) + 1;
}

std::string FormatDate(double d) {
    int y, mo, da, h, mi, s;
    DateParts(d, y, mo, da);
    TimeParts(d, h, mi, s);
    char date[32], time[32];
    std::snprintf(date, sizeof date, "%d/%d/%d", mo, da, y);
    std::snprintf(time, sizeof time, "%d:%02d:%02d %s", h % 12 == 0 ? 12 : h % 12, mi, s,
                  h < 12 ? "AM" : "PM");
    bool hasTime = h || mi || s;
    if (std::trunc(d) == 0 && hasTime) return time;
    if (!hasTime) return date;
    return std::string(date) + " " + time;
}

std::optional<double> ParseDateText(std::string_view text) {
    std::string s(text);
    std::size_t p = 0;
    auto skip = [&] {
        while (p < s.size() && s[p] == ' ') ++p;
    };
    auto number = [&](int& out) {
        std::size_t start = p;
        long v = 0;
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p])) && p - start < 5)
            v = v * 10 + (s[p++] - '0');
        out = static_cast<int>(v);
        return p > start;
    };
    skip();
    double date = 0;
    bool any = false;
    std::size_t mark = p;
    int a, b, c;
    if (number(a) && p < s.size() && (s[p] == '/' || s[p] == '-')) {
        char sep = s[p++];
        if (!number(b) || p >= s.size() || s[p] != sep) return std::nullopt;
        ++p;
        if (!number(c)) return std::nullopt;
        int year, month, day;
        if (a > 31)
            year = a, month = b, day = c;  // 2024-05-17
        else
            month = a, day = b, year = c;
        if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
        date = DateFromParts(year, month, day);
        int y2, m2, d2;
        DateParts(date, y2, m2, d2);
        if (m2 != month) return std::nullopt;
        any = true;
        skip();
    } else {
        p = mark;
    }
    mark = p;
    int h, m, sec = 0;
    if (number(h) && p < s.size() && s[p] == ':') {
        ++p;
        if (!number(m)) return std::nullopt;
        if (p < s.size() && s[p] == ':') {
            ++p;
            if (!number(sec)) return std::nullopt;
        }
        skip();
        std::string rest = Lower(s.substr(p));
        if (rest == "am" || rest == "pm") {
            if (h < 1 || h > 12) return std::nullopt;
            h = h % 12 + (rest == "pm" ? 12 : 0);
            p = s.size();
        }
        if (h > 23 || m > 59 || sec > 59) return std::nullopt;
        date += (h * 3600 + m * 60 + sec) / 86400.0;
        any = true;
    } else {
        p = mark;
    }
    skip();
    if (!any || p != s.size()) return std::nullopt;
    return date;
}

double ToDate(const Value& v) {
    if (v.type == Type::String) {
        if (auto d = ParseDateText(v.s)) return *d;
        if (auto n = ParseNumberText(v.s)) return *n;
        Fail(kTypeMismatch);
    }
    return ToDouble(v);
}

std::string ToStr(const Value& v) {
    switch (v.type) {
        case Type::Empty:
            return "";
        case Type::String:
            return v.s;
        case Type::Integer:
        case Type::Long:
            return std::to_string(v.i);
        case Type::Double:
            return FormatDouble(v.d);
        case Type::Currency:
            return FormatCurrency(v.c);
        case Type::Date:
            return FormatDate(v.d);
        case Type::Boolean:
            return v.b ? "True" : "False";
        case Type::Null:
            Fail(kInvalidUseOfNull);
        default:
            Fail(kTypeMismatch);
    }
}

}  // namespace orbel::vbs
