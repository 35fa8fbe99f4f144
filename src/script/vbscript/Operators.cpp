#include "src/script/vbscript/Operators.h"

#include <cmath>

#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

// How wide a whole-number result must at least be.
enum class Width { Integer, Long };

bool IsWhole(const Value& v) {
    return v.type == Type::Integer || v.type == Type::Long || v.type == Type::Boolean ||
           v.type == Type::Empty;
}

Width WidthOf(const Value& v) {
    return v.type == Type::Long ? Width::Long : Width::Integer;
}

std::int64_t WholeOf(const Value& v) {
    if (v.type == Type::Boolean) return v.b ? -1 : 0;
    if (v.type == Type::Empty) return 0;
    return v.i;
}

Value FitWhole(std::int64_t r, Width w) {
    if (w == Width::Integer && r >= -32768 && r <= 32767)
        return Value::Int(static_cast<std::int32_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX) return Value::Lng(static_cast<std::int32_t>(r));
    return Value::Dbl(static_cast<double>(r));
}

Value CheckedDouble(double d) {
    if (!std::isfinite(d)) Fail(std::isnan(d) ? kInvalidCall : kOverflow);
    return Value::Dbl(d);
}

// Add, Sub and Mul share their rules of result type.
Value Arithmetic(Op op, const Value& a, const Value& b) {
    if (a.type == Type::Null || b.type == Type::Null) return Value::Null();
    if (IsWhole(a) && IsWhole(b)) {
        std::int64_t x = WholeOf(a), y = WholeOf(b);
        std::int64_t r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
        Width w =
            WidthOf(a) == Width::Long || WidthOf(b) == Width::Long ? Width::Long : Width::Integer;
        return FitWhole(r, w);
    }
    bool anyDouble = a.type == Type::Double || b.type == Type::Double || a.type == Type::String ||
                     b.type == Type::String;
    if (!anyDouble && (a.type == Type::Currency || b.type == Type::Currency) &&
        a.type != Type::Date && b.type != Type::Date) {
        std::int64_t x = ToCurrency(a), y = ToCurrency(b);
        if (op == Op::Mul) {
            double r = static_cast<double>(x) * static_cast<double>(y) / 10000.0;
            if (std::fabs(r) > 9.2e18) Fail(kOverflow);
            return Value::Cur(static_cast<std::int64_t>(RoundHalfEven(r)));
        }
        return Value::Cur(op == Op::Add ? x + y : x - y);
    }
    double x = ToDouble(a), y = ToDouble(b);
    double r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
    bool isDate = (a.type == Type::Date || b.type == Type::Date) && op != Op::Mul &&
                  !(op == Op::Sub && a.type == Type::Date && b.type == Type::Date);
    if (isDate) return Value::DateOf(r);
    return CheckedDouble(r);
}

// Both operands of \ and Mod are rounded to whole numbers first.
Value WholeDivision(Op op, const Value& a, const Value& b) {
    if (a.type == Type::Null || b.type == Type::Null) return Value::Null();
    std::int64_t x = ToLong(a), y = ToLong(b);
    if (y == 0) Fail(kDivisionByZero);
    std::int64_t r = op == Op::IntDiv ? x / y : x % y;
    bool narrow = (a.type == Type::Integer || a.type == Type::Boolean || a.type == Type::Empty) &&
                  (b.type == Type::Integer || b.type == Type::Boolean || b.type == Type::Empty);
    return FitWhole(r, narrow ? Width::Integer : Width::Long);
}

bool NarrowLogic(const Value& a, const Value& b) {
    auto narrow = [](const Value& v) {
        return v.type == Type::Integer || v.type == Type::Boolean || v.type == Type::Empty ||
               v.type == Type::Null;
    };
    return narrow(a) && narrow(b);
}

std::int64_t LogicOf(Op op, std::int64_t x, std::int64_t y) {
    switch (op) {
        case Op::And:
            return x & y;
        case Op::Or:
            return x | y;
        case Op::Xor:
            return x ^ y;
        case Op::Eqv:
            return ~(x ^ y);
        default:
            return ~x | y;  // Imp
    }
}

std::int32_t LogicOperand(const Value& v) {
    if (v.type == Type::Boolean) return v.b ? -1 : 0;
    if (v.type == Type::String) {
        if (EqualsNoCase(v.s, "true")) return -1;
        if (EqualsNoCase(v.s, "false")) return 0;
    }
    return ToLong(v);
}

Value Logic(Op op, const Value& a, const Value& b) {
    bool aNull = a.type == Type::Null, bNull = b.type == Type::Null;
    if (aNull || bNull) {
        if (aNull && bNull) return Value::Null();
        const Value& other = aNull ? b : a;
        std::int32_t o = LogicOperand(other);
        // Null is unknown: the result is known only where the other side decides it.
        if (op == Op::And && o == 0)
            return other.type == Type::Boolean ? Value::Bool(false) : Value::Int(0);
        if (op == Op::Or && o == -1)
            return other.type == Type::Boolean ? Value::Bool(true) : FitWhole(-1, Width::Integer);
        if (op == Op::Imp && ((aNull && o == -1) || (bNull && o == 0)))
            return other.type == Type::Boolean ? Value::Bool(true) : FitWhole(-1, Width::Integer);
        return Value::Null();
    }
    std::int64_t r = LogicOf(op, LogicOperand(a), LogicOperand(b));
    if (a.type == Type::Boolean && b.type == Type::Boolean) return Value::Bool(r != 0);
    if (NarrowLogic(a, b)) return Value::Int(static_cast<std::int16_t>(r));
    return Value::Lng(static_cast<std::int32_t>(r));
}

int Sign(double d) {
    return d < 0 ? -1 : d > 0 ? 1 : 0;
}

}  // namespace

Value Compare(const Value& a, const Value& b, bool ignoreCase) {
    if (a.type == Type::Null || b.type == Type::Null) return Value::Null();
    if (a.type == Type::Object || b.type == Type::Object || a.type == Type::Array ||
        b.type == Type::Array)
        Fail(kTypeMismatch);
    bool aText = a.type == Type::String, bText = b.type == Type::String;
    if (aText || bText) {
        if (aText && bText) {
            int c = ignoreCase ? Lower(a.s).compare(Lower(b.s)) : a.s.compare(b.s);
            return Value::Int(c < 0 ? -1 : c > 0 ? 1 : 0);
        }
        const Value& other = aText ? b : a;
        if (other.type == Type::Empty) {
            int c = aText ? (a.s.empty() ? 0 : 1) : (b.s.empty() ? 0 : -1);
            return Value::Int(c);
        }
        return Value::Int(aText ? 1 : -1);
    }
    if (IsWhole(a) && IsWhole(b)) {
        std::int64_t x = WholeOf(a), y = WholeOf(b);
        return Value::Int(x < y ? -1 : x > y ? 1 : 0);
    }
    if (a.type == Type::Currency && b.type == Type::Currency)
        return Value::Int(a.c < b.c ? -1 : a.c > b.c ? 1 : 0);
    return Value::Int(Sign(ToDouble(a) - ToDouble(b)));
}

bool IsTrue(const Value& v) {
    if (v.type == Type::Null || v.type == Type::Empty) return false;
    return ToBool(v);
}

Value BinaryOp(Op op, const Value& a, const Value& b) {
    switch (op) {
        case Op::Add:
            if (a.type == Type::String && b.type == Type::String) return Value::Str(a.s + b.s);
            if ((a.type == Type::String && b.type == Type::Empty) ||
                (a.type == Type::Empty && b.type == Type::String))
                return Value::Str(a.type == Type::String ? a.s : b.s);
            return Arithmetic(op, a, b);
        case Op::Sub:
        case Op::Mul:
            return Arithmetic(op, a, b);
        case Op::Div: {
            if (a.type == Type::Null || b.type == Type::Null) return Value::Null();
            double y = ToDouble(b);
            double x = ToDouble(a);
            if (y == 0) Fail(x == 0 ? kOverflow : kDivisionByZero);
            return CheckedDouble(x / y);
        }
        case Op::IntDiv:
        case Op::Mod:
            return WholeDivision(op, a, b);
        case Op::Pow: {
            if (a.type == Type::Null || b.type == Type::Null) return Value::Null();
            double x = ToDouble(a), y = ToDouble(b);
            if (x == 0 && y < 0) Fail(kDivisionByZero);
            return CheckedDouble(std::pow(x, y));
        }
        case Op::Concat: {
            if (a.type == Type::Null && b.type == Type::Null) return Value::Null();
            std::string r = a.type == Type::Null ? std::string() : ToStr(a);
            if (b.type != Type::Null) r += b.type == Type::String ? b.s : ToStr(b);
            return Value::Str(std::move(r));
        }
        case Op::Eq:
        case Op::Ne:
        case Op::Lt:
        case Op::Le:
        case Op::Gt:
        case Op::Ge: {
            Value c = Compare(a, b);
            if (c.type == Type::Null) return c;
            int k = c.i;
            bool r = op == Op::Eq   ? k == 0
                     : op == Op::Ne ? k != 0
                     : op == Op::Lt ? k < 0
                     : op == Op::Le ? k <= 0
                     : op == Op::Gt ? k > 0
                                    : k >= 0;
            return Value::Bool(r);
        }
        case Op::Is:
            if (a.type != Type::Object || b.type != Type::Object) Fail(kObjectRequired);
            return Value::Bool(a.obj == b.obj);
        case Op::And:
        case Op::Or:
        case Op::Xor:
        case Op::Eqv:
        case Op::Imp:
            return Logic(op, a, b);
        default:
            Fail(kSyntaxError);
    }
}

Value UnaryOp(Op op, const Value& a) {
    if (a.type == Type::Null) return a;
    if (op == Op::Neg) {
        switch (a.type) {
            case Type::Empty:
                return Value::Int(0);
            case Type::Integer:
            case Type::Boolean:
                return FitWhole(-WholeOf(a), Width::Integer);
            case Type::Long:
                return FitWhole(-static_cast<std::int64_t>(a.i), Width::Long);
            case Type::Currency:
                return Value::Cur(-a.c);
            case Type::Date:
                return Value::DateOf(-a.d);
            default:
                return Value::Dbl(-ToDouble(a));
        }
    }
    // Not
    if (a.type == Type::Boolean) return Value::Bool(!a.b);
    std::int32_t x = LogicOperand(a);
    if (a.type == Type::String && (EqualsNoCase(a.s, "true") || EqualsNoCase(a.s, "false")))
        return Value::Bool(x == 0);
    if (a.type == Type::Integer || a.type == Type::Empty) return Value::Int(~x);
    return Value::Lng(~x);
}

}  // namespace orbel::vbs
