// The folder "Properties" dialog: the extensions it offers come from the document types that
// can be created empty, a chosen or typed extension keeps three characters, and the folder
// properties action refuses an extension another folder holds before anything is written.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "platform/registry/RegistryHive.h"
#include "src/dialogs/FolderPropertiesDlg.h"
#include "src/dialogs/ShellNewLookup.h"
#include "src/resources/DialogTemplates.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using platform::MessageAnswer;

// A classes root with types that can be created in each way the registry says so, and some
// that cannot. Keys enumerate sorted without regard to case.
constexpr const char* kClasses = R"(Windows Registry Editor Version 5.00

[HKEY_CLASSES_ROOT\.bat]
@="batfile"

[HKEY_CLASSES_ROOT\.bat\ShellNew]
"Command"="edit-new %1"

[HKEY_CLASSES_ROOT\.doc]
@="Letter.Document"

[HKEY_CLASSES_ROOT\.doc\Letter.Document\ShellNew]
"FileName"="letter.doc"

[HKEY_CLASSES_ROOT\Letter.Document]
@="Letter Document"

[HKEY_CLASSES_ROOT\.html]
@="htmlfile"

[HKEY_CLASSES_ROOT\.html\ShellNew]
"NullFile"=""

[HKEY_CLASSES_ROOT\htmlfile]
@="HTML Document"

[HKEY_CLASSES_ROOT\.pdf]
@="pdffile"

[HKEY_CLASSES_ROOT\.pdf\pdffile\ShellNew]
"Command"="make-pdf"

[HKEY_CLASSES_ROOT\.pdf\ShellNew]
"NullFile"=""

[HKEY_CLASSES_ROOT\.png]
@="pngfile"

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"

[HKEY_CLASSES_ROOT\.txt\ShellNew]
"NullFile"=""

[HKEY_CLASSES_ROOT\.zip\ShellNew]
"NullFile"=""

[HKEY_CLASSES_ROOT\CLSID\ShellNew]
"NullFile"=""
)";

void WriteClasses() {
    std::ofstream(platform::RegistryHive::DefaultPath()) << kClasses;
}

class FolderPropertiesDlgTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        WriteClasses();
    }
    const std::string& LastDialog() { return P().DialogFactory().LastDump(); }
};

TEST_F(FolderPropertiesDlgTest, TypesAreCreatableThroughAShellNewKeyWithoutACommand) {
    ASSERT_TRUE(LookupShellNew(".doc"));
    EXPECT_EQ(LookupShellNew(".doc")->keyPath, ".doc\\Letter.Document\\ShellNew");
    EXPECT_EQ(LookupShellNew(".html")->keyPath, ".html\\ShellNew");
    // The type's own ShellNew key decides, even when the one below the extension would do.
    EXPECT_FALSE(LookupShellNew(".pdf"));
    EXPECT_FALSE(LookupShellNew(".bat"));
    EXPECT_FALSE(LookupShellNew(".png"));
    EXPECT_FALSE(LookupShellNew(".zip"));  // names no type

    std::vector<std::string> offered;
    for (const CreatableType& t : CreatableTypes())
        offered.push_back(t.extension + " " + t.description);
    // A type whose key has no description is shown by its name.
    EXPECT_EQ(offered, (std::vector<std::string>{".doc Letter Document", ".html HTML Document",
                                                 ".txt txtfile"}));
}

TEST_F(FolderPropertiesDlgTest, TheDialogShowsTheFolderAndOffersTheCreatableTypes) {
    CFolderPropertiesDlg dlg;
    dlg.m_folderName = "Letters";
    dlg.m_extension = "do";
    User().AnswerDialog(IDD_FOLDER_PROPERTIES, {Action::Press(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_extension, "do");
    EXPECT_EQ(User().Transcript(), std::vector<std::string>{"dialog 242 \"Properties\" -> 2"});
    // The field keeps the stored extension as it is, not the first entry beginning with it.
    EXPECT_EQ(LastDialog(),
              "dialog 242 \"Properties\" (ended 2)\n"
              "  static 65535 \"Folder Name\"\n"
              "  static 226 \"Letters\"\n"
              "  static 65535 \"Associated File Extension\"\n"
              "  combo 236 \"do\" sel=-1 [DOC - Letter Document | HTML - HTML Document | "
              "TXT - txtfile]\n"
              "  defbutton 1 \"OK\"\n"
              "  button 2 \"Cancel\" focus\n");
}

TEST_F(FolderPropertiesDlgTest, AnExtensionKeepsItsFirstThreeCharacters) {
    CFolderPropertiesDlg dlg;
    User().AnswerDialog(
        IDD_FOLDER_PROPERTIES,
        {Action::Choose(IDC_FOLDER_EXTENSION, "HTML - HTML Document"), Action::Press(IDOK)});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_extension, "HTM");

    User().AnswerDialog(IDD_FOLDER_PROPERTIES,
                        {Action::Set(IDC_FOLDER_EXTENSION, "DOCX"), Action::Press(IDOK)});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_extension, "DOC");

    // Short and empty extensions stay as typed, letter case and all.
    User().AnswerDialog(IDD_FOLDER_PROPERTIES,
                        {Action::Set(IDC_FOLDER_EXTENSION, "ps"), Action::Press(IDOK)});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_extension, "ps");
    User().AnswerDialog(IDD_FOLDER_PROPERTIES,
                        {Action::Set(IDC_FOLDER_EXTENSION, ""), Action::Press(IDOK)});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_extension, "");
}

TEST(DialogTemplates, EveryControlLiesInsideItsDialogAndOnlyLabelsShareAnId) {
    for (unsigned id : {200u, IDD_PLEASE_WAIT, IDD_EMAIL_NAME_ADDRESS, IDD_FOLDER_PROPERTIES,
                        IDD_PLEASE_WAIT_PROGRESS, IDD_CREATE_SELECT_FILE}) {
        const platform::DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_TRUE(t) << id;
        std::set<UINT> ids;
        for (const platform::DialogControlTemplate& c : t->controls) {
            EXPECT_TRUE(c.rect.left >= 0 && c.rect.top >= 0 && c.rect.right <= t->width &&
                        (c.rect.bottom <= t->height ||
                         c.kind == platform::DialogControlKind::ComboDropDown))
                << "dialog " << id << " control " << c.id << " " << ToString(c.rect);
            if (c.id != platform::kStaticId) {
                EXPECT_TRUE(ids.insert(c.id).second) << c.id;
            }
        }
    }
    EXPECT_EQ(FindDialogTemplate(1), nullptr);
}

// The folder properties action on a control with a store.
class FolderPropertiesActionTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        WriteClasses();
        SeedFolder(5, 1, 0, 0, "Images", "tif");
        SeedFolder(5, 2, 0, 0, "Scans");
        ASSERT_EQ(Ctrl().Initiate(5, 3), 5);
        Host().Clear();
    }
    void AnswerProperties(std::vector<Action> actions) {
        User().AnswerDialog(IDD_FOLDER_PROPERTIES, std::move(actions));
    }
    bool Wrote() {
        for (const std::string& e : TableEvents())
            if (e.rfind("UpdateRecord", 0) == 0 || e.rfind("InsertRecord", 0) == 0) return true;
        return false;
    }
};

TEST_F(FolderPropertiesActionTest, AnExtensionAnotherFolderHoldsIsRefusedAndNothingIsWritten) {
    AnswerProperties({Action::Set(IDC_FOLDER_EXTENSION, "TIFF"), Action::Press(IDOK)});
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "This extension has already been allocated to a folder.");
    EXPECT_FALSE(RunFolderProperties(Ctrl().GetSafeHwnd(), Ctrl().Maintenance(), 20));

    EXPECT_NE(P().DialogFactory().LastDump().find("static 226 \"Scans\""), std::string::npos);
    EXPECT_FALSE(Wrote());
    EXPECT_EQ(TreeRow(5, 2)->Type, "");
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("TIF"), 10);
}

TEST_F(FolderPropertiesActionTest, AnExtensionNoOtherFolderHoldsIsStoredWithTheName) {
    AnswerProperties(
        {Action::Choose(IDC_FOLDER_EXTENSION, "DOC - Letter Document"), Action::Press(IDOK)});
    EXPECT_TRUE(RunFolderProperties(Ctrl().GetSafeHwnd(), Ctrl().Maintenance(), 20));
    EXPECT_TRUE(Wrote());
    EXPECT_EQ(TreeRow(5, 2)->Name, "Scans");
    EXPECT_EQ(TreeRow(5, 2)->Type, "DOC");
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("doc"), 20);

    // The folder that holds an extension may keep it: the dialog starts from what it has.
    AnswerProperties({Action::Press(IDOK)});
    EXPECT_TRUE(RunFolderProperties(Ctrl().GetSafeHwnd(), Ctrl().Maintenance(), 10));
    EXPECT_EQ(TreeRow(5, 1)->Type, "tif");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(FolderPropertiesActionTest, CancelWritesNothing) {
    AnswerProperties({Action::Set(IDC_FOLDER_EXTENSION, "pdf"), Action::Press(IDCANCEL)});
    EXPECT_FALSE(RunFolderProperties(Ctrl().GetSafeHwnd(), Ctrl().Maintenance(), 20));
    EXPECT_FALSE(Wrote());
    EXPECT_EQ(TreeRow(5, 2)->Type, "");
}

}  // namespace
}  // namespace orbel
