#include "src/script/VBScriptEngine.h"

#include "src/script/vbscript/Engine.h"

namespace orbel {

class VBScriptEngine::Host final : public vbs::ScriptHost {
  public:
    Host(IScriptSite& site, const ScriptLimit& limit) : site_(site), limit_(limit) {}

    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override {
        return site_.MessageBox(prompt, static_cast<unsigned>(buttons), title);
    }
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override {
        return site_.InputBox(prompt, title, defaultText);
    }
    HRESULT CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object) override {
        HRESULT hr = E_FAIL;
        Carry([&] { hr = ScriptHost::CreateObject(progId, object); });
        return hr;
    }
    HRESULT CallObject(IDispatch& object, std::string_view member, InvokeKind kind,
                       std::span<const Variant> args, Variant* result) override {
        HRESULT hr = E_FAIL;
        Carry([&] { hr = ScriptHost::CallObject(object, member, kind, args, result); });
        return hr;
    }
    bool ShouldStop() override { return limit_.Check() != ScriptLimit::Stop::None; }

    // The message of a call the limit stopped, in the words the other languages use.
    std::string StopMessage() const {
        const ScriptLimit::Stop why = limit_.Check();
        return limit_.StopMessage(why == ScriptLimit::Stop::None ? ScriptLimit::Stop::Cancelled
                                                                 : why);
    }

  private:
    void Carry(const std::function<void()>& call) {
        // A call refused because the script is being stopped ends the script, not just the
        // call: On Error Resume Next must not carry it on.
        if (!site_.OnUiThread(call)) throw vbs::ScriptStopped(StopMessage());
    }

    IScriptSite& site_;
    const ScriptLimit& limit_;
};

namespace {

ScriptError Converted(const vbs::ScriptError& failure, const std::string& stopMessage) {
    if (failure.Number() == vbs::kStopped) return {stopMessage, 0};
    return {failure.Description(), failure.Line()};
}

}  // namespace

VBScriptEngine::VBScriptEngine(IScriptSite& site, const ScriptLimit& limit)
    : host_(std::make_unique<Host>(site, limit)), engine_(std::make_unique<vbs::Engine>(*host_)) {}

VBScriptEngine::~VBScriptEngine() = default;

bool VBScriptEngine::AddCode(const std::string& code, ScriptError& error) {
    if (auto failure = engine_->AddCode(code)) {
        error = Converted(*failure, host_->StopMessage());
        return false;
    }
    return true;
}

bool VBScriptEngine::Procedures(std::vector<std::string>& names, ScriptError&) {
    names = engine_->Procedures();
    return true;
}

bool VBScriptEngine::Run(const std::string& procedure, const std::vector<Variant>& args,
                         Variant& result, ScriptError& error) {
    std::vector<vbs::Value> values;
    values.reserve(args.size());
    for (const Variant& arg : args) values.push_back(vbs::FromVariant(arg));
    vbs::Value value;
    if (auto failure = engine_->Run(procedure, std::move(values), &value)) {
        error = Converted(*failure, host_->StopMessage());
        return false;
    }
    try {
        result = vbs::ToVariant(value);
    } catch (const vbs::ScriptError& failure) {
        // An array has no automation form here.
        error = Converted(failure, host_->StopMessage());
        return false;
    }
    return true;
}

void VBScriptEngine::Reset() {
    engine_->Reset();
}

}  // namespace orbel
