// A script language as the script control sees it: an engine that takes code, names the
// procedures the code declares, runs one of them, and stops when its limit says so. Every call
// is made from one thread at a time (the control runs them off the user-interface thread);
// what the script asks of the world goes through its site, which carries it to the
// user-interface thread.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "src/script/ScriptLimit.h"

namespace orbel {

// Why a call failed, as the user is told it.
struct ScriptError {
    std::string description;
    int line = 0;  // in the code of the AddCode that failed or declared the failing code; 0 unknown

    std::string Text() const;
};

// What a script may reach: automation objects by ProgID and nothing else, and the user.
class IScriptSite {
  public:
    virtual ~IScriptSite();
    // The object registered under the ProgID; the failure as text otherwise.
    virtual bool CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object,
                              std::string& error) = 0;
    virtual bool Invoke(const std::shared_ptr<IDispatch>& object, const std::string& member,
                        InvokeKind kind, const std::vector<Variant>& args, Variant& result,
                        std::string& error) = 0;
    // A message box with the script's text; the answer's ID (IDOK, IDYES...).
    virtual int MessageBox(const std::string& text, unsigned style, const std::string& title) = 0;
    // The text the user typed at the prompt; nothing when the user cancelled or no box may be
    // shown.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText);
    // Runs `call` where objects and the user are reached; false, with `call` not run, when the
    // script is being stopped. By default at once, for a site with one thread.
    virtual bool OnUiThread(const std::function<void()>& call);
};

class IScriptEngine {
  public:
    virtual ~IScriptEngine();
    // Adds code to the engine's global scope and runs its top-level statements.
    virtual bool AddCode(const std::string& code, ScriptError& error) = 0;
    // The procedures declared so far, in the order the code declares them.
    virtual bool Procedures(std::vector<std::string>& names, ScriptError& error) = 0;
    virtual bool Run(const std::string& procedure, const std::vector<Variant>& args,
                     Variant& result, ScriptError& error) = 0;
    // Forgets all code added.
    virtual void Reset() = 0;
};

// The engine of a language ("JScript", "VBScript"; exact names), checking `limit`; null for a
// language of no engine.
std::unique_ptr<IScriptEngine> CreateScriptEngine(const std::string& language, IScriptSite& site,
                                                  const ScriptLimit& limit);

}  // namespace orbel
