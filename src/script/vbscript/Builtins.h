// The functions and constants every script has without declaring them.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "src/script/vbscript/Value.h"

namespace orbel::vbs {

class Interpreter;

struct Builtin {
    const char* name;  // lower case
    int minArgs;
    int maxArgs;
    bool takesObjects;  // objects arrive as themselves, not as their default values
    Value (*fn)(Interpreter& in, std::vector<Value>& args);
};

const Builtin* FindBuiltin(const std::string& key);
const Value* FindBuiltinConstant(const std::string& key);

// The groups the table is made of, each defined beside its functions.
std::span<const Builtin> TextBuiltins();
std::span<const Builtin> NumberBuiltins();
std::span<const Builtin> DateBuiltins();

// Helpers the groups share.
bool AnyNull(const std::vector<Value>& args, std::size_t count);
std::shared_ptr<ArrayData> StringArray(std::vector<std::string> items);

}  // namespace orbel::vbs
