// The parsed form of a program: expressions, statements and procedures. Names are kept as
// written for messages and in lower case for look-up; a name's binding is found on first use
// and kept in the node, since the variables a node can reach never move.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "src/script/vbscript/Value.h"

namespace orbel::vbs {

enum class Op : std::uint8_t {
    Add,
    Sub,
    Mul,
    Div,
    IntDiv,
    Mod,
    Pow,
    Concat,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
    Neg,
    Not,
};

struct Procedure;

struct Binding {
    enum class Kind : std::uint8_t { Unresolved, Local, Global, Procedure, Builtin, Dynamic };
    Kind kind = Kind::Unresolved;
    int index = 0;
    const void* target = nullptr;
};

// WithObject is the object of the innermost With block, which ".name" refers to.
enum class ExprKind : std::uint8_t { Literal, Name, Member, Unary, Binary, Missing, WithObject };

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    ExprKind kind = ExprKind::Literal;
    Op op = Op::Add;
    bool parens = false;   // a Name or Member written with an argument list in parentheses
    bool wrapped = false;  // the whole expression stood in parentheses: it passes by value
    int line = 0;
    Value literal;
    std::string name;  // as written
    std::string key;   // lower case
    ExprPtr base;      // Member: the object; Unary and Binary: the (left) operand
    ExprPtr right;
    std::vector<ExprPtr> args;
    mutable Binding binding;
};

enum class StmtKind : std::uint8_t {
    Assign,
    Set,
    Call,
    Dim,
    ReDim,
    Erase,
    If,
    Select,
    For,
    ForEach,
    Do,
    Exit,
    OnErrorResumeNext,
    OnErrorGoto0,
    With,
};

enum class ExitKind : std::uint8_t { None, Do, For, Procedure };

struct Stmt;
using Block = std::vector<std::unique_ptr<Stmt>>;

struct DimItem {
    ExprPtr target;  // a Name expression
    std::vector<ExprPtr> bounds;
    bool isArray = false;
};

struct CaseTest {
    enum class Kind : std::uint8_t { Equal, Range, Compare } kind = Kind::Equal;
    Op op = Op::Eq;
    ExprPtr a, b;
};

struct CaseClause {
    std::vector<CaseTest> tests;  // empty for Case Else
    Block body;
};

struct Stmt {
    StmtKind kind = StmtKind::Call;
    int line = 0;
    ExprPtr target;  // Assign, Set: what is written; Call: the call; For, ForEach: the counter
    ExprPtr value;   // Assign, Set: the value; For: the start; ForEach: the group; Select
    ExprPtr limit, step;
    std::vector<DimItem> dims;
    bool preserve = false;
    bool constInit = false;                           // Assign: the one write a local Const gets
    std::vector<std::pair<ExprPtr, Block>> branches;  // If and ElseIf
    Block elseBlock;
    std::vector<CaseClause> cases;
    Block body;
    ExprPtr cond;  // Do: null for a loop without a condition
    bool condAtTop = false;
    bool until = false;
    ExitKind exit = ExitKind::None;
};

struct Param {
    std::string name;
    bool byRef = true;
};

struct Procedure {
    std::string name;
    std::string key;
    bool isFunction = false;
    bool optionExplicit = false;
    int line = 0;
    std::vector<Param> params;  // slots 0..n-1
    int resultSlot = -1;        // a function's value, written through its own name
    std::unordered_map<std::string, int> locals;
    std::vector<bool> localConst;
    Block body;
};

// One text given to AddCode: its procedures and its top-level statements, which are kept
// (the statements refer to them) after they ran.
struct Program {
    std::vector<std::unique_ptr<Procedure>> procedures;
    Block topLevel;
    std::vector<std::string> globals;  // declared at the top level, in lower case
    std::vector<std::pair<std::string, Value>> constants;
    bool optionExplicit = false;
};

}  // namespace orbel::vbs
