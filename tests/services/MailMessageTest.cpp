// The mail message as Send As Email Attachment builds it: which files are attached, what the
// mail program is handed, and what the user reads for each way the hand-over ends.
#include "platform/files/MemoryFileSystem.h"
#include "platform/mail/LinuxMail.h"
#include "platform/mail/RecordingMail.h"
#include "src/services/MailMessage.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

class MailMessageTest : public test::HeadlessTest {
  protected:
    platform::RecordingMail& Mail() {
        return dynamic_cast<platform::RecordingMail&>(platform::MailService());
    }
};

TEST_F(MailMessageTest, TheNameShownIsTheTextAfterTheLastSeparatorOfEitherKind) {
    MailMessage message(true);
    message.AddAttachment("C:\\Scans/page.tif");
    message.AddAttachment("/srv/a\\b.doc");
    message.AddAttachment("page.tif");
    message.AddAttachment("ab");  // too short to be a file
    ASSERT_EQ(message.Attachments().size(), 3u);
    EXPECT_EQ(message.Attachments()[0].fileName, "page.tif");
    EXPECT_EQ(message.Attachments()[1].fileName, "b.doc");
    EXPECT_EQ(message.Attachments()[2].fileName, "page.tif");
}

TEST_F(MailMessageTest, AReadOnlyFileIsAttachedAndAMissingOneIsNamed) {
    // Files in memory keep their permissions even for a user who may write anything.
    platform::MemoryFileSystem& files = P().UseMemoryFiles();
    ASSERT_TRUE(files.CreateDirectory("/srv"));
    files.Open("/srv/read-only.pdf", platform::FileAccess::Write, platform::Disposition::CreateNew)
        ->Write("%PDF");
    ASSERT_TRUE(files.SetReadOnly("/srv/read-only.pdf", true));
    MailMessage message(false);
    EXPECT_TRUE(AttachFileToMail(message, "/srv/read-only.pdf"));
    User().AnswerMessageBox(MessageAnswer::Ok, "File not found: /srv/nowhere.pdf");
    EXPECT_FALSE(AttachFileToMail(message, "/srv/nowhere.pdf"));
    ASSERT_EQ(message.Attachments().size(), 1u);
    EXPECT_EQ(message.Send(), 0);
    EXPECT_EQ(Mail().Lines(),
              (std::vector<std::string>{"mail attach \"/srv/read-only.pdf\" -> 0"}));
}

TEST_F(MailMessageTest, SomethingThatCannotBeOpenedIsRefusedWithTheReason) {
    platform::MemoryFileSystem& files = P().UseMemoryFiles();
    ASSERT_TRUE(files.CreateDirectory("/srv"));
    MailMessage message(false);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Failed to create/open file /srv.\n\nError Is a directory");
    EXPECT_FALSE(AttachFileToMail(message, "/srv"));
    EXPECT_TRUE(message.Attachments().empty());
}

TEST_F(MailMessageTest, ClosingTheComposeWindowSaysNothingAndAFailureIsTold) {
    MailMessage message(false);
    message.AddAttachment("/srv/a.pdf");
    Mail().AnswerNext({platform::kMailUserAbort, {}});
    EXPECT_EQ(message.Send(), platform::kMailUserAbort);
    EXPECT_TRUE(Boxes().empty());
    Mail().AnswerNext({platform::kMailFailure, "xdg-email ended with status 4."});
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "The files could not be handed to the mail program.\n\n"
                            "xdg-email ended with status 4.");
    EXPECT_EQ(message.Send(), platform::kMailFailure);
}

TEST_F(MailMessageTest, WithoutAMailProgramTheUserMayOpenTheFolderOfTheFiles) {
    MailMessage message(false);
    message.AddAttachment("/srv/scans/a.tif");
    message.AddAttachment("/srv/other/b.tif");
    Mail().AnswerNext({platform::kMailNoProgram, "No mail program is set up on this computer."});
    User().AnswerMessageBox(MessageAnswer::Yes);
    EXPECT_EQ(message.Send(), platform::kMailNoProgram);
    ASSERT_EQ(P().ShellService().Requests().size(), 1u);
    EXPECT_EQ(P().ShellService().Requests()[0].request.file, "/srv/scans");
    // Silent: nothing is asked.
    MailMessage silent(true);
    silent.AddAttachment("/srv/scans/a.tif");
    Mail().AnswerNext({platform::kMailNoProgram, {}});
    EXPECT_EQ(silent.Send(), platform::kMailNoProgram);
    EXPECT_EQ(P().ShellService().Requests().size(), 1u);
}

TEST(LinuxMail, XdgEmailsExitStatusMapsToTheMailResults) {
    EXPECT_EQ(platform::MailResultForExit(0).code, platform::kMailSuccess);
    EXPECT_EQ(platform::MailResultForExit(2).code, platform::kMailAttachmentMissing);
    EXPECT_EQ(platform::MailResultForExit(3).code, platform::kMailNoProgram);
    EXPECT_EQ(platform::MailResultForExit(4).code, platform::kMailFailure);
}

}  // namespace
}  // namespace orbel
