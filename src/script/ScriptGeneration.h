// Scripts as the control keeps and runs them: the descriptor in a script item's resource path,
// the preamble every script gets, reading a script file, running its start function through a
// fresh script control and listing its procedures through the form's one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/Dispatch.h"

namespace orbel {

// A resource path of the form file "!" language "#" start function.
struct ScriptDescriptor {
    std::string file;
    std::string language;
    std::string function;
};
ScriptDescriptor ParseScriptDescriptor(std::string_view path);

inline constexpr std::size_t kScriptFieldCount = 40;
using ScriptFieldHandles = std::array<std::int32_t, kScriptFieldCount>;

// The code put before a script of that language ("VBScript" or "JScript", exactly); empty for
// any other.
std::string ScriptPreamble(const std::string& language, const ScriptFieldHandles& handles);

// The file's text without the white space at its end; empty when it cannot be read.
std::string ReadScriptText(const std::string& path);

enum class ScriptRunOutcome { NoLanguage, NoFunction, Failed, Ran };

// Runs the start function of the script in `file` with the preamble of no fields; what goes
// wrong is shown in a message box.
ScriptRunOutcome RunScript(const std::string& language, const std::string& startFunction,
                           const std::string& file);

// The procedures of the script in `file`, through a script control reached by dispatch ID;
// whatever fails on the way leaves the names found so far.
std::vector<std::string> ListScriptProcedures(IDispatch& control, const std::string& language,
                                              const std::string& file);

}  // namespace orbel
