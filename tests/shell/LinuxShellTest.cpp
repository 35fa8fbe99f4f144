// The desktop's shell starting real (stub) programs from a PATH of the test's own: the result
// codes users see, and that file names and parameters never start anything else.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/shell/CommandLine.h"
#include "platform/shell/LinuxShell.h"
#include "tests/shell/ShellTestFiles.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class LinuxShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = test::MakeTempDir("orbel-shell");
        bin_ = root_ / "bin";
        log_ = root_ / "log";
        fs::create_directories(bin_);
        ShellEnvironment env;
        env.path = bin_.string();
        env.currentDirectory = root_.string();
        env_ = env;
        shell_.SetEnvironment(env);
        shell_.SetOpenerGrace(2s);
    }
    void TearDown() override {
        EXPECT_TRUE(shell_.WaitForChildren(5s));
        fs::remove_all(root_);
    }

    ShellResult Execute(std::string verb, std::string file, std::string parameters = {},
                        ShellTarget target = ShellTarget::Command) {
        ShellRequest request;
        request.verb = std::move(verb);
        request.file = std::move(file);
        request.parameters = std::move(parameters);
        request.show = SW_SHOW;
        request.target = target;
        ShellResult result = shell_.Execute(request);
        EXPECT_TRUE(shell_.WaitForChildren(5s));
        return result;
    }
    int Run(std::string verb, std::string file, std::string parameters = {}) {
        return Execute(std::move(verb), std::move(file), std::move(parameters)).code;
    }
    ShellResult OpenDocument(std::string file) {
        return Execute("open", std::move(file), {}, ShellTarget::Document);
    }
    // An opener that says what it says on its error output, then ends with status.
    void WriteOpener(const std::string& says, int status, const std::string& sleepSeconds = "0") {
        test::WriteText(bin_ / "xdg-open",
                        "#!/bin/sh\nsleep " + sleepSeconds + "\nprintf '%s\\n' " +
                            QuoteShellWord(says) + " >&2\nexit " + std::to_string(status) + "\n",
                        0755);
    }
    std::vector<std::string> Log() const { return test::LogLines(log_); }
    void UseEnvironment() { shell_.SetEnvironment(env_); }
    // Nothing but the expected files: no command hidden in a name or parameter ran.
    void ExpectNoStrayFiles() const {
        for (const auto& entry : fs::directory_iterator(root_)) {
            EXPECT_FALSE(entry.path().filename().string().starts_with("PWNED")) << entry.path();
        }
    }

    fs::path root_;
    fs::path bin_;
    fs::path log_;
    ShellEnvironment env_;
    LinuxShell shell_;
};

TEST_F(LinuxShellTest, DocumentNamesThatLookLikeCommandsAreOnlyOpened) {
    test::WriteStub(bin_, "xdg-open", log_);
    const std::vector<std::string> names = {"a; touch PWNED1", "$(touch PWNED2)", "`touch PWNED3`",
                                            "b | touch PWNED4 &", "c\" && touch PWNED5 \""};
    for (const std::string& name : names) {
        test::WriteText(root_ / name, "x");
        EXPECT_EQ(Run("open", name), kShellStarted) << name;
    }
    std::vector<std::string> expected;
    for (const std::string& name : names) {
        expected.push_back("xdg-open:[" + (root_ / name).string() + "]");
    }
    EXPECT_EQ(Log(), expected);
    ExpectNoStrayFiles();
}

TEST_F(LinuxShellTest, ProgramParametersArriveAsLiteralArguments) {
    const fs::path tool = test::WriteStub(bin_, "tool", log_);
    const std::string pwned = (root_ / "PWNED").string();
    EXPECT_EQ(Run("open", tool.string(),
                  "-p 'a b' ; touch " + pwned + " | touch " + pwned + "2 $(touch " + pwned +
                      "3) `touch " + pwned + "4` & $HOME"),
              kShellStarted);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0], "tool:[-p][a b][;][touch][" + pwned + "][|][touch][" + pwned +
                            "2][$(touch][" + pwned + "3)][`touch][" + pwned + "4`][&][$HOME]");
    ExpectNoStrayFiles();
}

TEST_F(LinuxShellTest, XdgOpenVerdictsBecomeShellCodes) {
    test::WriteText(root_ / "a.xyz", "x");
    test::WriteStub(bin_, "xdg-open", log_, 3);
    EXPECT_EQ(Run("open", "a.xyz"), SE_ERR_NOASSOC);
    test::WriteStub(bin_, "xdg-open", log_, 2);
    EXPECT_EQ(Run("open", "a.xyz"), SE_ERR_FNF);
    test::WriteStub(bin_, "xdg-open", log_, 0);
    EXPECT_EQ(Run("open", "a.xyz"), kShellStarted);
}

TEST_F(LinuxShellTest, ADocumentWithQuotesOrAScriptInsideIsOpenedNeverRun) {
    test::WriteStub(bin_, "xdg-open", log_);
    const fs::path tool = test::WriteStub(root_, "tool", log_);
    // Split at its quotes, this name would run the tool (it logs) with "-c" and "touch PWNED".
    const std::string quoted = tool.string() + "\" -c \"touch PWNED\"";
    test::WriteText(quoted, "x");
    test::WriteText(root_ / "My \"draft\".txt", "x");
    const fs::path script = test::WriteStub(root_, "report.pdf", log_);
    EXPECT_EQ(OpenDocument(quoted).code, kShellStarted);
    EXPECT_EQ(OpenDocument((root_ / "My \"draft\".txt").string()).code, kShellStarted);
    EXPECT_EQ(OpenDocument(script.string()).code, kShellStarted);
    // Only the opener ran, each time with the whole name.
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"xdg-open:[" + quoted + "]",
                                        "xdg-open:[" + (root_ / "My \"draft\".txt").string() + "]",
                                        "xdg-open:[" + script.string() + "]"}));
}

TEST_F(LinuxShellTest, AnOpenerThatFailsSaysWhyInPlainWords) {
    test::WriteText(root_ / "a.xyz", "x");
    WriteOpener("/usr/bin/xdg-open: 882: x-terminal-emulator: not found", 4);
    ShellResult result = OpenDocument((root_ / "a.xyz").string());
    EXPECT_EQ(result.code, SE_ERR_NOASSOC);
    EXPECT_EQ(result.reason,
              "The program set up for this kind of file could not open it. (/usr/bin/xdg-open: "
              "882: x-terminal-emulator: not found)");
    WriteOpener("xdg-open: no method available for opening 'a.xyz'", 3);
    result = OpenDocument((root_ / "a.xyz").string());
    EXPECT_EQ(result.code, SE_ERR_NOASSOC);
    EXPECT_EQ(result.reason,
              "No program is set up to open this kind of file. (xdg-open: no method available "
              "for opening 'a.xyz')");
}

// Children of this process that have ended and not been collected.
std::vector<std::string> Zombies() {
    std::vector<std::string> found;
    const std::string parent = std::to_string(::getpid());
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "stat");
        std::string line;
        if (!std::getline(in, line)) continue;
        // "pid (name) S ppid ...": the name may hold blanks and parentheses.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos || close + 2 >= line.size()) continue;
        std::istringstream rest(line.substr(close + 2));
        std::string state;
        std::string ppid;
        rest >> state >> ppid;
        if (state == "Z" && ppid == parent) found.push_back(line.substr(0, close + 1));
    }
    return found;
}

TEST_F(LinuxShellTest, AnOpenerThatFailsAfterItsGraceIsToldAndCollected) {
    test::WriteText(root_ / "a.xyz", "x");
    WriteOpener("xdg-open: no method available", 3, "0.3");
    std::mutex mutex;
    std::vector<std::string> late;
    shell_.SetLateFailureListener([&](const ShellRequest& request, const ShellResult& result) {
        const std::lock_guard lock(mutex);
        late.push_back(request.file + " -> " + std::to_string(result.code) + " " + result.reason);
    });
    shell_.SetOpenerGrace(50ms);
    ShellRequest request;
    request.file = (root_ / "a.xyz").string();
    request.target = ShellTarget::Document;
    EXPECT_EQ(shell_.Execute(request).code, kShellStarted);
    // Collected as soon as it ends, without another request or a wait of the caller.
    std::this_thread::sleep_for(300ms);
    std::vector<std::string> zombies;
    for (int i = 0; i < 200; ++i) {
        std::this_thread::sleep_for(10ms);
        zombies = Zombies();
        const std::lock_guard lock(mutex);
        if (zombies.empty() && !late.empty()) break;
    }
    EXPECT_EQ(zombies, std::vector<std::string>{});
    EXPECT_TRUE(shell_.WaitForChildren(5s));
    shell_.SetLateFailureListener({});
    const std::lock_guard lock(mutex);
    EXPECT_EQ(late, std::vector<std::string>{request.file +
                                             " -> 31 No program is set up to open this kind of "
                                             "file. (xdg-open: no method available)"});
}

TEST_F(LinuxShellTest, XdgOpenThatKeepsRunningCountsAsStarted) {
    test::WriteText(root_ / "a.xyz", "x");
    test::WriteStub(bin_, "xdg-open", log_, 3, "0.3");
    shell_.SetOpenerGrace(50ms);
    EXPECT_EQ(Run("open", "a.xyz"), kShellStarted);
}

TEST_F(LinuxShellTest, StartFailuresMapToTheirCodes) {
    // Looks like a program but is not one this system can load.
    test::WriteText(bin_ / "broken",
                    "\x7f"
                    "ELF garbage",
                    0755);
    EXPECT_EQ(Run("open", (bin_ / "broken").string()), ERROR_BAD_FORMAT);
    // A script whose interpreter is missing.
    test::WriteText(bin_ / "orphan", "#!/nonexistent/interpreter\n", 0755);
    EXPECT_EQ(Run("open", (bin_ / "orphan").string()), SE_ERR_FNF);
    EXPECT_EQ(Run("open", (root_ / "nowhere" / "a.doc").string()), SE_ERR_PNF);
    EXPECT_TRUE(Log().empty());
}

TEST_F(LinuxShellTest, APipeIsRefusedWithoutWaitingForIt) {
    test::WriteStub(bin_, "xdg-open", log_);
    ASSERT_EQ(::mkfifo((root_ / "feed.pdf").c_str(), 0600), 0);
    const ShellResult result = OpenDocument((root_ / "feed.pdf").string());
    EXPECT_EQ(result.code, SE_ERR_NOASSOC);
    EXPECT_EQ(result.reason, "This is a named pipe, not a document.");
    EXPECT_TRUE(Log().empty());
}

TEST_F(LinuxShellTest, ExplorerFallsBackToTheFolderWhenTheFileManagerDoesNotAnswer) {
    test::WriteText(root_ / "docs" / "a.doc", "x");
    test::WriteStub(bin_, "xdg-open", log_);
    test::WriteStub(bin_, "dbus-send", log_, 1);
    env_.sessionBus = true;
    UseEnvironment();
    const std::string file = (root_ / "docs" / "a.doc").string();
    EXPECT_EQ(Run("open", "explorer", "/select," + file), kShellStarted);
    ASSERT_EQ(Log().size(), 2u);
    EXPECT_TRUE(Log()[0].starts_with("dbus-send:[--session]")) << Log()[0];
    EXPECT_EQ(Log()[1], "xdg-open:[" + (root_ / "docs").string() + "]");

    fs::remove(log_);
    test::WriteStub(bin_, "dbus-send", log_, 0);
    EXPECT_EQ(Run("open", "explorer", "/select," + file), kShellStarted);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_NE(Log()[0].find("[array:string:file://" + file + "]"), std::string::npos) << Log()[0];
}

TEST_F(LinuxShellTest, BrowserGetsTheAddressAsOneArgument) {
    test::WriteStub(bin_, "browser", log_);
    env_.browser = "browser";
    UseEnvironment();
    EXPECT_EQ(Run("open", "iexplore.exe", "http://srv/a b;touch PWNED"), kShellStarted);
    EXPECT_EQ(Log(), std::vector<std::string>{"browser:[http://srv/a b;touch PWNED]"});
    ExpectNoStrayFiles();
}

TEST_F(LinuxShellTest, PropertiesGoToThePresenter) {
    test::WriteText(root_ / "report.odt", "12345");
    EXPECT_EQ(Run("properties", "report.odt"), SE_ERR_NOASSOC);

    std::optional<FileProperties> shown;
    shell_.SetPropertiesPresenter([&shown](const FileProperties& p) {
        shown = p;
        return true;
    });
    EXPECT_EQ(Run("properties", "report.odt"), kShellStarted);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->name, "report.odt");
    EXPECT_EQ(shown->folder, root_.string());
    EXPECT_EQ(shown->size, 5u);
    EXPECT_EQ(shown->type, "ODT File");
    EXPECT_EQ(shown->Permissions(), "rw-r--r--");
    EXPECT_NE(shown->Text().find("Permissions: rw-r--r-- (0644)\n"), std::string::npos);

    EXPECT_EQ(Run("properties", "gone.odt"), SE_ERR_FNF);
}

}  // namespace
}  // namespace orbel::platform
