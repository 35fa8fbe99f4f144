#include "src/script/vbscript/Interpreter.h"

#include <cmath>
#include <new>
#include <unordered_set>

#include "platform/automation/ComRuntime.h"
#include "src/script/vbscript/Builtins.h"
#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Operators.h"
#include "src/script/vbscript/Parser.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

// Deep enough for any script of the store; shallow enough for a worker thread's stack.
constexpr int kMaxCallDepth = 1000;

std::string LimitText(std::chrono::milliseconds limit) {
    auto ms = limit.count();
    if (ms % 1000 == 0)
        return "The script ran longer than " + std::to_string(ms / 1000) +
               " seconds and was stopped";
    return "The script ran longer than " + std::to_string(ms) + " milliseconds and was stopped";
}

constexpr const char* kCancelledText = "The script was cancelled";

struct DepthGuard {
    explicit DepthGuard(int& depth) : depth(depth) {
        if (++depth > kMaxCallDepth) {
            --depth;
            Fail(kOutOfStack);
        }
    }
    ~DepthGuard() { --depth; }
    int& depth;
};

}  // namespace

Interpreter::Interpreter(ScriptHost& host) : host_(host), err_(std::make_shared<ErrObject>()) {}

Interpreter::~Interpreter() = default;

// --- entry points ---------------------------------------------------------------------------

template <class Body>
std::optional<ScriptError> Interpreter::Guarded(Body body) {
    if (running_ == 0) {
        stop_.store(false, std::memory_order_relaxed);
        deadline_ = std::chrono::steady_clock::now() + limit_;
    }
    ++running_;
    Frame* savedFrame = frame_;
    int savedDepth = depth_;
    std::optional<ScriptError> failure;
    try {
        body();
    } catch (const ScriptError& e) {
        failure = e;
    } catch (const ScriptStopped& e) {
        failure = ScriptError(kStopped, e.what());
    } catch (const std::bad_alloc&) {
        failure = ScriptError(kOutOfMemory, ErrorDescription(kOutOfMemory));
    } catch (const std::length_error&) {
        failure = ScriptError(kOutOfMemory, ErrorDescription(kOutOfMemory));
    }
    frame_ = savedFrame;
    depth_ = savedDepth;
    --running_;
    return failure;
}

void Interpreter::SlowPoll() {
    if (stop_.load(std::memory_order_relaxed) || host_.ShouldStop())
        throw ScriptStopped(kCancelledText);
    if (limit_.count() > 0 && std::chrono::steady_clock::now() >= deadline_)
        throw ScriptStopped(LimitText(limit_));
}

std::optional<ScriptError> Interpreter::AddCode(std::string_view text, bool runTopLevel) {
    auto program = std::make_unique<Program>();
    try {
        *program = Parse(text);
        std::unordered_set<std::string> seen;
        for (const auto& p : program->procedures)
            if (!seen.insert(p->key).second)
                throw ScriptError(kNameRedefined, ErrorDescription(kNameRedefined), p->line);
    } catch (const ScriptError& e) {
        return e;
    }
    for (auto& p : program->procedures) {
        p->optionExplicit = program->optionExplicit;
        if (procs_.find(p->key) == procs_.end()) procNames_.push_back(p->name);
        procs_[p->key] = p.get();
    }
    auto declare = [&](const std::string& key, bool isConst) -> Value& {
        auto [it, added] = globalIndex_.emplace(key, static_cast<int>(globals_.size()));
        if (added) {
            globals_.emplace_back();
            globalConst_.push_back(isConst);
        }
        return globals_[it->second];
    };
    for (const auto& key : program->globals) declare(key, false);
    for (const auto& [key, value] : program->constants) declare(key, true) = value;
    Program& added = *program;
    programs_.push_back(std::move(program));
    if (!runTopLevel) return std::nullopt;
    return Guarded([&] {
        Frame top;
        top.optionExplicit = added.optionExplicit;
        frame_ = &top;
        ExecBlock(added.topLevel);
    });
}

std::optional<ScriptError> Interpreter::Run(std::string_view name, std::vector<Value> args,
                                            Value* result) {
    auto it = procs_.find(Lower(name));
    if (it == procs_.end()) return ScriptError(kNotDefined, ErrorDescription(kNotDefined));
    const Procedure& p = *it->second;
    if (args.size() != p.params.size())
        return ScriptError(kWrongArgumentCount, ErrorDescription(kWrongArgumentCount));
    return Guarded([&] {
        Frame frame;
        frame.slots.resize(p.localConst.size());
        for (std::size_t i = 0; i < args.size(); ++i) frame.slots[i] = std::move(args[i]);
        Value v = Enter(p, frame);
        if (result) *result = std::move(v);
    });
}

void Interpreter::Reset() {
    programs_.clear();
    globals_.clear();
    globalConst_.clear();
    globalIndex_.clear();
    procs_.clear();
    procNames_.clear();
    err_->Clear();
}

// --- names ----------------------------------------------------------------------------------

void Interpreter::Resolve(const Expr& e, bool declaring) {
    Binding& b = e.binding;
    if (frame_->proc) {
        auto it = frame_->proc->locals.find(e.key);
        if (it != frame_->proc->locals.end()) {
            b.kind = Binding::Kind::Local;
            b.index = it->second;
            return;
        }
    }
    if (auto it = globalIndex_.find(e.key); it != globalIndex_.end()) {
        b.kind = Binding::Kind::Global;
        b.index = it->second;
        return;
    }
    if (auto it = procs_.find(e.key); it != procs_.end()) {
        b.kind = Binding::Kind::Procedure;
        b.target = it->second;
        return;
    }
    if (const Builtin* builtin = FindBuiltin(e.key)) {
        b.kind = Binding::Kind::Builtin;
        b.target = builtin;
        return;
    }
    if (frame_->optionExplicit && !declaring)
        Fail(kVariableUndefined, ErrorDescription(kVariableUndefined) + ": '" + e.name + "'");
    if (frame_->proc) {
        b.kind = Binding::Kind::Dynamic;
        return;
    }
    b.kind = Binding::Kind::Global;
    b.index = static_cast<int>(globals_.size());
    globalIndex_.emplace(e.key, b.index);
    globals_.emplace_back();
    globalConst_.push_back(false);
}

Value* Interpreter::VariableOf(const Expr& e) {
    switch (e.binding.kind) {
        case Binding::Kind::Local:
            return frame_->refs[e.binding.index];
        case Binding::Kind::Global:
            return &globals_[e.binding.index];
        case Binding::Kind::Dynamic: {
            auto it = frame_->implicit.find(e.key);
            if (it != frame_->implicit.end()) return it->second.get();
            if (auto g = globalIndex_.find(e.key); g != globalIndex_.end())
                return &globals_[g->second];
            return frame_->implicit.emplace(e.key, std::make_unique<Value>()).first->second.get();
        }
        default:
            return nullptr;
    }
}

bool Interpreter::IsConstant(const Expr& e) const {
    if (e.binding.kind == Binding::Kind::Local) return frame_->proc->localConst[e.binding.index];
    if (e.binding.kind == Binding::Kind::Global) return globalConst_[e.binding.index];
    return false;
}

// --- expressions ----------------------------------------------------------------------------

Value Interpreter::Eval(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Literal:
            return e.literal;
        case ExprKind::Name:
            return EvalName(e);
        case ExprKind::Member:
            return EvalMember(e, false);
        case ExprKind::Unary:
            return UnaryOp(e.op, Scalar(Eval(*e.base)));
        case ExprKind::Binary: {
            // The left operand first: either side may call a procedure that changes the other.
            if (e.op == Op::Is) {
                Value a = Eval(*e.base);
                return BinaryOp(Op::Is, a, Eval(*e.right));
            }
            Value a = Scalar(Eval(*e.base));
            return BinaryOp(e.op, a, Scalar(Eval(*e.right)));
        }
        case ExprKind::Missing:
            return Value();
        case ExprKind::WithObject:
            return frame_->withObjects.back();
    }
    return Value();
}

Value Interpreter::EvalName(const Expr& e) {
    if (e.binding.kind == Binding::Kind::Unresolved) Resolve(e);
    switch (e.binding.kind) {
        case Binding::Kind::Procedure:
            return CallProcedure(*static_cast<const Procedure*>(e.binding.target), e.args);
        case Binding::Kind::Builtin:
            return CallBuiltin(*static_cast<const Builtin*>(e.binding.target), e.args);
        default:
            break;
    }
    // Inside a function its own name is its value, unless it is called with arguments.
    if (e.parens && e.binding.kind == Binding::Kind::Local &&
        e.binding.index == frame_->proc->resultSlot)
        return CallProcedure(*frame_->proc, e.args);
    Value* v = VariableOf(e);
    if (!e.parens) return *v;
    return Element(*v, e);
}

Value Interpreter::Element(const Value& v, const Expr& e) {
    if (v.type == Type::Array) {
        if (e.args.empty()) return v;
        return v.arr->items[FlatIndex(*v.arr, e.args)];
    }
    if (v.type == Type::Object) {
        if (!v.obj) Fail(kObjectNotSet);
        return CallMember(v, "", ArgumentsOf(e.args), false);
    }
    Fail(kTypeMismatch, ErrorDescription(kTypeMismatch) + ": '" + e.name + "'");
}

std::size_t Interpreter::FlatIndex(const ArrayData& a, const std::vector<ExprPtr>& indexes) {
    if (indexes.size() != a.upper.size()) Fail(kSubscriptOutOfRange);
    std::size_t flat = 0, stride = 1;
    for (std::size_t k = 0; k < indexes.size(); ++k) {
        std::int32_t i = ToLong(Scalar(Eval(*indexes[k])));
        if (i < 0 || i > a.upper[k]) Fail(kSubscriptOutOfRange);
        flat += static_cast<std::size_t>(i) * stride;
        stride *= static_cast<std::size_t>(a.upper[k]) + 1;
    }
    return flat;
}

std::vector<Variant> Interpreter::ArgumentsOf(const std::vector<ExprPtr>& args) {
    std::vector<Variant> out;
    out.reserve(args.size());
    for (const auto& a : args)
        out.push_back(a->kind == ExprKind::Missing ? Variant::Missing() : ToVariant(Eval(*a)));
    return out;
}

Value Interpreter::EvalMember(const Expr& e, bool statement) {
    Value object = Eval(*e.base);
    if (object.type != Type::Object || !object.obj)
        Fail(kObjectRequired, ErrorDescription(kObjectRequired) + ": '" + e.base->name + "'");
    return CallMember(object, e.name, ArgumentsOf(e.args), statement || !e.args.empty());
}

HRESULT Interpreter::Dispatch(IDispatch& object, std::string_view name, InvokeKind kind,
                              std::span<const Variant> args, Variant* result) {
    if (&object != err_.get()) return host_.CallObject(object, name, kind, args, result);
    DISPID id = 0;
    if (!name.empty()) {
        HRESULT hr = err_->GetIDsOfNames(name, id);
        if (FAILED(hr)) return hr;
    }
    return err_->Invoke(id, kind, args, result);
}

Value Interpreter::CallMember(const Value& object, std::string_view name, std::vector<Variant> args,
                              bool preferMethod) {
    Poll();
    Variant result;
    InvokeKind first = preferMethod ? InvokeKind::Method : InvokeKind::PropertyGet;
    InvokeKind second = preferMethod ? InvokeKind::PropertyGet : InvokeKind::Method;
    HRESULT hr = Dispatch(*object.obj, name, first, args, &result);
    if (hr == DISP_E_MEMBERNOTFOUND) hr = Dispatch(*object.obj, name, second, args, &result);
    if (SUCCEEDED(hr)) return FromVariant(result);
    std::string member =
        name.empty() ? std::string("default member") : "'" + std::string(name) + "'";
    switch (hr) {
        case DISP_E_MEMBERNOTFOUND:
        case DISP_E_UNKNOWNNAME:
            Fail(kNoSuchMember, ErrorDescription(kNoSuchMember) + ": " + member);
        case DISP_E_BADPARAMCOUNT:
        case DISP_E_PARAMNOTFOUND:
            Fail(kWrongArgumentCount, ErrorDescription(kWrongArgumentCount) + ": " + member);
        case DISP_E_TYPEMISMATCH:
            Fail(kTypeMismatch, ErrorDescription(kTypeMismatch) + ": " + member);
        default:
            Fail(hr, "The object's " + member + " failed (" + ComErrorText(hr) + ")");
    }
}

Value Interpreter::DefaultValue(const Value& object) {
    if (!object.obj) Fail(kObjectNotSet);
    return CallMember(object, "", {}, false);
}

Value Interpreter::CallBuiltin(const Builtin& b, const std::vector<ExprPtr>& args) {
    if (static_cast<int>(args.size()) < b.minArgs || static_cast<int>(args.size()) > b.maxArgs)
        Fail(kWrongArgumentCount, ErrorDescription(kWrongArgumentCount) + ": '" + b.name + "'");
    std::vector<Value> values;
    values.reserve(args.size());
    for (const auto& a : args) {
        Value v = Eval(*a);
        if (!b.takesObjects && v.type == Type::Object) v = DefaultValue(v);
        values.push_back(std::move(v));
    }
    return b.fn(*this, values);
}

Value Interpreter::CallProcedure(const Procedure& p, const std::vector<ExprPtr>& args) {
    if (args.size() != p.params.size())
        Fail(kWrongArgumentCount, ErrorDescription(kWrongArgumentCount) + ": '" + p.name + "'");
    Frame frame;
    frame.slots.resize(p.localConst.size());
    frame.refs.resize(p.localConst.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Expr& a = *args[i];
        if (a.kind == ExprKind::Missing) Fail(kWrongArgumentCount);
        // A plain variable passed ByRef is shared with the callee; anything else is a copy.
        if (p.params[i].byRef && a.kind == ExprKind::Name && !a.wrapped && !a.parens) {
            if (a.binding.kind == Binding::Kind::Unresolved) Resolve(a);
            Value* v = VariableOf(a);
            if (v && !IsConstant(a)) {
                frame.refs[i] = v;
                continue;
            }
        }
        frame.slots[i] = Eval(a);
    }
    return Enter(p, frame);
}

Value Interpreter::Enter(const Procedure& p, Frame& frame) {
    DepthGuard depth(depth_);
    Poll();
    frame.proc = &p;
    frame.optionExplicit = p.optionExplicit;
    frame.refs.resize(frame.slots.size());
    for (std::size_t i = 0; i < frame.slots.size(); ++i)
        if (!frame.refs[i]) frame.refs[i] = &frame.slots[i];
    Frame* caller = frame_;
    frame_ = &frame;
    try {
        ExecBlock(p.body);
    } catch (...) {
        frame_ = caller;
        throw;
    }
    frame_ = caller;
    return p.isFunction ? std::move(frame.slots[p.resultSlot]) : Value();
}

// --- statements -----------------------------------------------------------------------------

ExitKind Interpreter::ExecBlock(const Block& block) {
    for (const auto& s : block) {
        ExitKind k;
        try {
            k = Exec(*s);
        } catch (ScriptError& e) {
            e.SetLineIfUnknown(s->line);
            if (!frame_->resumeNext) throw;
            err_->Set(e);
            continue;
        }
        if (k != ExitKind::None) return k;
    }
    return ExitKind::None;
}

ExitKind Interpreter::Exec(const Stmt& s) {
    switch (s.kind) {
        case StmtKind::Assign:
            if (s.constInit) {
                if (s.target->binding.kind == Binding::Kind::Unresolved) Resolve(*s.target);
                *VariableOf(*s.target) = s.value->literal;
                return ExitKind::None;
            }
            Assign(*s.target, Eval(*s.value), false);
            return ExitKind::None;
        case StmtKind::Set: {
            Value v = Eval(*s.value);
            if (v.type != Type::Object) Fail(kObjectRequired);
            Assign(*s.target, std::move(v), true);
            return ExitKind::None;
        }
        case StmtKind::Call:
            ExecCall(*s.target);
            return ExitKind::None;
        case StmtKind::Dim:
        case StmtKind::ReDim:
            ExecDim(s);
            return ExitKind::None;
        case StmtKind::Erase: {
            if (s.target->binding.kind == Binding::Kind::Unresolved) Resolve(*s.target);
            Value* v = VariableOf(*s.target);
            if (!v || v->type != Type::Array) Fail(kTypeMismatch);
            if (v->arr->fixed)
                v->arr = ArrayData::Make(v->arr->upper, true);
            else
                v->arr = ArrayData::Make({}, false);
            return ExitKind::None;
        }
        case StmtKind::If:
            for (const auto& [cond, body] : s.branches)
                if (IsTrue(Scalar(Eval(*cond)))) return ExecBlock(body);
            return ExecBlock(s.elseBlock);
        case StmtKind::Select:
            return ExecSelect(s);
        case StmtKind::For:
            return ExecFor(s);
        case StmtKind::ForEach:
            return ExecForEach(s);
        case StmtKind::Do:
            return ExecDo(s);
        case StmtKind::Exit:
            return s.exit;
        case StmtKind::OnErrorResumeNext:
            frame_->resumeNext = true;
            err_->Clear();
            return ExitKind::None;
        case StmtKind::With: {
            Value object = Eval(*s.value);
            if (object.type != Type::Object || !object.obj) Fail(kObjectRequired);
            frame_->withObjects.push_back(std::move(object));
            struct Pop {
                std::vector<Value>& objects;
                ~Pop() { objects.pop_back(); }
            } pop{frame_->withObjects};
            return ExecBlock(s.body);
        }
        case StmtKind::OnErrorGoto0:
            frame_->resumeNext = false;
            err_->Clear();
            return ExitKind::None;
    }
    return ExitKind::None;
}

void Interpreter::ExecCall(const Expr& t) {
    if (t.kind == ExprKind::Member) {
        EvalMember(t, true);
        return;
    }
    if (t.kind != ExprKind::Name) Fail(kExpectedStatement);
    if (t.binding.kind == Binding::Kind::Unresolved) Resolve(t);
    switch (t.binding.kind) {
        case Binding::Kind::Procedure:
            CallProcedure(*static_cast<const Procedure*>(t.binding.target), t.args);
            return;
        case Binding::Kind::Builtin:
            CallBuiltin(*static_cast<const Builtin*>(t.binding.target), t.args);
            return;
        default:
            break;
    }
    if (t.binding.kind == Binding::Kind::Local && t.binding.index == frame_->proc->resultSlot) {
        CallProcedure(*frame_->proc, t.args);
        return;
    }
    Value v = *VariableOf(t);
    if (v.type == Type::Object && v.obj) {
        CallMember(v, "", ArgumentsOf(t.args), true);
        return;
    }
    Fail(kTypeMismatch, ErrorDescription(kTypeMismatch) + ": '" + t.name + "'");
}

void Interpreter::Assign(const Expr& target, Value v, bool isSet) {
    if (target.kind == ExprKind::Member) {
        Value object = Eval(*target.base);
        if (object.type != Type::Object || !object.obj) Fail(kObjectRequired);
        std::vector<Variant> args = ArgumentsOf(target.args);
        args.push_back(ToVariant(v));
        HRESULT hr = Dispatch(*object.obj, target.name, InvokeKind::PropertyPut, args, nullptr);
        if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME)
            Fail(kNoSuchMember, ErrorDescription(kNoSuchMember) + ": '" + target.name + "'");
        if (FAILED(hr))
            Fail(kIllegalAssignment,
                 ErrorDescription(kIllegalAssignment) + ": '" + target.name + "'");
        return;
    }
    if (target.binding.kind == Binding::Kind::Unresolved) Resolve(target);
    Value* ref = VariableOf(target);
    if (!ref || IsConstant(target))
        Fail(kIllegalAssignment, ErrorDescription(kIllegalAssignment) + ": '" + target.name + "'");
    if (!target.parens) {
        if (!isSet && v.type == Type::Object) v = DefaultValue(v);
        *ref = std::move(v);
        return;
    }
    if (ref->type == Type::Array) {
        if (!isSet && v.type == Type::Object) v = DefaultValue(v);
        // Copies of an array share its items until one of them is written.
        if (ref->arr.use_count() > 1) ref->arr = std::make_shared<ArrayData>(*ref->arr);
        ref->arr->items[FlatIndex(*ref->arr, target.args)] = std::move(v);
        return;
    }
    if (ref->type == Type::Object && ref->obj) {
        std::vector<Variant> args = ArgumentsOf(target.args);
        args.push_back(ToVariant(v));
        HRESULT hr = Dispatch(*ref->obj, "", InvokeKind::PropertyPut, args, nullptr);
        if (FAILED(hr)) Fail(kIllegalAssignment);
        return;
    }
    Fail(kTypeMismatch, ErrorDescription(kTypeMismatch) + ": '" + target.name + "'");
}

void Interpreter::ExecDim(const Stmt& s) {
    bool redim = s.kind == StmtKind::ReDim;
    for (const auto& item : s.dims) {
        if (!item.isArray) continue;
        const Expr& name = *item.target;
        if (name.binding.kind == Binding::Kind::Unresolved) Resolve(name, redim);
        Value* ref = VariableOf(name);
        if (!ref) Fail(kIllegalAssignment);
        std::vector<std::int32_t> upper;
        for (const auto& b : item.bounds) upper.push_back(ToLong(Scalar(Eval(*b))));
        if (!redim) {
            *ref = Value::Arr(ArrayData::Make(upper, !upper.empty()));
            continue;
        }
        if (ref->type == Type::Array && ref->arr->fixed) Fail(kArrayFixed);
        auto fresh = ArrayData::Make(upper, false);
        if (s.preserve && ref->type == Type::Array && !ref->arr->upper.empty()) {
            const ArrayData& old = *ref->arr;
            if (old.upper.size() != upper.size()) Fail(kSubscriptOutOfRange);
            for (std::size_t k = 0; k + 1 < upper.size(); ++k)
                if (old.upper[k] != upper[k]) Fail(kSubscriptOutOfRange);
            // Only the last bound may change, so the items keep their order up to the shorter.
            std::size_t keep = std::min(old.items.size(), fresh->items.size());
            for (std::size_t i = 0; i < keep; ++i) fresh->items[i] = old.items[i];
        }
        *ref = Value::Arr(std::move(fresh));
    }
}

ExitKind Interpreter::ExecFor(const Stmt& s) {
    const Expr& counter = *s.target;
    if (counter.binding.kind == Binding::Kind::Unresolved) Resolve(counter);
    if (IsConstant(counter)) Fail(kIllegalAssignment);
    Value start = Scalar(Eval(*s.value));
    Value limit = Scalar(Eval(*s.limit));
    Value step = s.step ? Scalar(Eval(*s.step)) : Value::Int(1);
    bool whole = (start.type == Type::Integer || start.type == Type::Long) &&
                 (limit.type == Type::Integer || limit.type == Type::Long) &&
                 (step.type == Type::Integer || step.type == Type::Long);
    // The counter is read back each turn: the body may change it, and it keeps the value that
    // ended the loop.
    if (whole) {
        std::int64_t last = limit.i, by = step.i;
        *VariableOf(counter) = start;
        while (true) {
            const Value& var = *VariableOf(counter);
            std::int64_t i = var.type == Type::Integer || var.type == Type::Long
                                 ? var.i
                                 : static_cast<std::int64_t>(ToDouble(Scalar(var)));
            if (by >= 0 ? i > last : i < last) return ExitKind::None;
            Poll();
            ExitKind k = ExecBlock(s.body);
            if (k == ExitKind::For) return ExitKind::None;
            if (k != ExitKind::None) return k;
            Value* next = VariableOf(counter);
            std::int64_t now = next->type == Type::Integer || next->type == Type::Long
                                   ? next->i
                                   : static_cast<std::int64_t>(ToDouble(Scalar(*next)));
            *next = Value::Number(now + by);
        }
    }
    double last = ToDouble(limit), by = ToDouble(step);
    bool fractional =
        start.type == Type::Double || limit.type == Type::Double || step.type == Type::Double;
    auto store = [&](double x) {
        *VariableOf(counter) = fractional || !(std::fabs(x) < 9e15)
                                   ? Value::Dbl(x)
                                   : Value::Number(static_cast<std::int64_t>(x));
    };
    store(ToDouble(start));
    while (true) {
        double x = ToDouble(Scalar(*VariableOf(counter)));
        if (by >= 0 ? x > last : x < last) return ExitKind::None;
        Poll();
        ExitKind k = ExecBlock(s.body);
        if (k == ExitKind::For) return ExitKind::None;
        if (k != ExitKind::None) return k;
        store(ToDouble(Scalar(*VariableOf(counter))) + by);
    }
}

ExitKind Interpreter::ExecForEach(const Stmt& s) {
    const Expr& counter = *s.target;
    if (counter.binding.kind == Binding::Kind::Unresolved) Resolve(counter);
    if (IsConstant(counter)) Fail(kIllegalAssignment);
    Value group = Eval(*s.value);
    if (group.type != Type::Array) Fail(kNotACollection);
    std::shared_ptr<ArrayData> items = group.arr;  // later writes to the array copy it
    for (const Value& item : items->items) {
        Poll();
        *VariableOf(counter) = item;
        ExitKind k = ExecBlock(s.body);
        if (k == ExitKind::For) return ExitKind::None;
        if (k != ExitKind::None) return k;
    }
    return ExitKind::None;
}

ExitKind Interpreter::ExecDo(const Stmt& s) {
    auto holds = [&] { return IsTrue(Scalar(Eval(*s.cond))) != s.until; };
    while (true) {
        if (s.cond && s.condAtTop && !holds()) return ExitKind::None;
        Poll();
        ExitKind k = ExecBlock(s.body);
        if (k == ExitKind::Do) return ExitKind::None;
        if (k != ExitKind::None) return k;
        if (s.cond && !s.condAtTop && !holds()) return ExitKind::None;
    }
}

ExitKind Interpreter::ExecSelect(const Stmt& s) {
    Value subject = Scalar(Eval(*s.value));
    auto is = [](const Value& c) { return c.type == Type::Boolean && c.b; };
    for (const auto& clause : s.cases) {
        bool match = clause.tests.empty();
        for (const auto& test : clause.tests) {
            if (match) break;
            Value a = Scalar(Eval(*test.a));
            switch (test.kind) {
                case CaseTest::Kind::Equal:
                    match = is(BinaryOp(Op::Eq, subject, a));
                    break;
                case CaseTest::Kind::Compare:
                    match = is(BinaryOp(test.op, subject, a));
                    break;
                case CaseTest::Kind::Range:
                    match = is(BinaryOp(Op::Ge, subject, a)) &&
                            is(BinaryOp(Op::Le, subject, Scalar(Eval(*test.b))));
                    break;
            }
        }
        if (match) return ExecBlock(clause.body);
    }
    return ExitKind::None;
}

}  // namespace orbel::vbs
