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
