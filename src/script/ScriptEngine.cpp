#include "src/script/ScriptEngine.h"

#include "src/script/VBScriptEngine.h"
#include "src/script/jscript/JScriptEngine.h"

namespace orbel {

std::string ScriptError::Text() const {
    if (line <= 0) return description;
    return description + " (line " + std::to_string(line) + ")";
}

IScriptSite::~IScriptSite() = default;

std::optional<std::string> IScriptSite::InputBox(const std::string&, const std::string&,
                                                 const std::string&) {
    return std::nullopt;
}

bool IScriptSite::OnUiThread(const std::function<void()>& call) {
    call();
    return true;
}

IScriptEngine::~IScriptEngine() = default;

std::unique_ptr<IScriptEngine> CreateScriptEngine(const std::string& language, IScriptSite& site,
                                                  const ScriptLimit& limit) {
    if (language == "JScript") return std::make_unique<JScriptEngine>(site, limit);
    if (language == "VBScript") return std::make_unique<VBScriptEngine>(site, limit);
    return nullptr;
}

}  // namespace orbel
