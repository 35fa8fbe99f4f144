// The engine as the script control uses it: code added, procedures listed and run, errors
// reported with their lines, runaway scripts stopped, objects reached through the host.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "tests/script/vbscript/RecordingHost.h"

namespace orbel::vbs::test {
namespace {

// Objects are made from the registry: point it at a hive of the test's own that is empty.
class VbsEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto dir = std::filesystem::temp_directory_path() / "orbel-vbs-test";
        std::filesystem::create_directories(dir);
        setenv("ORBEL_REGISTRY", (dir / "absent.reg").c_str(), 1);
    }

    RecordingHost host;
    Engine engine{host};
};

TEST_F(VbsEngineTest, SyntaxErrorNamesItsLineAndAddsNothing) {
    ASSERT_FALSE(engine.AddCode("Sub Kept()\nEnd Sub\n"));
    auto error = engine.AddCode("Sub Lost()\nEnd Sub\nx = (1 +\nMsgBox 1\n");
    ASSERT_TRUE(error);
    EXPECT_EQ("Line 3: Expected expression", FormatError(*error));
    EXPECT_EQ(std::vector<std::string>{"Kept"}, engine.Procedures());
    EXPECT_TRUE(host.lines.empty());

    const std::pair<const char*, const char*> cases[] = {
        {"If a Then\nb = 1\n", "Line 3: Expected 'End'"},
        {"x = \"open\n", "Line 1: Unterminated string constant"},
        {"For i = 1 To 3\nNext\nNext\n", "Line 3: Expected statement"},
        {"Sub A\nExit Function\nEnd Sub\n", "Line 2: Invalid 'exit' statement"},
        {"Sub A\nEnd Sub\nSub a\nEnd Sub\n", "Line 3: Name redefined"},
        {"Dim x\nOption Explicit\n", "Line 2: Must be first statement on the line"},
        {"x = 1 ?\n", "Line 1: Invalid character"},
        {"Do\nLoop Until\n", "Line 2: Expected expression"},
        {"x = 1\nd = #1/1/10000#\n", "Line 2: Syntax error"},
    };
    for (const auto& [text, message] : cases) {
        auto e = engine.AddCode(text);
        ASSERT_TRUE(e) << text;
        EXPECT_EQ(message, FormatError(*e)) << text;
    }
}

TEST_F(VbsEngineTest, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
    std::string deep = "x = " + std::string(100000, '(') + "1" + std::string(100000, ')');
    auto error = engine.AddCode(deep);
    ASSERT_TRUE(error);
    EXPECT_EQ(kTooComplex, error->Number());
    std::string blocks;
    for (int i = 0; i < 50000; ++i) blocks += "If x Then\n";
    error = engine.AddCode(blocks);
    ASSERT_TRUE(error);
    EXPECT_EQ(kTooComplex, error->Number());
    std::string negations = "x = " + std::string(100000, '-') + "1";
    error = engine.AddCode(negations);
    ASSERT_TRUE(error);
    EXPECT_EQ(kTooComplex, error->Number());
}

TEST_F(VbsEngineTest, LinesCountOnceForEveryKindOfLineEnd) {
    auto error = engine.AddCode("a = 1\n\rb = 2\r\nc = 3\rd = _\n 4\ne = )\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(6, error->Line());
}

TEST_F(VbsEngineTest, ProceduresAreListedInOrderAcrossTexts) {
    ASSERT_FALSE(engine.AddCode("Sub First()\nEnd Sub\nx = 1\nFunction Second(a)\nEnd Function\n"));
    ASSERT_FALSE(
        engine.AddCode("Private Sub Third\nEnd Sub\nPublic Function Fourth()\nEnd Function"));
    EXPECT_EQ((std::vector<std::string>{"First", "Second", "Third", "Fourth"}),
              engine.Procedures());
    engine.Reset();
    EXPECT_TRUE(engine.Procedures().empty());
}

TEST_F(VbsEngineTest, RunCallsAProcedureWithArgumentsAndReturnsAFunctionsValue) {
    ASSERT_FALSE(
        engine.AddCode("Dim calls\nFunction Sum(a, b)\ncalls = calls + 1\nSum = a + b\n"
                       "End Function\nSub Show\nMsgBox \"calls \" & calls\nEnd Sub\n"));
    Value result;
    ASSERT_FALSE(engine.Run("sum", {Value::Int(2), Value::Str("3")}, &result));
    EXPECT_EQ(Type::Double, result.type);
    EXPECT_EQ(5.0, result.d);
    ASSERT_FALSE(engine.Run("SHOW"));
    EXPECT_EQ(std::vector<std::string>{"calls 1"}, host.lines);

    auto missing = engine.Run("Nowhere");
    ASSERT_TRUE(missing);
    EXPECT_EQ(kNotDefined, missing->Number());
    auto count = engine.Run("Sum", {Value::Int(1)});
    ASSERT_TRUE(count);
    EXPECT_EQ(kWrongArgumentCount, count->Number());
}

TEST_F(VbsEngineTest, TopLevelCodeWaitsWhenAskedTo) {
    ASSERT_FALSE(engine.AddCode("MsgBox \"top\"\nSub Later\nMsgBox \"later\"\nEnd Sub\n", false));
    EXPECT_TRUE(host.lines.empty());
    ASSERT_FALSE(engine.Run("Later"));
    EXPECT_EQ(std::vector<std::string>{"later"}, host.lines);
}

TEST_F(VbsEngineTest, RunTimeErrorNamesTheLineOfTheInnermostStatement) {
    ASSERT_FALSE(
        engine.AddCode("Sub Main\n  Dim a\n  If True Then\n    a = 1 / 0\n  End If\nEnd Sub\n"));
    auto error = engine.Run("Main");
    ASSERT_TRUE(error);
    EXPECT_EQ(kDivisionByZero, error->Number());
    EXPECT_EQ("Line 4: Division by zero", FormatError(*error));
}

TEST_F(VbsEngineTest, RunawayLoopStopsAtTheTimeLimitEvenUnderResumeNext) {
    engine.SetTimeLimit(std::chrono::milliseconds(100));
    auto start = std::chrono::steady_clock::now();
    auto error = engine.AddCode("On Error Resume Next\nDo\nx = x + 1\nLoop\n");
    auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(error);
    EXPECT_EQ(kStopped, error->Number());
    EXPECT_EQ("The script ran longer than 100 milliseconds and was stopped", error->Description());
    EXPECT_LT(took, std::chrono::seconds(5));

    engine.SetTimeLimit(std::chrono::seconds(30));
    auto recursion = engine.AddCode("Sub R\nR\nEnd Sub\nR\n");
    ASSERT_TRUE(recursion);
    EXPECT_EQ(kOutOfStack, recursion->Number());
    // The engine is usable again after a stop.
    EXPECT_FALSE(engine.AddCode("MsgBox \"again\""));
    EXPECT_EQ(std::vector<std::string>{"again"}, host.lines);
}

TEST_F(VbsEngineTest, StopFromAnotherThreadOrFromTheHostEndsTheRun) {
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        engine.RequestStop();
    });
    auto error = engine.AddCode("While True\nWend\n");
    stopper.join();
    ASSERT_TRUE(error);
    EXPECT_EQ("The script was cancelled", error->Description());

    host.stopAfterPolls = host.polls + 3;
    auto polled = engine.AddCode("For i = 1 To 100000000\nNext\n");
    ASSERT_TRUE(polled);
    EXPECT_EQ(kStopped, polled->Number());
}

TEST_F(VbsEngineTest, ObjectsComeOnlyFromTheRegisteredRuntime) {
    auto error = engine.AddCode("Set o = CreateObject(\"WScript.Shell\")\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(kCannotCreateObject, error->Number());
    EXPECT_EQ("Line 1: ActiveX component can't create object: 'WScript.Shell'",
              FormatError(*error));
}

TEST_F(VbsEngineTest, MsgBoxAndInputBoxGoToTheHost) {
    host.msgBoxAnswer = 6;
    host.answers = {"Ann", std::nullopt};
    ASSERT_FALSE(engine.AddCode(
        "r = MsgBox(\"Go on?\", vbYesNo + vbQuestion, \"Ask\")\n"
        "MsgBox r = vbYes\n"
        "MsgBox \"[\" & InputBox(\"Name?\") & \"][\" & InputBox(\"Again?\", , \"x\") & \"]\"\n"));
    EXPECT_EQ(
        (std::vector<std::string>{"Go on? {36, Ask}", "True", "? Name?", "? Again?", "[Ann][]"}),
        host.lines);
}

// A stand-in for the window-text wrapper the generated preamble creates: texts per handle.
class FieldWrapper : public IDispatch {
  public:
    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override {
        if (name == "rSetWindowText")
            id = 1;
        else if (name == "rGetWindowText")
            id = 2;
        else
            return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
        if (args.size() != (id == 1 ? 2u : 1u)) return DISP_E_BADPARAMCOUNT;
        auto handle = args[0].ChangeType(VarType::I4);
        if (!handle) return DISP_E_TYPEMISMATCH;
        if (id == 1) {
            texts[handle->I4()] = args[1].ChangeType(VarType::BStr)->BStr();
        } else if (result) {
            *result = Variant(texts[handle->I4()]);
        }
        return S_OK;
    }
    std::map<std::int32_t, std::string> texts;
};

class WrapperHost : public RecordingHost {
  public:
    HRESULT CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object) override {
        if (progId != "Halvord_Win32_Wrapper.Call") return REGDB_E_CLASSNOTREG;
        object = wrapper;
        return S_OK;
    }
    std::shared_ptr<FieldWrapper> wrapper = std::make_shared<FieldWrapper>();
};

TEST(VbsPreambleTest, GeneratedPreambleSetsAndReadsFieldsThroughTheWrapper) {
    WrapperHost host;
    Engine engine(host);
    std::string preamble = "Dim Field(40)\n\r";
    for (int i = 0; i < 40; ++i)
        preamble +=
            "Field(" + std::to_string(i) + ") = " + std::to_string(i == 2 ? 77 : 0) + "\n\r";
    preamble +=
        "Dim oWrapper\n\rSet oWrapper = CreateObject(\"Halvord_Win32_Wrapper.Call\")\n\r"
        "Sub SetField(nField,sVal)\n\roWrapper.rSetWindowText Field(nField-1),sVal\n\rEnd Sub\n\r"
        "Sub GetField(nField,sVal)\n\rDim sStr\n\r"
        "sStr = oWrapper.rGetWindowText(Field(nField-1))\n\rsVal = Trim(sStr)\n\rEnd Sub\n\r";
    ASSERT_FALSE(engine.AddCode(preamble));
    ASSERT_FALSE(
        engine.AddCode("Sub Main\nDim v\nSetField 3, \"  padded  \"\nGetField 3, v\n"
                       "SetField 1, \"[\" & v & \"]\"\nEnd Sub"));
    EXPECT_EQ((std::vector<std::string>{"SetField", "GetField", "Main"}), engine.Procedures());
    ASSERT_FALSE(engine.Run("Main"));
    EXPECT_EQ("  padded  ", host.wrapper->texts[77]);
    EXPECT_EQ("[padded]", host.wrapper->texts[0]);
}

}  // namespace
}  // namespace orbel::vbs::test
