// The script engine for "VBScript": text is added, its procedures listed and run. It knows
// nothing of windows or threads; everything outside the script (message boxes, input, objects)
// goes through the ScriptHost the caller gives it, so the caller decides which thread does it.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Value.h"

namespace orbel::vbs {

class ScriptHost {
  public:
    virtual ~ScriptHost();
    // MsgBox: buttons and icon flags as the script gave them; returns the button pressed
    // (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
    // InputBox: the text typed, or nothing when the user cancelled.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // By default the platform's runtime makes the object from its registered ProgID.
    virtual HRESULT CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object);
    // Every call into an object that CreateObject or a call returned goes through here.
    virtual HRESULT CallObject(IDispatch& object, std::string_view member, InvokeKind kind,
                               std::span<const Variant> args, Variant* result);
    // Polled every few hundred loop turns and calls: true stops the script.
    virtual bool ShouldStop() { return false; }
};

class Interpreter;

class Engine {
  public:
    explicit Engine(ScriptHost& host);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Adds a program text. A syntax error adds nothing and is returned with its line. When
    // runTopLevel is set, the text's statements outside procedures run at once (its
    // procedures are callable from them), and a run-time error there is returned.
    std::optional<ScriptError> AddCode(std::string_view text, bool runTopLevel = true);

    // The Sub and Function names of every text added, in the order they were written.
    std::vector<std::string> Procedures() const;

    // Runs a Sub or Function by name (any letter case); a Function's value goes to result.
    std::optional<ScriptError> Run(std::string_view procedure, std::vector<Value> args = {},
                                   Value* result = nullptr);

    // Forgets every text, variable and procedure.
    void Reset();

    // A run (AddCode or Run) that lasts longer is stopped; zero means no limit.
    void SetTimeLimit(std::chrono::milliseconds limit);
    // Stops the run in progress at its next check; safe from any thread.
    void RequestStop();

  private:
    std::unique_ptr<Interpreter> impl_;
};

// The text a host shows for an error: "Line 3: Expected 'Then'".
std::string FormatError(const ScriptError& error);

// Values across the automation boundary. Numbers that are not whole, dates and currency
// travel as their text, since automation variants here carry no other number kinds.
Variant ToVariant(const Value& v);
Value FromVariant(const Variant& v);

}  // namespace orbel::vbs
