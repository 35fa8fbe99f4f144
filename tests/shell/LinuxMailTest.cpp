// The desktop's mail: xdg-email started with an argument vector, one "--attach" per file, and
// its exit status as the verdict; a stub on PATH stands for it, never the machine's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/mail/LinuxMail.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;

class LinuxMailTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        bin_ = TempDir() / "bin";
        fs::create_directories(bin_);
        // Only the stub: the machine's own xdg-email is never asked.
        setenv("PATH", bin_.string().c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", savedPath_.c_str(), 1);
        HeadlessTest::TearDown();
    }
    // An xdg-email that writes each argument on a line of its own and exits with the status.
    void Stub(int status) {
        const fs::path stub = bin_ / "xdg-email";
        std::ofstream(stub) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                            << (TempDir() / "args").string() << "\"\nexit " << status << "\n";
        fs::permissions(stub, fs::perms::owner_all);
    }
    std::string Args() {
        std::ifstream in(TempDir() / "args");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path bin_;
    std::string savedPath_;
};

TEST_F(LinuxMailTest, EveryFileGoesToOneComposeWindowAsALiteralArgument) {
    Stub(0);
    LinuxMail mail;
    ASSERT_TRUE(mail.Available());
    const MailResult result = mail.Send({{"/srv/a b.pdf", "/srv/$(touch x);.doc"}, true});
    EXPECT_EQ(result.code, kMailSuccess);
    EXPECT_EQ(Args(), "--attach\n/srv/a b.pdf\n--attach\n/srv/$(touch x);.doc\n");
}

TEST_F(LinuxMailTest, AReceiverGoesAsAMailtoUriThatNoOptionCanBeReadFrom) {
    Stub(0);
    LinuxMail mail;
    MailRequest request{{"/srv/a.pdf"}, true, {"--utf8", "ann o'neil@example.org"}};
    EXPECT_EQ(mail.Send(request).code, kMailSuccess);
    EXPECT_EQ(Args(), "--attach\n/srv/a.pdf\nmailto:--utf8\nmailto:ann%20o%27neil@example.org\n");
    EXPECT_EQ(MailLine(request, {}),
              "mail to \"--utf8\" \"ann o'neil@example.org\" attach \"/srv/a.pdf\" -> 0");
}

TEST_F(LinuxMailTest, NoMailProgramIsToldAsSuch) {
    Stub(3);
    LinuxMail mail;
    const MailResult result = mail.Send({{"/srv/a.pdf"}, true});
    EXPECT_EQ(result.code, kMailNoProgram);
    EXPECT_FALSE(result.reason.empty());
}

TEST_F(LinuxMailTest, WithoutXdgEmailNothingIsAvailable) {
    LinuxMail mail;
    EXPECT_FALSE(mail.Available());
    EXPECT_EQ(mail.Send({{"/srv/a.pdf"}, true}).code, kMailNoProgram);
}

}  // namespace
}  // namespace orbel::platform
