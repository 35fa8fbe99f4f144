#include "src/script/vbscript/Errors.h"

namespace orbel::vbs {

std::string ErrorDescription(std::int32_t number) {
    switch (number) {
        case kInvalidCall:
            return "Invalid procedure call or argument";
        case kOverflow:
            return "Overflow";
        case kOutOfMemory:
            return "Out of memory";
        case kSubscriptOutOfRange:
            return "Subscript out of range";
        case kArrayFixed:
            return "This array is fixed or temporarily locked";
        case kDivisionByZero:
            return "Division by zero";
        case kTypeMismatch:
            return "Type mismatch";
        case kOutOfStack:
            return "Out of stack space";
        case kNotDefined:
            return "Sub or Function not defined";
        case kObjectNotSet:
            return "Object variable not set";
        case kInvalidUseOfNull:
            return "Invalid use of Null";
        case kObjectRequired:
            return "Object required";
        case kCannotCreateObject:
            return "ActiveX component can't create object";
        case kNoSuchMember:
            return "Object doesn't support this property or method";
        case kWrongArgumentCount:
            return "Wrong number of arguments or invalid property assignment";
        case kNotACollection:
            return "Object not a collection";
        case kVariableUndefined:
            return "Variable is undefined";
        case kIllegalAssignment:
            return "Illegal assignment";
        case kSyntaxError:
            return "Syntax error";
        case kExpectedOpenParen:
            return "Expected '('";
        case kExpectedCloseParen:
            return "Expected ')'";
        case kExpectedIdentifier:
            return "Expected identifier";
        case kExpectedEquals:
            return "Expected '='";
        case kExpectedIf:
            return "Expected 'If'";
        case kExpectedTo:
            return "Expected 'To'";
        case kExpectedEnd:
            return "Expected 'End'";
        case kExpectedFunction:
            return "Expected 'Function'";
        case kExpectedSub:
            return "Expected 'Sub'";
        case kExpectedThen:
            return "Expected 'Then'";
        case kExpectedWend:
            return "Expected 'Wend'";
        case kExpectedLoop:
            return "Expected 'Loop'";
        case kExpectedNext:
            return "Expected 'Next'";
        case kExpectedCase:
            return "Expected 'Case'";
        case kExpectedSelect:
            return "Expected 'Select'";
        case kExpectedExpression:
            return "Expected expression";
        case kExpectedStatement:
            return "Expected statement";
        case kExpectedEndOfStatement:
            return "Expected end of statement";
        case kExpectedInteger:
            return "Expected integer constant";
        case kExpectedWhileOrUntil:
            return "Expected 'While', 'Until' or end of statement";
        case kInvalidCharacter:
            return "Invalid character";
        case kUnterminatedString:
            return "Unterminated string constant";
        case kInvalidNumber:
            return "Invalid number";
        case kNameRedefined:
            return "Name redefined";
        case kMustBeFirstStatement:
            return "Must be first statement on the line";
        case kInvalidExit:
            return "Invalid 'exit' statement";
        case kTooComplex:
            return "Expression or nesting too complex";
        case kExpectedWith:
            return "Expected 'With'";
        case kExpectedIn:
            return "Expected 'In'";
        default:
            return "Unknown runtime error";
    }
}

void Fail(std::int32_t number) {
    throw ScriptError(number, ErrorDescription(number));
}

void Fail(std::int32_t number, const std::string& description) {
    throw ScriptError(number, description);
}

}  // namespace orbel::vbs
