// Run-time and syntax errors of the language, by their numbers.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orbel::vbs {

enum ErrorNumber : std::int32_t {
    kInvalidCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kArrayFixed = 10,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kOutOfStack = 28,
    kNotDefined = 35,
    kObjectNotSet = 91,
    kInvalidUseOfNull = 94,
    kObjectRequired = 424,
    kCannotCreateObject = 429,
    kNoSuchMember = 438,
    kWrongArgumentCount = 450,
    kNotACollection = 451,
    kVariableUndefined = 500,
    kIllegalAssignment = 501,
    // Syntax errors, reported while code is added.
    kSyntaxError = 1002,
    kExpectedOpenParen = 1005,
    kExpectedCloseParen = 1006,
    kExpectedIdentifier = 1010,
    kExpectedEquals = 1011,
    kExpectedIf = 1012,
    kExpectedTo = 1013,
    kExpectedEnd = 1014,
    kExpectedFunction = 1015,
    kExpectedSub = 1016,
    kExpectedThen = 1017,
    kExpectedWend = 1018,
    kExpectedLoop = 1019,
    kExpectedNext = 1020,
    kExpectedCase = 1021,
    kExpectedSelect = 1022,
    kExpectedExpression = 1023,
    kExpectedStatement = 1024,
    kExpectedEndOfStatement = 1025,
    kExpectedInteger = 1026,
    kExpectedWhileOrUntil = 1027,
    kInvalidCharacter = 1032,
    kUnterminatedString = 1033,
    kInvalidNumber = 1035,
    kNameRedefined = 1041,
    kMustBeFirstStatement = 1042,
    kInvalidExit = 1039,
    kTooComplex = 1049,
    kExpectedIn = 1051,
    kExpectedWith = 1054,
    // Not the language's own: the host stopped a script that ran too long or was cancelled.
    kStopped = 0x7fff0001,
};

// The description a number has when a script raises it without one of its own.
std::string ErrorDescription(std::int32_t number);

// A failure while code is added or run. Line is 1-based in the text given to AddCode; 0 when
// the failure did not come from a line of script (an argument the host passed, for one).
class ScriptError : public std::runtime_error {
  public:
    ScriptError(std::int32_t number, std::string description, int line = 0)
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          line_(line) {}
    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    int Line() const { return line_; }
    void SetLineIfUnknown(int line) {
        if (line_ == 0) line_ = line;
    }

  private:
    std::int32_t number_;
    std::string description_;
    int line_;
};

[[noreturn]] void Fail(std::int32_t number);
[[noreturn]] void Fail(std::int32_t number, const std::string& description);

// Stopping is not an error a script may handle: On Error Resume Next does not catch it.
class ScriptStopped : public std::runtime_error {
  public:
    explicit ScriptStopped(const std::string& why) : std::runtime_error(why) {}
};

}  // namespace orbel::vbs
