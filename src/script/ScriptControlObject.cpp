#include "src/script/ScriptControlObject.h"

#include <strings.h>

#include <optional>

#include "platform/Api.h"
#include "platform/automation/ComRuntime.h"
#include "src/script/RunningScriptWindow.h"
#include "src/script/ScriptInputBox.h"

namespace orbel {

namespace {

struct NamedId {
    const char* name;
    DISPID id;
};
constexpr NamedId kMembers[] = {{"Language", kDispidLanguage},
                                {"AllowUI", kDispidAllowUI},
                                {"Reset", kDispidReset},
                                {"AddCode", kDispidAddCode},
                                {"Procedures", kDispidProcedures}};

void Tell(std::string* error, const std::string& text) {
    if (error) *error = text;
}

}  // namespace

CScriptControlObject::CScriptControlObject()
    : timeLimitMs_(ScriptLimit::ConfiguredMilliseconds()),
      windowDelayMs_(CRunningScriptWindow::ConfiguredDelay()) {}

CScriptControlObject::~CScriptControlObject() = default;

HRESULT CScriptControlObject::PutLanguage(const std::string& language, std::string* error) {
    if (bridge_.Running()) {
        Tell(error, "The script control is running a script.");
        return E_FAIL;
    }
    auto engine = CreateScriptEngine(language, *this, limit_);
    if (!engine) {
        Tell(error, "The script language " + language + " is not known.");
        return E_INVALIDARG;
    }
    engine_ = std::move(engine);
    language_ = language;
    return S_OK;
}

HRESULT CScriptControlObject::PutAllowUI(bool allow) {
    allowUI_ = allow;
    return S_OK;
}

HRESULT CScriptControlObject::OffThread(
    const std::function<bool(IScriptEngine&, ScriptError&)>& call, std::string* error) {
    if (!engine_) {
        Tell(error, "No script language is set.");
        return E_FAIL;
    }
    // A script that the user interface lets run again from inside its own run waits its turn
    // nowhere: it is refused.
    if (bridge_.Running()) {
        Tell(error, "The script control is running a script.");
        return E_FAIL;
    }
    bool ok = false;
    ScriptError failure;
    limit_.Start(timeLimitMs_);
    std::optional<CRunningScriptWindow> window;
    if (allowUI_) window.emplace(limit_, std::chrono::milliseconds(windowDelayMs_));
    bridge_.Run([&] { ok = call(*engine_, failure); }, limit_,
                [&] {
                    if (window) window->StillRunning();
                });
    // The window goes before anything tells how the call ended.
    window.reset();
    if (!ok) Tell(error, failure.Text());
    return ok ? S_OK : E_FAIL;
}

HRESULT CScriptControlObject::AddCode(const std::string& code, std::string* error) {
    return OffThread([&](IScriptEngine& e, ScriptError& f) { return e.AddCode(code, f); }, error);
}

HRESULT CScriptControlObject::Run(const std::string& procedure, const std::vector<Variant>& args,
                                  Variant* result, std::string* error) {
    Variant value;
    const HRESULT hr = OffThread(
        [&](IScriptEngine& e, ScriptError& f) { return e.Run(procedure, args, value, f); }, error);
    if (result) *result = value;
    return hr;
}

void CScriptControlObject::Reset() {
    if (engine_ && !bridge_.Running()) engine_->Reset();
}

HRESULT CScriptControlObject::ProcedureNames(std::vector<std::string>& names, std::string* error) {
    names.clear();
    return OffThread([&](IScriptEngine& e, ScriptError& f) { return e.Procedures(names, f); },
                     error);
}

// ---------------------------------------------------------------------------------------
// The dispatch interface

HRESULT CScriptControlObject::GetIDsOfNames(std::string_view name, DISPID& id) {
    for (const NamedId& m : kMembers) {
        if (name.size() == std::string_view(m.name).size() &&
            strncasecmp(name.data(), m.name, name.size()) == 0) {
            id = m.id;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT CScriptControlObject::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                                     Variant* result) {
    auto text = [&](std::size_t i) -> std::optional<std::string> {
        if (i >= args.size()) return std::nullopt;
        auto v = args[i].ChangeType(VarType::BStr);
        if (!v) return std::nullopt;
        return v->BStr();
    };
    switch (id) {
        case kDispidLanguage:
            if (kind == InvokeKind::PropertyGet) {
                if (result) *result = Variant(language_);
                return S_OK;
            }
            if (kind != InvokeKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
            if (auto language = text(0)) return PutLanguage(*language, nullptr);
            return DISP_E_TYPEMISMATCH;
        case kDispidAllowUI:
            if (kind == InvokeKind::PropertyGet) {
                if (result) *result = Variant(allowUI_);
                return S_OK;
            }
            if (kind != InvokeKind::PropertyPut || args.size() != 1) return DISP_E_BADPARAMCOUNT;
            if (auto allow = args[0].ChangeType(VarType::Bool)) return PutAllowUI(allow->Bool());
            return DISP_E_TYPEMISMATCH;
        case kDispidReset:
            if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
            Reset();
            return S_OK;
        case kDispidAddCode:
            if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
            if (auto code = text(0)) return AddCode(*code, nullptr);
            return DISP_E_TYPEMISMATCH;
        case kDispidProcedures: {
            if (kind != InvokeKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
            std::vector<std::string> names;
            const HRESULT hr = ProcedureNames(names, nullptr);
            if (FAILED(hr)) return hr;
            if (result) *result = Variant(MakeProcedureCollection(std::move(names)));
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

// ---------------------------------------------------------------------------------------
// What the script reaches, on the user-interface thread

bool CScriptControlObject::CreateObject(const std::string& progId,
                                        std::shared_ptr<IDispatch>& object, std::string& error) {
    HRESULT hr = E_FAIL;
    const bool carried = bridge_.Call([&] {
        std::shared_ptr<IUnknown> unknown;
        hr = orbel::CreateObject(progId, unknown);
        if (SUCCEEDED(hr)) {
            object = std::dynamic_pointer_cast<IDispatch>(unknown);
            if (!object) hr = E_NOINTERFACE;
        }
    });
    if (!carried) {
        error = "the script is being stopped";
        return false;
    }
    if (FAILED(hr)) error = ComErrorText(hr);
    return SUCCEEDED(hr);
}

bool CScriptControlObject::Invoke(const std::shared_ptr<IDispatch>& object,
                                  const std::string& member, InvokeKind kind,
                                  const std::vector<Variant>& args, Variant& result,
                                  std::string& error) {
    HRESULT hr = E_FAIL;
    const bool carried = bridge_.Call([&] {
        DISPID id = 0;
        hr = object->GetIDsOfNames(member, id);
        if (SUCCEEDED(hr)) hr = object->Invoke(id, kind, args, &result);
    });
    if (!carried) {
        error = "the script is being stopped";
        return false;
    }
    if (FAILED(hr)) error = ComErrorText(hr);
    return SUCCEEDED(hr);
}

int CScriptControlObject::MessageBox(const std::string& text, unsigned style, const std::string&) {
    // A script that may not show anything gets the answer of a box closed at once.
    if (!allowUI_) return IDCANCEL;
    int answer = IDCANCEL;
    bridge_.Call([&] { answer = AfxMessageBox(text, style); });
    return answer;
}

std::optional<std::string> CScriptControlObject::InputBox(const std::string& prompt,
                                                          const std::string& title,
                                                          const std::string& defaultText) {
    if (!allowUI_) return std::nullopt;
    std::optional<std::string> answer;
    bridge_.Call([&] { answer = ShowScriptInputBox(prompt, title, defaultText); });
    return answer;
}

bool CScriptControlObject::OnUiThread(const std::function<void()>& call) {
    return bridge_.Call(call);
}

}  // namespace orbel
