// Date and time functions. "Now" is the machine's local time.
#include <cmath>
#include <ctime>

#include "src/script/vbscript/Builtins.h"
#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

using Args = std::vector<Value>;

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

double LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateFromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
           (tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec) / 86400.0;
}

double DateOnly(double d) {
    return std::trunc(d);
}
double TimeOnly(double d) {
    return std::fabs(d - std::trunc(d));
}

Value Now(Interpreter&, Args&) {
    return Value::DateOf(LocalNow());
}
Value DateFn(Interpreter&, Args&) {
    return Value::DateOf(DateOnly(LocalNow()));
}
Value TimeFn(Interpreter&, Args&) {
    return Value::DateOf(TimeOnly(LocalNow()));
}
Value Timer(Interpreter&, Args&) {
    return Value::Dbl(std::round(TimeOnly(LocalNow()) * 86400.0));
}

template <int Part>
Value DatePartOf(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    double d = ToDate(a[0]);
    int y, mo, da, h, mi, s;
    DateParts(d, y, mo, da);
    TimeParts(d, h, mi, s);
    const int parts[] = {y, mo, da, h, mi, s};
    return Value::Int(parts[Part]);
}

Value Weekday(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    int first = a.size() > 1 && a[1].type != Type::Empty ? ToLong(a[1]) : 1;
    if (first == 0) first = 1;
    if (first < 1 || first > 7) Fail(kInvalidCall);
    int w = WeekdayOf(ToDate(a[0]));
    return Value::Int((w - first + 7) % 7 + 1);
}

Value DateSerial(Interpreter&, Args& a) {
    return Value::DateOf(DateFromParts(ToLong(a[0]), ToLong(a[1]), ToLong(a[2])));
}

Value TimeSerial(Interpreter&, Args& a) {
    double secs = ToLong(a[0]) * 3600.0 + ToLong(a[1]) * 60.0 + ToLong(a[2]);
    return Value::DateOf(secs / 86400.0);
}

Value DateValue(Interpreter&, Args& a) {
    return Value::DateOf(DateOnly(ToDate(a[0])));
}
Value TimeValue(Interpreter&, Args& a) {
    return Value::DateOf(TimeOnly(ToDate(a[0])));
}

enum class Unit { Year, Quarter, Month, Day, Week, Weeks, Hour, Minute, Second };

Unit UnitOf(const Value& v) {
    std::string u = Lower(ToStr(v));
    if (u == "yyyy") return Unit::Year;
    if (u == "q") return Unit::Quarter;
    if (u == "m") return Unit::Month;
    if (u == "y" || u == "d") return Unit::Day;
    if (u == "w") return Unit::Week;
    if (u == "ww") return Unit::Weeks;
    if (u == "h") return Unit::Hour;
    if (u == "n") return Unit::Minute;
    if (u == "s") return Unit::Second;
    Fail(kInvalidCall);
}

double AddMonths(double d, std::int64_t months) {
    int y, mo, da;
    DateParts(d, y, mo, da);
    std::int64_t total = static_cast<std::int64_t>(y) * 12 + (mo - 1) + months;
    std::int64_t ny = total / 12, nm = total % 12 + 1;
    // The day is kept, or the month's last day when the month is shorter.
    double firstOfNext = DateFromParts(ny, nm + 1, 1);
    int ly, lm, lastDay;
    DateParts(firstOfNext - 1, ly, lm, lastDay);
    double date = DateFromParts(ny, nm, da > lastDay ? lastDay : da);
    return date + (d < 0 ? -1 : 1) * TimeOnly(d);
}

Value DateAdd(Interpreter&, Args& a) {
    Unit unit = UnitOf(a[0]);
    double n = std::trunc(ToDouble(a[1]));
    if (!(std::fabs(n) < 1e8)) Fail(kInvalidCall);
    double d = ToDate(a[2]);
    switch (unit) {
        case Unit::Year:
            return Value::DateOf(AddMonths(d, static_cast<std::int64_t>(n) * 12));
        case Unit::Quarter:
            return Value::DateOf(AddMonths(d, static_cast<std::int64_t>(n) * 3));
        case Unit::Month:
            return Value::DateOf(AddMonths(d, static_cast<std::int64_t>(n)));
        case Unit::Day:
        case Unit::Week:
            return Value::DateOf(d + n);
        case Unit::Weeks:
            return Value::DateOf(d + n * 7);
        case Unit::Hour:
            return Value::DateOf(d + n / 24);
        case Unit::Minute:
            return Value::DateOf(d + n / 1440);
        case Unit::Second:
            return Value::DateOf(d + n / 86400);
    }
    return Value();
}

// Counts the boundaries of the unit crossed between the two dates.
Value DateDiff(Interpreter&, Args& a) {
    if (AnyNull(a, 3)) return Value::Null();
    Unit unit = UnitOf(a[0]);
    double d1 = ToDate(a[1]), d2 = ToDate(a[2]);
    int y1, m1, x1, y2, m2, x2;
    DateParts(d1, y1, m1, x1);
    DateParts(d2, y2, m2, x2);
    auto seconds = [](double d) { return std::llround(d * 86400.0); };
    auto floorDiv = [](long long a, long long b) {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
    };
    long long r = 0;
    switch (unit) {
        case Unit::Year:
            r = y2 - y1;
            break;
        case Unit::Quarter:
            r = (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3);
            break;
        case Unit::Month:
            r = (y2 * 12 + m2) - (y1 * 12 + m1);
            break;
        case Unit::Day:
            r = static_cast<long long>(std::floor(d2) - std::floor(d1));
            break;
        case Unit::Week:
            r = static_cast<long long>(std::floor(d2) - std::floor(d1)) / 7;
            break;
        case Unit::Weeks: {
            // Sundays crossed: days counted from the Sunday on or before each date.
            long long s1 = static_cast<long long>(std::floor(d1)) - (WeekdayOf(d1) - 1);
            long long s2 = static_cast<long long>(std::floor(d2)) - (WeekdayOf(d2) - 1);
            r = (s2 - s1) / 7;
            break;
        }
        case Unit::Hour:
            r = floorDiv(seconds(d2), 3600) - floorDiv(seconds(d1), 3600);
            break;
        case Unit::Minute:
            r = floorDiv(seconds(d2), 60) - floorDiv(seconds(d1), 60);
            break;
        case Unit::Second:
            r = seconds(d2) - seconds(d1);
            break;
    }
    return Value::Number(r);
}

Value DatePart(Interpreter&, Args& a) {
    Unit unit = UnitOf(a[0]);
    double d = ToDate(a[1]);
    int y, mo, da, h, mi, s;
    DateParts(d, y, mo, da);
    TimeParts(d, h, mi, s);
    switch (unit) {
        case Unit::Year:
            return Value::Int(y);
        case Unit::Quarter:
            return Value::Int((mo - 1) / 3 + 1);
        case Unit::Month:
            return Value::Int(mo);
        case Unit::Day:
            if (Lower(ToStr(a[0])) == "y")
                return Value::Int(static_cast<int>(std::floor(d) - DateFromParts(y, 1, 1)) + 1);
            return Value::Int(da);
        case Unit::Week:
            return Value::Int(WeekdayOf(d));
        case Unit::Weeks: {
            long long jan1 = static_cast<long long>(DateFromParts(y, 1, 1));
            long long day = static_cast<long long>(std::floor(d));
            return Value::Int(
                static_cast<int>((day - jan1 + WeekdayOf(static_cast<double>(jan1)) - 1) / 7 + 1));
        }
        case Unit::Hour:
            return Value::Int(h);
        case Unit::Minute:
            return Value::Int(mi);
        case Unit::Second:
            return Value::Int(s);
    }
    return Value();
}

Value MonthName(Interpreter&, Args& a) {
    std::int32_t m = ToLong(a[0]);
    if (m < 1 || m > 12) Fail(kInvalidCall);
    std::string name = kMonths[m - 1];
    if (a.size() > 1 && ToBool(a[1])) name = name.substr(0, 3);
    return Value::Str(name);
}

Value WeekdayName(Interpreter&, Args& a) {
    std::int32_t w = ToLong(a[0]);
    int first = a.size() > 2 && a[2].type != Type::Empty ? ToLong(a[2]) : 1;
    if (first == 0) first = 1;
    if (w < 1 || w > 7 || first < 1 || first > 7) Fail(kInvalidCall);
    std::string name = kDays[(w - 1 + first - 1) % 7];
    if (a.size() > 1 && a[1].type != Type::Empty && ToBool(a[1])) name = name.substr(0, 3);
    return Value::Str(name);
}

Value FormatDateTime(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) Fail(kInvalidUseOfNull);
    double d = ToDate(a[0]);
    int format = a.size() > 1 && a[1].type != Type::Empty ? ToLong(a[1]) : 0;
    int y, mo, da, h, mi, s;
    DateParts(d, y, mo, da);
    TimeParts(d, h, mi, s);
    char buf[96];
    switch (format) {
        case 0:
            return Value::Str(FormatDate(d));
        case 1:
            std::snprintf(buf, sizeof buf, "%s, %s %d, %d", kDays[WeekdayOf(d) - 1],
                          kMonths[mo - 1], da, y);
            return Value::Str(buf);
        case 2:
            return Value::Str(FormatDate(DateOnly(d)));
        case 3:
            std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h % 12 == 0 ? 12 : h % 12, mi, s,
                          h < 12 ? "AM" : "PM");
            return Value::Str(buf);
        case 4:
            std::snprintf(buf, sizeof buf, "%02d:%02d", h, mi);
            return Value::Str(buf);
        default:
            Fail(kInvalidCall);
    }
}

constexpr Builtin kDate[] = {
    {"now", 0, 0, false, Now},
    {"date", 0, 0, false, DateFn},
    {"time", 0, 0, false, TimeFn},
    {"timer", 0, 0, false, Timer},
    {"year", 1, 1, false, DatePartOf<0>},
    {"month", 1, 1, false, DatePartOf<1>},
    {"day", 1, 1, false, DatePartOf<2>},
    {"hour", 1, 1, false, DatePartOf<3>},
    {"minute", 1, 1, false, DatePartOf<4>},
    {"second", 1, 1, false, DatePartOf<5>},
    {"weekday", 1, 2, false, Weekday},
    {"dateserial", 3, 3, false, DateSerial},
    {"timeserial", 3, 3, false, TimeSerial},
    {"datevalue", 1, 1, false, DateValue},
    {"timevalue", 1, 1, false, TimeValue},
    {"dateadd", 3, 3, false, DateAdd},
    {"datediff", 3, 5, false, DateDiff},
    {"datepart", 2, 4, false, DatePart},
    {"monthname", 1, 2, false, MonthName},
    {"weekdayname", 1, 3, false, WeekdayName},
    {"formatdatetime", 1, 2, false, FormatDateTime},
};

}  // namespace

std::span<const Builtin> DateBuiltins() {
    return kDate;
}

}  // namespace orbel::vbs
