// "Options": the mappings of the initialisation file listed, added, replaced and deleted in the
// file itself, and read afresh by the control whatever button closed the dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "platform/profile/Profile.h"
#include "src/control/OrbelCtrl.h"
#include "src/dialogs/OptionsDlg.h"
#include "src/maintenance/DriveMapping.h"
#include "src/resources/DialogTemplates.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using platform::MessageAnswer;

constexpr const char* kIni = "wendclient.ini";

class OptionsTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        Write("H:\\DATA", "\\\\SRV\\DATA,Y");
        Write("K:\\", "/mnt/k,N");
    }
    static void Write(const std::string& key, const std::string& value) {
        ASSERT_TRUE(platform::WritePrivateProfileString("Mapping", key, value, kIni));
    }
    static std::string Read(const std::string& key) {
        std::array<char, 256> buffer{};
        const DWORD n = platform::GetPrivateProfileString("Mapping", key, "(none)", buffer, kIni);
        return std::string(buffer.data(), n);
    }
    const std::string& LastDialog() { return P().DialogFactory().LastDump(); }
};

TEST_F(OptionsTest, TheFilesMapsAreListedAndAnAddedMapIsWrittenAtOnce) {
    User().AnswerDialog(
        IDD_OPTIONS, {Action::Set(IDC_MAP_FROM, "m:\\scans"), Action::Set(IDC_MAP_TO, "/srv/scans"),
                      Action::Check(IDC_REVERSE_MAP), Action::Press(IDC_MAP_ADD),
                      Action::Set(IDC_MAP_FROM, "h:\\data"), Action::Set(IDC_MAP_TO, "/elsewhere"),
                      Action::Press(IDC_MAP_ADD), Action::Press(IDCANCEL)});
    User().AnswerMessageBox(MessageAnswer::Ok, "There is already an existing map in the list.");
    Ctrl().ShowOptions();
    EXPECT_NE(LastDialog().find("    columns: From | To\n"
                                "    0 key=0 image=-1: H:\\DATA | \\\\SRV\\DATA\n"
                                "    1 key=0 image=-1: K:\\ | /mnt/k\n"
                                "    2 key=0 image=-1: m:\\scans | /srv/scans\n"),
              std::string::npos)
        << LastDialog();
    // What Add wrote stays after Cancel; the refused map was written nowhere.
    EXPECT_EQ(Read("m:\\scans"), "/srv/scans,Y");
    EXPECT_EQ(Read("H:\\DATA"), "\\\\SRV\\DATA,Y");
    // The control read the file again: the new map is in use.
    std::string path = "M:\\Scans\\a.tif";
    EXPECT_TRUE(Ctrl().Mappings().TranslateStoredPath(path)) << Ctrl().Mappings().Dump();
    EXPECT_EQ(path, "/srv/scans/a.tif");
}

TEST_F(OptionsTest, EditLoadsTheRowAndAddReplacesIt) {
    User().AnswerDialog(
        IDD_OPTIONS,
        {Action::Choose(IDC_MAPPING_LIST, "H:\\DATA"), Action::Press(IDC_MAP_EDIT), Action::Show(),
         Action::Set(IDC_MAP_FROM, "G:\\DATA"), Action::Check(IDC_REVERSE_MAP, false),
         Action::Press(IDC_MAP_ADD), Action::Press(IDOK)});
    Ctrl().ShowOptions();
    const auto& lines = User().Transcript();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  212 edit \"H:\\\\DATA\""), lines.end());
    EXPECT_EQ(Read("H:\\DATA"), "(none)");
    EXPECT_EQ(Read("G:\\DATA"), "\\\\SRV\\DATA,N");
    EXPECT_NE(LastDialog().find("K:\\ | /mnt/k\n    1 key=0 image=-1: G:\\DATA | \\\\SRV\\DATA\n"),
              std::string::npos)
        << LastDialog();
}

TEST_F(OptionsTest, DeleteAsksAndRemovesTheKeyOnlyOnYes) {
    User().AnswerDialog(IDD_OPTIONS,
                        {Action::Choose(IDC_MAPPING_LIST, "K:\\"), Action::Press(IDC_MAP_DELETE),
                         Action::Press(IDC_MAP_DELETE), Action::Press(IDCANCEL)});
    User().AnswerMessageBox(MessageAnswer::No, "Are you sure you wish to delete this Map");
    User().AnswerMessageBox(MessageAnswer::Yes, "Are you sure you wish to delete this Map");
    Ctrl().ShowOptions();
    EXPECT_EQ(Read("K:\\"), "(none)");
    EXPECT_EQ(LastDialog().find("K:\\ |"), std::string::npos) << LastDialog();
    for (const MappingEntry& entry : Ctrl().Mappings().Entries()) EXPECT_NE(entry.from, "K:\\");
}

}  // namespace
}  // namespace orbel
