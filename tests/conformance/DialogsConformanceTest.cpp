// Dialogs made from templates, on both backends: members shown in the controls and read back on
// OK, what the user does reaching the owner as notifications, the program's own changes
// notifying nobody, and what a user cannot do refused with the reason. Then the desktop alone:
// where the controls land, what a person does to the real widgets, and the file-properties
// window.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ListControl.h"
#include "platform/framework/Dialog.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFileProperties.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtUser.h"
#include "platform/qt/QtUserDriver.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

using platform::DialogControlKind;
using Action = platform::ScriptedUser::DialogAction;

constexpr UINT kTemplateId = 900;
constexpr UINT kName = 10, kCount = 11, kKeep = 12, kColour = 13, kCity = 14, kFruit = 15,
               kTabs = 16, kRows = 17, kNotes = 18, kLater = 20;

const platform::DialogTemplate& RuntimeTemplate() {
    using K = DialogControlKind;
    auto control = [](UINT id, K kind, const char* text, RECT rect, DWORD style = 0) {
        return platform::DialogControlTemplate{id, kind, text, rect, style};
    };
    static const platform::DialogTemplate t{
        kTemplateId,
        "Runtime",
        260,
        150,
        std::nullopt,
        {
            control(platform::kStaticId, K::Static, "&Name", {7, 9, 47, 17}),
            control(kName, K::Edit, "", {50, 7, 150, 21}),
            control(kCount, K::Edit, "", {50, 25, 100, 39}),
            control(kKeep, K::CheckBox, "&Keep", {110, 25, 160, 35}),
            control(kColour, K::ComboDropDownList, "", {7, 43, 97, 120}),
            control(kCity, K::ComboDropDown, "", {103, 43, 193, 120}),
            control(kFruit, K::ListBox, "", {7, 61, 97, 101}),
            control(kTabs, K::TabControl, "", {103, 61, 193, 75}),
            control(kRows, K::ListControl, "", {103, 79, 193, 121}),
            control(kNotes, K::Edit, "", {7, 105, 97, 141}, platform::kDialogMultiline),
            control(kLater, K::Button, "&Later", {203, 41, 253, 55}, platform::kDialogDisabled),
            control(IDOK, K::DefaultButton, "OK", {203, 7, 253, 21}),
            control(IDCANCEL, K::Button, "Cancel", {203, 24, 253, 38}),
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

// The framework's dialog over the template, with members for most of its controls.
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
    // The dialog's window while it ran, and what its controls showed when it was cancelled.
    HWND window;
    std::string seenOnCancel;

  protected:
    bool OnInitDialog() override {
        window = GetSafeHwnd();
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
    void OnCancel() override {
        auto item = [&](UINT id) { return GetDlgItem(id); };
        auto entries = [&](UINT id) {
            return " " + std::to_string(item(id).GetCurSel()) + "/" +
                   std::to_string(item(id).GetCount());
        };
        seenOnCancel =
            "name \"" + item(kName).GetWindowText() + "\", count \"" +
            item(kCount).GetWindowText() + "\", keep " + std::to_string(item(kKeep).GetCheck()) +
            ", colour \"" + item(kColour).GetWindowText() + "\"" + entries(kColour) + ", city \"" +
            item(kCity).GetWindowText() + "\"" + entries(kCity) + ", fruit \"" +
            item(kFruit).GetWindowText() + "\"" + entries(kFruit) + ", tab \"" +
            item(kTabs).GetWindowText() + "\" " + std::to_string(item(kTabs).GetCurTab()) +
            ", rows " + std::to_string(item(kRows).GetListControl()->GetItemCount()) + ", later " +
            (item(kLater).IsWindowEnabled() ? "enabled" : "disabled");
        CDialog::OnCancel();
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

// A dialog owner that writes down what it is told, for tests that act on the live dialog.
class RecordingOwner final : public platform::DialogOwner, public platform::ListControlEvents {
  public:
    platform::LiveDialog* live = nullptr;
    std::vector<std::string> commands;
    int closeRequests = 0;
    std::vector<int> rowsChanged;
    UINT endOn = 0;  // a click of this button ends the dialog with its ID

    void OnDialogInit(platform::LiveDialog& dialog) override { live = &dialog; }
    void OnDialogCommand(UINT id, UINT code) override {
        commands.push_back(std::to_string(id) + " " + CodeName(code));
        if (endOn && id == endOn && code == BN_CLICKED) live->EndDialog(static_cast<int>(id));
    }
    void OnDialogClose() override { ++closeRequests; }
    platform::ListControlEvents* ListEventsFor(UINT id) override {
        return id == kRows ? this : nullptr;
    }
    void OnListItemChanged(int row, UINT, UINT) override { rowsChanged.push_back(row); }
};

template <class B>
class DialogsConformance : public ConformanceTest<B> {
  protected:
    // A live dialog of the runtime template, initialised by `owner`, not run.
    std::unique_ptr<platform::LiveDialog> Make(RecordingOwner& owner) {
        auto live = this->P().DialogFactory().CreateDialog(RuntimeTemplate(), owner, kNoWindow);
        owner.OnDialogInit(*live);
        return live;
    }
};
TYPED_TEST_SUITE(DialogsConformance, Backends, BackendNames);

// A form lies in its view as a shown child, is found from its window, and what a person does
// in it reaches its owner as in a dialog, with no modal run.
TYPED_TEST(DialogsConformance, AFormIsAShownChildOfItsViewThatTakesInput) {
    const HWND top = this->MakeTopWindow(RECT{0, 0, 600, 400});
    const HWND view = this->MakeChildWindow(top, RECT{0, 0, 560, 360});
    this->P().Windows().ShowWindow(view, true);
    RecordingOwner owner;
    auto form = this->P().DialogFactory().CreateForm(RuntimeTemplate(), owner, view);
    ASSERT_TRUE(form);
    EXPECT_EQ(owner.live, form.get()) << "the form is initialised as it is made";
    EXPECT_EQ(platform::FindDescendant(this->P().Windows(), top, "#32770"), form->Window());
    EXPECT_TRUE(this->P().Windows().IsWindowVisible(form->Window()));
    EXPECT_EQ(platform::LiveDialog::FromWindow(form->Window()), form.get());
    this->Pump();
    EXPECT_EQ(form->UserPress(IDOK), "");
    EXPECT_NE(form->UserChoose(kFruit, "Pear"), "") << "no such entry yet";
    form->AddString(kFruit, "Pear");
    EXPECT_EQ(form->UserChoose(kFruit, "Pear"), "");
    platform::ListControl* rows = form->GetListControl(kRows);
    ASSERT_TRUE(rows);
    rows->InsertColumn(0, "Row", platform::ListAlign::Left, 100);
    rows->InsertItem(0, "first", 0);
    this->Pump();
    const HWND list = platform::FindDescendant(this->P().Windows(), view, "SysListView32");
    EXPECT_TRUE(this->Driver().ListClick(list, 0));
    EXPECT_EQ(owner.commands, (std::vector<std::string>{"1 clicked", "15 chosen"}));
    EXPECT_FALSE(owner.rowsChanged.empty());
    EXPECT_FALSE(form->IsEnded());
    const HWND window = form->Window();
    form.reset();
    EXPECT_EQ(platform::LiveDialog::FromWindow(window), nullptr);
}

TYPED_TEST(DialogsConformance, MembersAreShownWhenTheDialogStartsAndEscapeLeavesThemAlone) {
    RuntimeDlg dlg;
    this->User().AnswerDialog(kTemplateId, {Action::Set(kName, "Bob"), Action::Close()});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    EXPECT_EQ(dlg.name, "Ann");
    EXPECT_EQ(dlg.colour, "gr");
    EXPECT_EQ(this->User().Transcript(), std::vector<std::string>{"dialog 900 \"Runtime\" -> 2"});
    // The field showed what was typed; the members were never read back.
    EXPECT_EQ(dlg.seenOnCancel,
              "name \"Bob\", count \"3\", keep 1, colour \"Green\" 1/3, city \"Trondheim\" -1/2, "
              "fruit \"pear\" 1/3, tab \"First\" 0, rows 1, later disabled");
    // The dialog was a window of its own, and it went with the dialog.
    ASSERT_TRUE(dlg.window);
    EXPECT_FALSE(this->P().Windows().IsWindow(dlg.window));
}

TYPED_TEST(DialogsConformance, WhatTheUserEntersComesBackOnOkAndEachActionIsNotified) {
    RuntimeDlg dlg;
    this->User().AnswerDialog(
        kTemplateId,
        {Action::Set(kName, "Bo"), Action::Set(kCount, " -42 "), Action::Check(kKeep, false),
         Action::Choose(kColour, "blue"), Action::Choose(kCity, "Oslo"),
         Action::Set(kCity, "Tromsø"), Action::Choose(kFruit, "plum"),
         Action::Choose(kTabs, "Second"), Action::Press(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);

    EXPECT_EQ(dlg.name, "Bo");
    EXPECT_EQ(dlg.count, -42);
    EXPECT_FALSE(dlg.keep);
    EXPECT_EQ(dlg.colour, "blue");
    EXPECT_EQ(dlg.city, "Tromsø");
    EXPECT_EQ(dlg.fruit, 2);
    EXPECT_EQ(dlg.notifications, (std::vector<std::string>{"10 changed", "11 changed", "12 clicked",
                                                           "13 chosen", "14 chosen", "14 edited",
                                                           "15 chosen", "16 tab", "1 clicked"}));
    EXPECT_EQ(this->User().Transcript(), std::vector<std::string>{"dialog 900 \"Runtime\" -> 1"});
}

TYPED_TEST(DialogsConformance, TypingStopsAtTheLimitTheExchangeSetCountingCharactersNotBytes) {
    RuntimeDlg dlg;
    this->User().AnswerDialog(kTemplateId, {Action::Set(kName, "Åsmund"), Action::Press(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.name, "Åsmun");
}

TYPED_TEST(DialogsConformance, ARefusedOkKeepsTheDialogOpenUntilTheFieldIsRight) {
    RuntimeDlg dlg;
    // The dialog opens first; its refused OK shows the box.
    this->User().AnswerDialog(kTemplateId, {Action::Set(kCount, "4x2"), Action::Press(IDOK),
                                            Action::Set(kCount, "42"), Action::Press(IDOK)});
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please enter an integer.");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.count, 42);
    // The box is shown inside the dialog: the dialog's line comes first.
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{"dialog 900 \"Runtime\"",
                                        "box \"Please enter an integer.\" OK -> OK",
                                        "dialog 900 \"Runtime\" -> 1"}));
}

TYPED_TEST(DialogsConformance, AFieldTooLongForItsLimitIsRefusedOnOk) {
    // The program may put in more than the user could type; OK then says so.
    class LongNameDlg final : public CDialog {
      public:
        LongNameDlg() : CDialog(RuntimeTemplate()) {}
        std::string name = "Christopher";

      protected:
        void DoDataExchange(CDataExchange& dx) override {
            DDX_Text(dx, kName, name);
            DDV_MaxChars(dx, name, 5);
        }
    } dlg;
    this->User().AnswerDialog(
        kTemplateId, {Action::Press(IDOK), Action::Set(kName, "Chris"), Action::Press(IDOK)});
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok,
                                  "Please enter no more than 5 characters.");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.name, "Chris");
}

TYPED_TEST(DialogsConformance, TheOwnerEndsTheDialogOnceWithTheFirstResult) {
    class EndsOnKeep final : public CDialog {
      public:
        EndsOnKeep() : CDialog(RuntimeTemplate()) {}

      protected:
        bool OnCommand(UINT id, UINT code) override {
            if (id != kKeep) return CDialog::OnCommand(id, code);
            EndDialog(42);
            EndDialog(43);
            return true;
        }
    } dlg;
    this->User().AnswerDialog(kTemplateId, {Action::Check(kKeep)});
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(this->User().Transcript(), std::vector<std::string>{"dialog 900 \"Runtime\" -> 42"});
}

TYPED_TEST(DialogsConformance, WhatTheUserCannotDoIsRefusedWithTheReasonAndTellsNobody) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    live->AddString(kFruit, "apple");
    live->SetReadOnly(kCount, true);
    live->ShowControl(kKeep, false);

    EXPECT_EQ(live->UserPress(99), "there is no control 99");
    EXPECT_EQ(live->UserPress(kLater), "control 20 is disabled");
    EXPECT_EQ(live->UserCheck(kKeep, 1), "control 12 is hidden");
    EXPECT_EQ(live->UserType(kColour, "pink"), "control 13 cannot be typed into");
    EXPECT_EQ(live->UserType(kCount, "4"), "control 11 is read-only");
    EXPECT_EQ(live->UserChoose(kFruit, "kiwi"), "control 15 has no entry \"kiwi\"");
    EXPECT_EQ(live->UserChoose(kName, "Bo"), "control 10 has no entries to choose from");
    EXPECT_EQ(live->UserCheck(kName, 1), "control 10 is not a check box");
    EXPECT_EQ(live->UserPress(kCity), "control 14 is not a button");
    EXPECT_EQ(live->GetText(kCount), "");
    EXPECT_EQ(live->GetCheck(kKeep), 0);

    live->EndDialog(IDOK);
    EXPECT_EQ(live->UserPress(IDCANCEL), "the dialog has ended");
    live->UserClose();
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_EQ(owner.closeRequests, 0);
    EXPECT_EQ(live->Result(), IDOK);
}

TYPED_TEST(DialogsConformance, EntriesKeepTheirOrderAndTheProgramChoosingThemTellsNobody) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    live->SetText(kCity, "typed");
    for (UINT id : {kColour, kCity, kFruit}) {
        EXPECT_EQ(live->AddString(id, "red"), 0);
        EXPECT_EQ(live->AddString(id, "green"), 1);
        // Adding chooses nothing, and leaves a drop-down combo box's field alone.
        EXPECT_EQ(live->GetCurSel(id), -1) << id;
        EXPECT_EQ(live->GetText(id), id == kCity ? "typed" : "") << id;
    }
    EXPECT_EQ(live->GetCount(kColour), 2);
    EXPECT_EQ(live->GetItemText(kColour, 1), "green");
    EXPECT_EQ(live->GetItemText(kColour, 2), "");
    EXPECT_EQ(live->AddString(kName, "x"), -1);

    EXPECT_TRUE(live->SetCurSel(kColour, 1));
    EXPECT_EQ(live->GetText(kColour), "green");
    EXPECT_FALSE(live->SetCurSel(kColour, 2));
    EXPECT_EQ(live->GetCurSel(kColour), 1);
    EXPECT_TRUE(live->SetCurSel(kFruit, 0));
    EXPECT_EQ(live->GetText(kFruit), "red");

    // A drop-down combo box shows the chosen entry in its field, keeps a text of the program's
    // own beside the choice, and shows nothing once the entries are gone.
    live->SetText(kCity, "Tromsø");
    EXPECT_EQ(live->GetCurSel(kCity), -1);
    EXPECT_TRUE(live->SetCurSel(kCity, 1));
    EXPECT_EQ(live->GetText(kCity), "green");
    live->SetText(kCity, "Oslo");
    EXPECT_EQ(live->GetCurSel(kCity), 1);
    EXPECT_EQ(live->GetText(kCity), "Oslo");
    EXPECT_TRUE(live->SetCurSel(kCity, -1));
    EXPECT_EQ(live->GetText(kCity), "");
    live->SetText(kCity, "Bergen");
    live->ResetContent(kCity);
    EXPECT_EQ(live->GetCount(kCity), 0);
    EXPECT_EQ(live->GetText(kCity), "");

    // A choice list has no text but its entry's.
    live->SetText(kColour, "pink");
    EXPECT_EQ(live->GetText(kColour), "green");
    live->SetCheck(kKeep, 1);
    live->SetText(kName, "Ann");
    live->EnableControl(kLater, true);
    live->ShowControl(kFruit, false);
    EXPECT_TRUE(owner.commands.empty());
}

TYPED_TEST(DialogsConformance, ATabInsertedBeforeTheCurrentOneMovesItOn) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    EXPECT_EQ(live->GetCurTab(kTabs), -1);
    EXPECT_EQ(live->InsertTab(kTabs, 0, "Second"), 0);
    EXPECT_EQ(live->GetCurTab(kTabs), 0);
    EXPECT_EQ(live->InsertTab(kTabs, 9, "Third"), 1);
    EXPECT_EQ(live->InsertTab(kTabs, 0, "First"), 0);
    EXPECT_EQ(live->GetCurTab(kTabs), 1);
    EXPECT_EQ(live->GetText(kTabs), "Second");
    EXPECT_EQ(live->InsertTab(kTabs, -1, "Nowhere"), -1);
    EXPECT_TRUE(live->SetCurTab(kTabs, 2));
    EXPECT_EQ(live->GetText(kTabs), "Third");
    EXPECT_FALSE(live->SetCurTab(kTabs, 3));
    EXPECT_TRUE(owner.commands.empty());

    EXPECT_EQ(live->UserChoose(kTabs, "First"), "");
    EXPECT_EQ(live->GetCurTab(kTabs), 0);
    EXPECT_EQ(owner.commands, std::vector<std::string>{"16 tab"});
}

TYPED_TEST(DialogsConformance, UserActionsNotifyOnlyWhenTheyChangeSomething) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    live->AddString(kCity, "Bergen");
    live->AddString(kCity, "Oslo");
    live->SetText(kName, "Bo");
    live->LimitText(kName, 4);

    EXPECT_EQ(live->UserType(kName, "Bo"), "");
    EXPECT_EQ(live->UserType(kName, "Benedikt"), "");
    EXPECT_EQ(live->GetText(kName), "Bene");
    EXPECT_EQ(live->UserType(kName, "Benedicte"), "");  // the same four characters

    EXPECT_EQ(live->UserChoose(kCity, "Oslo"), "");
    EXPECT_EQ(live->UserChoose(kCity, "Oslo"), "");
    // Typing leaves no entry chosen; choosing the entry again puts its text back.
    EXPECT_EQ(live->UserType(kCity, "Oslo S"), "");
    EXPECT_EQ(live->GetCurSel(kCity), -1);
    EXPECT_EQ(live->GetText(kCity), "Oslo S");
    EXPECT_EQ(live->UserChoose(kCity, "Oslo"), "");
    EXPECT_EQ(live->GetText(kCity), "Oslo");

    EXPECT_EQ(live->UserCheck(kKeep, 0), "");
    EXPECT_EQ(live->UserPress(kKeep), "");
    EXPECT_EQ(live->GetCheck(kKeep), 1);
    EXPECT_EQ(live->UserPress(IDCANCEL), "");
    live->UserClose();

    EXPECT_EQ(owner.commands, (std::vector<std::string>{"10 changed", "14 chosen", "14 edited",
                                                        "14 chosen", "12 clicked", "2 clicked"}));
    EXPECT_EQ(owner.closeRequests, 1);
    EXPECT_FALSE(live->IsEnded());
}

TYPED_TEST(DialogsConformance, TheLimitHoldsWhatTheUserTypesNotWhatTheProgramSets) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    live->LimitText(kCity, 3);
    live->SetText(kCity, "Trondheim");
    EXPECT_EQ(live->GetText(kCity), "Trondheim");
    EXPECT_EQ(live->UserType(kCity, "Tromsø"), "");
    EXPECT_EQ(live->GetText(kCity), "Tro");
    // The limit is for edits and drop-down combo boxes alone.
    live->LimitText(kColour, 1);
    live->AddString(kColour, "green");
    EXPECT_EQ(live->UserChoose(kColour, "green"), "");
    EXPECT_EQ(live->GetText(kColour), "green");
    // A multi-line field gives its text back with the line breaks the program wrote.
    live->SetText(kNotes, "first line\r\nsecond line");
    EXPECT_EQ(live->GetText(kNotes), "first line\r\nsecond line");
}

TYPED_TEST(DialogsConformance, TheFocusFollowsTheUserAndLeavesWhatIsDisabledOrHidden) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    live->AddString(kFruit, "pear");
    EXPECT_EQ(live->GetFocus(), 0u);
    live->SetFocus(kName);
    EXPECT_EQ(live->GetFocus(), kName);
    live->SetFocus(99);
    EXPECT_EQ(live->GetFocus(), kName);
    EXPECT_EQ(live->UserChoose(kFruit, "pear"), "");
    EXPECT_EQ(live->GetFocus(), kFruit);
    live->EnableControl(kFruit, false);
    EXPECT_FALSE(live->IsControlEnabled(kFruit));
    EXPECT_EQ(live->GetFocus(), 0u);

    live->SetFocus(kCount);
    live->ShowControl(kCount, false);
    EXPECT_FALSE(live->IsControlVisible(kCount));
    EXPECT_EQ(live->GetFocus(), 0u);
    live->ShowControl(kCount, true);
    EXPECT_TRUE(live->IsControlVisible(kCount));
    EXPECT_EQ(live->UserType(kCount, "7"), "");
    EXPECT_EQ(live->GetFocus(), kCount);
}

TYPED_TEST(DialogsConformance, AListControlLivesInAWindowOfItsOwnAndTellsTheOwner) {
    RecordingOwner owner;
    auto live = this->Make(owner);
    platform::ListControl* rows = live->GetListControl(kRows);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(live->GetListControl(kName), nullptr);
    EXPECT_EQ(live->GetText(kRows), "");

    const HWND window =
        platform::FindDescendant(this->P().Windows(), live->Window(), "SysListView32");
    ASSERT_TRUE(window);
    EXPECT_EQ(this->P().Windows().GetDlgCtrlID(window), kRows);
    EXPECT_EQ(this->P().Windows().GetParent(window), live->Window());

    rows->InsertColumn(0, "Title", platform::ListAlign::Left, 80);
    rows->InsertItem(0, "first row", 0);
    rows->SetItemState(0, platform::kListSelected, platform::kListSelected);
    EXPECT_EQ(owner.rowsChanged, std::vector<int>{0});

    // Disabling the entry disables its window.
    live->EnableControl(kRows, false);
    EXPECT_FALSE(this->P().Windows().IsWindowEnabled(window));
}

// A modeless dialog is up as soon as Create returns and the program goes on; a person still
// acts on it, its Cancel hides it for good, and only the program takes it down.
TYPED_TEST(DialogsConformance, AModelessDialogStaysUpWhileTheProgramGoesOnUntilItIsTakenDown) {
    const HWND over = this->MakeTopWindow(RECT{100, 100, 700, 500});
    this->P().Windows().ShowWindow(over, true);
    RuntimeDlg dlg;
    ASSERT_TRUE(dlg.Create(over));
    EXPECT_TRUE(dlg.IsModeless());
    EXPECT_FALSE(dlg.Create(over)) << "one window per dialog";
    const HWND window = dlg.GetSafeHwnd();
    ASSERT_TRUE(window);
    EXPECT_TRUE(this->P().Windows().IsWindowVisible(window));
    EXPECT_EQ(this->User().ModelessDialogs(),
              std::vector<platform::LiveDialog*>{platform::LiveDialog::FromWindow(window)});

    dlg.CenterWindow(over);
    const RECT at = this->P().Windows().GetWindowRect(window);
    const POINT centre = this->P().Windows().ClientToScreen(over, POINT{300, 200});
    EXPECT_NEAR((at.left + at.right) / 2, centre.x, 1);
    EXPECT_NEAR((at.top + at.bottom) / 2, centre.y, 1);

    // The program changes a text while busy and paints it at once.
    dlg.SetDlgItemText(kName, "Busy");
    dlg.UpdateWindow();
    this->Pump();
    platform::LiveDialog* live = platform::LiveDialog::FromWindow(window);
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live->UserType(kName, "Eve"), "");
    EXPECT_EQ(live->UserPress(IDCANCEL), "");
    EXPECT_EQ(dlg.notifications, (std::vector<std::string>{"10 changed", "2 clicked"}));
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_FALSE(this->P().Windows().IsWindowVisible(window));
    EXPECT_TRUE(this->P().Windows().IsWindow(window)) << "ended, not gone";
    EXPECT_EQ(dlg.name, "Ann") << "Cancel reads nothing back";

    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_FALSE(dlg.DestroyWindow());
    EXPECT_FALSE(this->P().Windows().IsWindow(window));
    EXPECT_TRUE(this->User().ModelessDialogs().empty());
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{"dialog 900 \"Runtime\" shown",
                                        "dialog 900 \"Runtime\" closed"}));
}

// A modeless dialog left up goes with its object, and a modal one can run above it.
TYPED_TEST(DialogsConformance, AModelessDialogGoesWithItsObjectAndLetsModalOnesRun) {
    HWND window = kNoWindow;
    {
        RuntimeDlg waiting;
        ASSERT_TRUE(waiting.Create());
        window = waiting.GetSafeHwnd();
        RuntimeDlg asked;
        this->User().AnswerDialog(kTemplateId, {Action::Press(IDOK)});
        EXPECT_EQ(asked.DoModal(), IDOK);
        EXPECT_TRUE(this->P().Windows().IsWindowVisible(window));
        EXPECT_FALSE(waiting.IsEnded());
    }
    EXPECT_FALSE(this->P().Windows().IsWindow(window));
    EXPECT_EQ(
        this->User().Transcript(),
        (std::vector<std::string>{"dialog 900 \"Runtime\" shown", "dialog 900 \"Runtime\" -> 1",
                                  "dialog 900 \"Runtime\" closed"}));
}

// ---- The desktop alone ----

class QtDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = &static_cast<platform::QtPlatform&>(QtBackend::Install());
        dialogs_ = std::make_unique<platform::QtDialogs>(Q().Windows(), Q().CommonControls());
    }
    void TearDown() override {
        dialogs_.reset();
        platform::UninstallPlatform();
    }
    platform::QtPlatform& Q() { return *platform_; }
    std::unique_ptr<platform::LiveDialog> Make(RecordingOwner& owner) {
        auto live = dialogs_->CreateDialog(RuntimeTemplate(), owner, kNoWindow);
        owner.OnDialogInit(*live);
        return live;
    }
    // The widget of the first control with the ID.
    template <class W>
    W* Control(const platform::LiveDialog& live, UINT id) {
        for (HWND child : Q().Windows().GetChildren(live.Window()))
            if (Q().Windows().GetDlgCtrlID(child) == id)
                return qobject_cast<W*>(Q().Windows().Widget(child));
        return nullptr;
    }

  private:
    platform::QtPlatform* platform_ = nullptr;
    std::unique_ptr<platform::QtDialogs> dialogs_;
};

TEST_F(QtDialogTest, ControlsLandAtTheirTemplateRectanglesInTemplateOrder) {
    RecordingOwner owner;
    auto live = Make(owner);
    QWidget* dialog = Q().Windows().Widget(live->Window());
    ASSERT_NE(dialog, nullptr);
    // Dialog units with the dialog font: a quarter of its average character width across, an
    // eighth of its height down.
    const QFontMetrics metrics(dialog->font());
    const int across =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 +
         1) /
        2;
    const int down = metrics.height();
    auto x = [&](int units) { return (units * across + 2) / 4; };
    auto y = [&](int units) { return (units * down + 4) / 8; };

    const RECT client = Q().Windows().GetClientRect(live->Window());
    EXPECT_EQ(client.Width(), x(260));
    EXPECT_EQ(client.Height(), y(150));

    const std::vector<HWND> children = Q().Windows().GetChildren(live->Window());
    const auto& controls = RuntimeTemplate().controls;
    ASSERT_EQ(children.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const platform::DialogControlTemplate& c = controls[i];
        SCOPED_TRACE(c.id);
        EXPECT_EQ(Q().Windows().GetDlgCtrlID(children[i]), c.id);
        const RECT at = Q().Windows().GetWindowRect(children[i]);
        EXPECT_EQ(at.left, x(c.rect.left));
        EXPECT_EQ(at.top, y(c.rect.top));
        EXPECT_EQ(at.Width(), x(c.rect.right) - x(c.rect.left));
        const bool combo = c.kind == DialogControlKind::ComboDropDown ||
                           c.kind == DialogControlKind::ComboDropDownList;
        // A combo box's template height includes its dropped list.
        if (combo)
            EXPECT_LT(at.Height(), y(c.rect.bottom) - y(c.rect.top));
        else
            EXPECT_EQ(at.Height(), y(c.rect.bottom) - y(c.rect.top));
    }
    EXPECT_EQ(Q().Windows().GetClassName(children[1]), "Edit");
    EXPECT_EQ(Q().Windows().GetClassName(children[5]), "ComboBox");
    // The label's mnemonic leads to the field after it.
    EXPECT_EQ(qobject_cast<QLabel*>(Q().Windows().Widget(children[0]))->buddy(),
              Q().Windows().Widget(children[1]));
    EXPECT_TRUE(Control<QPushButton>(*live, IDOK)->isDefault());
}

TEST_F(QtDialogTest, APersonsClickOnOkReachesTheOwnerWhoseEndClosesTheModalRun) {
    RecordingOwner owner;
    owner.endOn = IDOK;
    auto live = Make(owner);
    QPushButton* ok = Control<QPushButton>(*live, IDOK);
    ASSERT_NE(ok, nullptr);
    QWidget* dialog = Q().Windows().Widget(live->Window());
    bool shownWhenClicked = false;
    QTimer::singleShot(0, ok, [&] {
        shownWhenClicked = dialog->isVisible();
        ok->click();
    });
    // Should the click go astray, the run still ends.
    QTimer::singleShot(5000, ok, [&] { live->EndDialog(-1); });

    platform::QtUser person(Q().Windows(), Q().Loop());
    EXPECT_EQ(person.RunModalDialog(*live), IDOK);
    EXPECT_TRUE(shownWhenClicked);
    EXPECT_EQ(owner.commands, std::vector<std::string>{"1 clicked"});
    EXPECT_FALSE(dialog->isVisible());
}

// A person's click on a modeless dialog's button, through the window system, reaches its
// owner while the program's own loop runs; the dialog never blocks that loop.
TEST_F(QtDialogTest, APersonsClickOnAModelessDialogReachesItsOwnerWhileTheLoopRuns) {
    platform::QtUser person(Q().Windows(), Q().Loop());
    RecordingOwner owner;
    owner.endOn = IDCANCEL;
    auto live = Q().DialogFactory().CreateDialog(RuntimeTemplate(), owner, kNoWindow);
    owner.OnDialogInit(*live);
    person.ShowModelessDialog(*live);
    QWidget* dialog = Q().Windows().Widget(live->Window());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    QPushButton* cancel = Control<QPushButton>(*live, IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    platform::QtUserDriver hand(Q());
    QTimer::singleShot(0, cancel, [&] {
        const QPoint at = cancel->mapToGlobal(cancel->rect().center());
        hand.MouseButton(WM_LBUTTONDOWN, POINT{at.x(), at.y()});
        hand.MouseButton(WM_LBUTTONUP, POINT{at.x(), at.y()});
    });
    for (int i = 0; i < 200 && !live->IsEnded(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(owner.commands, std::vector<std::string>{"2 clicked"});
    EXPECT_TRUE(live->IsEnded());
}

TEST_F(QtDialogTest, WhatAPersonDoesToTheWidgetsReachesTheOwner) {
    RecordingOwner owner;
    auto live = Make(owner);
    for (const char* c : {"red", "green", "blue"}) live->AddString(kColour, c);
    for (const char* c : {"Bergen", "Oslo"}) live->AddString(kCity, c);
    for (const char* f : {"apple", "pear", "plum"}) live->AddString(kFruit, f);
    live->InsertTab(kTabs, 0, "First");
    live->InsertTab(kTabs, 1, "Second");
    QWidget* dialog = Q().Windows().Widget(live->Window());
    dialog->show();
    dialog->activateWindow();
    QApplication::processEvents();

    // Typing stops at the limit: what does not fit is dropped, and a key that adds nothing
    // tells nobody.
    live->LimitText(kName, 5);
    QLineEdit* name = Control<QLineEdit>(*live, kName);
    name->insert("Åsmund");
    name->insert("x");
    EXPECT_EQ(live->GetText(kName), "Åsmun");

    Control<QCheckBox>(*live, kKeep)->click();
    EXPECT_EQ(live->GetCheck(kKeep), 1);
    Control<QComboBox>(*live, kColour)->setCurrentIndex(2);  // picked from the list
    EXPECT_EQ(live->GetText(kColour), "blue");
    QComboBox* city = Control<QComboBox>(*live, kCity);
    city->setCurrentIndex(1);
    city->lineEdit()->end(false);
    city->lineEdit()->insert(" S");
    EXPECT_EQ(live->GetCurSel(kCity), -1);
    EXPECT_EQ(live->GetText(kCity), "Oslo S");
    Control<QListWidget>(*live, kFruit)->setCurrentRow(2);
    EXPECT_EQ(live->GetCurSel(kFruit), 2);
    Control<QTabBar>(*live, kTabs)->setCurrentIndex(1);
    // The focus a person moves (Tab, a click) is the dialog's focus.
    Control<QListWidget>(*live, kFruit)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(live->GetFocus(), kFruit);

    // Enter in a field clicks the default button.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(name, &enter);

    // Escape and the close box ask the owner; the dialog does not close itself.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog, &escape);
    dialog->close();
    EXPECT_EQ(owner.closeRequests, 2);
    EXPECT_TRUE(dialog->isVisible());

    EXPECT_EQ(owner.commands,
              (std::vector<std::string>{"10 changed", "12 clicked", "13 chosen", "14 chosen",
                                        "14 edited", "15 chosen", "16 tab", "1 clicked"}));
    dialog->hide();
}

TEST_F(QtDialogTest, ThePropertiesWindowShowsEachLineAndGoesWhenClosed) {
    platform::FileProperties props;
    props.name = "report.odt";
    props.folder = "/home/u/docs";
    props.type = "ODT File";
    props.size = 12;
    props.mode = 0640;
    props.owner = "u";
    props.group = "staff";
    ASSERT_TRUE(platform::ShowFileProperties(props, nullptr));

    QPointer<QWidget> window;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "report.odt Properties") window = w;
    ASSERT_TRUE(window);
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) texts << label->text();
    for (const char* shown : {"Name:", "report.odt", "Folder:", "/home/u/docs", "Size:", "12 bytes",
                              "Group:", "staff", "rw-r----- (0640)"})
        EXPECT_TRUE(texts.contains(shown)) << shown << " in " << texts.join(" | ").toStdString();

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

}  // namespace
}  // namespace orbel::test
