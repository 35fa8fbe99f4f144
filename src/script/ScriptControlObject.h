// The script control component: a language's engine behind the interface and dispatch IDs its
// users know. Every engine call runs off the user-interface thread under the time limit, while
// the caller waits in a nested loop; the call stays synchronous for the caller.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "src/script/ScriptControlIface.h"
#include "src/script/ScriptEngine.h"
#include "src/script/ScriptLimit.h"
#include "src/script/UiThreadBridge.h"

namespace orbel {

class CScriptControlObject final : public IScriptControl, private IScriptSite {
  public:
    CScriptControlObject();
    ~CScriptControlObject() override;

    HRESULT PutLanguage(const std::string& language, std::string* error) override;
    HRESULT PutAllowUI(bool allow) override;
    HRESULT AddCode(const std::string& code, std::string* error) override;
    HRESULT Run(const std::string& procedure, const std::vector<Variant>& args, Variant* result,
                std::string* error) override;
    void Reset();
    // The procedures the code added so far declares; listing is bounded like a run.
    HRESULT ProcedureNames(std::vector<std::string>& names, std::string* error);

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    // The limit of each call; the setting's value unless a test sets another.
    void SetTimeLimit(std::int32_t milliseconds) { timeLimitMs_ = milliseconds; }
    // How long a call runs before the "Running script..." window offers Cancel; the setting's
    // value unless a test sets another. The window comes only while the control allows UI.
    void SetWindowDelay(std::int32_t milliseconds) { windowDelayMs_ = milliseconds; }

  private:
    // Runs one engine call off this thread; the engine's error becomes `error`.
    HRESULT OffThread(const std::function<bool(IScriptEngine&, ScriptError&)>& call,
                      std::string* error);

    bool CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object,
                      std::string& error) override;
    bool Invoke(const std::shared_ptr<IDispatch>& object, const std::string& member,
                InvokeKind kind, const std::vector<Variant>& args, Variant& result,
                std::string& error) override;
    int MessageBox(const std::string& text, unsigned style, const std::string& title) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    bool OnUiThread(const std::function<void()>& call) override;

    std::string language_;
    bool allowUI_ = false;
    std::int32_t timeLimitMs_;
    std::int32_t windowDelayMs_;
    ScriptLimit limit_;
    UiThreadBridge bridge_;
    std::unique_ptr<IScriptEngine> engine_;
};

// The collection the dispatch ID of the procedures gives: Count, and Item(1-based index) whose
// Name is the procedure's.
std::shared_ptr<IDispatch> MakeProcedureCollection(std::vector<std::string> names);

}  // namespace orbel
