// Turns script text into a Program. Throws ScriptError with the line of the first syntax error.
#pragma once

#include <string_view>

#include "src/script/vbscript/Ast.h"

namespace orbel::vbs {

// Names the program may not declare again (procedures and globals of earlier texts) are
// checked by the engine, not here.
Program Parse(std::string_view text);

}  // namespace orbel::vbs
