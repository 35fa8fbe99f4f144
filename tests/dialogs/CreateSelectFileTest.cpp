// "Create/Select a File" behind GetOleFile, and the New item command with the choices the
// Insert Object dialog hands it: where the new file comes from and which item it becomes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/registry/RegistryHive.h"
#include "src/dialogs/CreateSelectFileDlg.h"
#include "src/dialogs/InsertObjectChoice.h"
#include "src/panes/ViewList.h"
#include "src/resources/DialogTemplates.h"
#include "tests/dialogs/TextDocumentHive.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using platform::MessageAnswer;

constexpr std::int32_t kOwn = 5;

constexpr const char* kClasses = test::kTextDocumentHive;

class CreateSelectFileTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        std::ofstream(platform::RegistryHive::DefaultPath()) << kClasses;
        files_ = &P().UseMemoryFiles();
        ASSERT_TRUE(files_->CreateDirectory("/store"));
        ASSERT_TRUE(files_->CreateDirectory("/in"));
        ASSERT_TRUE(files_->CreateDirectory("/in/sub"));
        for (const char* path : {"/in/a.txt", "/in/b.pdf"})
            ASSERT_TRUE(files_->Open(path, platform::FileAccess::Write,
                                     platform::Disposition::CreateAlways));
        ASSERT_EQ(Ctrl().Initiate(kOwn, 0), kOwn);
    }
    void TearDown() override {
        SetInsertObjectRunner({});
        StoreControlTest::TearDown();
    }
    CViewList& List() { return *Ctrl().ListView(); }
    const std::string& LastDialog() { return P().DialogFactory().LastDump(); }
    // The Insert Object dialog answers with `choice` and keeps what it was set up with.
    void InsertObjectAnswers(std::optional<InsertObjectChoice> choice) {
        SetInsertObjectRunner([this, choice](HWND, const InsertObjectSetup& setup) {
            setups_.push_back(setup);
            return choice;
        });
    }

    platform::MemoryFileSystem* files_ = nullptr;
    std::vector<InsertObjectSetup> setups_;
};

TEST_F(CreateSelectFileTest, WithoutAnObjectStoreNothingIsCreatedAutomaticallyAndCancelGivesNone) {
    User().AnswerDialog(IDD_CREATE_SELECT_FILE, {Action::Press(IDCANCEL)});
    EXPECT_EQ(Ctrl().GetOleFile(".txt"), 0);
    EXPECT_NE(LastDialog().find("button 5 \"&Auto Create\" disabled"), std::string::npos)
        << LastDialog();
    EXPECT_EQ(List().OleFile(), nullptr);

    // The dialog on its own, told it may create, still has nowhere to create.
    CCreateSelectFileDlg dialog(List());
    dialog.m_fileType = ".txt";
    User().AnswerDialog(IDD_CREATE_SELECT_FILE,
                        {Action::Press(IDC_AUTO_CREATE), Action::Press(IDCANCEL)});
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "The Object Store directory has not been specified. Unable to auto "
                            "create object.");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_fileName, "");
}

TEST_F(CreateSelectFileTest, OkTakesOnlyAFileThatExistsAndMakesItAnItem) {
    Ctrl().SetObjectDir("/store");
    User().AnswerDialog(IDD_CREATE_SELECT_FILE,
                        {Action::Press(IDOK), Action::Set(IDC_FILE_NAME, "/in/none.txt"),
                         Action::Press(IDOK), Action::Press(IDC_BROWSE), Action::Press(IDOK)});
    User().AnswerMessageBox(MessageAnswer::Ok, "Please select a valid file.");
    User().AnswerMessageBox(MessageAnswer::Ok, "Please select a valid file.");
    User().AnswerChooser(false, "/in/b.pdf");
    const std::int32_t handle = Ctrl().GetOleFile(".pdf");
    ASSERT_NE(handle, 0);
    const CViewList::OleFileChoice* choice = Ctrl().FromOleFileHandle(handle);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->path, "/in/b.pdf");
    EXPECT_EQ(choice->entryKey, 10);
    EXPECT_EQ(TreeNames(kOwn), std::vector<std::string>{"b.pdf"});
    // The chooser started in the Object Store, which is current now.
    EXPECT_NE(std::find(User().Transcript().begin(), User().Transcript().end(),
                        "filechooser open filter=\"All Files (*.*)|*.*||\" dir=\"/store\" -> "
                        "\"/in/b.pdf\""),
              User().Transcript().end());
    EXPECT_EQ(P().Files().CurrentDirectory(), "/store");
    EXPECT_EQ(Ctrl().FromOleFileHandle(handle + 1), nullptr);
}

TEST_F(CreateSelectFileTest, NewItemWithAutoCreateButNoObjectStoreWarnsAndOffersNoAutoCreation) {
    Put("AutoCreate", Variant(true));
    InsertObjectAnswers(std::nullopt);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "The Object Store directory is invalid or has not been specified.\n"
                            "Object auto-creation will not be supported.");
    List().NewItem();
    ASSERT_EQ(setups_.size(), 1u);
    EXPECT_FALSE(setups_[0].autoCreate);
    EXPECT_FALSE(setups_[0].autoCreateAllowed);
    EXPECT_TRUE(TreeNames(kOwn).empty());
}

TEST_F(CreateSelectFileTest, NewItemCreatesANumberedDocumentFromItsTemplateAndOpensIt) {
    Ctrl().SetObjectDir("/store");
    InsertObjectChoice choice;
    choice.tab = InsertObjectChoice::Tab::CreateNew;
    choice.displayName = "Minutes";
    choice.extension = ".txt";
    choice.shellNewKey = ".txt\\ShellNew";
    choice.autoCreate = true;
    choice.autoOpen = true;
    InsertObjectAnswers(choice);
    List().NewItem();
    EXPECT_TRUE(files_->Exists("/store/000001.txt"));
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "/store/000001.txt"}));
    EXPECT_EQ(TreeNames(kOwn), std::vector<std::string>{"Minutes"});
    // Opened with the program of its type.
    ASSERT_EQ(P().ShellService().Requests().size(), 1u);
    EXPECT_EQ(P().ShellService().Requests()[0].request.file, "/store/000001.txt");

    // A template that cannot be made leaves no numbered file behind.
    choice.shellNewKey = ".none\\ShellNew";
    InsertObjectAnswers(choice);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Failed to determine requirements for new file for this object.");
    List().NewItem();
    EXPECT_FALSE(files_->Exists("/store/000002.txt"));
    EXPECT_EQ(TreeNames(kOwn).size(), 1u);
}

TEST_F(CreateSelectFileTest, NewItemOfADirectoryAddsItsFilesAndReturnsToTheObjectStore) {
    Ctrl().SetObjectDir("/store");
    InsertObjectChoice choice;
    choice.tab = InsertObjectChoice::Tab::SelectDirectory;
    choice.directory = "/in";
    InsertObjectAnswers(choice);
    List().NewItem();
    EXPECT_EQ(TreeNames(kOwn).size(), 2u);
    EXPECT_EQ(P().Files().CurrentDirectory(), "/store");

    choice.directory = "/gone";
    InsertObjectAnswers(choice);
    User().AnswerMessageBox(MessageAnswer::Ok, "Failed to change to Selected directory /gone.");
    List().NewItem();
    EXPECT_EQ(TreeNames(kOwn).size(), 2u);
}

}  // namespace
}  // namespace orbel
