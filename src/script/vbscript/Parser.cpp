#include "src/script/vbscript/Parser.h"

#include <cmath>
#include <optional>

#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/ExpressionParser.h"
#include "src/script/vbscript/Text.h"

namespace orbel::vbs {

namespace {

class Parser : public ExpressionParser {
  public:
    using ExpressionParser::ExpressionParser;

    Program Run() {
        SkipNewlines();
        if (IsWord("option")) {
            Next();
            ExpectWord("explicit", kExpectedIdentifier);
            program_.optionExplicit = true;
            EndStatement();
        }
        while (Peek().kind != Tok::End) {
            SkipNewlines();
            if (Peek().kind == Tok::End) break;
            if (IsProcedureStart()) {
                ParseProcedure();
                continue;
            }
            if (IsWord("option")) Fail(kMustBeFirstStatement);
            ParseStatement(program_.topLevel);
        }
        return std::move(program_);
    }

  private:
    // --- declarations -----------------------------------------------------------------------

    // Declares a variable in the procedure being parsed or at the top level.
    void Declare(const std::string& name, bool isConst) {
        std::string key = Lower(name);
        if (proc_) {
            if (proc_->locals.count(key)) Fail(kNameRedefined);
            proc_->locals.emplace(key, static_cast<int>(proc_->localConst.size()));
            proc_->localConst.push_back(isConst);
        } else if (!isConst) {
            program_.globals.push_back(key);
        }
    }

    bool IsProcedureStart() const {
        std::size_t a = (IsWord("public") || IsWord("private")) ? 1 : 0;
        if (a && IsWord("default", 1)) ++a;
        return IsWord("sub", a) || IsWord("function", a);
    }

    void ParseProcedure() {
        if (proc_) Fail(kSyntaxError);
        if (IsWord("public") || IsWord("private")) Next();
        if (IsWord("default")) Next();
        auto proc = std::make_unique<Procedure>();
        proc->isFunction = IsWord("function");
        proc->line = Peek().line;
        Next();
        proc->name = ExpectName();
        proc->key = Lower(proc->name);
        proc_ = proc.get();
        if (IsSymbol("(")) {
            Next();
            while (!IsSymbol(")")) {
                Param param;
                if (IsWord("byval")) {
                    param.byRef = false;
                    Next();
                } else if (IsWord("byref")) {
                    Next();
                }
                param.name = ExpectName();
                if (IsSymbol("(")) {  // an array parameter, "a()"
                    Next();
                    ExpectSymbol(")", kExpectedCloseParen);
                }
                Declare(param.name, false);
                proc->params.push_back(std::move(param));
                if (!IsSymbol(",")) break;
                Next();
            }
            ExpectSymbol(")", kExpectedCloseParen);
        }
        if (proc->isFunction) {
            proc->resultSlot = static_cast<int>(proc->localConst.size());
            proc->locals.emplace(proc->key, proc->resultSlot);
            proc->localConst.push_back(false);
        }
        EndStatement();
        ParseBlock(proc->body);
        ExpectWord("end", kExpectedEnd);
        ExpectWord(proc->isFunction ? "function" : "sub",
                   proc->isFunction ? kExpectedFunction : kExpectedSub);
        EndStatement();
        proc_ = nullptr;
        program_.procedures.push_back(std::move(proc));
    }

    // --- statements -------------------------------------------------------------------------

    // Statements up to (not including) a line that starts with a word that closes the block.
    void ParseBlock(Block& block) {
        DepthGuard guard(*this);
        while (true) {
            SkipNewlines();
            if (Peek().kind == Tok::End) return;
            if (IsWord("end") || IsWord("else") || IsWord("elseif") || IsWord("loop") ||
                IsWord("next") || IsWord("wend") || IsWord("case"))
                return;
            if (IsProcedureStart()) Fail(kSyntaxError);
            ParseStatement(block);
        }
    }

    std::unique_ptr<Stmt> NewStmt(StmtKind kind) {
        auto s = std::make_unique<Stmt>();
        s->kind = kind;
        s->line = Peek().line;
        return s;
    }

    void ParseStatement(Block& block) {
        const Token& tok = Peek();
        if (tok.kind == Tok::Symbol && tok.text == "." && withDepth_ > 0) {
            ParseAssignOrCall(block);
            return;
        }
        if (tok.kind != Tok::Name) Fail(kExpectedStatement);
        std::string word = Lower(tok.text);
        if ((word == "public" || word == "private") && IsWord("const", 1) && !proc_) {
            Next();
            Next();
            ParseConst(block);
        } else if (word == "with") {
            auto s = NewStmt(StmtKind::With);
            Next();
            s->value = ParseExpression();
            EndStatement();
            ++withDepth_;
            ParseBlock(s->body);
            --withDepth_;
            ExpectWord("end", kExpectedEnd);
            ExpectWord("with", kExpectedWith);
            block.push_back(std::move(s));
            EndStatement();
        } else if (word == "dim" || ((word == "public" || word == "private") && !proc_)) {
            Next();
            ParseDim(block, false);
        } else if (word == "redim") {
            Next();
            ParseDim(block, true);
        } else if (word == "const") {
            Next();
            ParseConst(block);
        } else if (word == "set") {
            Next();
            auto s = NewStmt(StmtKind::Set);
            s->target = ParseTarget();
            ExpectSymbol("=", kExpectedEquals);
            s->value = ParseExpression();
            block.push_back(std::move(s));
            EndStatement();
        } else if (word == "if") {
            ParseIf(block);
        } else if (word == "select") {
            ParseSelect(block);
        } else if (word == "for") {
            ParseFor(block);
        } else if (word == "do") {
            ParseDo(block);
        } else if (word == "while") {
            auto s = NewStmt(StmtKind::Do);
            Next();
            s->cond = ParseExpression();
            s->condAtTop = true;
            EndStatement();
            ParseBlock(s->body);
            ExpectWord("wend", kExpectedWend);
            block.push_back(std::move(s));
            EndStatement();
        } else if (word == "exit") {
            auto s = NewStmt(StmtKind::Exit);
            Next();
            if (IsWord("do")) {
                if (loops_.empty() || !HasLoop(ExitKind::Do)) Fail(kInvalidExit);
                s->exit = ExitKind::Do;
            } else if (IsWord("for")) {
                if (!HasLoop(ExitKind::For)) Fail(kInvalidExit);
                s->exit = ExitKind::For;
            } else if (IsWord("sub") || IsWord("function")) {
                if (!proc_ || proc_->isFunction != IsWord("function")) Fail(kInvalidExit);
                s->exit = ExitKind::Procedure;
            } else {
                Fail(kInvalidExit);
            }
            Next();
            block.push_back(std::move(s));
            EndStatement();
        } else if (word == "on") {
            Next();
            ExpectWord("error", kSyntaxError);
            if (IsWord("resume")) {
                Next();
                ExpectWord("next", kExpectedNext);
                block.push_back(NewStmt(StmtKind::OnErrorResumeNext));
            } else {
                ExpectWord("goto", kSyntaxError);
                if (Peek().kind != Tok::Integer || Peek().number != 0) Fail(kSyntaxError);
                Next();
                block.push_back(NewStmt(StmtKind::OnErrorGoto0));
            }
            EndStatement();
        } else if (word == "erase" || word == "call") {
            auto s = NewStmt(word == "erase" ? StmtKind::Erase : StmtKind::Call);
            Next();
            s->target = ParseTarget();
            block.push_back(std::move(s));
            EndStatement();
        } else if (word == "option") {
            Fail(kMustBeFirstStatement);
        } else if (IsReserved(word) && word != "let") {
            Fail(kExpectedStatement);
        } else {
            if (word == "let") Next();
            ParseAssignOrCall(block);
        }
    }

    bool HasLoop(ExitKind kind) const {
        for (ExitKind k : loops_)
            if (k == kind) return true;
        return false;
    }

    void ParseDim(Block& block, bool redim) {
        auto s = NewStmt(redim ? StmtKind::ReDim : StmtKind::Dim);
        if (redim && IsWord("preserve")) {
            s->preserve = true;
            Next();
        }
        while (true) {
            DimItem item;
            item.target = NewName(ExpectName());
            // ReDim in a procedure may resize a global, which is only known when it runs.
            if (!redim || (!proc_ && !IsDeclared(item.target->key)))
                Declare(item.target->name, false);
            if (IsSymbol("(")) {
                Next();
                item.isArray = true;
                while (!IsSymbol(")")) {
                    item.bounds.push_back(ParseExpression());
                    if (!IsSymbol(",")) break;
                    Next();
                }
                ExpectSymbol(")", kExpectedCloseParen);
            }
            if (redim && item.bounds.empty()) Fail(kExpectedOpenParen);
            s->dims.push_back(std::move(item));
            if (!IsSymbol(",")) break;
            Next();
        }
        block.push_back(std::move(s));
        EndStatement();
    }

    bool IsDeclared(const std::string& key) const {
        if (proc_) return proc_->locals.count(key) != 0;
        for (const auto& g : program_.globals)
            if (g == key) return true;
        return false;
    }

    void ParseConst(Block& block) {
        while (true) {
            std::string name = ExpectName();
            ExpectSymbol("=", kExpectedEquals);
            ExprPtr value = ParseExpression();
            if (value->kind != ExprKind::Literal) Fail(kSyntaxError);
            if (proc_) {
                Declare(name, true);
                auto s = NewStmt(StmtKind::Assign);
                s->constInit = true;
                s->target = NewName(name);
                s->value = std::move(value);
                block.push_back(std::move(s));
            } else {
                for (const auto& c : program_.constants)
                    if (c.first == Lower(name)) Fail(kNameRedefined);
                program_.constants.emplace_back(Lower(name), value->literal);
            }
            if (!IsSymbol(",")) break;
            Next();
        }
        EndStatement();
    }

    void ParseIf(Block& block) {
        auto s = NewStmt(StmtKind::If);
        Next();
        ExprPtr cond = ParseExpression();
        ExpectWord("then", kExpectedThen);
        if (Peek().kind != Tok::Newline || Peek().text == ":") {
            // Single line: statements up to the line break, an optional Else part.
            if (Peek().kind == Tok::Newline) Next();
            ++singleLineIf_;
            Block then;
            ParseLineStatements(then);
            s->branches.emplace_back(std::move(cond), std::move(then));
            if (IsWord("else")) {
                Next();
                ParseLineStatements(s->elseBlock);
            }
            --singleLineIf_;
            block.push_back(std::move(s));
            if (IsWord("end") && IsWord("if", 1)) {  // a stray "End If" after a one-line If
                Fail(kExpectedStatement);
            }
            if (Peek().kind == Tok::Newline) Next();
            return;
        }
        EndStatement();
        Block then;
        ParseBlock(then);
        s->branches.emplace_back(std::move(cond), std::move(then));
        while (IsWord("elseif")) {
            Next();
            ExprPtr c = ParseExpression();
            ExpectWord("then", kExpectedThen);
            EndStatement();
            Block body;
            ParseBlock(body);
            s->branches.emplace_back(std::move(c), std::move(body));
        }
        if (IsWord("else")) {
            Next();
            if (Peek().kind != Tok::Newline) {
                // "Else stmt" on the Else line itself
                ParseStatement(s->elseBlock);
            } else {
                EndStatement();
            }
            ParseBlock(s->elseBlock);
        }
        ExpectWord("end", kExpectedEnd);
        ExpectWord("if", kExpectedIf);
        block.push_back(std::move(s));
        EndStatement();
    }

    // The statements of one part of a single-line If, joined by ':'.
    void ParseLineStatements(Block& block) {
        while (true) {
            if (Peek().kind == Tok::End || (Peek().kind == Tok::Newline && Peek().text != ":") ||
                IsWord("else"))
                return;
            if (Peek().kind == Tok::Newline) {
                Next();
                continue;
            }
            if (IsWord("if")) {
                ParseNestedLineIf(block);
                continue;
            }
            ParseStatement(block);
        }
    }

    void ParseNestedLineIf(Block& block) {
        auto s = NewStmt(StmtKind::If);
        Next();
        ExprPtr cond = ParseExpression();
        ExpectWord("then", kExpectedThen);
        if (Peek().kind == Tok::Newline && Peek().text != ":") Fail(kSyntaxError);
        Block then;
        ParseLineStatements(then);
        s->branches.emplace_back(std::move(cond), std::move(then));
        if (IsWord("else")) {
            Next();
            ParseLineStatements(s->elseBlock);
        }
        block.push_back(std::move(s));
    }

    void ParseSelect(Block& block) {
        auto s = NewStmt(StmtKind::Select);
        Next();
        ExpectWord("case", kExpectedCase);
        s->value = ParseExpression();
        EndStatement();
        SkipNewlines();
        while (IsWord("case")) {
            Next();
            CaseClause clause;
            if (IsWord("else")) {
                Next();
            } else {
                while (true) {
                    CaseTest test;
                    if (IsWord("is")) {
                        Next();
                        test.kind = CaseTest::Kind::Compare;
                        test.op = ParseComparisonOp();
                        test.a = ParseLevel(kConcatLevel);
                    } else {
                        test.a = ParseExpression();
                        if (IsWord("to")) {
                            Next();
                            test.kind = CaseTest::Kind::Range;
                            test.b = ParseExpression();
                        }
                    }
                    clause.tests.push_back(std::move(test));
                    if (!IsSymbol(",")) break;
                    Next();
                }
            }
            if (Peek().kind == Tok::Newline) Next();
            ParseBlock(clause.body);
            s->cases.push_back(std::move(clause));
        }
        ExpectWord("end", kExpectedEnd);
        ExpectWord("select", kExpectedSelect);
        block.push_back(std::move(s));
        EndStatement();
    }

    void ParseFor(Block& block) {
        Next();
        if (IsWord("each")) {
            auto s = NewStmt(StmtKind::ForEach);
            Next();
            s->target = NewName(ExpectName());
            ExpectWord("in", kExpectedIn);
            s->value = ParseExpression();
            EndStatement();
            ParseLoopBody(s->body, ExitKind::For);
            ExpectWord("next", kExpectedNext);
            if (Peek().kind == Tok::Name && !IsWord("else")) Next();
            block.push_back(std::move(s));
            EndStatement();
            return;
        }
        auto s = NewStmt(StmtKind::For);
        s->target = NewName(ExpectName());
        ExpectSymbol("=", kExpectedEquals);
        s->value = ParseExpression();
        ExpectWord("to", kExpectedTo);
        s->limit = ParseExpression();
        if (IsWord("step")) {
            Next();
            s->step = ParseExpression();
        }
        EndStatement();
        ParseLoopBody(s->body, ExitKind::For);
        ExpectWord("next", kExpectedNext);
        if (Peek().kind == Tok::Name && !IsWord("else")) Next();  // "Next i"
        block.push_back(std::move(s));
        EndStatement();
    }

    void ParseLoopBody(Block& body, ExitKind kind) {
        loops_.push_back(kind);
        ParseBlock(body);
        loops_.pop_back();
    }

    void ParseDo(Block& block) {
        auto s = NewStmt(StmtKind::Do);
        Next();
        if (IsWord("while") || IsWord("until")) {
            s->until = IsWord("until");
            s->condAtTop = true;
            Next();
            s->cond = ParseExpression();
        }
        EndStatement();
        ParseLoopBody(s->body, ExitKind::Do);
        ExpectWord("loop", kExpectedLoop);
        if (IsWord("while") || IsWord("until")) {
            if (s->cond) Fail(kExpectedEndOfStatement);
            s->until = IsWord("until");
            Next();
            s->cond = ParseExpression();
        }
        block.push_back(std::move(s));
        EndStatement();
    }

    // "x = v", "obj.p = v", "a(i) = v", or a call: "Foo", "Foo a, b", "obj.M a", "Foo (a)".
    void ParseAssignOrCall(Block& block) {
        int line = Peek().line;
        lastParen_ = 0;
        ExprPtr target =
            ParsePostfix(IsSymbol(".") && withDepth_ > 0 ? WithObject() : NewName(ExpectName()));
        if (IsSymbol("=")) {
            Next();
            auto s = NewStmt(StmtKind::Assign);
            s->line = line;
            s->target = std::move(target);
            s->value = ParseExpression();
            block.push_back(std::move(s));
            EndStatement();
            return;
        }
        auto s = NewStmt(StmtKind::Call);
        s->line = line;
        if (!AtEndOfStatement()) {
            // What looked like the last argument list was the start of the first argument.
            if (target->parens && lastParen_ != 0) {
                pos_ = lastParen_;
                target->args.clear();
                target->parens = false;
            } else if (target->parens) {
                Fail(kExpectedEndOfStatement);
            }
            ParseArguments(target->args);
        } else if (target->parens) {
            // "Foo (a)": the parentheses belong to the argument, which passes by value.
            for (auto& a : target->args)
                if (target->args.size() == 1 && a) a->wrapped = true;
        }
        s->target = std::move(target);
        block.push_back(std::move(s));
        EndStatement();
    }

    void ParseArguments(std::vector<ExprPtr>& args) {
        while (true) {
            if (IsSymbol(",")) {
                args.push_back(Missing());
            } else {
                args.push_back(ParseExpression());
                if (!IsSymbol(",")) break;
            }
            Next();
            if (AtEndOfStatement()) {
                args.push_back(Missing());
                break;
            }
        }
    }

    // A name, or a member of an object, that a statement writes or calls.
    ExprPtr ParseTarget() {
        ExprPtr e = ParsePostfix(NewName(ExpectName()));
        return e;
    }

    std::vector<ExitKind> loops_;
    Procedure* proc_ = nullptr;
    Program program_;
};

}  // namespace

Program Parse(std::string_view text) {
    Parser parser(Tokenize(text));
    try {
        return parser.Run();
    } catch (ScriptError& e) {
        // Conversions made while parsing fail without knowing the line.
        e.SetLineIfUnknown(parser.CurrentLine());
        throw;
    }
}

}  // namespace orbel::vbs
