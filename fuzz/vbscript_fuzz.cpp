// Any text given to the script engine either parses or fails with a syntax error and a line;
// the parser never crashes, never recurses without bound and never loops.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        orbel::vbs::Program program = orbel::vbs::Parse(text);
        (void)program;
    } catch (const orbel::vbs::ScriptError& e) {
        if (e.Line() < 1) __builtin_trap();
    }
    return 0;
}
