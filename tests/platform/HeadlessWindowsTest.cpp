#include <gtest/gtest.h>

#include "platform/Api.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

// Windows, message boxes and the framework's window class on both backends are in the
// conformance suite; here what only the headless backend has.

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

TEST(ScriptedUser, AnswersOfEveryKindAreOneQueueTakenInOrder) {
    platform::ScriptedUser user;
    const platform::MessageBoxRequest box{"Really delete?", "Orbel",
                                          platform::MessageButtons::YesNo,
                                          platform::MessageIcon::Question};
    platform::PopupMenuRequest menu;
    menu.items = {{31, "Open"}, {32, "Delete"}};
    // The test expects the menu first; the box coming first is not answered by the Yes meant
    // for after the menu, and the menu still gets its own answer.
    user.AnswerMenu("Delete");
    user.AnswerMessageBox(platform::MessageAnswer::Yes);
    EXPECT_EQ(user.MessageBox(box), platform::MessageAnswer::No);
    EXPECT_EQ(user.Failures(),
              std::vector<std::string>{"unexpected message box \"Really delete?\" while the next "
                                       "queued is the menu answer \"Delete\""});
    EXPECT_EQ(user.TrackPopupMenu(menu), 32u);
    EXPECT_EQ(user.MessageBox(box), platform::MessageAnswer::Yes);
    EXPECT_TRUE(user.Unmet().empty());

    // What is left unused is reported in the order it was queued.
    user.AnswerMessageBox(platform::MessageAnswer::Ok, "saved");
    user.AnswerMenu(std::nullopt);
    EXPECT_EQ(user.Unmet(), (std::vector<std::string>{"message box answer OK for \"saved\"",
                                                      "menu answer none"}));
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
