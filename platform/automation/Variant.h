// Automation values: what travels through Invoke, events and properties.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace orbel {

class IDispatch;

// I4 is a 32-bit signed long, Bool the automation boolean, BStr a string (UTF-8 here),
// Missing the placeholder for an optional argument the caller left out.
enum class VarType { Empty, I4, Bool, BStr, Dispatch, Missing };

const char* VarTypeName(VarType t);

class Variant {
  public:
    Variant() = default;
    Variant(std::int32_t v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(std::shared_ptr<IDispatch> v) : value_(std::move(v)) {}
    static Variant Missing();

    VarType Type() const;
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsMissing() const { return Type() == VarType::Missing; }

    // Exact accessors; calling one for another type is a programming error (asserts).
    std::int32_t I4() const;
    bool Bool() const;
    const std::string& BStr() const;
    const std::shared_ptr<IDispatch>& Dispatch() const;

    // Coercion as automation performs it for arguments: I4 <-> Bool (nonzero is TRUE,
    // TRUE is -1), numbers and booleans to text, text holding a whole number to I4, text
    // "True"/"False" (any case) or a number to Bool, Empty to 0/FALSE/"". Nothing else.
    std::optional<Variant> ChangeType(VarType to) const;

    // Transcript form: strings quoted with \" \\ \n \r \t escapes, Bool TRUE/FALSE, I4 plain.
    std::string ToDisplayString() const;

    bool operator==(const Variant& other) const;

  private:
    struct MissingTag {
        bool operator==(const MissingTag&) const = default;
    };
    std::variant<std::monostate, std::int32_t, bool, std::string, std::shared_ptr<IDispatch>,
                 MissingTag>
        value_;
};

// Quotes a string the way transcripts and container scripts write it.
std::string QuoteString(const std::string& s);

}  // namespace orbel
