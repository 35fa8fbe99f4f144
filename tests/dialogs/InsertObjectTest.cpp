// The Insert Object dialog behind New item: its tabs and what each shows, the registered types it
// offers, Browse on each tab, the Save step of Create New and the two refusals of OK, with the
// item the list then makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/registry/RegistryHive.h"
#include "src/dialogs/InsertObjectDlg.h"
#include "src/preview/FrameContainer.h"
#include "src/resources/DialogTemplates.h"
#include "src/resources/ListMenus.h"
#include "tests/dialogs/TextDocumentHive.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using platform::MessageAnswer;

constexpr std::int32_t kOwn = 5;
constexpr const char* kFromFile = "Create From &File";
constexpr const char* kCreateNew = "Create &New";
constexpr const char* kDirectory = "Select &Directory";

// Beside the text document: an XML document whose ShellNew key lies below its type, and a script
// type made by a command, which is not offered.
constexpr const char* kMoreClasses = R"(
[HKEY_CLASSES_ROOT\.cmd]
@="cmdfile"

[HKEY_CLASSES_ROOT\.cmd\ShellNew]
"Command"="make-script"

[HKEY_CLASSES_ROOT\.xml]
@="xmlfile"

[HKEY_CLASSES_ROOT\.xml\xmlfile\ShellNew]
"Data"="<a/>"
)";

class InsertObjectTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        std::ofstream(platform::RegistryHive::DefaultPath())
            << test::kTextDocumentHive << kMoreClasses;
        files_ = &P().UseMemoryFiles();
        for (const char* dir : {"/store", "/in", "/in/sub"})
            ASSERT_TRUE(files_->CreateDirectory(dir));
        for (const char* path : {"/in/a.txt", "/in/b.pdf"})
            ASSERT_TRUE(files_->Open(path, platform::FileAccess::Write,
                                     platform::Disposition::CreateAlways));
        ASSERT_EQ(Ctrl().Initiate(kOwn, 0), kOwn);
    }
    CViewList& List() { return *Ctrl().ListView(); }
    const std::string& LastDialog() { return P().DialogFactory().LastDump(); }
    // The line of the control in the last dialog's dump.
    std::string Line(UINT id) {
        const std::string& dump = LastDialog();
        for (const char* kind : {"static", "edit", "listbox", "check", "button", "defbutton"}) {
            const std::string start = "  " + std::string(kind) + " " + std::to_string(id) + " ";
            const std::size_t at = dump.find(start);
            if (at != std::string::npos) return dump.substr(at + 2, dump.find('\n', at) - at - 2);
        }
        return "none: " + dump;
    }
    bool Shown(UINT id) { return Line(id).find(" hidden") == std::string::npos; }
    bool ChooserShown(const std::string& line) {
        const auto& t = User().Transcript();
        return std::find(t.begin(), t.end(), line) != t.end();
    }
    void NewItem(std::vector<Action> actions) {
        User().AnswerDialog(IDD_INSERT_OBJECT, std::move(actions));
        List().OnListCommand(ID_LIST_NEW_ITEM);
    }

    platform::MemoryFileSystem* files_ = nullptr;
};

TEST_F(InsertObjectTest, EachTabShowsItsControlsAndTheTypesAreListedOnce) {
    NewItem({Action::Choose(IDC_INSERT_TABS, kDirectory), Action::Press(IDCANCEL)});
    EXPECT_EQ(Line(IDC_FILE_NAME_LABEL), "static 1084 \"Directory Name : \"");
    EXPECT_TRUE(Shown(IDC_FILE_NAME) && Shown(IDC_BROWSE));
    for (UINT hidden : {IDC_DISPLAY_NAME_LABEL, IDC_DISPLAY_NAME, IDC_INTERNET, IDC_OBJECT_TYPE,
                        IDC_AUTO_CREATE_OBJECT, IDC_AUTO_OPEN_OBJECT})
        EXPECT_FALSE(Shown(hidden)) << Line(hidden);

    // Back and forth: the types are read on the first visit of Create New only.
    NewItem({Action::Choose(IDC_INSERT_TABS, kCreateNew),
             Action::Choose(IDC_INSERT_TABS, kFromFile),
             Action::Choose(IDC_INSERT_TABS, kCreateNew), Action::Press(IDCANCEL)});
    EXPECT_EQ(Line(IDC_OBJECT_TYPE), "listbox 1081 \"\" sel=-1 [Text Document | xmlfile]");
    EXPECT_EQ(Line(IDC_AUTO_CREATE_OBJECT), "check 1089 \"&Auto Create Object\" check=0");
    for (UINT hidden :
         {IDC_FILE_NAME_LABEL, IDC_FILE_NAME, IDC_DISPLAY_NAME, IDC_BROWSE, IDC_INTERNET})
        EXPECT_FALSE(Shown(hidden)) << Line(hidden);

    // Create From File, as the dialog opens.
    NewItem({Action::Press(IDCANCEL)});
    EXPECT_EQ(Line(IDC_FILE_NAME_LABEL), "static 1084 \"Fil&e Name : \"");
    EXPECT_EQ(Line(IDC_DISPLAY_NAME_LABEL), "static 1085 \"Displa&y Name : \"");
    EXPECT_TRUE(Shown(IDC_INTERNET) && Shown(IDC_DISPLAY_NAME) && !Shown(IDC_OBJECT_TYPE));
    EXPECT_TRUE(TreeNames(kOwn).empty());
}

TEST_F(InsertObjectTest, AutoCreateIsCheckedFromThePropertyAndOffMayNotBeTurnedOn) {
    Put("AutoCreate", Variant(true));
    Put("AutoOpen", Variant(true));
    User().AnswerMessageBox(MessageAnswer::Ok, "Object auto-creation will not be supported.");
    NewItem({Action::Choose(IDC_INSERT_TABS, kCreateNew), Action::Press(IDCANCEL)});
    EXPECT_EQ(Line(IDC_AUTO_CREATE_OBJECT), "check 1089 \"&Auto Create Object\" check=0 disabled");
    EXPECT_EQ(Line(IDC_AUTO_OPEN_OBJECT), "check 1090 \"Auto O&pen Object\" check=1");

    Ctrl().SetObjectDir("/store");
    NewItem({Action::Choose(IDC_INSERT_TABS, kCreateNew), Action::Press(IDCANCEL)});
    EXPECT_EQ(Line(IDC_AUTO_CREATE_OBJECT), "check 1089 \"&Auto Create Object\" check=1");
}

TEST_F(InsertObjectTest, CreateNewMakesANumberedDocumentOrAsksWhereWithTheTypesFilter) {
    Ctrl().SetObjectDir("/store");
    NewItem({Action::Choose(IDC_INSERT_TABS, kCreateNew),
             Action::Choose(IDC_OBJECT_TYPE, "Text Document"),
             Action::Check(IDC_AUTO_CREATE_OBJECT), Action::Press(IDOK)});
    EXPECT_TRUE(files_->Exists("/store/000001.txt"));
    EXPECT_EQ(TreeNames(kOwn), std::vector<std::string>{"000001.txt"});

    // Without automatic creation OK asks where; Cancel there keeps the dialog open.
    User().AnswerDialog(IDD_INSERT_OBJECT, {Action::Choose(IDC_INSERT_TABS, kCreateNew),
                                            Action::Choose(IDC_OBJECT_TYPE, "Text Document"),
                                            Action::Press(IDOK), Action::Press(IDOK)});
    User().AnswerChooser(false, std::nullopt);
    User().AnswerChooser(false, "/in/new.txt");
    List().OnListCommand(ID_LIST_NEW_ITEM);
    EXPECT_TRUE(ChooserShown(
        "filechooser save filter=\"Text Document (*.txt)|*.txt|All Files (*.*)|*.*||\" dir=\"\" "
        "-> \"/in/new.txt\""));
    EXPECT_TRUE(files_->Exists("/in/new.txt"));
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"000001.txt", "new.txt"}));
}

TEST_F(InsertObjectTest, BrowseFillsTheNamesAndOkTakesOnlyAFileThatExistsOrAnAddress) {
    Ctrl().SetObjectDir("/store");
    User().AnswerDialog(IDD_INSERT_OBJECT,
                        {Action::Set(IDC_FILE_NAME, "/in/none.txt"), Action::Press(IDOK),
                         Action::Set(IDC_FILE_NAME, "www.example.com"), Action::Press(IDOK),
                         Action::Press(IDC_BROWSE), Action::Set(IDC_DISPLAY_NAME, "Agenda"),
                         Action::Press(IDC_INTERNET), Action::Press(IDOK)});
    User().AnswerMessageBox(MessageAnswer::Ok, "Please enter a valid Filename.");
    User().AnswerMessageBox(MessageAnswer::Ok, "Please enter a valid Filename.");
    User().AnswerChooser(false, "/in/a.txt");
    // Without its registered component the browser cannot start; Internet says so and changes
    // nothing.
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "The web browser could not be started: its component is not "
                            "registered.");
    List().OnListCommand(ID_LIST_NEW_ITEM);
    EXPECT_TRUE(ChooserShown(
        "filechooser open filter=\"All Files (*.*)|*.*||\" dir=\"/store\" -> \"/in/a.txt\""));
    EXPECT_EQ(TreeNames(kOwn), std::vector<std::string>{"Agenda"});

    // The next Browse starts where the last file was chosen, and takes its name.
    User().AnswerDialog(IDD_INSERT_OBJECT, {Action::Press(IDC_BROWSE), Action::Press(IDOK)});
    User().AnswerChooser(false, "/in/b.pdf");
    List().OnListCommand(ID_LIST_NEW_ITEM);
    EXPECT_TRUE(ChooserShown(
        "filechooser open filter=\"All Files (*.*)|*.*||\" dir=\"/in\" -> \"/in/b.pdf\""));
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"Agenda", "b.pdf"}));
}

// A web address on the file tab becomes a link item under the display name, or under the
// address itself without one.
TEST_F(InsertObjectTest, AWebAddressBecomesALinkItem) {
    Ctrl().SetObjectDir("/store");
    User().AnswerDialog(IDD_INSERT_OBJECT,
                        {Action::Set(IDC_FILE_NAME, "http://example.com/a"),
                         Action::Set(IDC_DISPLAY_NAME, "Example"), Action::Press(IDOK)});
    List().OnListCommand(ID_LIST_NEW_ITEM);
    User().AnswerDialog(IDD_INSERT_OBJECT,
                        {Action::Set(IDC_FILE_NAME, "ftp://files.example.com/b"),
                         Action::Set(IDC_DISPLAY_NAME, ""), Action::Press(IDOK)});
    List().OnListCommand(ID_LIST_NEW_ITEM);
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"Example", "ftp://files.example.com/b"}));
    EXPECT_TRUE(Boxes().empty()) << ::testing::PrintToString(Boxes());
}

TEST_F(InsertObjectTest, ADirectoryIsChosenWithTheFolderBrowserAndMustExist) {
    Ctrl().SetObjectDir("/store");
    User().AnswerDialog(
        IDD_INSERT_OBJECT,
        {Action::Choose(IDC_INSERT_TABS, kDirectory), Action::Set(IDC_FILE_NAME, "/in/a.txt"),
         Action::Press(IDOK), Action::Press(IDC_BROWSE), Action::Press(IDOK)});
    User().AnswerMessageBox(MessageAnswer::Ok, "Please enter a valid Directory.");
    User().AnswerChooser(true, "/in");
    List().OnListCommand(ID_LIST_NEW_ITEM);
    EXPECT_TRUE(
        ChooserShown("folderchooser title=\"Please select a directory or folder:\" "
                     "dir=\"/in/a.txt\" -> \"/in\""));
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"a.txt", "b.pdf"}));
    EXPECT_EQ(P().Files().CurrentDirectory(), "/store");
}

TEST_F(InsertObjectTest, TheFramesNewOleItemOpensTheSameDialog) {
    User().AnswerDialog(IDD_INSERT_OBJECT, {Action::Press(IDCANCEL)});
    Ctrl().Frame()->OnCmdMsg(ID_NEW_OLE_ITEM, nullptr);
    EXPECT_NE(LastDialog().find("dialog 205 \"Insert Object\" (ended 2)"), std::string::npos)
        << LastDialog();
}

// Placed by the layout: every control inside the tab, none overlapping another shown on the same
// tab, the fields' labels 10 units in from the tab's edge, the buttons at its right, the object
// type list above the checks.
TEST(InsertObjectLayout, ControlsLieInsideTheTabWithoutOverlapping) {
    const platform::DialogTemplate t = LayOutInsertObject(*FindDialogTemplate(IDD_INSERT_OBJECT));
    const RECT tab = t.FindControl(IDC_INSERT_TABS)->rect;
    auto at = [&](UINT id) { return t.FindControl(id)->rect; };
    EXPECT_EQ(t.width, tab.right + 7);
    EXPECT_EQ(t.height, tab.bottom + 7);
    const std::vector<std::vector<UINT>> tabs = {
        {IDC_FILE_NAME_LABEL, IDC_FILE_NAME, IDC_DISPLAY_NAME_LABEL, IDC_DISPLAY_NAME, IDC_BROWSE,
         IDC_INTERNET, IDOK, IDCANCEL},
        {IDC_OBJECT_TYPE_LABEL, IDC_OBJECT_TYPE, IDC_AUTO_CREATE_OBJECT, IDC_AUTO_OPEN_OBJECT, IDOK,
         IDCANCEL},
    };
    for (const auto& shown : tabs)
        for (UINT a : shown) {
            const RECT r = at(a);
            EXPECT_TRUE(r.left > tab.left && r.right < tab.right && r.top > tab.top + 10 &&
                        r.bottom < tab.bottom)
                << a;
            for (UINT b : shown) {
                const RECT s = at(b);
                const bool overlap =
                    r.left < s.right && s.left < r.right && r.top < s.bottom && s.top < r.bottom;
                EXPECT_FALSE(a != b && overlap) << a << " overlaps " << b;
            }
        }
    EXPECT_EQ(at(IDC_FILE_NAME_LABEL).left, at(IDC_OBJECT_TYPE_LABEL).left);
    EXPECT_EQ(at(IDC_FILE_NAME_LABEL).left - tab.left, 4 + 10);
    EXPECT_GT(at(IDOK).left, at(IDC_FILE_NAME).right);
    EXPECT_EQ(at(IDOK).right, at(IDC_BROWSE).right);
    EXPECT_LT(at(IDC_OBJECT_TYPE).bottom, at(IDC_AUTO_CREATE_OBJECT).top);
}

}  // namespace
}  // namespace orbel
