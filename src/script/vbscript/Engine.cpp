#include "src/script/vbscript/Engine.h"

#include <cmath>

#include "platform/automation/ComRuntime.h"
#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Interpreter.h"

namespace orbel::vbs {

ScriptHost::~ScriptHost() = default;

HRESULT ScriptHost::CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object) {
    std::shared_ptr<IUnknown> unknown;
    HRESULT hr = orbel::CreateObject(progId, unknown);
    if (FAILED(hr)) return hr;
    object = std::dynamic_pointer_cast<IDispatch>(unknown);
    return object ? S_OK : E_NOINTERFACE;
}

HRESULT ScriptHost::CallObject(IDispatch& object, std::string_view member, InvokeKind kind,
                               std::span<const Variant> args, Variant* result) {
    DISPID id = 0;  // an empty member is the object's default one
    if (!member.empty()) {
        HRESULT hr = object.GetIDsOfNames(member, id);
        if (FAILED(hr)) return hr;
    }
    return object.Invoke(id, kind, args, result);
}

Engine::Engine(ScriptHost& host) : impl_(std::make_unique<Interpreter>(host)) {}
Engine::~Engine() = default;

std::optional<ScriptError> Engine::AddCode(std::string_view text, bool runTopLevel) {
    return impl_->AddCode(text, runTopLevel);
}

std::vector<std::string> Engine::Procedures() const {
    return impl_->Procedures();
}

std::optional<ScriptError> Engine::Run(std::string_view procedure, std::vector<Value> args,
                                       Value* result) {
    return impl_->Run(procedure, std::move(args), result);
}

void Engine::Reset() {
    impl_->Reset();
}
void Engine::SetTimeLimit(std::chrono::milliseconds limit) {
    impl_->SetTimeLimit(limit);
}
void Engine::RequestStop() {
    impl_->RequestStop();
}

std::string FormatError(const ScriptError& error) {
    if (error.Line() <= 0) return error.Description();
    return "Line " + std::to_string(error.Line()) + ": " + error.Description();
}

Variant ToVariant(const Value& v) {
    switch (v.type) {
        case Type::Integer:
        case Type::Long:
            return Variant(v.i);
        case Type::Boolean:
            return Variant(v.b);
        case Type::String:
            return Variant(v.s);
        case Type::Object:
            return Variant(v.obj);
        case Type::Double:
            if (v.d == std::trunc(v.d) && v.d >= INT32_MIN && v.d <= INT32_MAX)
                return Variant(static_cast<std::int32_t>(v.d));
            return Variant(ToStr(v));
        case Type::Currency:
        case Type::Date:
            return Variant(ToStr(v));
        case Type::Array:
            Fail(kTypeMismatch);
        case Type::Empty:
        case Type::Null:
            break;
    }
    return Variant();
}

Value FromVariant(const Variant& v) {
    switch (v.Type()) {
        case VarType::I4:
            return Value::Number(v.I4());
        case VarType::Bool:
            return Value::Bool(v.Bool());
        case VarType::BStr:
            return Value::Str(v.BStr());
        case VarType::Dispatch:
            return Value::Obj(v.Dispatch());
        case VarType::Empty:
        case VarType::Missing:
            break;
    }
    return Value();
}

}  // namespace orbel::vbs
