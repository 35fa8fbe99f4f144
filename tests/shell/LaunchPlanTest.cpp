// What the real shell would start for each kind of request, checked without starting anything:
// the program, its argument vector, and the order of fallbacks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/shell/LaunchPlan.h"
#include "tests/shell/ShellTestFiles.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;

class LaunchPlanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = test::MakeTempDir("orbel-plan");
        bin_ = root_ / "bin";
        log_ = root_ / "log";
        fs::create_directories(bin_);
        env_.path = bin_.string();
        env_.currentDirectory = root_.string();
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Stub(const std::string& name) { return test::WriteStub(bin_, name, log_); }
    std::string Plan(std::string verb, std::string file, std::string parameters = {}) {
        ShellRequest request;
        request.verb = std::move(verb);
        request.file = std::move(file);
        request.parameters = std::move(parameters);
        return PlanShellRequest(request, env_).Describe();
    }
    // A path taken from data, as opening an item asks for it.
    std::string PlanDocument(std::string file, std::string parameters = {}) {
        ShellRequest request;
        request.verb = "open";
        request.file = std::move(file);
        request.parameters = std::move(parameters);
        request.target = ShellTarget::Document;
        return PlanShellRequest(request, env_).Describe();
    }
    std::string Bin(const std::string& name) const { return (bin_ / name).string(); }
    std::string At(const std::string& name) const { return (root_ / name).string(); }
    // What a missing file is reported as: which file was looked for in which folder.
    std::string NoFile(const std::string& name) const {
        return "failure 2: There is no file \"" + name + "\" in the folder " + root_.string() + ".";
    }

    fs::path root_;
    fs::path bin_;
    fs::path log_;
    ShellEnvironment env_;
};

TEST_F(LaunchPlanTest, DocumentsFoldersAndAddressesGoToXdgOpenByAbsolutePath) {
    Stub("xdg-open");
    test::WriteText(root_ / "docs" / "a b.odt", "x");
    EXPECT_EQ(Plan("open", "docs/a b.odt"),
              "open: " + Bin("xdg-open") + " '" + At("docs/a b.odt") + "'\n");
    EXPECT_EQ(Plan("", At("docs")), "open: " + Bin("xdg-open") + " " + At("docs") + "\n");
    EXPECT_EQ(Plan("Open", "http://srv/a?b=1&c=2"),
              "open: " + Bin("xdg-open") + " 'http://srv/a?b=1&c=2'\n");
    EXPECT_EQ(Plan("open", "mailto:a@b.c"), "open: " + Bin("xdg-open") + " mailto:a@b.c\n");
}

TEST_F(LaunchPlanTest, AFileNamedLikeAnOptionIsPassedAsAPath) {
    Stub("xdg-open");
    test::WriteText(root_ / "--help", "x");
    EXPECT_EQ(Plan("open", "--help"), "open: " + Bin("xdg-open") + " " + At("--help") + "\n");
}

TEST_F(LaunchPlanTest, MissingFilesAndFoldersAreReportedWithoutStartingAnything) {
    Stub("xdg-open");
    EXPECT_EQ(Plan("open", "missing.doc"), NoFile("missing.doc"));
    EXPECT_EQ(Plan("open", At("nodir/missing.doc")),
              "failure 3: The folder " + At("nodir") +
                  ", where \"missing.doc\" was looked for, does not exist.");
    EXPECT_EQ(Plan("open", ""), "failure 2");
    EXPECT_EQ(Plan("print", At("bin")), "failure 31");
}

TEST_F(LaunchPlanTest, ProgramsRunWithTheirParametersAsLiteralWords) {
    Stub("tool");
    EXPECT_EQ(Plan("open", Bin("tool"), "-x 'a b' $(rm -rf ~);ls | cat `id` && x"),
              "run: " + Bin("tool") + " -x 'a b' '$(rm' -rf '~);ls' '|' cat '`id`' '&&' x\n");
    // A bare program name is found on PATH.
    EXPECT_EQ(Plan("open", "tool", "/p"), "run: " + Bin("tool") + " /p\n");
}

TEST_F(LaunchPlanTest, DocumentsWithExecuteBitsAreOpenedNotRun) {
    // Files on shared folders often show every permission bit.
    Stub("xdg-open");
    test::WriteText(root_ / "report.doc", "\xD0\xCF\x11\xE0 not a program", 0777);
    EXPECT_EQ(Plan("open", At("report.doc"), "; touch x"),
              "open: " + Bin("xdg-open") + " " + At("report.doc") + "\n");
}

TEST_F(LaunchPlanTest, ADocumentIsOnlyEverHandedToTheOpenerAsOneName) {
    Stub("xdg-open");
    Stub("python3");
    // A name with quotes is one name; split at them it would run the program before them.
    const std::string quoted = At("python3\" -c \"import os\"");
    test::WriteText(quoted, "x");
    EXPECT_EQ(PlanDocument(quoted), "open: " + Bin("xdg-open") + " '" + quoted + "'\n");
    test::WriteText(At("My \"draft\".txt"), "x");
    EXPECT_EQ(PlanDocument(At("My \"draft\".txt")),
              "open: " + Bin("xdg-open") + " '" + At("My \"draft\".txt") + "'\n");
    // A script named like a document, with every permission bit: opened, never run, and no
    // parameters go with it.
    const fs::path script = test::WriteStub(root_, "report.pdf", log_);
    EXPECT_EQ(PlanDocument(script.string(), "; touch PWNED"),
              "open: " + Bin("xdg-open") + " " + script.string() + "\n");
    EXPECT_EQ(PlanDocument(Bin("python3")),
              "open: " + Bin("xdg-open") + " " + Bin("python3") + "\n");
    // Bare names are files of the current folder, not programs on PATH or stored commands.
    EXPECT_EQ(PlanDocument("python3"), NoFile("python3"));
    EXPECT_EQ(PlanDocument("notepad"), NoFile("notepad"));
    EXPECT_EQ(PlanDocument("iexplore.exe"), NoFile("iexplore.exe"));
    EXPECT_EQ(PlanDocument("http://srv/a b"), "open: " + Bin("xdg-open") + " 'http://srv/a b'\n");
}

TEST_F(LaunchPlanTest, PipesAndDevicesAreRefusedAsDocuments) {
    Stub("xdg-open");
    ASSERT_EQ(::mkfifo(At("feed.xml").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", At("zero.doc"));
    EXPECT_EQ(PlanDocument(At("feed.xml")), "failure 31: This is a named pipe, not a document.");
    EXPECT_EQ(PlanDocument(At("zero.doc")), "failure 31: This is a device, not a document.");
    EXPECT_EQ(Plan("open", At("feed.xml")), "failure 31: This is a named pipe, not a document.");
    EXPECT_EQ(PlanDocument(At("gone.doc")), NoFile("gone.doc"));
}

TEST_F(LaunchPlanTest, WithoutTheOpenerTheFailureSaysSo) {
    test::WriteText(root_ / "a.doc", "x");
    EXPECT_EQ(PlanDocument(At("a.doc")),
              "failure 31: No program to open documents was found: xdg-open is not installed.");
}

TEST_F(LaunchPlanTest, ExplorerSelectAsksTheFileManagerThenFallsBackToTheFolder) {
    Stub("xdg-open");
    Stub("dbus-send");
    test::WriteText(root_ / "a,b c.doc", "x");
    env_.sessionBus = true;
    EXPECT_EQ(Plan("open", "explorer", "/select," + At("a,b c.doc")),
              "ask: " + Bin("dbus-send") +
                  " --session --print-reply --reply-timeout=2000 "
                  "--dest=org.freedesktop.FileManager1 --type=method_call "
                  "/org/freedesktop/FileManager1 org.freedesktop.FileManager1.ShowItems "
                  "array:string:file://" +
                  At("a%2Cb%20c.doc") + " string:\n" + "open: " + Bin("xdg-open") + " " +
                  root_.string() + "\n");

    env_.sessionBus = false;
    EXPECT_EQ(Plan("open", "EXPLORER.EXE", "/SELECT,\"" + At("a,b c.doc") + "\""),
              "open: " + Bin("xdg-open") + " " + root_.string() + "\n");
    EXPECT_EQ(Plan("open", "explorer", "/select," + At("gone.doc")), NoFile("gone.doc"));
    EXPECT_EQ(Plan("open", "explorer", At("bin")),
              "open: " + Bin("xdg-open") + " " + bin_.string() + "\n");
}

TEST_F(LaunchPlanTest, ExplorerUsesGdbusWhenDbusSendIsMissing) {
    Stub("xdg-open");
    Stub("gdbus");
    test::WriteText(root_ / "it's.doc", "x");
    env_.sessionBus = true;
    ShellRequest request;
    request.file = "explorer";
    request.parameters = "/select," + At("it's.doc");
    const LaunchPlan plan = PlanShellRequest(request, env_);
    ASSERT_EQ(plan.launches.size(), 2u) << plan.Describe();
    EXPECT_EQ(plan.launches[0].mode, LaunchMode::Query);
    const std::vector<std::string>& argv = plan.launches[0].argv;
    ASSERT_EQ(argv.size(), 13u) << plan.Describe();
    EXPECT_EQ(argv[0], Bin("gdbus"));
    EXPECT_EQ(argv[10], "org.freedesktop.FileManager1.ShowItems");
    // The quote is encoded, so it cannot end the variant's string early.
    EXPECT_EQ(argv[11], "['file://" + At("it%27s.doc") + "']");
    EXPECT_EQ(plan.launches[1].mode, LaunchMode::Opener);
}

TEST_F(LaunchPlanTest, NotepadOpensTheUsersEditor) {
    Stub("xdg-open");
    Stub("gedit");
    Stub("vim");
    Stub("xterm");
    test::WriteText(root_ / "s 1.rcs", "x");
    const std::string file = "'" + At("s 1.rcs") + "'";

    env_.editor = "gedit --new-window";
    EXPECT_EQ(Plan("open", "NOTEPAD.EXE", "\"" + At("s 1.rcs") + "\""),
              "run: " + Bin("gedit") + " --new-window " + file + "\n");
    env_.visual = "vim";  // $VISUAL comes first, and vim needs a terminal
    EXPECT_EQ(Plan("open", "notepad", "\"" + At("s 1.rcs") + "\""),
              "run: " + Bin("xterm") + " -e " + Bin("vim") + " " + file + "\n");
    env_.terminal = "missing-terminal";
    EXPECT_EQ(Plan("open", "notepad", "\"s 1.rcs\""),
              "run: " + Bin("xterm") + " -e " + Bin("vim") + " " + file + "\n");
    env_.visual.clear();
    env_.editor.clear();
    EXPECT_EQ(Plan("open", "notepad", "\"s 1.rcs\""),
              "open: " + Bin("xdg-open") + " " + file + "\n");
}

TEST_F(LaunchPlanTest, NotepadNeverRunsTheScriptItWasAskedToEdit) {
    Stub("xdg-open");
    Stub("vi");
    const fs::path script = test::WriteStub(root_, "edit me.sh", log_);
    env_.editor = "vi";  // a terminal editor, and no terminal here
    EXPECT_EQ(Plan("open", "notepad", "\"" + script.string() + "\""),
              "open: " + Bin("xdg-open") + " '" + script.string() + "'\n");
    EXPECT_EQ(Plan("open", "notepad", "\"" + At("gone.rcs") + "\""), NoFile("gone.rcs"));
}

TEST_F(LaunchPlanTest, IexploreUsesBrowserThenXdgOpen) {
    Stub("xdg-open");
    Stub("firefox");
    const std::string url = "http://srv/docs/a b.htm";
    EXPECT_EQ(Plan("open", "iexplore.exe", url),
              "open: " + Bin("xdg-open") + " 'http://srv/docs/a b.htm'\n");
    env_.browser = "missing-browser:firefox --new-tab %s";
    EXPECT_EQ(Plan("open", "iexplore.exe", url),
              "run: " + Bin("firefox") + " --new-tab 'http://srv/docs/a b.htm'\n");
    env_.browser = "firefox";
    EXPECT_EQ(Plan("open", "IEXPLORE", "http://srv/$(id)"),
              "run: " + Bin("firefox") + " 'http://srv/$(id)'\n");
    EXPECT_EQ(Plan("open", "iexplore.exe", "--remote-debugging-port=1"), "failure 2");
}

TEST_F(LaunchPlanTest, ALinuxPathNamedLikeAStoredProgramIsADocument) {
    Stub("xdg-open");
    Stub("gedit");
    env_.editor = "gedit";
    test::WriteText(root_ / "notepad", "notes");
    EXPECT_EQ(Plan("open", At("notepad")), "open: " + Bin("xdg-open") + " " + At("notepad") + "\n");
}

TEST(ProgramStem, IgnoresFolderExtensionAndCase) {
    EXPECT_EQ(ProgramStem("C:\\WINNT\\NOTEPAD.EXE"), "notepad");
    EXPECT_EQ(ProgramStem("iexplore.exe"), "iexplore");
    EXPECT_EQ(ProgramStem("\"explorer\""), "explorer");
}

}  // namespace
}  // namespace orbel::platform
