// Dialogs on the headless backend: what the dump shows of a dialog that closed, and the scripted
// user failing loudly on dialogs and controls nobody expected. What every backend's dialogs do
// is in the conformance suite.
#include <gtest/gtest.h>

#include "platform/controls/ListControl.h"
#include "platform/framework/Dialog.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::DialogControlKind;
using Action = platform::ScriptedUser::DialogAction;

constexpr UINT kTemplateId = 900;
constexpr UINT kName = 10, kCount = 11, kKeep = 12, kColour = 13, kCity = 14, kFruit = 15,
               kTabs = 16, kRows = 17, kLater = 20;

const platform::DialogTemplate& RuntimeTemplate() {
    using K = DialogControlKind;
    auto control = [](UINT id, K kind, const char* text, DWORD style = 0) {
        return platform::DialogControlTemplate{id, kind, text, RECT{7, 7, 57, 21}, style};
    };
    static const platform::DialogTemplate t{
        kTemplateId,
        "Runtime",
        200,
        120,
        std::nullopt,
        {
            control(platform::kStaticId, K::Static, "&Name"),
            control(kName, K::Edit, ""),
            control(kCount, K::Edit, ""),
            control(kKeep, K::CheckBox, "&Keep"),
            control(kColour, K::ComboDropDownList, ""),
            control(kCity, K::ComboDropDown, ""),
            control(kFruit, K::ListBox, ""),
            control(kTabs, K::TabControl, ""),
            control(kRows, K::ListControl, ""),
            control(kLater, K::Button, "&Later", platform::kDialogDisabled),
            control(IDOK, K::DefaultButton, "OK"),
            control(IDCANCEL, K::Button, "Cancel"),
        }};
    return t;
}

std::string CodeName(UINT code) {
    switch (code) {
        case BN_CLICKED:
            return "clicked";
        case EN_CHANGE:
            return "changed";
        case CBN_SELCHANGE:  // also LBN_SELCHANGE
            return "chosen";
        case CBN_EDITCHANGE:
            return "edited";
        case TCN_SELCHANGE:
            return "tab";
    }
    return std::to_string(code);
}

class RuntimeDlg final : public CDialog {
  public:
    RuntimeDlg() : CDialog(RuntimeTemplate()) {}

    std::string name = "Ann";
    int count = 3;
    bool keep = true;
    std::string colour = "gr";  // chooses the entry it begins
    std::string city = "Trondheim";
    int fruit = 1;
    std::vector<std::string> notifications;

  protected:
    bool OnInitDialog() override {
        for (const char* c : {"red", "Green", "blue"}) GetDlgItem(kColour).AddString(c);
        for (const char* c : {"Bergen", "Oslo"}) GetDlgItem(kCity).AddString(c);
        for (const char* f : {"apple", "pear", "plum"}) GetDlgItem(kFruit).AddString(f);
        GetDlgItem(kTabs).InsertItem(0, "First");
        GetDlgItem(kTabs).InsertItem(1, "Second");
        platform::ListControl* rows = GetDlgItem(kRows).GetListControl();
        rows->InsertColumn(0, "Title", platform::ListAlign::Left, 80);
        rows->InsertItem(0, "first row", 0);
        return CDialog::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT code) override {
        notifications.push_back(std::to_string(id) + " " + CodeName(code));
        return CDialog::OnCommand(id, code);
    }
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, kName, name);
        DDV_MaxChars(dx, name, 5);
        DDX_Text(dx, kCount, count);
        DDX_Check(dx, kKeep, keep);
        DDX_CBString(dx, kColour, colour);
        DDX_CBString(dx, kCity, city);
        DDX_LBIndex(dx, kFruit, fruit);
    }
};

class DialogRuntimeTest : public test::HeadlessTest {
  protected:
    const std::string& LastDialog() { return P().DialogFactory().LastDump(); }
};

TEST_F(DialogRuntimeTest, TheDumpOfAClosedDialogShowsWhatTheUserSawAndItsWindowIsGone) {
    RuntimeDlg dlg;
    User().AnswerDialog(kTemplateId, {Action::Set(kName, "Bob"), Action::Close()});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    EXPECT_EQ(dlg.name, "Ann");
    EXPECT_EQ(dlg.colour, "gr");
    EXPECT_EQ(User().Transcript(), std::vector<std::string>{"dialog 900 \"Runtime\" -> 2"});
    // The field shows what was typed; the members were never read back.
    EXPECT_EQ(LastDialog(),
              "dialog 900 \"Runtime\" (ended 2)\n"
              "  static 65535 \"&Name\"\n"
              "  edit 10 \"Bob\" limit=5 focus\n"
              "  edit 11 \"3\"\n"
              "  check 12 \"&Keep\" check=1\n"
              "  droplist 13 \"Green\" sel=1 [red | Green | blue]\n"
              "  combo 14 \"Trondheim\" sel=-1 [Bergen | Oslo]\n"
              "  listbox 15 \"pear\" sel=1 [apple | pear | plum]\n"
              "  tab 16 \"First\" tab=0 [First | Second]\n"
              "  listctrl 17 \"\"\n"
              "    columns: Title\n"
              "    0 key=0 image=0: first row\n"
              "  button 20 \"&Later\" disabled\n"
              "  defbutton 1 \"OK\"\n"
              "  button 2 \"Cancel\"\n");
    // The dialog's window went with it.
    EXPECT_TRUE(P().DialogFactory().Open().empty());
    EXPECT_EQ(P().Windows().Dump().find("#32770"), std::string::npos);
}

// The scripted user's own failures, checked here instead of failing the test.
class DialogScriptFailureTest : public ::testing::Test {
  protected:
    void SetUp() override { platform_ = &platform::InstallHeadlessPlatform(); }
    void TearDown() override { platform::UninstallPlatform(); }
    platform::ScriptedUser& User() { return platform_->User(); }

    platform::HeadlessPlatform* platform_ = nullptr;
};

TEST_F(DialogScriptFailureTest, AnUnexpectedDialogFailsNamingItAndIsCancelled) {
    RuntimeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(User().Failures(), std::vector<std::string>{"unexpected dialog 900 \"Runtime\""});
    EXPECT_EQ(User().Transcript(), std::vector<std::string>{"dialog 900 \"Runtime\" -> 2"});
}

TEST_F(DialogScriptFailureTest, AControlTheDialogDoesNotHaveStopsTheScript) {
    RuntimeDlg dlg;
    User().AnswerDialog(kTemplateId,
                        {Action::Set(99, "x"), Action::Set(kName, "Bo"), Action::Press(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.name, "Ann");
    EXPECT_EQ(User().Failures(),
              std::vector<std::string>{
                  "dialog 900 \"Runtime\": cannot set 99 \"x\": there is no control 99"});
}

TEST_F(DialogScriptFailureTest, ControlsTheUserCannotUseAreRefused) {
    RuntimeDlg dlg;
    User().AnswerDialog(kTemplateId, {Action::Press(kLater)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    User().AnswerDialog(kTemplateId, {Action::Set(kColour, "pink")});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    User().AnswerDialog(kTemplateId, {Action::Choose(kFruit, "kiwi")});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(User().Failures(),
              (std::vector<std::string>{
                  "dialog 900 \"Runtime\": cannot press 20: control 20 is disabled",
                  "dialog 900 \"Runtime\": cannot set 13 \"pink\": control 13 cannot be typed into",
                  "dialog 900 \"Runtime\": cannot choose 15 \"kiwi\": control 15 has no entry "
                  "\"kiwi\""}));
}

TEST_F(DialogScriptFailureTest, ADialogLeftOpenFailsAndIsCancelled) {
    RuntimeDlg dlg;
    // The dialog opens first; the box refusing its text comes while it is open.
    User().AnswerDialog(kTemplateId, {Action::Set(kCount, "many"), Action::Press(IDOK)});
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please enter an integer.");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.count, 3);
    EXPECT_EQ(User().Failures(), std::vector<std::string>{
                                     "dialog 900 \"Runtime\" is still open after its last action"});
}

TEST_F(DialogScriptFailureTest, ActionsLeftWhenTheDialogEndedAreFailuresAndUnusedAnswersUnmet) {
    RuntimeDlg dlg;
    User().AnswerDialog(kTemplateId,
                        {Action::Press(IDCANCEL), Action::Set(kName, "Bo"), Action::Press(IDOK)});
    User().AnswerDialog(901, {Action::Check(kKeep), Action::Press(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.name, "Ann");
    EXPECT_EQ(
        User().Failures(),
        std::vector<std::string>{"dialog 900 \"Runtime\" ended before: set 10 \"Bo\", press 1"});
    EXPECT_EQ(User().Unmet(), std::vector<std::string>{"dialog 901 answer: check 12 1, press 1"});
}

}  // namespace
}  // namespace orbel
