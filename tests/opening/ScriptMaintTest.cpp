// Script maintenance: the script view in place of the list, the script folder found or made in
// the script class's tree, the host's system scripts kept apart, and what the view's buttons
// do to the store.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/Api.h"
#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "platform/headless/HeadlessUserDriver.h"
#include "src/control/OrbelIds.h"
#include "src/preview/FrameContainer.h"
#include "src/resources/DialogTemplates.h"
#include "src/script/ScriptView.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

class ScriptMaintTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_SCRIPT_MODULE_PATH, &error), S_OK) << error;
        // The host names its system scripts when asked.
        systemHost_ = std::make_shared<test::EventRecorder>(std::map<DISPID, std::string>{});
        systemHost_->OnEvent([this](DISPID id, std::span<const Variant>) {
            if (id != eventidOnGetSystemScripts) return;
            for (const std::string& name : systemScripts) Ctrl().ProcessTarnMessage("$x" + name);
        });
        DWORD cookie = 0;
        ASSERT_EQ(Ctrl().FindConnectionPoint(IidDOrbelEvents())->Advise(systemHost_, cookie), S_OK);
        platform::SetEffectListener([this](const std::string& line) { effects.push_back(line); });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        StoreControlTest::TearDown();
    }

    CScriptView& View() {
        auto* view = Ctrl().ScriptPane();
        EXPECT_TRUE(view);
        return *view;
    }
    platform::LiveDialog& Form() { return *View().Form(); }
    std::string WriteScript(const std::string& name, const std::string& text) {
        const std::string path = (TempDir() / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The script class 50 with the folder Scripts (entry 1) holding two scripts.
    void SeedScripts(const std::string& dailyPath, const std::string& cleanupPath) {
        SeedClass("4", 50);
        SeedFolder(50, 1, 0, 0, "Scripts");
        SeedItem(50, 2, 50, 1, "Daily", 1, dailyPath);
        SeedItem(50, 3, 50, 1, "Tidy", 2, cleanupPath);
    }
    void Click(int row) {
        platform::HeadlessUserDriver driver(P());
        ASSERT_TRUE(driver.ListClick(ScriptListWindow(), row));
    }
    HWND ScriptListWindow() {
        return platform::FindDescendant(P().Windows(), View().GetSafeHwnd(), "SysListView32");
    }

    std::vector<std::string> systemScripts;
    std::vector<std::string> effects;

  private:
    std::shared_ptr<test::EventRecorder> systemHost_;
};

TEST_F(ScriptMaintTest, TheFirstOpeningMakesClassFolderAndSubfolderAndTheSecondFindsThem) {
    const std::int32_t s = Ctrl().InitiateScriptMaint(7, 4, "Scripts", "Daily", true);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(ClassValue("4"), 1);
    EXPECT_EQ(TreeRow(1, 1), (TreeEntry{1, 1, 1, 0, 0, "Scripts", 0, 0, 0, 0, "", ""}));
    EXPECT_EQ(TreeRow(1, 2), (TreeEntry{1, 2, 1, 1, 1, "Daily", 0, 0, 0, 0, "", ""}));
    EXPECT_EQ(Ctrl().Mode(), DisplayMode::ScriptMaint);
    EXPECT_TRUE(Ctrl().GetScriptMaint());
    EXPECT_EQ(Ctrl().ToolBar().LoadedResource(), 210u);
    EXPECT_EQ(Ctrl().GetScriptViewItemCount(), 0);
    EXPECT_EQ(Ctrl().InitiateScriptMaint(7, 4, "Scripts", "Daily", true), 1);
    EXPECT_EQ(TreeNames(1), (std::vector<std::string>{"Scripts", "Daily"}));
    EXPECT_EQ(ClassValue("4"), 1);
}

TEST_F(ScriptMaintTest, AClassThatCannotBeInsertedIsTheOneFailureWithAMessage) {
    Hooks().refuseInsert = [](std::string_view table, std::string_view key1) {
        return table == "OLE_CLA" && key1.starts_with("4 ");
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleClass");
    User().AnswerMessageBox(
        MessageAnswer::Ok,
        "Error in InitiateScriptMaint(): Could not insert script maintenance class.");
    EXPECT_EQ(Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true), -1);
    EXPECT_FALSE(Ctrl().IsBusy());
    EXPECT_EQ(Ctrl().Mode(), DisplayMode::ScriptMaint);
    EXPECT_EQ(Ctrl().GetScriptViewItemCount(), 0);
    EXPECT_TRUE(TreeNames(1).empty());
}

TEST_F(ScriptMaintTest, WithoutASubfolderTheFolderIsShownAndAnotherClassLeavesTheViewEmpty) {
    SeedScripts("/s/a.js!JScript#Main", "/s/b.js");
    EXPECT_EQ(Ctrl().InitiateScriptMaint(7, 3, "Scripts", "", true), 7);
    EXPECT_EQ(Ctrl().GetScriptViewItemCount(), 0);
    EXPECT_EQ(Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true), 50);
    EXPECT_EQ(Ctrl().GetScriptViewItemCount(), 2);
    EXPECT_EQ(Ctrl().GetScriptViewData(0, true), "Daily");
    EXPECT_EQ(Ctrl().GetScriptViewData(0, false), "/s/a.js!JScript#Main::Daily");
    // A script without a start function: the plain path.
    EXPECT_EQ(Ctrl().GetScriptViewData(1, false), "/s/b.js::Tidy");
    EXPECT_EQ(Ctrl().GetScriptViewData(2, false), "");
}

TEST_F(ScriptMaintTest, AStoreScriptNamedLikeASystemScriptIsListedOnlyThereAndLoadsFromThere) {
    SeedScripts("/s/a.js!JScript#Main", "/s/b.js!VBScript#Clean");
    systemScripts = {"Tidy", "Nightly"};
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    EXPECT_EQ(Ctrl().GetScriptViewItemCount(), 1);
    EXPECT_EQ(View().Dump(),
              "scripts: \"Daily\"=21\n"
              "system scripts: \"Tidy\"=31 \"Nightly\"=0\n"
              "name \"\" language \"\" resource \"\" function \"\"\n"
              "functions:\n"
              "languages: \"VBScript\"\n"
              "enabled: 5");
    EXPECT_EQ(Form().UserChoose(IDC_SYSTEM_SCRIPTS, "Tidy"), "");
    EXPECT_NE(View().Dump().find("name \"Tidy\" language \"VBScript\" resource \"/s/b.js\" "
                                 "function \"Clean\""),
              std::string::npos)
        << View().Dump();
    // A system script with no store script of its name has nothing to show.
    EXPECT_EQ(Form().UserChoose(IDC_SYSTEM_SCRIPTS, "Nightly"), "");
    EXPECT_NE(View().Dump().find("enabled: 5"), std::string::npos) << View().Dump();
}

TEST_F(ScriptMaintTest, SelectingAScriptShowsItsDetailsAndProcedures) {
    const std::string file = WriteScript("a.js", "function Main() {}\nfunction Other() {}\n");
    SeedScripts(file + "!JScript#Other", "/s/b.js");
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    Click(0);
    EXPECT_NE(View().Dump().find("name \"Daily\" language \"JScript\" resource \"" + file +
                                 "\" function \"Other\"\nfunctions: \"Main\" \"Other\""),
              std::string::npos)
        << View().Dump();
    EXPECT_NE(View().Dump().find("enabled: 8 3 4 5 7 6"), std::string::npos) << View().Dump();
    // A path without "!" is the whole resource, with no language or function.
    Click(1);
    EXPECT_NE(View().Dump().find("name \"Tidy\" language \"\" resource \"/s/b.js\" "
                                 "function \"\"\nfunctions:\n"),
              std::string::npos)
        << View().Dump();
}

TEST_F(ScriptMaintTest, AcceptStoresTheDescriptorAndAsksForALanguageFirst) {
    const std::string file = WriteScript("b.js", "function Clean() {}");
    SeedScripts("/s/a.js", file);
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    Click(1);
    User().AnswerMessageBox(MessageAnswer::Ok, "Please specify a Script Language");
    EXPECT_EQ(Form().UserPress(IDC_SCRIPT_ACCEPT), "");
    EXPECT_EQ(ResourceRow(2)->Path, file);
    EXPECT_EQ(Form().UserType(IDC_SCRIPT_LANGUAGE, "JScript"), "");
    EXPECT_EQ(Form().UserType(IDC_SCRIPT_FUNCTION, "Clean"), "");
    EXPECT_EQ(Form().UserPress(IDC_SCRIPT_ACCEPT), "");
    EXPECT_EQ(ResourceRow(2)->Path, file + "!JScript#Clean");
    EXPECT_NE(View().Dump().find("name \"\" language \"\""), std::string::npos) << View().Dump();
}

TEST_F(ScriptMaintTest, SetScriptResourceAddsTheFunctionOnlyWhenThereIsOne) {
    SeedScripts("/s/a.js", "/s/b.js");
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    EXPECT_TRUE(Ctrl().SetScriptResource(20, "/s/new.js", ""));
    EXPECT_EQ(ResourceRow(1)->Path, "/s/new.js");
    EXPECT_TRUE(Ctrl().SetScriptResource(20, "/s/new.js", "VBScript#Go"));
    EXPECT_EQ(ResourceRow(1)->Path, "/s/new.js!VBScript#Go");
}

TEST_F(ScriptMaintTest, RunSetsFieldsThroughTheWrapperAndSaysWhatWentWrong) {
    const std::string good = WriteScript("a.js", "function Main() { SetField(5, 'Done'); }");
    const std::string bad = WriteScript("b.js", "function Main() {\n  var = 1;\n}");
    SeedScripts(good + "!JScript#Main", bad + "!JScript#Main");
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    Click(0);
    EXPECT_EQ(Form().UserPress(IDC_SCRIPT_RUN), "");
    EXPECT_EQ(effects,
              std::vector<std::string>{"Halvord_Win32_Wrapper.Call rSetWindowText(0, \"Done\")"});
    Click(1);
    User().AnswerMessageBox(MessageAnswer::Ok, "(line 2)");
    EXPECT_EQ(Form().UserPress(IDC_SCRIPT_RUN), "");
    EXPECT_EQ(Form().UserType(IDC_SCRIPT_FUNCTION, ""), "");
    User().AnswerMessageBox(MessageAnswer::Ok, "Please select a function to Run");
    EXPECT_EQ(Form().UserPress(IDC_SCRIPT_RUN), "");
    EXPECT_NE(View().Dump().find("name \"\" language \"\""), std::string::npos) << View().Dump();
}

// In script maintenance the control's item properties open the script's file in the shell's
// property window instead of the Attachment Properties dialog, whether the view's context menu
// asks or the control is asked directly.
TEST_F(ScriptMaintTest, ItemPropertiesOfAScriptShowItsFileThroughTheShell) {
    const std::string daily = WriteScript("a.js", "function Main() {}");
    const std::string tidy = WriteScript("b.vbs", "Sub Main\nEnd Sub");
    SeedScripts(daily + "!JScript#Main", tidy + "!VBScript#Main");
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    User().AnswerMenu("Properties");
    platform::HeadlessUserDriver driver(P());
    ASSERT_TRUE(driver.ListRightClick(ScriptListWindow(), 1, POINT{5, 5}));
    // The menu's command arrives through the loop.
    P().RunFor(0);
    static_cast<CPaneSite&>(Ctrl()).ShowItemProperties(21);
    auto properties = [](const std::string& file) {
        return "properties(ex) file=\"" + file + "\" parameters=\"\" directory=\"\" show=0 -> 42";
    };
    EXPECT_EQ(P().ShellService().Lines(),
              (std::vector<std::string>{properties(tidy), properties(daily)}));
}

TEST_F(ScriptMaintTest, InFolderMaintenanceAfterwardsItemPropertiesAreTheDialogAgain) {
    SeedScripts("/s/a.js", "/s/b.js");
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    ASSERT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), 7);
    SeedItem(7, 1, 1, 2, "My letter", 101, "/srv/mine.doc", 2, 3);
    User().AnswerDialog(IDD_ATTACHMENT_PROPERTIES,
                        {platform::ScriptedUser::DialogAction::Show(),
                         platform::ScriptedUser::DialogAction::Press(IDCANCEL)});
    static_cast<CPaneSite&>(Ctrl()).ShowItemProperties(10);
    EXPECT_TRUE(P().ShellService().Lines().empty());
    std::string shown;
    for (const std::string& line : User().Transcript()) shown += line + "\n";
    EXPECT_NE(shown.find("/srv/mine.doc"), std::string::npos) << shown;
    EXPECT_NE(shown.find("dialog 270 \"Attachment Properties\" -> "), std::string::npos) << shown;
}

TEST_F(ScriptMaintTest, DeleteRemovesTheScriptFromStoreAndView) {
    SeedScripts("/s/a.js", "/s/b.js");
    Ctrl().InitiateScriptMaint(7, 4, "Scripts", "", true);
    Click(0);
    EXPECT_EQ(Form().UserPress(IDC_SCRIPT_DELETE), "");
    EXPECT_FALSE(TreeRow(50, 2));
    EXPECT_EQ(Ctrl().GetScriptViewItemCount(), 1);
    EXPECT_EQ(Ctrl().GetScriptViewData(0, true), "Tidy");
}

}  // namespace
}  // namespace orbel
