// Which document types can be created empty, as the registry's classes root tells: an
// extension key names its document type, and a ShellNew key below it says how a new file of
// that type is made. Types made by running a command are left out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbel {

struct ShellNewEntry {
    std::string typeName;  // the default value of the extension's key
    std::string keyPath;   // "EXT\TYPE\ShellNew" or "EXT\ShellNew", below the classes root
};

// The ShellNew key of an extension (".doc"): the one below the document type's own key under
// the extension when there is one, else the one right below the extension. Nothing when the
// extension names no type, has no ShellNew key, or its key has a "Command" value.
std::optional<ShellNewEntry> LookupShellNew(std::string_view extension);

// The description of a document type: its key's default value, or the type name when that is
// empty.
std::string DocumentTypeDescription(std::string_view typeName);

struct CreatableType {
    std::string extension;    // as the registry spells it, with its dot
    std::string description;  // DocumentTypeDescription of its type
    std::string keyPath;      // its ShellNew key
};

// Every extension of the classes root, in index order, that passes LookupShellNew.
std::vector<CreatableType> CreatableTypes();

}  // namespace orbel
