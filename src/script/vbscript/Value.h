// The values a script holds: every variable is a variant of one of these subtypes. Arrays
// behave as values (assignment copies) but share their storage until one copy is written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"

namespace orbel::vbs {

// The numbers are those VarType returns.
enum class Type : std::int32_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Boolean = 11,
    Array = 8204,  // an array of variants
};

struct ArrayData;

struct Value {
    Type type = Type::Empty;
    union {
        std::int32_t i;  // Integer, Long
        double d;        // Double, Date
        std::int64_t c;  // Currency, in ten-thousandths
        bool b;
    };
    std::string s;
    std::shared_ptr<IDispatch> obj;  // Object; null is Nothing
    std::shared_ptr<ArrayData> arr;

    Value() : c(0) {}
    static Value Null() { return Make(Type::Null); }
    static Value Int(std::int32_t v) { return Whole(Type::Integer, v); }
    static Value Lng(std::int32_t v) { return Whole(Type::Long, v); }
    static Value Dbl(double v) {
        Value r = Make(Type::Double);
        r.d = v;
        return r;
    }
    static Value Cur(std::int64_t tenThousandths) {
        Value r = Make(Type::Currency);
        r.c = tenThousandths;
        return r;
    }
    static Value DateOf(double v) {
        Value r = Make(Type::Date);
        r.d = v;
        return r;
    }
    static Value Str(std::string v) {
        Value r = Make(Type::String);
        r.s = std::move(v);
        return r;
    }
    static Value Bool(bool v) {
        Value r = Make(Type::Boolean);
        r.b = v;
        return r;
    }
    static Value Obj(std::shared_ptr<IDispatch> o) {
        Value r = Make(Type::Object);
        r.obj = std::move(o);
        return r;
    }
    static Value Arr(std::shared_ptr<ArrayData> a) {
        Value r = Make(Type::Array);
        r.arr = std::move(a);
        return r;
    }
    // The smallest of Integer and Long that holds the number, else a Double.
    static Value Number(std::int64_t v);

    bool IsNumeric() const {
        return type == Type::Integer || type == Type::Long || type == Type::Double ||
               type == Type::Currency || type == Type::Date || type == Type::Boolean;
    }

  private:
    static Value Make(Type t) {
        Value r;
        r.type = t;
        return r;
    }
    static Value Whole(Type t, std::int32_t v) {
        Value r = Make(t);
        r.i = v;
        return r;
    }
};

// Dimensions are upper bounds; every lower bound is 0. A dynamic array not yet given bounds
// has no dimensions; a fixed one (declared with bounds) refuses ReDim.
struct ArrayData {
    std::vector<std::int32_t> upper;
    std::vector<Value> items;
    bool fixed = false;

    static std::shared_ptr<ArrayData> Make(const std::vector<std::int32_t>& upper, bool fixed);
    std::size_t Count() const;
};

}  // namespace orbel::vbs
