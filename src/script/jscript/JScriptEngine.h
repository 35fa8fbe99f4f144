// JScript on Duktape. Duktape reports errors by long jumps, so only its protected calls are
// used where C++ objects are alive, and the functions it calls back keep every C++ object in
// an inner call that has returned before they throw. An error outside a protected call is
// fatal to the process rather than unwinding through C++ frames.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "src/script/ScriptEngine.h"

struct duk_hthread;

namespace orbel {

class JScriptEngine final : public IScriptEngine {
  public:
    JScriptEngine(IScriptSite& site, const ScriptLimit& limit);
    ~JScriptEngine() override;
    JScriptEngine(const JScriptEngine&) = delete;
    JScriptEngine& operator=(const JScriptEngine&) = delete;

    bool AddCode(const std::string& code, ScriptError& error) override;
    bool Procedures(std::vector<std::string>& names, ScriptError& error) override;
    bool Run(const std::string& procedure, const std::vector<Variant>& args, Variant& result,
             ScriptError& error) override;
    void Reset() override;

    // Asked by Duktape's interrupt check on the engine's thread.
    bool MustStop() const { return limit_.Check() != ScriptLimit::Stop::None; }

    // Called back from script code; each leaves a value (true) or an error (false) on the
    // stack.
    bool PushNewObject(duk_hthread* ctx);
    bool InvokeMember(duk_hthread* ctx);
    bool PutMember(duk_hthread* ctx);
    void PushMemberFunction(duk_hthread* ctx);

  private:
    void Open();
    void Close();
    // The error on top of the stack (popped), or the limit's message when the limit stopped it.
    ScriptError TakeError();
    Variant ToVariant(duk_hthread* ctx, int index);
    void PushVariant(duk_hthread* ctx, const Variant& value);
    void PushObject(duk_hthread* ctx, const std::shared_ptr<IDispatch>& object);
    void PushError(duk_hthread* ctx, const std::string& message);

    IScriptSite& site_;
    const ScriptLimit& limit_;
    duk_hthread* ctx_ = nullptr;
    // Automation objects the script holds, by the heap address of their script object; the
    // script objects are kept in the stash until Reset, so an address is never reused.
    std::vector<std::shared_ptr<IDispatch>> objects_;
    std::map<const void*, std::size_t> objectIndex_;
};

}  // namespace orbel
