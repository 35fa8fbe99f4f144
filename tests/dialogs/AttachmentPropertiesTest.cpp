// "Attachment Properties" from the list's Properties: the file behind the item with its TIFF
// rows, opening it through the list (never previewed) and showing it in its folder through the
// shell, and the paths that cannot be opened.
#include <gtest/gtest.h>

#include "src/dialogs/AttachmentPropertiesDlg.h"
#include "src/panes/ViewList.h"
#include "src/resources/DialogTemplates.h"
#include "src/resources/ListMenus.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

class AttachmentPropertiesTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        SeedFolder(kClass, 4, 0, 0, "Letters");
        SeedItem(kOwn, 1, 0, 0, "scan", 101, "/srv/scans/a.tif", 2, 5);
        SeedItem(kOwn, 2, 0, 0, "memo", 102, "/srv/docs/memo.txt");
        SeedItem(kOwn, 3, 0, 0, "loose", 103, "loose.tif");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    }
    CViewList& List() { return *Ctrl().ListView(); }
    const std::string& LastDialog() { return P().DialogFactory().LastDump(); }
    // The list's Properties on the item's row.
    void Properties(std::int32_t key) {
        ListModel().UserClick(List().FindRow(key));
        List().OnListCommand(ID_LIST_ITEM_PROPERTIES);
    }
};

TEST_F(AttachmentPropertiesTest, ATiffFileShowsItsPagesAndAnyOtherFileNoDetails) {
    User().AnswerDialog(IDD_ATTACHMENT_PROPERTIES, {Action::Press(IDCANCEL)});
    Properties(10);
    EXPECT_EQ(LastDialog(),
              "dialog 270 \"Attachment Properties\" (ended 0)\n"
              "  static 65535 \"&File: \"\n"
              "  edit 243 \"/srv/scans/a.tif\" readonly\n"
              "  button 3 \"Open Folde&r\"\n"
              "  button 260 \"&Open\"\n"
              "  group 65535 \"Other Information\"\n"
              "  listctrl 261 \"\"\n"
              "    columns: Name | Details\n"
              "    0 key=0 image=-1: Page Start | 2\n"
              "    1 key=0 image=-1: Page End | 5\n"
              "  defbutton 2 \"Close\" focus\n");

    User().AnswerDialog(IDD_ATTACHMENT_PROPERTIES, {Action::Press(IDCANCEL)});
    Properties(20);
    EXPECT_NE(LastDialog().find("columns: Name | Details\n  defbutton"), std::string::npos)
        << LastDialog();
}

TEST_F(AttachmentPropertiesTest, PagesOfMinusOneAndABatchAreShownAsTheyAre) {
    CAttachmentPropertiesDlg dialog(List());
    dialog.m_filePath = "H:\\scans\\b.tif";
    dialog.m_batch = "B17";
    User().AnswerDialog(IDD_ATTACHMENT_PROPERTIES, {Action::Close()});
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_NE(LastDialog().find("Page Start | -1\n    1 key=0 image=-1: Page End | -1\n"
                                "    2 key=0 image=-1: Batch | B17\n"),
              std::string::npos)
        << LastDialog();
    EXPECT_NE(LastDialog().find("button 3 \"Open Folde&r\"\n"), std::string::npos);
}

TEST_F(AttachmentPropertiesTest, OpenGoesThroughTheListWithoutThePreviewAndOpenFolderShowsTheItem) {
    User().AnswerDialog(IDD_ATTACHMENT_PROPERTIES,
                        {Action::Press(IDC_ATTACHMENT_OPEN), Action::Press(IDC_OPEN_FOLDER),
                         Action::Press(IDCANCEL)});
    Properties(20);
    const std::string shell = P().ShellService().Dump();
    EXPECT_NE(shell.find("/srv/docs/memo.txt"), std::string::npos) << shell;
    EXPECT_NE(shell.find("file=\"explorer\" parameters=\"/select,/srv/docs/memo.txt\""),
              std::string::npos)
        << shell;
}

TEST_F(AttachmentPropertiesTest, ABareFileNameHidesOpenFolderAndCannotBeOpened) {
    User().AnswerDialog(IDD_ATTACHMENT_PROPERTIES,
                        {Action::Press(IDC_ATTACHMENT_OPEN), Action::Press(IDCANCEL)});
    User().AnswerMessageBox(MessageAnswer::Ok, "Unable to Open loose.tif\n Not a valid Path.");
    Properties(30);
    EXPECT_NE(LastDialog().find("button 3 \"Open Folde&r\" hidden"), std::string::npos)
        << LastDialog();
    EXPECT_EQ(P().ShellService().Dump().find("loose.tif"), std::string::npos);
}

}  // namespace
}  // namespace orbel
