// Reads expressions from the tokens of a program, with the language's operator precedence;
// the statement parser builds on it and shares its place in the tokens.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "src/script/vbscript/Ast.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Lexer.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

bool IsReserved(const std::string& key);

// Nesting deeper than this is refused as too complex rather than risking the stack.
inline constexpr int kMaxParseDepth = 200;

class ExpressionParser {
  public:
    explicit ExpressionParser(std::vector<Token> tokens) : t_(std::move(tokens)) {}
    int CurrentLine() const { return Peek().line; }

  protected:
    // --- tokens -----------------------------------------------------------------------------

    const Token& Peek(std::size_t ahead = 0) const {
        std::size_t i = pos_ + ahead;
        return i < t_.size() ? t_[i] : t_.back();
    }
    const Token& Next() {
        const Token& tok = Peek();
        if (pos_ < t_.size() - 1) ++pos_;
        return tok;
    }
    bool IsWord(const char* word, std::size_t ahead = 0) const {
        const Token& tok = Peek(ahead);
        return tok.kind == Tok::Name && EqualsNoCase(tok.text, word);
    }
    bool IsSymbol(const char* sym) const {
        return Peek().kind == Tok::Symbol && Peek().text == sym;
    }
    bool AtEndOfStatement() const {
        return Peek().kind == Tok::Newline || Peek().kind == Tok::End ||
               (singleLineIf_ > 0 && IsWord("else"));
    }

    [[noreturn]] void Fail(std::int32_t number) const {
        throw ScriptError(number, ErrorDescription(number), Peek().line);
    }
    void ExpectWord(const char* word, std::int32_t number) {
        if (!IsWord(word)) Fail(number);
        Next();
    }
    void ExpectSymbol(const char* sym, std::int32_t number) {
        if (!IsSymbol(sym)) Fail(number);
        Next();
    }
    void EndStatement() {
        if (singleLineIf_ > 0 && IsWord("else")) return;
        if (Peek().kind != Tok::Newline && Peek().kind != Tok::End) Fail(kExpectedEndOfStatement);
        if (singleLineIf_ > 0 && Peek().text != ":") return;  // the caller takes the line end
        Next();
    }
    void SkipNewlines() {
        while (Peek().kind == Tok::Newline) Next();
    }

    std::string ExpectName() {
        if (Peek().kind != Tok::Name || IsReserved(Lower(Peek().text))) Fail(kExpectedIdentifier);
        return Next().text;
    }

    struct DepthGuard {
        explicit DepthGuard(ExpressionParser& p) : p(p) {
            if (++p.depth_ > kMaxParseDepth) p.Fail(kTooComplex);
        }
        ~DepthGuard() { --p.depth_; }
        ExpressionParser& p;
    };

    Op ParseComparisonOp();
    ExprPtr NewName(const std::string& name);
    ExprPtr Missing();
    ExprPtr WithObject();
    ExprPtr Literal(Value v);
    ExprPtr Binary(Op op, ExprPtr l, ExprPtr r);
    ExprPtr Unary(Op op, ExprPtr operand);
    ExprPtr ParseExpression();
    // Binary operators of the given tightness and tighter; 0 is a whole expression.
    ExprPtr ParseLevel(std::size_t level);
    std::optional<Op> OperatorAt(std::size_t level) const;
    static const std::size_t kConcatLevel;  // where a Case Is comparison's operand starts
    ExprPtr ParseNegation();
    ExprPtr Negate(ExprPtr operand);
    ExprPtr ParsePower();
    ExprPtr ParsePrimary();
    ExprPtr ParsePostfix(ExprPtr e);

    std::vector<Token> t_;
    std::size_t pos_ = 0;
    std::size_t lastParen_ = 0;  // where the last argument list of a name began
    int depth_ = 0;
    int singleLineIf_ = 0;
    int withDepth_ = 0;  // With blocks open around the statement being read
};

}  // namespace orbel::vbs
