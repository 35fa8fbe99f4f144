#include "platform/automation/Variant.h"

#include <strings.h>

#include <cassert>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace orbel {

const char* VarTypeName(VarType t) {
    switch (t) {
        case VarType::Empty:
            return "EMPTY";
        case VarType::I4:
            return "I4";
        case VarType::Bool:
            return "BOOL";
        case VarType::BStr:
            return "BSTR";
        case VarType::Dispatch:
            return "DISPATCH";
        case VarType::Missing:
            return "MISSING";
    }
    return "?";
}

Variant Variant::Missing() {
    Variant v;
    v.value_ = MissingTag{};
    return v;
}

VarType Variant::Type() const {
    switch (value_.index()) {
        case 1:
            return VarType::I4;
        case 2:
            return VarType::Bool;
        case 3:
            return VarType::BStr;
        case 4:
            return VarType::Dispatch;
        case 5:
            return VarType::Missing;
        default:
            return VarType::Empty;
    }
}

std::int32_t Variant::I4() const {
    assert(Type() == VarType::I4);
    return std::get<std::int32_t>(value_);
}

bool Variant::Bool() const {
    assert(Type() == VarType::Bool);
    return std::get<bool>(value_);
}

const std::string& Variant::BStr() const {
    assert(Type() == VarType::BStr);
    return std::get<std::string>(value_);
}

const std::shared_ptr<IDispatch>& Variant::Dispatch() const {
    assert(Type() == VarType::Dispatch);
    return std::get<std::shared_ptr<IDispatch>>(value_);
}

namespace {
std::optional<std::int32_t> ParseWholeNumber(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t");
    std::size_t e = s.find_last_not_of(" \t");
    if (b == std::string::npos) return std::nullopt;
    std::string t = s.substr(b, e - b + 1);
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno != 0 || end == t.c_str() || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}
}  // namespace

std::optional<Variant> Variant::ChangeType(VarType to) const {
    const VarType from = Type();
    if (from == to) return *this;
    if (from == VarType::Missing || from == VarType::Dispatch) return std::nullopt;
    switch (to) {
        case VarType::I4:
            if (from == VarType::Empty) return Variant(std::int32_t{0});
            if (from == VarType::Bool) return Variant(std::int32_t{Bool() ? -1 : 0});
            if (from == VarType::BStr) {
                if (auto n = ParseWholeNumber(BStr())) return Variant(*n);
            }
            return std::nullopt;
        case VarType::Bool:
            if (from == VarType::Empty) return Variant(false);
            if (from == VarType::I4) return Variant(I4() != 0);
            if (from == VarType::BStr) {
                if (strcasecmp(BStr().c_str(), "true") == 0) return Variant(true);
                if (strcasecmp(BStr().c_str(), "false") == 0) return Variant(false);
                if (auto n = ParseWholeNumber(BStr())) return Variant(*n != 0);
            }
            return std::nullopt;
        case VarType::BStr:
            if (from == VarType::Empty) return Variant(std::string());
            if (from == VarType::I4) return Variant(std::to_string(I4()));
            if (from == VarType::Bool) return Variant(std::string(Bool() ? "True" : "False"));
            return std::nullopt;
        case VarType::Empty:
        case VarType::Dispatch:
        case VarType::Missing:
            return std::nullopt;
    }
    return std::nullopt;
}

std::string QuoteString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    out += '"';
    return out;
}

std::string Variant::ToDisplayString() const {
    switch (Type()) {
        case VarType::Empty:
            return "EMPTY";
        case VarType::I4:
            return std::to_string(I4());
        case VarType::Bool:
            return Bool() ? "TRUE" : "FALSE";
        case VarType::BStr:
            return QuoteString(BStr());
        case VarType::Dispatch:
            return Dispatch() ? "<object>" : "<nothing>";
        case VarType::Missing:
            return "MISSING";
    }
    return "?";
}

bool Variant::operator==(const Variant& other) const {
    return value_ == other.value_;
}

}  // namespace orbel
