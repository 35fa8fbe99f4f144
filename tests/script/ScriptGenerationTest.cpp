// The control's side of scripts: descriptors, the preamble, reading a script file and running
// its start function with the messages the user sees.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "src/script/ScriptGeneration.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

TEST(ScriptDescriptor, FileLanguageAndFunctionAreCutAtTheFirstBangAndHash) {
    auto d = ParseScriptDescriptor("C:\\S\\a.vbs!VBScript#Main");
    EXPECT_EQ(d.file, "C:\\S\\a.vbs");
    EXPECT_EQ(d.language, "VBScript");
    EXPECT_EQ(d.function, "Main");
    d = ParseScriptDescriptor("C:\\S\\a.vbs");
    EXPECT_EQ(d.file, "C:\\S\\a.vbs");
    EXPECT_EQ(d.language + d.function, "");
    // Without "#" the whole rest is the start function.
    d = ParseScriptDescriptor("C:\\S\\a.vbs!Main");
    EXPECT_EQ(d.language, "");
    EXPECT_EQ(d.function, "Main");
    d = ParseScriptDescriptor("/srv/s.js!JScript#A#B!C");
    EXPECT_EQ(d.file, "/srv/s.js");
    EXPECT_EQ(d.language, "JScript");
    EXPECT_EQ(d.function, "A#B!C");
}

TEST(ScriptPreamble, VBScriptLinesEndInLineFeedThenReturn) {
    ScriptFieldHandles handles{};
    handles[1] = -5;
    const std::string p = ScriptPreamble("VBScript", handles);
    EXPECT_TRUE(p.starts_with("Dim Field(40)\n\rField(0) = 0\n\rField(1) = -5\n\rField(2) = 0\n\r"))
        << p;
    EXPECT_NE(p.find("Field(39) = 0\n\rDim oWrapper\n\r"
                     "Set oWrapper = CreateObject(\"Halvord_Win32_Wrapper.Call\")\n\r"
                     "Sub SetField(nField,sVal)\n\roWrapper.rSetWindowText Field(nField-1),sVal"
                     "\n\rEnd Sub\n\rSub GetField(nField,sVal)\n\rDim sStr\n\r"
                     "sStr = oWrapper.rGetWindowText(Field(nField-1))\n\rsVal = Trim(sStr)\n\r"
                     "End Sub\n\r"),
              std::string::npos);
    EXPECT_EQ(p.find("\r\n"), std::string::npos);
}

TEST(ScriptPreamble, JScriptAndOnlyTheExactLanguageNames) {
    const std::string p = ScriptPreamble("JScript", {});
    EXPECT_TRUE(p.starts_with("var Field = new Array(40);\nField[0] = 0;\nField[1] = 0;\n")) << p;
    EXPECT_NE(p.find("Field[39] = 0;\nvar oWrapper = new ActiveXObject("
                     "\"Halvord_Win32_Wrapper.Call\");\nfunction SetField ( nField, sVal)\n{\n"
                     "oWrapper.rSetWindowText(Field[nField-1],sVal);\n}\n"
                     "function GetField ( nField, sVal)\n{\n"
                     "var sStr = oWrapper.rGetWindowText(Field[nField-1]);\nreturn sStr;\n}\n"),
              std::string::npos);
    EXPECT_EQ(ScriptPreamble("vbscript", {}), "");
    EXPECT_EQ(ScriptPreamble("JavaScript", {}), "");
}

class RunScriptTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_SCRIPT_MODULE_PATH, &error), S_OK) << error;
        platform::SetEffectListener([this](const std::string& line) { effects.push_back(line); });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        HeadlessTest::TearDown();
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (TempDir() / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::vector<std::string> effects;
};

TEST_F(RunScriptTest, TheTextIsReadWithoutTheWhiteSpaceAtItsEnd) {
    const std::string big(5000, 'x');
    EXPECT_EQ(ReadScriptText(Write("a.js", big + "\n  \r\n\t\n\n")), big);
    EXPECT_EQ(ReadScriptText((TempDir() / "missing.js").string()), "");
}

TEST_F(RunScriptTest, AJScriptStartFunctionRunsAfterThePreamble) {
    const std::string file = Write("fields.js", "function Main() { SetField(2, 'Paid'); }\n\n");
    EXPECT_EQ(RunScript("JScript", "Main", file), ScriptRunOutcome::Ran);
    EXPECT_EQ(effects,
              std::vector<std::string>{"Halvord_Win32_Wrapper.Call rSetWindowText(0, \"Paid\")"});
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RunScriptTest, EachRefusalAndFailureIsOneMessage) {
    const std::string file = Write("bad.js", "function Main() {\n  SetField(1, 'a') +;\n}");
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please select a language");
    EXPECT_EQ(RunScript("", "Main", file), ScriptRunOutcome::NoLanguage);
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please select a function to Run");
    EXPECT_EQ(RunScript("JScript", "", file), ScriptRunOutcome::NoFunction);
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Error in the script " + file + ": ");
    EXPECT_EQ(RunScript("JScript", "Main", file), ScriptRunOutcome::Failed);
    EXPECT_NE(Boxes().back().find("SyntaxError"), std::string::npos) << Boxes().back();
    EXPECT_NE(Boxes().back().find("(line 2)"), std::string::npos) << Boxes().back();
    User().AnswerMessageBox(platform::MessageAnswer::Ok,
                            "Error in the script " + file + ": Invalid character (line 1)");
    EXPECT_EQ(RunScript("VBScript", "Main", file), ScriptRunOutcome::Failed);
    const std::string missing = Write("ok.js", "function Other() {}");
    User().AnswerMessageBox(platform::MessageAnswer::Ok,
                            "running Main: The script has no procedure Main.");
    EXPECT_EQ(RunScript("JScript", "Main", missing), ScriptRunOutcome::Failed);
    EXPECT_TRUE(effects.empty());
}

}  // namespace
}  // namespace orbel
