// The script control component as the control makes it: from its module through the registry,
// driven through its interface and by dispatch ID, with the engine off the user-interface
// thread and everything the script asks of the world carried back to it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/Api.h"
#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "platform/profile/Profile.h"
#include "src/script/RunningScriptWindow.h"
#include "src/script/ScriptControlIface.h"
#include "src/script/ScriptGeneration.h"
#include "src/script/ScriptInputBox.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

class ScriptControlTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_SCRIPT_MODULE_PATH, &error), S_OK) << error;
        platform::SetEffectListener([this](const std::string& line) {
            effects.push_back(line);
            effectThreads.push_back(std::this_thread::get_id());
        });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        HeadlessTest::TearDown();
    }

  public:
    std::shared_ptr<IScriptControl> Make() {
        std::shared_ptr<IUnknown> object;
        EXPECT_EQ(CoCreateInstance(*Guid::Parse(kScriptControlClsidText), object), S_OK);
        auto control = std::dynamic_pointer_cast<IScriptControl>(object);
        EXPECT_TRUE(control);
        return control;
    }
    // A fresh control with the language's preamble of no fields and the code added.
    std::shared_ptr<IScriptControl> WithScript(const std::string& code,
                                               const std::string& language = "JScript") {
        auto control = Make();
        std::string error;
        EXPECT_EQ(control->PutLanguage(language, &error), S_OK) << error;
        EXPECT_EQ(control->AddCode(ScriptPreamble(language, {}), &error), S_OK) << error;
        EXPECT_EQ(control->AddCode(code, &error), S_OK) << error;
        return control;
    }

    std::vector<std::string> effects;
    std::vector<std::thread::id> effectThreads;
};

TEST_F(ScriptControlTest, AScriptSetsAndReadsFieldsThroughTheWrapperOnTheUserInterfaceThread) {
    auto control = WithScript(
        "function Main() { SetField(3, 'Smith'); SetField(4, GetField(3, '') + ' & Co'); }");
    std::string error;
    ASSERT_EQ(control->Run("Main", {}, nullptr, &error), S_OK) << error;
    EXPECT_EQ(effects, (std::vector<std::string>{
                           "Halvord_Win32_Wrapper.Call rSetWindowText(0, \"Smith\")",
                           "Halvord_Win32_Wrapper.Call rGetWindowText(0) -> \"Smith\"",
                           "Halvord_Win32_Wrapper.Call rSetWindowText(0, \"Smith & Co\")"}));
    for (const std::thread::id& id : effectThreads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(ScriptControlTest, TheLoopGoesOnWhileTheScriptRuns) {
    auto control = WithScript(
        "function Main() { var t = new Date().getTime();\n"
        "  while (new Date().getTime() - t < 100) {}\n  SetField(1, 'end'); }");
    bool ranBeforeTheEnd = false;
    P().Loop().PostTask([&] { ranBeforeTheEnd = effects.empty(); });
    std::string error;
    ASSERT_EQ(control->Run("Main", {}, nullptr, &error), S_OK) << error;
    EXPECT_TRUE(ranBeforeTheEnd);
    EXPECT_EQ(effects.size(), 1u);
}

// Spin never ends; Two gives 2. With a limit of 150 ms in the setting, Spin is stopped within
// seconds with the limit's message and the control runs Two afterwards.
void ExpectStoppedAtTheLimitAndRunningOn(const std::string& code, const std::string& language,
                                         ScriptControlTest& test) {
    ASSERT_TRUE(
        platform::WritePrivateProfileString("Scripts", "TimeLimit", "150", "orbel-script.ini"));
    auto control = test.WithScript(code, language);
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control->Run("Spin", {}, nullptr, &error), E_FAIL);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(error, "The script was stopped: it ran longer than its time limit of 150 ms.");
    Variant result;
    ASSERT_EQ(control->Run("Two", {}, &result, &error), S_OK) << error;
    EXPECT_EQ(result, Variant(2));
}

TEST_F(ScriptControlTest, ARunawayScriptStopsAtTheTimeLimitOfTheSetting) {
    ExpectStoppedAtTheLimitAndRunningOn(
        "function Spin() { for (;;) {} }\nfunction Two() { return 2; }", "JScript", *this);
}

TEST_F(ScriptControlTest, AQuitWhileAScriptRunsCancelsItAndIsLeftForTheLoopOutside) {
    auto control = WithScript("function Spin() { for (;;) {} }");
    P().Loop().PostTask([] { platform::GetPlatform().Loop().PostQuitMessage(4); });
    std::string error;
    EXPECT_EQ(control->Run("Spin", {}, nullptr, &error), E_FAIL);
    EXPECT_EQ(error, "The script was cancelled.");
    MSG msg;
    EXPECT_FALSE(P().Loop().GetMessage(msg));
    EXPECT_EQ(msg.wParam, 4u);
}

// The "Running script..." window: only a call that outlasts the delay of the setting shows it,
// only while the control allows UI, and its Cancel stops the call and leaves the control to
// run the next one.
class RunningScriptWindowTest : public ScriptControlTest {
  protected:
    std::shared_ptr<IScriptControl> Spinner(const char* delayMs, const char* limitMs) {
        EXPECT_TRUE(platform::WritePrivateProfileString("Scripts", "WindowDelay", delayMs,
                                                        "orbel-script.ini"));
        EXPECT_TRUE(platform::WritePrivateProfileString("Scripts", "TimeLimit", limitMs,
                                                        "orbel-script.ini"));
        return WithScript("function Spin() { for (;;) {} }\nfunction Two() { return 2; }");
    }
    // Presses Cancel in the window once it is up, as the person at the dialog does.
    void CancelWhenShown() {
        P().Loop().PostDelayedTask(10, [this] {
            const auto& up = User().ModelessDialogs();
            if (up.empty()) return CancelWhenShown();
            EXPECT_EQ(up.back()->UserPress(IDCANCEL), "");
        });
    }
    std::vector<std::string> WindowLines() {
        std::vector<std::string> lines;
        for (const std::string& line : User().Transcript())
            if (line.starts_with("dialog " + std::to_string(kRunningScriptTemplateId)))
                lines.push_back(line);
        return lines;
    }
};

TEST_F(RunningScriptWindowTest, CancelInTheWindowStopsTheScriptAndTheControlRunsOn) {
    auto control = Spinner("0", "60000");
    control->PutAllowUI(true);
    CancelWhenShown();
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control->Run("Spin", {}, nullptr, &error), E_FAIL);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(error, "The script was cancelled.");
    const std::string id = std::to_string(kRunningScriptTemplateId);
    EXPECT_EQ(WindowLines(), (std::vector<std::string>{"dialog " + id + " \"Script\" shown",
                                                       "dialog " + id + " \"Script\" closed"}));
    EXPECT_TRUE(User().ModelessDialogs().empty());
    Variant result;
    ASSERT_EQ(control->Run("Two", {}, &result, &error), S_OK) << error;
    EXPECT_EQ(result, Variant(2));
}

TEST_F(RunningScriptWindowTest, NoWindowForACallShorterThanTheDelayOrWithoutUI) {
    auto control = Spinner("60000", "200");
    control->PutAllowUI(true);
    std::string error;
    EXPECT_EQ(control->Run("Spin", {}, nullptr, &error), E_FAIL);
    EXPECT_EQ(error, "The script was stopped: it ran longer than its time limit of 200 ms.");
    Variant result;
    ASSERT_EQ(control->Run("Two", {}, &result, &error), S_OK) << error;

    auto silent = Spinner("0", "200");
    EXPECT_EQ(silent->Run("Spin", {}, nullptr, &error), E_FAIL);
    EXPECT_EQ(error, "The script was stopped: it ran longer than its time limit of 200 ms.");
    EXPECT_EQ(WindowLines(), std::vector<std::string>{});
}

TEST_F(RunningScriptWindowTest, TheDelayComesFromTheSettingAndANegativeOneIsIgnored) {
    EXPECT_EQ(CRunningScriptWindow::ConfiguredDelay(), 1000);
    ASSERT_TRUE(
        platform::WritePrivateProfileString("Scripts", "WindowDelay", "250", "orbel-script.ini"));
    EXPECT_EQ(CRunningScriptWindow::ConfiguredDelay(), 250);
    ASSERT_TRUE(
        platform::WritePrivateProfileString("Scripts", "WindowDelay", "-5", "orbel-script.ini"));
    EXPECT_EQ(CRunningScriptWindow::ConfiguredDelay(), 1000);
}

TEST_F(ScriptControlTest, ErrorsOfCodeAndLanguageComeBackAsText) {
    auto control = Make();
    std::string error;
    EXPECT_EQ(control->AddCode("var a;", &error), E_FAIL);
    EXPECT_EQ(error, "No script language is set.");
    EXPECT_EQ(control->PutLanguage("Perl", &error), E_INVALIDARG);
    EXPECT_EQ(error, "The script language Perl is not known.");
    ASSERT_EQ(control->PutLanguage("JScript", &error), S_OK);
    EXPECT_EQ(control->AddCode("function (", &error), E_FAIL);
    EXPECT_NE(error.find("SyntaxError"), std::string::npos) << error;
    EXPECT_NE(error.find("(line 1)"), std::string::npos) << error;
    ASSERT_EQ(control->PutLanguage("VBScript", &error), S_OK);
    EXPECT_EQ(control->AddCode("Sub Main\n  If 1 = 1\n  End If\nEnd Sub", &error), E_FAIL);
    EXPECT_EQ(error, "Expected 'Then' (line 2)");
    EXPECT_EQ(control->Run("Main", {}, nullptr, &error), E_FAIL) << "nothing of it was added";
}

TEST_F(ScriptControlTest, AVBScriptSetsAndReadsFieldsThroughTheWrapperOnTheUserInterfaceThread) {
    auto control = WithScript(
        "Function Main(who)\n  Dim s\n  SetField 3, who\n  GetField 3, s\n"
        "  SetField 4, s & \" & Co\"\n  Main = Len(s)\nEnd Function",
        "VBScript");
    std::string error;
    Variant result;
    const std::vector<Variant> args{Variant("Smith")};
    ASSERT_EQ(control->Run("Main", args, &result, &error), S_OK) << error;
    EXPECT_EQ(result, Variant(5));
    EXPECT_EQ(effects, (std::vector<std::string>{
                           "Halvord_Win32_Wrapper.Call rSetWindowText(0, \"Smith\")",
                           "Halvord_Win32_Wrapper.Call rGetWindowText(0) -> \"Smith\"",
                           "Halvord_Win32_Wrapper.Call rSetWindowText(0, \"Smith & Co\")"}));
    for (const std::thread::id& id : effectThreads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(ScriptControlTest, ARunawayVBScriptStopsAtTheLimitWhateverItsErrorHandling) {
    ExpectStoppedAtTheLimitAndRunningOn(
        "Sub Spin\n  On Error Resume Next\n  Do\n    SetField 1, \"x\"\n  Loop\nEnd Sub\n"
        "Function Two\n  Two = 2\nEnd Function",
        "VBScript", *this);
}

TEST_F(ScriptControlTest, VBScriptBoxesReachTheUserOnlyWhenTheControlAllowsIt) {
    auto control = WithScript(
        "Function Ask\n  If MsgBox(\"Go on?\", vbYesNo) = vbYes Then\n"
        "    Ask = InputBox(\"Name\", \"Who\", \"Ann\")\n  End If\nEnd Function",
        "VBScript");
    Variant result;
    std::string error;
    ASSERT_EQ(control->Run("Ask", {}, &result, &error), S_OK) << error;
    EXPECT_EQ(result, Variant()) << "a box that may not be shown answers as closed";
    EXPECT_TRUE(Boxes().empty());

    control->PutAllowUI(true);
    User().AnswerMessageBox(platform::MessageAnswer::Yes);
    User().AnswerDialog(kScriptInputBoxTemplateId,
                        {platform::ScriptedUser::DialogAction::Set(kScriptInputBoxAnswerId, "Bo"),
                         platform::ScriptedUser::DialogAction::Press(IDOK)});
    ASSERT_EQ(control->Run("Ask", {}, &result, &error), S_OK) << error;
    EXPECT_EQ(result, Variant("Bo"));
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(ScriptControlTest, TheDispatchInterfaceListsProceduresAndKnowsOnlyItsOwnIds) {
    auto control = Make();
    const Variant js[] = {Variant("JScript")};
    ASSERT_EQ(control->Invoke(kDispidLanguage, InvokeKind::PropertyPut, js, nullptr), S_OK);
    Variant language;
    ASSERT_EQ(control->Invoke(kDispidLanguage, InvokeKind::PropertyGet, {}, &language), S_OK);
    EXPECT_EQ(language, Variant("JScript"));
    const Variant code[] = {Variant("function A() {}\nfunction B() {}")};
    ASSERT_EQ(control->Invoke(kDispidAddCode, InvokeKind::Method, code, nullptr), S_OK);
    EXPECT_EQ(ListScriptProcedures(*control, "JScript", (TempDir() / "none.js").string()),
              std::vector<std::string>{})
        << "Reset forgets A and B, and a file that cannot be read adds nothing";
    ASSERT_EQ(control->Invoke(kDispidAddCode, InvokeKind::Method, code, nullptr), S_OK);
    Variant procedures, count, item, name;
    ASSERT_EQ(control->Invoke(kDispidProcedures, InvokeKind::PropertyGet, {}, &procedures), S_OK);
    ASSERT_EQ(procedures.Dispatch()->Invoke(kDispidCount, InvokeKind::PropertyGet, {}, &count),
              S_OK);
    EXPECT_EQ(count, Variant(2));
    const Variant second[] = {Variant(2)};
    ASSERT_EQ(procedures.Dispatch()->Invoke(kDispidItem, InvokeKind::Method, second, &item), S_OK);
    ASSERT_EQ(item.Dispatch()->Invoke(kDispidName, InvokeKind::PropertyGet, {}, &name), S_OK);
    EXPECT_EQ(name, Variant("B"));
    const Variant zero[] = {Variant(0)};
    EXPECT_EQ(procedures.Dispatch()->Invoke(kDispidItem, InvokeKind::Method, zero, &item),
              E_INVALIDARG);
    DISPID id = 0;
    EXPECT_EQ(control->GetIDsOfNames("Run", id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(control->Invoke(2503, InvokeKind::Method, {}, nullptr), DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace orbel
