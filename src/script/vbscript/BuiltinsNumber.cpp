// Conversion, type inspection, array and math functions.
#include <cmath>
#include <cstdio>
#include <ctime>

#include "src/script/vbscript/Builtins.h"
#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Interpreter.h"

namespace orbel::vbs {

namespace {

using Args = std::vector<Value>;

Value CInt(Interpreter&, Args& a) {
    return Value::Int(ToInteger(a[0]));
}
Value CLng(Interpreter&, Args& a) {
    return Value::Lng(ToLong(a[0]));
}
Value CDbl(Interpreter&, Args& a) {
    return Value::Dbl(ToDouble(a[0]));
}
Value CStr(Interpreter&, Args& a) {
    return Value::Str(ToStr(a[0]));
}
Value CBool(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) Fail(kInvalidUseOfNull);
    return Value::Bool(ToBool(a[0]));
}
Value CCur(Interpreter&, Args& a) {
    return Value::Cur(ToCurrency(a[0]));
}
Value CDate(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) Fail(kInvalidUseOfNull);
    return Value::DateOf(ToDate(a[0]));
}
Value CByte(Interpreter&, Args& a) {
    std::int32_t n = ToLong(a[0]);
    if (n < 0 || n > 255) Fail(kOverflow);
    return Value::Int(n);
}

Value IsNumeric(Interpreter&, Args& a) {
    const Value& v = a[0];
    switch (v.type) {
        case Type::Empty:
        case Type::Integer:
        case Type::Long:
        case Type::Double:
        case Type::Currency:
        case Type::Boolean:
            return Value::Bool(true);
        case Type::String:
            return Value::Bool(IsNumericText(v.s));
        default:
            return Value::Bool(false);
    }
}
Value IsEmpty(Interpreter&, Args& a) {
    return Value::Bool(a[0].type == Type::Empty);
}
Value IsNull(Interpreter&, Args& a) {
    return Value::Bool(a[0].type == Type::Null);
}
Value IsArray(Interpreter&, Args& a) {
    return Value::Bool(a[0].type == Type::Array);
}
Value IsObject(Interpreter&, Args& a) {
    return Value::Bool(a[0].type == Type::Object);
}
Value IsDate(Interpreter&, Args& a) {
    if (a[0].type == Type::Date) return Value::Bool(true);
    return Value::Bool(a[0].type == Type::String && ParseDateText(a[0].s).has_value());
}

Value TypeName(Interpreter&, Args& a) {
    switch (a[0].type) {
        case Type::Empty:
            return Value::Str("Empty");
        case Type::Null:
            return Value::Str("Null");
        case Type::Integer:
            return Value::Str("Integer");
        case Type::Long:
            return Value::Str("Long");
        case Type::Double:
            return Value::Str("Double");
        case Type::Currency:
            return Value::Str("Currency");
        case Type::Date:
            return Value::Str("Date");
        case Type::String:
            return Value::Str("String");
        case Type::Boolean:
            return Value::Str("Boolean");
        case Type::Object:
            return Value::Str(a[0].obj ? "Object" : "Nothing");
        case Type::Array:
            return Value::Str("Variant()");
    }
    return Value::Str("Unknown");
}

Value VarType(Interpreter&, Args& a) {
    return Value::Int(static_cast<std::int32_t>(a[0].type));
}

Value ArrayFn(Interpreter&, Args& a) {
    auto arr = ArrayData::Make({static_cast<std::int32_t>(a.size()) - 1}, false);
    for (std::size_t i = 0; i < a.size(); ++i) arr->items[i] = std::move(a[i]);
    return Value::Arr(std::move(arr));
}

const ArrayData& DimensionedArray(const Args& a, std::size_t& dim) {
    if (a[0].type != Type::Array) Fail(kTypeMismatch);
    const ArrayData& arr = *a[0].arr;
    std::int32_t d = a.size() > 1 ? ToLong(a[1]) : 1;
    if (arr.upper.empty() || d < 1 || static_cast<std::size_t>(d) > arr.upper.size())
        Fail(kSubscriptOutOfRange);
    dim = static_cast<std::size_t>(d) - 1;
    return arr;
}

Value UBound(Interpreter&, Args& a) {
    std::size_t dim;
    return Value::Lng(DimensionedArray(a, dim).upper[dim]);
}

Value LBound(Interpreter&, Args& a) {
    std::size_t dim;
    DimensionedArray(a, dim);
    return Value::Lng(0);
}

// Whole-number kinds keep their kind; everything else becomes a Double.
Value SameKind(const Value& like, double d) {
    if (like.type == Type::Integer || like.type == Type::Long || like.type == Type::Boolean ||
        like.type == Type::Empty) {
        Value r = Value::Number(static_cast<std::int64_t>(d));
        if (like.type == Type::Long && r.type == Type::Integer) r.type = Type::Long;
        return r;
    }
    if (like.type == Type::Currency) return Value::Cur(static_cast<std::int64_t>(d * 10000.0));
    if (like.type == Type::Date) return Value::DateOf(d);
    return Value::Dbl(d);
}

Value Abs(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    if (a[0].type == Type::Currency) return Value::Cur(a[0].c < 0 ? -a[0].c : a[0].c);
    return SameKind(a[0], std::fabs(ToDouble(a[0])));
}
Value Sgn(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    double d = ToDouble(a[0]);
    return Value::Int(d < 0 ? -1 : d > 0 ? 1 : 0);
}
Value Int(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    return SameKind(a[0], std::floor(ToDouble(a[0])));
}
Value Fix(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    return SameKind(a[0], std::trunc(ToDouble(a[0])));
}
Value Round(Interpreter&, Args& a) {
    if (a[0].type == Type::Null) return Value::Null();
    std::int32_t places = a.size() > 1 ? ToLong(a[1]) : 0;
    if (places < 0) Fail(kInvalidCall);
    double scale = std::pow(10.0, places);
    double d = ToDouble(a[0]);
    double r = places == 0 ? RoundHalfEven(d) : RoundHalfEven(d * scale) / scale;
    if (a[0].type == Type::String) return Value::Dbl(r);
    return SameKind(a[0], r);
}

double Checked(double d) {
    if (!std::isfinite(d)) Fail(std::isnan(d) ? kInvalidCall : kOverflow);
    return d;
}

Value Sqr(Interpreter&, Args& a) {
    double d = ToDouble(a[0]);
    if (d < 0) Fail(kInvalidCall);
    return Value::Dbl(std::sqrt(d));
}
Value Exp(Interpreter&, Args& a) {
    return Value::Dbl(Checked(std::exp(ToDouble(a[0]))));
}
Value Log(Interpreter&, Args& a) {
    double d = ToDouble(a[0]);
    if (d <= 0) Fail(kInvalidCall);
    return Value::Dbl(std::log(d));
}
Value Sin(Interpreter&, Args& a) {
    return Value::Dbl(std::sin(ToDouble(a[0])));
}
Value Cos(Interpreter&, Args& a) {
    return Value::Dbl(std::cos(ToDouble(a[0])));
}
Value Tan(Interpreter&, Args& a) {
    return Value::Dbl(std::tan(ToDouble(a[0])));
}
Value Atn(Interpreter&, Args& a) {
    return Value::Dbl(std::atan(ToDouble(a[0])));
}

// Rnd(negative) restarts the sequence from that number; Rnd(0) repeats the last value.
Value Rnd(Interpreter& in, Args& a) {
    double n = a.empty() ? 1 : ToDouble(a[0]);
    if (n < 0)
        in.Random().seed(
            static_cast<std::uint32_t>(std::fmod(std::fabs(n) * 1000003.0, 4294967296.0)));
    if (n != 0) {
        std::uniform_real_distribution<float> dist(0.0f, 1.0f);
        float r;
        do r = dist(in.Random());
        while (r >= 1.0f);
        in.LastRandom() = r;
    }
    return Value::Dbl(in.LastRandom());
}

Value Randomize(Interpreter& in, Args& a) {
    auto seed = a.empty() ? static_cast<std::uint32_t>(std::time(nullptr))
                          : static_cast<std::uint32_t>(
                                std::fmod(std::fabs(ToDouble(a[0])) * 1000003.0, 4294967296.0));
    in.Random().seed(seed);
    return Value();
}

// A tristate argument: -1 yes, 0 no, -2 (or left out) the usual way, which is given.
bool Tristate(const Args& a, std::size_t i, bool usual) {
    if (i >= a.size() || a[i].type == Type::Empty) return usual;
    std::int32_t v = ToLong(a[i]);
    return v == -2 ? usual : v != 0;
}

std::string Grouped(double d, const Args& a, const char* suffix) {
    std::int32_t digits = a.size() > 1 && a[1].type != Type::Empty ? ToLong(a[1]) : 2;
    if (digits == -1) digits = 2;
    if (digits < 0 || digits > 20) Fail(kInvalidCall);
    if (!std::isfinite(d) || std::fabs(d) > 1e300) Fail(kOverflow);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(digits), std::fabs(d));
    std::string text(buf);
    std::string whole = text.substr(0, text.find('.'));
    std::string frac = digits > 0 ? text.substr(text.find('.')) : std::string();
    bool negative = d < 0 && text.find_first_not_of("0.") != std::string::npos;
    if (whole == "0" && !frac.empty() && !Tristate(a, 2, true)) whole.clear();
    if (Tristate(a, 4, true))
        for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ",");
    std::string out = whole + frac + suffix;
    if (!negative) return out;
    return Tristate(a, 3, false) ? "(" + out + ")" : "-" + out;
}

Value FormatNumber(Interpreter&, Args& a) {
    return Value::Str(Grouped(ToDouble(a[0]), a, ""));
}
Value FormatPercent(Interpreter&, Args& a) {
    return Value::Str(Grouped(ToDouble(a[0]) * 100, a, "%"));
}

constexpr Builtin kNumber[] = {
    {"formatnumber", 1, 5, false, FormatNumber},
    {"formatpercent", 1, 5, false, FormatPercent},
    {"cint", 1, 1, false, CInt},
    {"clng", 1, 1, false, CLng},
    {"cdbl", 1, 1, false, CDbl},
    {"csng", 1, 1, false, CDbl},
    {"cstr", 1, 1, false, CStr},
    {"cbool", 1, 1, false, CBool},
    {"ccur", 1, 1, false, CCur},
    {"cdate", 1, 1, false, CDate},
    {"cbyte", 1, 1, false, CByte},
    {"isnumeric", 1, 1, false, IsNumeric},
    {"isempty", 1, 1, true, IsEmpty},
    {"isnull", 1, 1, true, IsNull},
    {"isarray", 1, 1, true, IsArray},
    {"isobject", 1, 1, true, IsObject},
    {"isdate", 1, 1, false, IsDate},
    {"typename", 1, 1, true, TypeName},
    {"vartype", 1, 1, true, VarType},
    {"array", 0, 1 << 16, true, ArrayFn},
    {"ubound", 1, 2, false, UBound},
    {"lbound", 1, 2, false, LBound},
    {"abs", 1, 1, false, Abs},
    {"sgn", 1, 1, false, Sgn},
    {"int", 1, 1, false, Int},
    {"fix", 1, 1, false, Fix},
    {"round", 1, 2, false, Round},
    {"sqr", 1, 1, false, Sqr},
    {"exp", 1, 1, false, Exp},
    {"log", 1, 1, false, Log},
    {"sin", 1, 1, false, Sin},
    {"cos", 1, 1, false, Cos},
    {"tan", 1, 1, false, Tan},
    {"atn", 1, 1, false, Atn},
    {"rnd", 0, 1, false, Rnd},
    {"randomize", 0, 1, false, Randomize},
};

}  // namespace

std::span<const Builtin> NumberBuiltins() {
    return kNumber;
}

}  // namespace orbel::vbs
