// A type library read from its ODL source: the library, its dispatch interfaces with their
// properties and methods by DISPID, and its coclasses. Registration, the wrapper generator and
// hosts that bind late all read the same text through this parser.
//
// The parser takes the subset a control project writes: // and /* */ comments, #include
// lines, importlib(...), attribute lists, dispinterfaces with `properties:` and `methods:`,
// and coclasses naming their default and source dispinterfaces. Member types are boolean
// (or VARIANT_BOOL), long, BSTR, and void for a method result. It is not a general IDL
// compiler: no interfaces with vtables, no typedefs, no enums, no structs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Win.h"
#include "platform/automation/Guid.h"
#include "platform/automation/Variant.h"

namespace orbel {

struct TypeLibParam {
    std::string name;
    VarType type = VarType::Empty;
};

struct TypeLibMember {
    std::string name;
    DISPID id = 0;
    bool isProperty = false;
    std::optional<VarType> type;  // property type or method result; nullopt = void
    std::vector<TypeLibParam> params;
};

struct TypeLibInterface {
    std::string name;
    Guid iid;
    std::string help;
    bool hidden = false;
    std::vector<TypeLibMember> members;  // properties first, then methods, in file order

    // By name as automation binds it: letter case does not matter.
    const TypeLibMember* Find(std::string_view name) const;
    const TypeLibMember* Find(DISPID id) const;
};

struct TypeLibCoclass {
    std::string name;
    Guid clsid;
    std::string help;
    bool control = false;
    std::string defaultInterface;
    std::string defaultSource;
};

struct TypeLibrary {
    std::string name;
    Guid libid;
    int major = 0, minor = 0;
    std::string help;
    bool control = false;
    std::vector<TypeLibInterface> interfaces;
    std::vector<TypeLibCoclass> coclasses;

    const TypeLibInterface* FindInterface(std::string_view name) const;
};

// Parses ODL text. On failure returns nullopt and, when `error` is given, sets it to
// "LINE: what went wrong" with the 1-based line of the offending text.
std::optional<TypeLibrary> ParseTypeLibrary(std::string_view text, std::string* error);

}  // namespace orbel
