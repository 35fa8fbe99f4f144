// VBScript through the interpreter of ours: the interpreter's host is the script site, so its
// objects and message boxes are reached on the user-interface thread, and its stop check is
// the call's limit.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "src/script/ScriptEngine.h"

namespace orbel {

namespace vbs {
class Engine;
}

class VBScriptEngine final : public IScriptEngine {
  public:
    VBScriptEngine(IScriptSite& site, const ScriptLimit& limit);
    ~VBScriptEngine() override;
    VBScriptEngine(const VBScriptEngine&) = delete;
    VBScriptEngine& operator=(const VBScriptEngine&) = delete;

    bool AddCode(const std::string& code, ScriptError& error) override;
    bool Procedures(std::vector<std::string>& names, ScriptError& error) override;
    bool Run(const std::string& procedure, const std::vector<Variant>& args, Variant& result,
             ScriptError& error) override;
    void Reset() override;

  private:
    class Host;

    std::unique_ptr<Host> host_;
    std::unique_ptr<vbs::Engine> engine_;
};

}  // namespace orbel
