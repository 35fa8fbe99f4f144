#include "src/script/jscript/JScriptEngine.h"

#include <duktape.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

extern "C" int orbel_duk_exec_timeout(void* udata) {
    return udata && static_cast<const orbel::JScriptEngine*>(udata)->MustStop() ? 1 : 0;
}

namespace orbel {

namespace {

constexpr const char* kObjectsKey = DUK_HIDDEN_SYMBOL("orbelObjects");
constexpr const char* kObjectKey = DUK_HIDDEN_SYMBOL("orbelObject");
constexpr const char* kMemberKey = DUK_HIDDEN_SYMBOL("orbelMember");

JScriptEngine& EngineOf(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    return *static_cast<JScriptEngine*>(functions.udata);
}

// Only an error outside every protected call lands here; the heap cannot go on after it.
void Fatal(void*, const char* message) {
    std::fprintf(stderr, "orbel: the JScript engine failed: %s\n", message ? message : "");
    std::abort();
}

// The functions Duktape calls. None holds a C++ object: the engine's member does the work and
// has returned before the error it left is thrown.
duk_ret_t NewActiveXObject(duk_context* ctx) {
    if (!EngineOf(ctx).PushNewObject(ctx)) return duk_throw(ctx);
    return 1;
}

duk_ret_t CallMember(duk_context* ctx) {
    if (!EngineOf(ctx).InvokeMember(ctx)) return duk_throw(ctx);
    return 1;
}

// Proxy trap get(target, key, receiver): a member is a function that calls it.
duk_ret_t GetTrap(duk_context* ctx) {
    EngineOf(ctx).PushMemberFunction(ctx);
    return 1;
}

// Proxy trap set(target, key, value, receiver): puts the property.
duk_ret_t SetTrap(duk_context* ctx) {
    if (!EngineOf(ctx).PutMember(ctx)) return duk_throw(ctx);
    return 1;
}

// Duktape appends " (line N)" to a compile error's message; the line is kept apart.
void SplitLineSuffix(std::string& text, int& line) {
    const auto at = text.rfind(" (line ");
    if (at == std::string::npos || text.back() != ')') return;
    const std::string digits = text.substr(at + 7, text.size() - at - 8);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return;
    line = std::atoi(digits.c_str());
    text.erase(at);
}

}  // namespace

JScriptEngine::JScriptEngine(IScriptSite& site, const ScriptLimit& limit)
    : site_(site), limit_(limit) {
    Open();
}

JScriptEngine::~JScriptEngine() {
    Close();
}

void JScriptEngine::Open() {
    ctx_ = duk_create_heap(nullptr, nullptr, nullptr, this, Fatal);
    if (!ctx_) Fatal(nullptr, "no memory for a heap");
    // A constructor of the global scope that the procedure listing does not show.
    duk_push_global_object(ctx_);
    duk_push_string(ctx_, "ActiveXObject");
    duk_push_c_function(ctx_, NewActiveXObject, 1);
    duk_def_prop(ctx_, -3,
                 DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WRITABLE | DUK_DEFPROP_SET_CONFIGURABLE |
                     DUK_DEFPROP_CLEAR_ENUMERABLE);
    duk_pop(ctx_);
    duk_push_global_stash(ctx_);
    duk_push_array(ctx_);
    duk_put_prop_string(ctx_, -2, kObjectsKey);
    duk_pop(ctx_);
}

void JScriptEngine::Close() {
    if (ctx_) duk_destroy_heap(ctx_);
    ctx_ = nullptr;
    objectIndex_.clear();
    objects_.clear();
}

void JScriptEngine::Reset() {
    Close();
    Open();
}

ScriptError JScriptEngine::TakeError() {
    ScriptError error;
    if (const ScriptLimit::Stop why = limit_.Check(); why != ScriptLimit::Stop::None) {
        duk_pop(ctx_);
        error.description = limit_.StopMessage(why);
        return error;
    }
    if (duk_is_error(ctx_, -1)) {
        // Reading a property of an error object runs no script code.
        duk_get_prop_string(ctx_, -1, "lineNumber");
        error.line = duk_is_number(ctx_, -1) ? duk_get_int(ctx_, -1) : 0;
        duk_pop(ctx_);
    }
    error.description = duk_safe_to_string(ctx_, -1);
    duk_pop(ctx_);
    SplitLineSuffix(error.description, error.line);
    return error;
}

bool JScriptEngine::AddCode(const std::string& code, ScriptError& error) {
    duk_push_string(ctx_, "script");
    if (duk_pcompile_lstring_filename(ctx_, 0, code.data(), code.size()) != 0 ||
        duk_pcall(ctx_, 0) != DUK_EXEC_SUCCESS) {
        error = TakeError();
        return false;
    }
    duk_pop(ctx_);
    return true;
}

bool JScriptEngine::Procedures(std::vector<std::string>& names, ScriptError&) {
    names.clear();
    duk_push_global_object(ctx_);
    duk_enum(ctx_, -1, DUK_ENUM_OWN_PROPERTIES_ONLY);
    while (duk_next(ctx_, -1, 1)) {
        if (duk_is_function(ctx_, -1)) names.emplace_back(duk_get_string(ctx_, -2));
        duk_pop_2(ctx_);
    }
    duk_pop_2(ctx_);
    return true;
}

bool JScriptEngine::Run(const std::string& procedure, const std::vector<Variant>& args,
                        Variant& result, ScriptError& error) {
    duk_get_global_lstring(ctx_, procedure.data(), procedure.size());
    if (!duk_is_function(ctx_, -1)) {
        duk_pop(ctx_);
        error = {"The script has no procedure " + procedure + ".", 0};
        return false;
    }
    for (const Variant& arg : args) PushVariant(ctx_, arg);
    if (duk_pcall(ctx_, static_cast<duk_idx_t>(args.size())) != DUK_EXEC_SUCCESS) {
        error = TakeError();
        return false;
    }
    result = ToVariant(ctx_, -1);
    duk_pop(ctx_);
    return true;
}

// ---------------------------------------------------------------------------------------
// Values between the script and automation

Variant JScriptEngine::ToVariant(duk_context* ctx, int index) {
    switch (duk_get_type(ctx, index)) {
        case DUK_TYPE_BOOLEAN:
            return Variant(duk_get_boolean(ctx, index) != 0);
        case DUK_TYPE_NUMBER: {
            const double d = duk_get_number(ctx, index);
            if (std::trunc(d) == d && d >= std::numeric_limits<std::int32_t>::min() &&
                d <= std::numeric_limits<std::int32_t>::max())
                return Variant(static_cast<std::int32_t>(d));
            break;  // automation here carries no floating point: it travels as text
        }
        case DUK_TYPE_STRING: {
            duk_size_t length = 0;
            const char* text = duk_get_lstring(ctx, index, &length);
            return Variant(std::string(text, length));
        }
        case DUK_TYPE_OBJECT: {
            auto it = objectIndex_.find(duk_get_heapptr(ctx, index));
            if (it != objectIndex_.end()) return Variant(objects_[it->second]);
            break;
        }
        case DUK_TYPE_UNDEFINED:
        case DUK_TYPE_NULL:
        case DUK_TYPE_NONE:
            return Variant();
        default:
            break;
    }
    return Variant(std::string(duk_safe_to_string(ctx, index)));
}

void JScriptEngine::PushVariant(duk_context* ctx, const Variant& value) {
    switch (value.Type()) {
        case VarType::I4:
            duk_push_int(ctx, value.I4());
            break;
        case VarType::Bool:
            duk_push_boolean(ctx, value.Bool());
            break;
        case VarType::BStr:
            duk_push_lstring(ctx, value.BStr().data(), value.BStr().size());
            break;
        case VarType::Dispatch:
            PushObject(ctx, value.Dispatch());
            break;
        case VarType::Empty:
        case VarType::Missing:
            duk_push_undefined(ctx);
            break;
    }
}

void JScriptEngine::PushObject(duk_context* ctx, const std::shared_ptr<IDispatch>& object) {
    if (!object) {
        duk_push_null(ctx);
        return;
    }
    objects_.push_back(object);
    const std::size_t index = objects_.size() - 1;
    duk_push_object(ctx);  // target
    duk_push_number(ctx, static_cast<double>(index));
    duk_put_prop_string(ctx, -2, kObjectKey);
    duk_push_object(ctx);  // handler
    duk_push_c_function(ctx, GetTrap, 3);
    duk_put_prop_string(ctx, -2, "get");
    duk_push_c_function(ctx, SetTrap, 4);
    duk_put_prop_string(ctx, -2, "set");
    duk_push_proxy(ctx, 0);
    objectIndex_.emplace(duk_get_heapptr(ctx, -1), index);
    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, kObjectsKey);
    duk_dup(ctx, -3);
    duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(index));
    duk_pop_2(ctx);
}

void JScriptEngine::PushError(duk_context* ctx, const std::string& message) {
    duk_push_error_object(ctx, DUK_ERR_ERROR, "%s", message.c_str());
}

bool JScriptEngine::PushNewObject(duk_context* ctx) {
    const std::string progId = duk_safe_to_string(ctx, 0);
    std::shared_ptr<IDispatch> object;
    std::string why;
    if (!site_.CreateObject(progId, object, why)) {
        PushError(ctx, "Automation server can't create object " + progId + ": " + why);
        return false;
    }
    PushObject(ctx, object);
    return true;
}

void JScriptEngine::PushMemberFunction(duk_context* ctx) {
    // The target (argument 0) carries the object's number; the function carries it on.
    duk_get_prop_string(ctx, 0, kObjectKey);
    duk_push_c_function(ctx, CallMember, DUK_VARARGS);
    duk_swap_top(ctx, -2);
    duk_put_prop_string(ctx, -2, kObjectKey);
    duk_dup(ctx, 1);
    duk_safe_to_string(ctx, -1);
    duk_put_prop_string(ctx, -2, kMemberKey);
}

bool JScriptEngine::InvokeMember(duk_context* ctx) {
    const duk_idx_t argc = duk_get_top(ctx);
    std::vector<Variant> args;
    args.reserve(static_cast<std::size_t>(argc));
    for (duk_idx_t i = 0; i < argc; ++i) args.push_back(ToVariant(ctx, i));
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, kObjectKey);
    const auto index = static_cast<std::size_t>(duk_get_number(ctx, -1));
    duk_get_prop_string(ctx, -2, kMemberKey);
    const std::string member = duk_safe_to_string(ctx, -1);
    duk_pop_3(ctx);
    Variant result;
    std::string why;
    if (index >= objects_.size() ||
        !site_.Invoke(objects_[index], member, InvokeKind::Method, args, result, why)) {
        PushError(ctx, member + ": " + why);
        return false;
    }
    PushVariant(ctx, result);
    return true;
}

bool JScriptEngine::PutMember(duk_context* ctx) {
    duk_get_prop_string(ctx, 0, kObjectKey);
    const auto index = static_cast<std::size_t>(duk_get_number(ctx, -1));
    duk_pop(ctx);
    const std::string member = duk_safe_to_string(ctx, 1);
    const std::vector<Variant> args{ToVariant(ctx, 2)};
    Variant ignored;
    std::string why;
    if (index >= objects_.size() ||
        !site_.Invoke(objects_[index], member, InvokeKind::PropertyPut, args, ignored, why)) {
        PushError(ctx, member + ": " + why);
        return false;
    }
    duk_push_true(ctx);
    return true;
}

}  // namespace orbel
