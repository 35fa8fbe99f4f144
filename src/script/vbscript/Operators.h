// The language's operators on values whose objects were already replaced by their default
// values (except for Is, which compares the objects themselves).
#pragma once

#include "src/script/vbscript/Ast.h"
#include "src/script/vbscript/Value.h"

namespace orbel::vbs {

Value BinaryOp(Op op, const Value& a, const Value& b);
Value UnaryOp(Op op, const Value& a);

// -1, 0 or 1; Null when either side is Null. Text compares by character codes unless
// ignoreCase; a number is less than any text.
Value Compare(const Value& a, const Value& b, bool ignoreCase = false);

// Whether a condition holds: Null and Empty do not.
bool IsTrue(const Value& v);

}  // namespace orbel::vbs
