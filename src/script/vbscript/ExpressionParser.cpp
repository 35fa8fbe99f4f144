#include "src/script/vbscript/ExpressionParser.h"

#include <optional>
#include <string_view>

#include "src/script/vbscript/Builtins.h"
#include "src/script/vbscript/Conversions.h"

namespace orbel::vbs {

bool IsReserved(const std::string& key) {
    static const char* const kWords[] = {
        "and",  "byref",    "byval",   "call",     "case",    "class",  "const", "dim",
        "do",   "each",     "else",    "elseif",   "empty",   "end",    "eqv",   "erase",
        "exit", "false",    "for",     "function", "if",      "imp",    "in",    "is",
        "loop", "mod",      "next",    "not",      "nothing", "null",   "on",    "option",
        "or",   "preserve", "private", "public",   "redim",   "select", "set",   "sub",
        "then", "to",       "true",    "until",    "wend",    "while",  "with",  "xor"};
    for (const char* w : kWords)
        if (key == w) return true;
    return false;
}

Op ExpressionParser::ParseComparisonOp() {
    if (Peek().kind == Tok::Symbol) {
        const std::string& t = Peek().text;
        Op op = t == "="    ? Op::Eq
                : t == "<>" ? Op::Ne
                : t == "<"  ? Op::Lt
                : t == "<=" ? Op::Le
                : t == ">"  ? Op::Gt
                : t == ">=" ? Op::Ge
                            : Op::Add;
        if (op != Op::Add) {
            Next();
            return op;
        }
    }
    Fail(kSyntaxError);
}

ExprPtr ExpressionParser::NewName(const std::string& name) {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Name;
    e->line = Peek().line;
    e->name = name;
    e->key = Lower(name);
    return e;
}
ExprPtr ExpressionParser::WithObject() {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::WithObject;
    e->line = Peek().line;
    return e;
}

ExprPtr ExpressionParser::Missing() {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Missing;
    e->line = Peek().line;
    return e;
}
ExprPtr ExpressionParser::Literal(Value v) {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Literal;
    e->line = Peek().line;
    e->literal = std::move(v);
    return e;
}
ExprPtr ExpressionParser::Binary(Op op, ExprPtr l, ExprPtr r) {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Binary;
    e->line = l->line;
    e->op = op;
    e->base = std::move(l);
    e->right = std::move(r);
    return e;
}
ExprPtr ExpressionParser::Unary(Op op, ExprPtr operand) {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Unary;
    e->line = operand->line;
    e->op = op;
    e->base = std::move(operand);
    return e;
}

ExprPtr ExpressionParser::ParseExpression() {
    DepthGuard guard(*this);
    return ParseLevel(0);
}

namespace {

struct OpName {
    std::string_view text;
    Op op;
};

// The binary operators from the loosest to the tightest. Not stands alone between And and the
// comparisons; negation and ^ bind tighter than all of these.
const std::vector<std::vector<OpName>> kLevels = {
    {{"imp", Op::Imp}},
    {{"eqv", Op::Eqv}},
    {{"xor", Op::Xor}},
    {{"or", Op::Or}},
    {{"and", Op::And}},
    {},  // Not
    {{"=", Op::Eq},
     {"<>", Op::Ne},
     {"<", Op::Lt},
     {"<=", Op::Le},
     {">", Op::Gt},
     {">=", Op::Ge},
     {"is", Op::Is}},
    {{"&", Op::Concat}},
    {{"+", Op::Add}, {"-", Op::Sub}},
    {{"mod", Op::Mod}},
    {{"\\", Op::IntDiv}},
    {{"*", Op::Mul}, {"/", Op::Div}},
};
constexpr std::size_t kNotLevel = 5;

}  // namespace

const std::size_t ExpressionParser::kConcatLevel = 7;

std::optional<Op> ExpressionParser::OperatorAt(std::size_t level) const {
    const Token& tok = Peek();
    if (tok.kind != Tok::Name && tok.kind != Tok::Symbol) return std::nullopt;
    for (const OpName& name : kLevels[level])
        if (tok.kind == Tok::Symbol ? tok.text == name.text : EqualsNoCase(tok.text, name.text))
            return name.op;
    return std::nullopt;
}

ExprPtr ExpressionParser::ParseLevel(std::size_t level) {
    if (level == kLevels.size()) return ParseNegation();
    if (level == kNotLevel) {
        if (!IsWord("not")) return ParseLevel(level + 1);
        DepthGuard guard(*this);
        Next();
        return Unary(Op::Not, ParseLevel(level));
    }
    ExprPtr l = ParseLevel(level + 1);
    while (auto op = OperatorAt(level)) {
        Next();
        l = Binary(*op, std::move(l), ParseLevel(level + 1));
    }
    return l;
}

ExprPtr ExpressionParser::ParseNegation() {
    if (IsSymbol("-") || IsSymbol("+")) {
        DepthGuard guard(*this);
        bool negate = Next().text == "-";
        ExprPtr operand = ParseNegation();
        if (!negate) return operand;
        return Negate(std::move(operand));
    }
    return ParsePower();
}
ExprPtr ExpressionParser::Negate(ExprPtr operand) {
    // A negative literal stays a literal, so that Const and Case can take it.
    if (operand->kind == ExprKind::Literal && operand->literal.type == Type::Integer) {
        operand->literal = Value::Number(-static_cast<std::int64_t>(operand->literal.i));
        return operand;
    }
    if (operand->kind == ExprKind::Literal && operand->literal.type == Type::Long) {
        operand->literal = Value::Number(-static_cast<std::int64_t>(operand->literal.i));
        return operand;
    }
    if (operand->kind == ExprKind::Literal && operand->literal.type == Type::Double) {
        operand->literal.d = -operand->literal.d;
        return operand;
    }
    return Unary(Op::Neg, std::move(operand));
}
ExprPtr ExpressionParser::ParsePower() {
    ExprPtr l = ParsePrimary();
    while (IsSymbol("^")) {
        Next();
        ExprPtr r;
        if (IsSymbol("-") || IsSymbol("+")) {
            DepthGuard guard(*this);
            bool negate = Next().text == "-";
            r = ParsePrimary();
            if (negate) r = Negate(std::move(r));
        } else {
            r = ParsePrimary();
        }
        l = Binary(Op::Pow, std::move(l), std::move(r));
    }
    return l;
}

ExprPtr ExpressionParser::ParsePrimary() {
    DepthGuard guard(*this);
    const Token& tok = Peek();
    switch (tok.kind) {
        case Tok::Integer:
            Next();
            return Literal(Value::Number(static_cast<std::int64_t>(tok.number)));
        case Tok::Float:
            Next();
            return Literal(Value::Dbl(tok.number));
        case Tok::String:
            Next();
            return Literal(Value::Str(tok.text));
        case Tok::DateLit: {
            std::optional<double> date;
            try {
                date = ParseDateText(tok.text);
            } catch (const ScriptError&) {  // a year out of range
            }
            if (!date) Fail(kSyntaxError);
            Next();
            return Literal(Value::DateOf(*date));
        }
        case Tok::Symbol:
            if (tok.text == "(") {
                Next();
                ExprPtr e = ParseExpression();
                ExpectSymbol(")", kExpectedCloseParen);
                e->wrapped = true;
                return e;
            }
            if (tok.text == "." && withDepth_ > 0) return ParsePostfix(WithObject());
            Fail(kExpectedExpression);
        case Tok::Name: {
            std::string key = Lower(tok.text);
            if (key == "true" || key == "false") {
                Next();
                return Literal(Value::Bool(key == "true"));
            }
            if (key == "empty") {
                Next();
                return Literal(Value());
            }
            if (key == "null") {
                Next();
                return Literal(Value::Null());
            }
            if (key == "nothing") {
                Next();
                return Literal(Value::Obj(nullptr));
            }
            if (IsReserved(key)) Fail(kExpectedExpression);
            if (const Value* constant = FindBuiltinConstant(key)) {
                Next();
                return Literal(*constant);
            }
            return ParsePostfix(NewName(Next().text));
        }
        default:
            Fail(kExpectedExpression);
    }
}

// Argument lists and members after a name: a(1).b.c(2, 3).
ExprPtr ExpressionParser::ParsePostfix(ExprPtr e) {
    while (true) {
        if (IsSymbol("(") && !e->parens) {
            std::size_t open = pos_;
            Next();
            e->parens = true;
            if (!IsSymbol(")")) {
                while (true) {
                    if (IsSymbol(",")) {
                        e->args.push_back(Missing());
                    } else {
                        e->args.push_back(ParseExpression());
                        if (!IsSymbol(",")) break;
                    }
                    Next();
                    if (IsSymbol(")")) {
                        e->args.push_back(Missing());
                        break;
                    }
                }
            }
            ExpectSymbol(")", kExpectedCloseParen);
            lastParen_ = open;
        } else if (IsSymbol(".") &&
                   (e->kind == ExprKind::WithObject || withDepth_ == 0 || !Peek().spaceBefore)) {
            // In a With block "F .x" passes the With object's x to F.
            Next();
            if (Peek().kind != Tok::Name) Fail(kExpectedIdentifier);
            auto m = std::make_unique<Expr>();
            m->kind = ExprKind::Member;
            m->line = Peek().line;
            m->name = Next().text;
            m->key = Lower(m->name);
            m->base = std::move(e);
            e = std::move(m);
            lastParen_ = 0;
        } else {
            return e;
        }
    }
}

}  // namespace orbel::vbs
