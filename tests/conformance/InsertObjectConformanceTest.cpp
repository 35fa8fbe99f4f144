// The Insert Object dialog on both backends, worked by the user through its widgets: the tabs
// switch what is shown, the types come from the registry once, Browse on the directory tab
// asks the folder chooser, and OK refuses a directory that is not there.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Platform.h"
#include "src/dialogs/InsertObjectDlg.h"
#include "src/resources/DialogTemplates.h"
#include "tests/conformance/Backends.h"
#include "tests/dialogs/TextDocumentHive.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {
namespace {

using Action = platform::ScriptedUser::DialogAction;

// A dialog that notes what its controls show when the user cancels it.
class SeenInsertObjectDlg final : public CInsertObjectDlg {
  public:
    std::string seen;

  protected:
    void OnCancel() override {
        auto shown = [&](UINT id) { return GetDlgItem(id).IsWindowVisible() ? "+" : "-"; };
        CDlgItem types = GetDlgItem(IDC_OBJECT_TYPE);
        seen = std::string("tab ") + std::to_string(GetDlgItem(IDC_INSERT_TABS).GetCurTab()) +
               " types" + shown(IDC_OBJECT_TYPE) + std::to_string(types.GetCount()) + " file" +
               shown(IDC_FILE_NAME) + " display" + shown(IDC_DISPLAY_NAME) + " internet" +
               shown(IDC_INTERNET) + " label \"" + GetDlgItemText(IDC_FILE_NAME_LABEL) + "\"";
        for (int i = 0; i < types.GetCount(); ++i) seen += " | " + types.GetLBText(i);
        CInsertObjectDlg::OnCancel();
    }
};

template <class B>
class InsertObjectConformance : public ConformanceTest<B> {
  protected:
    void SetUp() override {
        temp_ = MakeTempDir("orbel-insert");
        setenv("ORBEL_REGISTRY", (temp_ / "registry.reg").c_str(), 1);
        setenv("XDG_DATA_DIRS", (temp_ / "share").c_str(), 1);
        setenv("HOME", (temp_ / "home").c_str(), 1);
        std::ofstream(temp_ / "registry.reg") << kTextDocumentHive;
        std::filesystem::create_directories(temp_ / "in");
        ConformanceTest<B>::SetUp();
    }
    void TearDown() override {
        ConformanceTest<B>::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(temp_, ec);
    }
    std::filesystem::path temp_;
};
TYPED_TEST_SUITE(InsertObjectConformance, Backends, BackendNames);

TYPED_TEST(InsertObjectConformance, TheTabsShowTheirControlsAndTheTypesComeOnce) {
    SeenInsertObjectDlg dialog;
    this->User().AnswerDialog(IDD_INSERT_OBJECT,
                              {Action::Choose(IDC_INSERT_TABS, "Create &New"),
                               Action::Choose(IDC_INSERT_TABS, "Select &Directory"),
                               Action::Choose(IDC_INSERT_TABS, "Create &New"), Action::Close()});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.seen,
              "tab 1 types+1 file- display- internet- label \"Directory Name : \" | Text Document");
    // The wait window was up once, while the types were read, and is gone.
    const auto& lines = this->User().Transcript();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "dialog 206 \"\" shown"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "dialog 206 \"\" closed"), 1);
    EXPECT_TRUE(this->User().ModelessDialogs().empty());
}

TYPED_TEST(InsertObjectConformance, ADirectoryMustExistAndBrowseFillsItIn) {
    CInsertObjectDlg dialog;
    const std::string in = (this->temp_ / "in").string();
    this->User().AnswerDialog(
        IDD_INSERT_OBJECT, {Action::Choose(IDC_INSERT_TABS, "Select &Directory"),
                            Action::Set(IDC_FILE_NAME, (this->temp_ / "none").string()),
                            Action::Press(IDOK), Action::Press(IDC_BROWSE), Action::Press(IDOK)});
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please enter a valid Directory.");
    this->User().AnswerChooser(true, in);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_tab, CInsertObjectDlg::kSelectDirectory);
    EXPECT_EQ(dialog.m_fileName, in);
}

}  // namespace
}  // namespace orbel::test
