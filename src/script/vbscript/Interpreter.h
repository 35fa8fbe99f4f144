// Runs parsed programs: variables, procedure calls, statements and calls into objects. The
// Engine is its public face; the built-in functions reach the host and Err through it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "src/script/vbscript/Ast.h"
#include "src/script/vbscript/Engine.h"
#include "src/script/vbscript/ErrObject.h"

namespace orbel::vbs {

struct Builtin;

class Interpreter {
  public:
    explicit Interpreter(ScriptHost& host);
    ~Interpreter();

    std::optional<ScriptError> AddCode(std::string_view text, bool runTopLevel);
    std::vector<std::string> Procedures() const { return procNames_; }
    std::optional<ScriptError> Run(std::string_view name, std::vector<Value> args, Value* result);
    void Reset();
    void SetTimeLimit(std::chrono::milliseconds limit) { limit_ = limit; }
    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }

    // For the built-in functions.
    ScriptHost& Host() { return host_; }
    Value ErrValue() { return Value::Obj(err_); }
    Value DefaultValue(const Value& object);
    Value CallMember(const Value& object, std::string_view name, std::vector<Variant> args,
                     bool preferMethod);
    std::mt19937& Random() { return random_; }
    float& LastRandom() { return lastRandom_; }

  private:
    struct Frame {
        const Procedure* proc = nullptr;
        std::vector<Value> slots;
        std::vector<Value*> refs;  // a slot's own storage, or the caller's variable (ByRef)
        std::unordered_map<std::string, std::unique_ptr<Value>> implicit;
        std::vector<Value> withObjects;
        bool resumeNext = false;
        bool optionExplicit = false;
    };

    template <class Body>
    std::optional<ScriptError> Guarded(Body body);
    void Poll() {
        if ((++ticks_ & 255) == 0) SlowPoll();
    }
    void SlowPoll();

    // Names
    void Resolve(const Expr& e, bool declaring = false);
    Value* VariableOf(const Expr& e);
    bool IsConstant(const Expr& e) const;

    // Expressions
    Value Eval(const Expr& e);
    Value Scalar(Value v) { return v.type == Type::Object ? DefaultValue(v) : v; }
    Value EvalName(const Expr& e);
    Value EvalMember(const Expr& e, bool statement);
    Value Element(const Value& v, const Expr& e);
    std::size_t FlatIndex(const ArrayData& a, const std::vector<ExprPtr>& indexes);
    std::vector<Variant> ArgumentsOf(const std::vector<ExprPtr>& args);
    Value CallBuiltin(const Builtin& b, const std::vector<ExprPtr>& args);
    Value CallProcedure(const Procedure& p, const std::vector<ExprPtr>& args);
    Value Enter(const Procedure& p, Frame& frame);
    HRESULT Dispatch(IDispatch& object, std::string_view name, InvokeKind kind,
                     std::span<const Variant> args, Variant* result);

    // Statements
    ExitKind ExecBlock(const Block& block);
    ExitKind Exec(const Stmt& s);
    void ExecCall(const Expr& target);
    void Assign(const Expr& target, Value v, bool isSet);
    void ExecDim(const Stmt& s);
    ExitKind ExecFor(const Stmt& s);
    ExitKind ExecForEach(const Stmt& s);
    ExitKind ExecDo(const Stmt& s);
    ExitKind ExecSelect(const Stmt& s);

    ScriptHost& host_;
    std::vector<std::unique_ptr<Program>> programs_;
    std::deque<Value> globals_;  // a deque, so that ByRef pointers to globals stay valid
    std::vector<bool> globalConst_;
    std::unordered_map<std::string, int> globalIndex_;
    std::unordered_map<std::string, const Procedure*> procs_;
    std::vector<std::string> procNames_;
    Frame* frame_ = nullptr;
    std::shared_ptr<ErrObject> err_;
    std::atomic<bool> stop_{false};
    std::chrono::milliseconds limit_{0};
    std::chrono::steady_clock::time_point deadline_;
    std::uint32_t ticks_ = 0;
    int depth_ = 0;
    int running_ = 0;
    std::mt19937 random_;
    float lastRandom_ = 0;
};

}  // namespace orbel::vbs
