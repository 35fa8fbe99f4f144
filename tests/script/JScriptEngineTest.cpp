// The JScript engine on its own, with a site that stands for the world a script reaches.
#include <gtest/gtest.h>

#include <chrono>

#include "src/script/ScriptEngine.h"

namespace orbel {
namespace {

// An automation object that keeps the calls made on it.
class Recorder final : public IDispatch {
  public:
    std::vector<std::string> calls;
    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override {
        if (name == "Missing") return DISP_E_UNKNOWNNAME;
        names.emplace_back(name);
        id = static_cast<DISPID>(names.size());
        return S_OK;
    }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        std::string line = names[static_cast<std::size_t>(id) - 1];
        line += kind == InvokeKind::PropertyPut ? " =" : "(";
        for (const Variant& a : args) line += " " + a.ToDisplayString();
        calls.push_back(line);
        if (result) *result = Variant(static_cast<std::int32_t>(args.size()));
        return S_OK;
    }

  private:
    std::vector<std::string> names;
};

class FakeSite final : public IScriptSite {
  public:
    std::shared_ptr<Recorder> object = std::make_shared<Recorder>();
    bool CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& out,
                      std::string& error) override {
        if (progId != "Test.Recorder") {
            error = "invalid class string";
            return false;
        }
        out = object;
        return true;
    }
    bool Invoke(const std::shared_ptr<IDispatch>& target, const std::string& member,
                InvokeKind kind, const std::vector<Variant>& args, Variant& result,
                std::string& error) override {
        DISPID id = 0;
        if (target->GetIDsOfNames(member, id) != S_OK) {
            error = "unknown name";
            return false;
        }
        return target->Invoke(id, kind, args, &result) == S_OK;
    }
    int MessageBox(const std::string&, unsigned, const std::string&) override { return 1; }
};

class JScriptEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        limit.Start(5000);
        engine = CreateScriptEngine("JScript", site, limit);
        ASSERT_TRUE(engine);
    }
    FakeSite site;
    ScriptLimit limit;
    std::unique_ptr<IScriptEngine> engine;
    ScriptError error;
};

TEST_F(JScriptEngineTest, ProceduresAreTheScriptsGlobalFunctionsInTheirOrder) {
    ASSERT_TRUE(
        engine->AddCode("var count = 1;\nfunction Main() {}\nfunction Other(a) {}\n"
                        "var f = function () {};",
                        error))
        << error.Text();
    std::vector<std::string> names;
    ASSERT_TRUE(engine->Procedures(names, error));
    // The automation constructor the engine provides is no procedure of the script.
    EXPECT_EQ(names, (std::vector<std::string>{"Main", "Other", "f"}));
}

TEST_F(JScriptEngineTest, CodeThatFailsPartWayStillDeclaresItsFunctions) {
    EXPECT_FALSE(engine->AddCode("Undefined();\nfunction Later() {}", error));
    EXPECT_NE(error.description.find("ReferenceError"), std::string::npos) << error.Text();
    EXPECT_EQ(error.line, 1);
    std::vector<std::string> names;
    engine->Procedures(names, error);
    EXPECT_EQ(names, std::vector<std::string>{"Later"});
}

TEST_F(JScriptEngineTest, ASyntaxErrorNamesItsLine) {
    EXPECT_FALSE(engine->AddCode("function Main() {\n  var a = 1;\n  a = = 2;\n}", error));
    EXPECT_NE(error.description.find("SyntaxError"), std::string::npos) << error.Text();
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.Text().find("(line 3)") + 8, error.Text().size()) << error.Text();
}

TEST_F(JScriptEngineTest, RunCallsTheProcedureWithItsArgumentsAndGivesItsResult) {
    ASSERT_TRUE(
        engine->AddCode("function Join(a, b, c) { return a + '-' + b + '-' + c; }\n"
                        "function Half(n) { return n / 2; }",
                        error));
    Variant result;
    ASSERT_TRUE(engine->Run("Join", {Variant("x"), Variant(7), Variant(true)}, result, error));
    EXPECT_EQ(result, Variant("x-7-true"));
    ASSERT_TRUE(engine->Run("Half", {Variant(8)}, result, error));
    EXPECT_EQ(result, Variant(4));
    // Automation here has no floating point: a fraction comes back as its text.
    ASSERT_TRUE(engine->Run("Half", {Variant(3)}, result, error));
    EXPECT_EQ(result, Variant("1.5"));
    EXPECT_FALSE(engine->Run("Nowhere", {}, result, error));
    EXPECT_EQ(error.description, "The script has no procedure Nowhere.");
}

TEST_F(JScriptEngineTest, AutomationObjectsAreMadeByProgIdAndCalledThroughTheSite) {
    ASSERT_TRUE(
        engine->AddCode("var o = new ActiveXObject('Test.Recorder');\n"
                        "function Main() { o.Visible = true; return o.Call(3, 'a'); }",
                        error))
        << error.Text();
    Variant result;
    ASSERT_TRUE(engine->Run("Main", {}, result, error)) << error.Text();
    EXPECT_EQ(result, Variant(2));
    EXPECT_EQ(site.object->calls, (std::vector<std::string>{"Visible = TRUE", "Call( 3 \"a\""}));
}

TEST_F(JScriptEngineTest, AFailingAutomationCallIsAScriptErrorTheScriptCanCatch) {
    ASSERT_TRUE(
        engine->AddCode("function Make() { return new ActiveXObject('No.Such'); }\n"
                        "function Caught() { var o = new ActiveXObject('Test.Recorder');\n"
                        "  try { o.Missing(); } catch (e) { return 'caught ' + e.message; } }",
                        error));
    Variant result;
    EXPECT_FALSE(engine->Run("Make", {}, result, error));
    EXPECT_NE(error.description.find("No.Such: invalid class string"), std::string::npos)
        << error.Text();
    ASSERT_TRUE(engine->Run("Caught", {}, result, error)) << error.Text();
    EXPECT_EQ(result, Variant("caught Missing: unknown name"));
}

TEST_F(JScriptEngineTest, ARunawayLoopStopsAtTheLimitEvenInsideTryAndTheEngineGoesOn) {
    ASSERT_TRUE(
        engine->AddCode("function Spin() { while (true) { try { for (;;) {} } "
                        "catch (e) {} } }\nfunction Fine() { return 5; }",
                        error));
    limit.Start(200);
    const auto start = std::chrono::steady_clock::now();
    Variant result;
    EXPECT_FALSE(engine->Run("Spin", {}, result, error));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(error.Text(), "The script was stopped: it ran longer than its time limit of 200 ms.");
    EXPECT_LT(took, std::chrono::seconds(3));
    limit.Start(5000);
    ASSERT_TRUE(engine->Run("Fine", {}, result, error)) << error.Text();
    EXPECT_EQ(result, Variant(5));
}

TEST_F(JScriptEngineTest, ACancelStopsTheRunWithItsOwnMessage) {
    ASSERT_TRUE(engine->AddCode("function Spin() { for (;;) {} }", error));
    limit.Cancel();
    Variant result;
    EXPECT_FALSE(engine->Run("Spin", {}, result, error));
    EXPECT_EQ(error.Text(), "The script was cancelled.");
}

TEST_F(JScriptEngineTest, ResetForgetsTheCode) {
    ASSERT_TRUE(engine->AddCode("function Main() {}", error));
    engine->Reset();
    std::vector<std::string> names;
    engine->Procedures(names, error);
    EXPECT_TRUE(names.empty());
}

TEST(ScriptEngines, VBScriptHasAnEngineAndOtherLanguagesHaveNone) {
    FakeSite site;
    ScriptLimit limit;
    limit.Start(60000);
    auto vbs = CreateScriptEngine("VBScript", site, limit);
    ASSERT_TRUE(vbs);
    ScriptError error;
    ASSERT_TRUE(
        vbs->AddCode("Sub Main\nEnd Sub\nFunction Twice(n)\n  Twice = n * 2\nEnd Function", error))
        << error.Text();
    std::vector<std::string> names;
    ASSERT_TRUE(vbs->Procedures(names, error));
    EXPECT_EQ(names, (std::vector<std::string>{"Main", "Twice"}));
    Variant result;
    ASSERT_TRUE(vbs->Run("Twice", {Variant(21)}, result, error)) << error.Text();
    EXPECT_EQ(result, Variant(42));
    EXPECT_FALSE(CreateScriptEngine("jscript", site, limit));
    EXPECT_FALSE(CreateScriptEngine("Python", site, limit));
}

}  // namespace
}  // namespace orbel
