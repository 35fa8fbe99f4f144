// What is modal, answered by the scripted user on both backends, and keys through the hooks.
#include <string>
#include <vector>

#include "platform/Api.h"
#include "platform/framework/Menu.h"
#include "platform/framework/Wnd.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

template <class B>
class UserConformance : public ConformanceTest<B> {};
TYPED_TEST_SUITE(UserConformance, Backends, BackendNames);

TYPED_TEST(UserConformance, MessageBoxesAreAnsweredInOrderAndRecorded) {
    this->User().AnswerMessageBox(platform::MessageAnswer::Yes, "Delete");
    this->User().AnswerMessageBox(platform::MessageAnswer::Ok);
    EXPECT_EQ(AfxMessageBox("Delete this folder?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("Error GetTree:1"), IDOK);
    MessageBeep();
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{"box \"Delete this folder?\" YESNO -> YES",
                                        "box \"Error GetTree:1\" OK -> OK", "beep"}));
}

// Writes the commands a window gets.
class CommandLog : public CWnd {
  public:
    std::vector<UINT> commands;

  protected:
    bool OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(static_cast<UINT>(wParam & 0xFFFF));
        return true;
    }
};

TYPED_TEST(UserConformance, AChosenMenuItemReachesItsOwnerAfterTheMenuClosed) {
    CommandLog log;
    ASSERT_TRUE(log.Create("Owner", "", WS_VISIBLE, RECT{0, 0, 200, 200}, kNoWindow, 0));
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 101, "Open");
    menu.AppendMenu(MF_SEPARATOR, 0, "");
    menu.AppendMenu(MF_STRING | MF_CHECKED, 102, "Details");
    menu.SetDefaultItem(101);
    this->User().AnswerMenu("Details");
    menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &log);
    EXPECT_TRUE(log.commands.empty());
    this->Pump();
    EXPECT_EQ(log.commands, std::vector<UINT>{102});
    EXPECT_EQ(this->User().Transcript().back(),
              "menu Open (default) | - | Details (checked) -> Details");
}

TYPED_TEST(UserConformance, AKeyPassesTheHooksAndAConsumedKeyGoesNoFurther) {
    HWND top = this->MakeTopWindow(RECT{0, 0, 200, 200});
    this->P().Windows().SetFocus(top);
    std::vector<UINT> seen;
    auto hook = this->P().Loop().SetGetMessageHook([&](MSG& m) {
        if (m.message != WM_KEYDOWN) return;
        seen.push_back(static_cast<UINT>(m.wParam));
        if (m.wParam == VK_ESCAPE) m.message = WM_NULL;
    });
    this->Driver().PressKey(top, VK_F2, false, false, false);
    this->Driver().PressKey(top, VK_ESCAPE, false, false, false);
    this->Pump();
    EXPECT_EQ(seen, (std::vector<UINT>{VK_F2, VK_ESCAPE}));
    this->P().Loop().UnhookGetMessageHook(hook);
}

}  // namespace
}  // namespace orbel::test
