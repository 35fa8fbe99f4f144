// The shell and path services as the panes and dialogs use them, on the headless platform:
// what reaches the shell for a stored command, and what the user reads when it fails.
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/registry/RegistryHive.h"
#include "platform/shell/RecordingShell.h"
#include "src/services/ShellCommand.h"
#include "src/services/ShellServices.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

TEST(SplitShellCommand, QuotedProgramKeepsItsBlanksAndPassesTheRestAsParameters) {
    const ShellCommand split = SplitShellCommand("\"C:\\Program Files\\Viewer\\view.exe\" /p");
    EXPECT_EQ(split.file, "C:\\Program Files\\Viewer\\view.exe");
    EXPECT_EQ(split.parameters, "/p");
}

TEST(SplitShellCommand, QuotedPathAloneHasNoParameters) {
    // What OpenInProgram and the editor commands pass: a path in quotes.
    EXPECT_EQ(SplitShellCommand("\"/srv/docs/a b.doc\"").file, "/srv/docs/a b.doc");
    EXPECT_EQ(SplitShellCommand("\"/srv/docs/a b.doc\"").parameters, "");
    // One character after the quote is only the separator.
    EXPECT_EQ(SplitShellCommand("\"a.doc\" ").parameters, "");
    EXPECT_EQ(SplitShellCommand("\"a.doc\" x").parameters, "x");
    // Parameters begin two characters after the quote, whatever the first one is.
    EXPECT_EQ(SplitShellCommand("\"a.doc\"xyz").parameters, "yz");
}

TEST(SplitShellCommand, UnclosedQuoteMakesTheRestTheFile) {
    const ShellCommand split = SplitShellCommand("\"C:\\dir\\a b.doc /p");
    EXPECT_EQ(split.file, "C:\\dir\\a b.doc /p");
    EXPECT_EQ(split.parameters, "");
}

TEST(SplitShellCommand, SplitsAtTheFirstBlankUnlessItLeads) {
    EXPECT_EQ(SplitShellCommand("explorer /select,C:\\a b\\c.doc").file, "explorer");
    EXPECT_EQ(SplitShellCommand("explorer /select,C:\\a b\\c.doc").parameters,
              "/select,C:\\a b\\c.doc");
    // A leading blank is at position 0: the whole command is the file.
    EXPECT_EQ(SplitShellCommand(" x.doc /p").file, " x.doc /p");
    EXPECT_EQ(SplitShellCommand(" x.doc /p").parameters, "");
    EXPECT_EQ(SplitShellCommand("x.doc").file, "x.doc");
    EXPECT_EQ(SplitShellCommand("").file, "");
}

class ShellRunTest : public test::HeadlessTest {
  protected:
    platform::RecordingShell& Shell() { return P().ShellService(); }
};

TEST_F(ShellRunTest, QuotedProgramWithParametersReachesTheShellSplit) {
    EXPECT_EQ(ShellRun(kNoWindow, "\"C:\\Program Files\\Viewer\\view.exe\" /p", SW_SHOW, "open"),
              kShellStarted);
    ASSERT_EQ(Shell().Lines().size(), 1u);
    EXPECT_EQ(Shell().Lines()[0],
              "open file=\"C:\\\\Program Files\\\\Viewer\\\\view.exe\" parameters=\"/p\" "
              "directory=\"\" show=5 -> 42");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ShellRunTest, LeadingBlankRunsTheWholeCommandAsTheFile) {
    Shell().FailNext(SE_ERR_FNF);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Unable to execute  x.doc /p \nError 2:File was not found.");
    ShellRun(kNoWindow, " x.doc /p", SW_SHOW, "open");
    ASSERT_EQ(Shell().Requests().size(), 1u);
    EXPECT_EQ(Shell().Requests()[0].request.file, " x.doc /p");
    EXPECT_EQ(Shell().Requests()[0].request.parameters, "");
}

TEST_F(ShellRunTest, FailureShowsFileParametersCodeAndText) {
    Shell().FailNext(SE_ERR_FNF);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Unable to execute x.doc \nError 2:File was not found.");
    EXPECT_EQ(ShellRun(kNoWindow, "x.doc", SW_SHOW, "open"), SE_ERR_FNF);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find(" OK -> OK"), std::string::npos) << Boxes()[0];
}

TEST_F(ShellRunTest, CodesWithoutTextReadUnknown) {
    Shell().FailNext(SE_ERR_NOASSOC);
    User().AnswerMessageBox(MessageAnswer::Ok, "Unable to execute a.xyz -q\nError 31:(Unknown)");
    ShellRun(kNoWindow, "a.xyz -q", SW_HIDE, "open");
    Shell().FailNext(0);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Error 0:System was out of memory, executable file was corrupt, or "
                            "relocations were invalid.");
    ShellRun(kNoWindow, "a.exe", SW_SHOW, "open");
    EXPECT_EQ(Shell().Requests()[0].request.show, SW_HIDE);
}

TEST_F(ShellRunTest, PropertiesGoesAsAnExtendedRequestForTheUnquotedFile) {
    EXPECT_EQ(ShellRun(kNoWindow, "\"/srv/scripts/run.rcs\"", SW_SHOW, "properties"),
              kShellStarted);
    ASSERT_EQ(Shell().Requests().size(), 1u);
    const platform::ShellRequest& r = Shell().Requests()[0].request;
    EXPECT_EQ(r.verb, "properties");
    EXPECT_TRUE(r.invokeIdList);
    EXPECT_EQ(r.file, "/srv/scripts/run.rcs");
    EXPECT_EQ(r.parameters, "");
    // The zeroed structure carries no show command.
    EXPECT_EQ(r.show, SW_HIDE);

    Shell().FailNext(SE_ERR_FNF);
    User().AnswerMessageBox(MessageAnswer::Ok, "Error 2:File was not found.");
    EXPECT_EQ(ShellRun(kNoWindow, "\"/nowhere\"", SW_SHOW, "properties"), SE_ERR_FNF);
}

TEST_F(ShellRunTest, AStoredPathIsOpenedAsOneDocumentWhateverQuotesItHolds) {
    // Quoted and split as a command, this ran python3 with the rest as its arguments.
    const std::string path = "/usr/bin/python3\" -c \"import os\"";
    EXPECT_EQ(ShellOpen(kNoWindow, path, SW_SHOWNORMAL), kShellStarted);
    EXPECT_EQ(ShellOpen(kNoWindow, "/srv/My \"draft\".txt", SW_SHOWNORMAL), kShellStarted);
    ASSERT_EQ(Shell().Requests().size(), 2u);
    const platform::ShellRequest& r = Shell().Requests()[0].request;
    EXPECT_EQ(r.target, platform::ShellTarget::Document);
    EXPECT_EQ(r.file, path);
    EXPECT_EQ(r.parameters, "");
    EXPECT_EQ(Shell().Lines()[1], "open document=\"/srv/My \\\"draft\\\".txt\" show=1 -> 42");
    // A composed command is still taken apart.
    ShellRun(kNoWindow, "iexplore.exe http://srv/a", SW_SHOWNORMAL, "open");
    EXPECT_EQ(Shell().Requests()[2].request.target, platform::ShellTarget::Command);
}

TEST_F(ShellRunTest, TheShellsReasonFollowsTheMessageOnALineOfItsOwn) {
    Shell().FailNext(SE_ERR_NOASSOC, "No program is set up to open this kind of file.");
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Unable to execute /srv/a.xyz \nError 31:(Unknown)\nNo program is "
                            "set up to open this kind of file.");
    EXPECT_EQ(ShellOpen(kNoWindow, "/srv/a.xyz", SW_SHOWNORMAL), SE_ERR_NOASSOC);
    Shell().FailNext(SE_ERR_FNF, "The desktop's opener did not find the file.");
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Unable to execute iexplore.exe http://srv/a\nError 2:File was not "
                            "found.\nThe desktop's opener did not find the file.");
    ShellRun(kNoWindow, "iexplore.exe http://srv/a", SW_SHOWNORMAL, "open");
    EXPECT_EQ(Boxes().size(), 2u);
}

// A document that is there but that no program opens: the user is offered the folder that
// holds it, now or when the opener fails later; declining opens nothing.
TEST_F(ShellRunTest, ADocumentNoProgramOpensOffersTheFolderThatHoldsIt) {
    const std::string folder = ::testing::TempDir() + "offer-folder";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/scan.xyz";
    std::ofstream(path) << "x";
    const std::string box = "Unable to execute " + path +
                            " \nError 31:(Unknown)\nNo program is set up to open this kind of "
                            "file.\n\nOpen the folder that holds it, " +
                            folder + "?";

    Shell().FailNext(SE_ERR_NOASSOC, "No program is set up to open this kind of file.");
    User().AnswerMessageBox(MessageAnswer::Yes, box);
    EXPECT_EQ(ShellOpen(kNoWindow, path, SW_SHOWNORMAL), SE_ERR_NOASSOC);
    ASSERT_EQ(Shell().Requests().size(), 2u);
    EXPECT_EQ(Shell().Requests()[1].request.file, folder);
    EXPECT_EQ(Shell().Requests()[1].request.target, platform::ShellTarget::Document);

    Shell().FailNext(SE_ERR_NOASSOC, "No program is set up to open this kind of file.");
    User().AnswerMessageBox(MessageAnswer::No, box);
    ShellOpen(kNoWindow, path, SW_SHOWNORMAL);
    EXPECT_EQ(Shell().Requests().size(), 3u);

    EXPECT_EQ(ShellOpen(kNoWindow, path, SW_SHOWNORMAL), kShellStarted);
    const platform::ShellRequest late = Shell().Requests().at(3).request;
    ASSERT_TRUE(late.lateFailure);
    User().AnswerMessageBox(MessageAnswer::Yes, box);
    late.lateFailure({SE_ERR_NOASSOC, "No program is set up to open this kind of file."});
    ASSERT_EQ(Shell().Requests().size(), 5u);
    EXPECT_EQ(Shell().Requests()[4].request.file, folder);

    // Another failure, or a file that is not there, offers nothing.
    Shell().FailNext(SE_ERR_ACCESSDENIED, "Permission denied.");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error 5:");
    ShellOpen(kNoWindow, path, SW_SHOWNORMAL);
    EXPECT_EQ(Shell().Requests().size(), 6u);
    EXPECT_EQ(Boxes().size(), 4u);
}

TEST_F(ShellRunTest, AFailureThatComesAfterTheOpenerCountedAsStartedIsShownAllTheSame) {
    EXPECT_EQ(ShellOpen(kNoWindow, "/srv/a.xyz", SW_SHOWNORMAL), kShellStarted);
    EXPECT_TRUE(Boxes().empty());
    const platform::ShellRequest request = Shell().Requests().at(0).request;
    ASSERT_TRUE(request.lateFailure);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Unable to execute /srv/a.xyz \nError 31:(Unknown)\nNo program is "
                            "set up to open this kind of file.");
    request.lateFailure({SE_ERR_NOASSOC, "No program is set up to open this kind of file."});
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST(ShellErrorText, EveryCodeOfTheTableHasItsOwnTextAndTheRestAreUnknown) {
    EXPECT_EQ(ShellErrorText(3), "Path was not found.");
    EXPECT_EQ(ShellErrorText(5),
              "Attempt was made to dynamically link to a task, or there was a sharing or "
              "network-protection error.");
    EXPECT_EQ(ShellErrorText(8), "There was insufficient memory to start the application.");
    EXPECT_EQ(ShellErrorText(11),
              "Executable file was invalid. Either it was not a Windows application or there was "
              "an error in the .EXE image.");
    EXPECT_EQ(ShellErrorText(21), "Application requires Microsoft Windows 32-bit extensions.");
    // 4 would be string 204 by number, but 204 is not a shell result's text.
    for (int code : {1, 4, 7, 9, 17, 18, 22, 31, 32}) {
        EXPECT_EQ(ShellErrorText(code), "(Unknown)") << code;
    }
    std::set<std::string> texts;
    for (int code : {0, 2, 3, 5, 6, 8, 10, 11, 12, 13, 14, 15, 16, 19, 20, 21}) {
        texts.insert(ShellErrorText(code));
    }
    EXPECT_EQ(texts.size(), 16u);
    EXPECT_FALSE(texts.contains("(Unknown)"));
}

TEST(PathTests, WebAddressesAreTheThreeSchemesInAnyCase) {
    EXPECT_TRUE(IsWebAddress("http://srv/a"));
    EXPECT_TRUE(IsWebAddress("FTP://srv/a"));
    EXPECT_TRUE(IsWebAddress("File://c:/a.htm"));
    EXPECT_FALSE(IsWebAddress("https://srv/a"));
    EXPECT_FALSE(IsWebAddress("www.srv.com"));
    EXPECT_FALSE(IsWebAddress("http:/srv"));
    EXPECT_FALSE(IsWebAddress(""));
}

TEST(PathTests, FullPathsFromWindowsAndFromThisSystem) {
    EXPECT_TRUE(IsFullPath("\\\\srv\\share\\a.doc"));
    EXPECT_TRUE(IsFullPath("C:\\a.doc"));
    EXPECT_TRUE(IsFullPath("http://srv/a"));
    EXPECT_TRUE(IsFullPath("/srv/docs/a.doc"));
    // The web test of this check minds the case, unlike IsWebAddress.
    EXPECT_FALSE(IsFullPath("HTTP://srv/a"));
    EXPECT_FALSE(IsFullPath("ftp://srv/a"));
    EXPECT_FALSE(IsFullPath("C:/a.doc"));
    EXPECT_FALSE(IsFullPath("docs\\a.doc"));
    EXPECT_FALSE(IsFullPath("C:"));
    EXPECT_FALSE(IsFullPath(""));
}

TEST(PathTests, ExtensionIsAtMostThreeCharactersAfterTheLastDot) {
    EXPECT_EQ(FileExtension("C:\\docs\\a.doc"), "doc");
    EXPECT_EQ(FileExtension("a.TIF"), "TIF");
    EXPECT_EQ(FileExtension("page.html"), "");
    EXPECT_EQ(FileExtension("a.b.c"), "c");
    EXPECT_EQ(FileExtension("a."), "");
    EXPECT_EQ(FileExtension("readme"), "");
    // The last dot may be in a folder name; the tail is then too long to count.
    EXPECT_EQ(FileExtension("C:\\v1.2\\readme"), "");
}

TEST(PathTests, OnlyALowerCaseTifExtensionIsATiffFile) {
    EXPECT_TRUE(IsTiffFile("/scans/0001.tif"));
    EXPECT_FALSE(IsTiffFile("/scans/0001.TIF"));
    EXPECT_FALSE(IsTiffFile("/scans/0001.tiff"));
    EXPECT_FALSE(IsTiffFile("/scans/0001.tif.bak"));
}

// Stored paths come from either system; the root keeps its slash so a file there still has a
// folder to open.
TEST(PathTests, FolderAndNamePartsSplitAtTheLastSlashOfEitherKind) {
    EXPECT_EQ(FolderPart("/home/ann/letter.tif"), "/home/ann");
    EXPECT_EQ(FileNamePart("/home/ann/letter.tif"), "letter.tif");
    EXPECT_EQ(FolderPart("C:\\docs\\a.doc"), "C:\\docs");
    EXPECT_EQ(FileNamePart("C:\\docs\\a.doc"), "a.doc");
    EXPECT_EQ(FolderPart("/letter.tif"), "/");
    EXPECT_EQ(FileNamePart("/letter.tif"), "letter.tif");
    EXPECT_EQ(FolderPart("letter.tif"), "");
    EXPECT_EQ(FileNamePart("letter.tif"), "letter.tif");
}

class ServicesFilesTest : public test::HeadlessTest {};

TEST_F(ServicesFilesTest, FileExistsForFilesAndFoldersOnly) {
    const std::string file = (TempDir() / "a.doc").string();
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(TempDir().string()));
    EXPECT_FALSE(FileExists((TempDir() / "missing.doc").string()));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(ServicesFilesTest, ReadRegistryStringReadsTheHiveAndTellsMissingFromEmpty) {
    std::string error;
    ASSERT_TRUE(platform::RegistryHive::Update(
        platform::RegistryHive::DefaultPath(),
        [](platform::RegistryHive& hive) {
            hive.SetValue("HKEY_CLASSES_ROOT\\.abc", "", platform::RegValue::String("Abc.File"));
            hive.SetValue("HKEY_CLASSES_ROOT\\.abc\\ShellNew", "NullFile",
                          platform::RegValue::String(""));
            return true;
        },
        &error))
        << error;
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, ".abc", ""), "Abc.File");
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, ".ABC\\shellnew", "nullfile"), "");
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, ".abc\\ShellNew", "FileName"), std::nullopt);
    EXPECT_EQ(ReadRegistryString(HKEY_CLASSES_ROOT, ".nothing", ""), std::nullopt);
}

}  // namespace
}  // namespace orbel
