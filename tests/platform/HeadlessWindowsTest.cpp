#include <gtest/gtest.h>

#include "platform/Api.h"
#include "platform/framework/Wnd.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

class Probe : public CWnd {
  public:
    std::vector<std::string> log;
    int createResult = 0;
    bool consumeKeys = false;

    bool PreTranslateMessage(MSG& msg) override {
        log.push_back("pretranslate " + std::to_string(msg.wParam));
        return consumeKeys;
    }

  protected:
    int OnCreate() override {
        log.push_back("create");
        return createResult;
    }
    void OnSize(int cx, int cy) override {
        log.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnDestroy() override {
        log.push_back("destroy");
        CWnd::OnDestroy();
    }
};

class WindowsTest : public test::HeadlessTest {};

TEST_F(WindowsTest, CreationSendsCreateAndAFailedCreateLeavesNoWindow) {
    Probe ok;
    ASSERT_TRUE(ok.Create("Probe", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 50}, kNoWindow, 0));
    EXPECT_EQ(ok.log, std::vector<std::string>{"create"});
    EXPECT_EQ(CWnd::FromHandlePermanent(ok.GetSafeHwnd()), &ok);

    Probe refused;
    refused.createResult = -1;
    EXPECT_FALSE(refused.Create("Probe", "", WS_CHILD, RECT{}, kNoWindow, 0));
    EXPECT_FALSE(refused.GetSafeHwnd());
    EXPECT_EQ(refused.log, (std::vector<std::string>{"create", "destroy"}));
}

TEST_F(WindowsTest, MovingSendsSizeOnlyWhenTheSizeChanges) {
    Probe w;
    ASSERT_TRUE(w.Create("Probe", "", WS_CHILD, RECT{0, 30, 200, 100}, kNoWindow, 0));
    w.MoveWindow(RECT{0, 0, 200, 70});
    w.MoveWindow(RECT{0, 0, 300, 100});
    EXPECT_EQ(w.log, (std::vector<std::string>{"create", "size 300x100"}));
    EXPECT_EQ(w.GetClientRect(), (RECT{0, 0, 300, 100}));
}

TEST_F(WindowsTest, DestroyingAParentDestroysItsChildrenAndUnbindsThem) {
    Probe parent, child;
    ASSERT_TRUE(parent.Create("Parent", "", WS_CHILD, RECT{0, 0, 10, 10}, kNoWindow, 0));
    ASSERT_TRUE(child.Create("Child", "", WS_CHILD, RECT{0, 0, 5, 5}, parent.GetSafeHwnd(), 4));
    HWND childHandle = child.GetSafeHwnd();
    P().Windows().SetFocus(childHandle);
    parent.DestroyWindow();
    EXPECT_FALSE(P().Windows().IsWindow(childHandle));
    EXPECT_FALSE(child.GetSafeHwnd());
    EXPECT_EQ(CWnd::FromHandlePermanent(childHandle), nullptr);
    EXPECT_FALSE(P().Windows().GetFocus());
}

TEST_F(WindowsTest, PreTranslationWalksFromTheTargetUpToItsParentsUntilOneConsumes) {
    Probe parent, child;
    ASSERT_TRUE(parent.Create("Parent", "", WS_CHILD, RECT{0, 0, 10, 10}, kNoWindow, 0));
    ASSERT_TRUE(child.Create("Child", "", WS_CHILD, RECT{0, 0, 5, 5}, parent.GetSafeHwnd(), 0));
    parent.consumeKeys = true;
    MSG msg{child.GetSafeHwnd(), WM_KEYDOWN, VK_TAB, 0, 0};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(kNoWindow, msg));
    EXPECT_EQ(child.log.back(), "pretranslate 9");
    EXPECT_EQ(parent.log.back(), "pretranslate 9");
}

TEST_F(WindowsTest, MessageBoxesAreAnsweredInOrderAndRecorded) {
    User().AnswerMessageBox(platform::MessageAnswer::Yes, "Delete");
    User().AnswerMessageBox(platform::MessageAnswer::Ok);
    EXPECT_EQ(AfxMessageBox("Delete this folder?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("Error GetTree:1"), IDOK);
    MessageBeep();
    EXPECT_EQ(User().Transcript(),
              (std::vector<std::string>{"box \"Delete this folder?\" YESNO -> YES",
                                        "box \"Error GetTree:1\" OK -> OK", "beep"}));
}

TEST(ScriptedUser, AnUnexpectedBoxFailsNamingItsTextAndIsDismissedSafely) {
    platform::ScriptedUser user;
    platform::MessageBoxRequest r{"Really delete?", "Orbel", platform::MessageButtons::YesNo,
                                  platform::MessageIcon::Question};
    EXPECT_EQ(user.MessageBox(r), platform::MessageAnswer::No);
    ASSERT_EQ(user.Failures().size(), 1u);
    EXPECT_NE(user.Failures()[0].find("Really delete?"), std::string::npos);

    // An answer the box does not offer is a failure too, not a silent Yes.
    user.AnswerMessageBox(platform::MessageAnswer::Ok);
    EXPECT_EQ(user.MessageBox(r), platform::MessageAnswer::No);
    EXPECT_EQ(user.Failures().size(), 2u);

    user.AnswerMessageBox(platform::MessageAnswer::Yes, "never shown");
    EXPECT_EQ(user.Unmet().size(), 1u);
}

TEST(MessageBoxStyles, StyleBitsMapToButtonsAndIcons) {
    auto r = MessageBoxRequestFromStyle("t", "c", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(r.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(r.icon, platform::MessageIcon::Question);
    r = MessageBoxRequestFromStyle("t", "c", MB_OK);
    EXPECT_EQ(r.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(r.icon, platform::MessageIcon::None);
    EXPECT_EQ(MessageAnswerToId(platform::MessageAnswer::No), IDNO);
}

}  // namespace
}  // namespace orbel
