// Opening an item from the list: the browser the host named, the host for TIFF images and
// relative paths, an XML copy carrying the host's stylesheet, or the file type's program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

namespace fs = std::filesystem;
using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

// The file's bytes; empty when it is not there.
std::string ReadAll(const fs::path& file) {
    std::error_code missing;
    std::string bytes(fs::file_size(file, missing), '\0');
    if (missing) return {};
    std::ifstream(file, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteAll(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class ViewResourceTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        // Every test has a temporary folder of its own for the exported files.
        if (const char* old = std::getenv("TMPDIR")) oldTmpDir_ = old;
        tmp_ = TempDir() / "tmp";
        fs::create_directories(tmp_);
        setenv("TMPDIR", tmp_.c_str(), 1);
        docs_ = TempDir() / "docs";
    }
    void TearDown() override {
        if (oldTmpDir_)
            setenv("TMPDIR", oldTmpDir_->c_str(), 1);
        else
            unsetenv("TMPDIR");
        StoreControlTest::TearDown();
    }

    CViewList& List() { return *Ctrl().ListView(); }
    platform::RecordingShell& Shell() { return P().ShellService(); }
    std::string Doc(const std::string& name, const std::string& bytes = "content") {
        WriteAll(docs_ / name, bytes);
        return (docs_ / name).string();
    }
    std::string Tmp(const std::string& name) const { return (tmp_ / name).string(); }
    void View(const std::string& path, std::int32_t first = 0, std::int32_t last = 0) {
        List().ViewResource(path, first, last, true);
    }
    static std::string OpenedLine(const std::string& file, int result = 42) {
        return "open document=\"" + file + "\" show=1 -> " + std::to_string(result);
    }
    static std::string Instruction(const std::string& stylesheet) {
        return "<?xml-stylesheet type='text/xsl' href='" + stylesheet + "'?>";
    }
    static std::string OpenFailure(const std::string& name, int error) {
        return "Failed to create/open file " + name + ".\n\nError " + std::to_string(error);
    }

    fs::path tmp_;
    fs::path docs_;
    std::optional<std::string> oldTmpDir_;
};

TEST_F(ViewResourceTest, TheBrowseTargetTakesThePlaceOfThePathsFirstCharacters) {
    const std::string target = "http://intranet/x";
    ASSERT_EQ(target.size(), 17u);
    ASSERT_TRUE(Ctrl().ProcessTarnMessage("H" + target));
    // The browser comes first: before the host's TIFF notification and the XML export.
    Put("NotifySelectTiff", Variant(true));

    View("\\\\fileserver\\docs\\sub\\scan.tif", 1, 3);
    // Seventeen characters go, whatever they are.
    View("C:\\Archives\\2023\\Q1\\report.xml");
    View("C:\\a.doc");
    EXPECT_EQ(Shell().Lines(),
              (std::vector<std::string>{
                  "open file=\"iexplore.exe\" parameters=\"http://intranet/x/sub/scan.tif\" "
                  "directory=\"\" show=1 -> 42",
                  "open file=\"iexplore.exe\" parameters=\"http://intranet/xQ1/report.xml\" "
                  "directory=\"\" show=1 -> 42",
                  // A path shorter than the target leaves the target alone.
                  "open file=\"iexplore.exe\" parameters=\"http://intranet/x\" directory=\"\" "
                  "show=1 -> 42"}));
    EXPECT_TRUE(UserEvents().empty());
    EXPECT_TRUE(fs::is_empty(tmp_));
}

TEST_F(ViewResourceTest, ATiffGoesToTheHostOnlyWhenItAskedForTiffs) {
    const std::string scan = Doc("scan.tif");
    const std::string upper = Doc("SCAN.TIF");

    Put("NotifySelectTiff", Variant(true));
    View(scan, 2, 5);
    EXPECT_EQ(UserEvents(), std::vector<std::string>{"SelectTiff(\"" + scan + "\", 2, 5)"});
    EXPECT_TRUE(Shell().Lines().empty());
    // The TIFF test goes by the lower-case extension alone.
    View(upper, 1, 1);
    EXPECT_EQ(Shell().Lines(), std::vector<std::string>{OpenedLine(upper)});

    Adapter().ClearUserEvents();
    Shell().Clear();
    Put("NotifySelectTiff", Variant(false));
    View(scan, 2, 5);
    EXPECT_EQ(Shell().Lines(), std::vector<std::string>{OpenedLine(scan)});
    EXPECT_TRUE(UserEvents().empty());
}

TEST_F(ViewResourceTest, AnXmlFileReachesTheHostAsACopyUnderTheStylesheetInstruction) {
    ASSERT_TRUE(Ctrl().ProcessTarnMessage("y/styles/view.xsl"));
    // More than one copy block, ending in the middle of one.
    std::string body = "<?xml version=\"1.0\"?>\n<rows>\n";
    while (body.size() < 9000) body += "  <row id=\"" + std::to_string(body.size()) + "\"/>\n";
    body += "</rows>\n";
    const std::string lower = Doc("rows.xml", body);
    const std::string upper = Doc("ROWS.XML", "<a/>");
    const std::string mixed = Doc("rows.Xml", "<a/>");

    View(lower);
    View(upper);
    EXPECT_EQ(UserEvents(), (std::vector<std::string>{"OnViewFile(\"" + Tmp("XML0.xml") + "\")",
                                                      "OnViewFile(\"" + Tmp("XML1.xml") + "\")"}));
    EXPECT_EQ(ReadAll(Tmp("XML0.xml")), Instruction("/styles/view.xsl") + body);
    EXPECT_EQ(ReadAll(Tmp("XML1.xml")), Instruction("/styles/view.xsl") + "<a/>");
    EXPECT_EQ(ReadAll(lower), body);
    EXPECT_TRUE(Shell().Lines().empty());

    // Any other spelling of the extension is a document for its program.
    View(mixed);
    EXPECT_EQ(Shell().Lines(), std::vector<std::string>{OpenedLine(mixed)});
    EXPECT_FALSE(fs::exists(Tmp("XML2.xml")));
}

TEST_F(ViewResourceTest, ExportNamesCountInLowerCaseHexadecimalPastTakenNames) {
    const std::string source = Doc("a.xml", "<a/>");
    WriteAll(Tmp("XML0.xml"), "taken");
    WriteAll(Tmp("XML1.xml"), "taken");
    EXPECT_EQ(List().ExportXmlWithStylesheet(source, "s.xsl"), Tmp("XML2.xml"));
    for (int n = 3; n <= 9; ++n) WriteAll(Tmp("XML" + std::to_string(n) + ".xml"), "taken");
    EXPECT_EQ(List().ExportXmlWithStylesheet(source, "s.xsl"), Tmp("XMLa.xml"));
    EXPECT_EQ(ReadAll(Tmp("XML1.xml")), "taken");
}

TEST_F(ViewResourceTest, ALinkOrAFileAtTheChosenNameIsNeverWrittenThrough) {
    const std::string source = Doc("a.xml", "<a/>");
    const fs::path victim = TempDir() / "victim";
    const fs::path precious = TempDir() / "precious";
    WriteAll(precious, "keep");
    // A dangling link looks free to the existence test; the exclusive create passes it over.
    fs::create_symlink(victim, Tmp("XML0.xml"));
    fs::create_symlink(precious, Tmp("XML1.xml"));

    EXPECT_EQ(List().ExportXmlWithStylesheet(source, "s.xsl"), Tmp("XML2.xml"));
    EXPECT_FALSE(fs::exists(victim));
    EXPECT_EQ(ReadAll(precious), "keep");
    EXPECT_EQ(ReadAll(Tmp("XML2.xml")), Instruction("s.xsl") + "<a/>");
}

TEST_F(ViewResourceTest, ASourceNobodyMayWriteIsExported) {
    // The running test program: the system refuses to open it for writing, to root as well.
    const fs::path program = fs::read_symlink("/proc/self/exe");
    const std::string exported = List().ExportXmlWithStylesheet(program.string(), "s.xsl");
    ASSERT_EQ(exported, Tmp("XML0.xml"));
    const std::string head = Instruction("s.xsl");
    const std::string copy = ReadAll(exported);
    const std::string original = ReadAll(program);
    EXPECT_EQ(copy.substr(0, head.size()), head);
    // Compared whole without printing megabytes on a failure.
    EXPECT_TRUE(copy.size() > head.size() && copy.compare(head.size(), copy.npos, original) == 0)
        << "exported " << copy.size() << " bytes for a source of " << original.size();
}

TEST_F(ViewResourceTest, AnExportThatFailsIsReportedAndNothingReachesTheHost) {
    const std::string missing = (docs_ / "gone.xml").string();
    User().AnswerMessageBox(MessageAnswer::Ok, OpenFailure(missing, ENOENT));
    View(missing);
    EXPECT_TRUE(UserEvents().empty());
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(fs::is_empty(tmp_));

    // A temporary folder that is not there: the message names the file it tried to make.
    const fs::path nowhere = TempDir() / "no-such-folder";
    setenv("TMPDIR", nowhere.c_str(), 1);
    User().AnswerMessageBox(MessageAnswer::Ok,
                            OpenFailure((nowhere / "XML0.xml").string(), ENOENT));
    View(Doc("a.xml"));
    EXPECT_TRUE(UserEvents().empty());
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(ViewResourceTest, APipeOrADeviceIsRefusedWithoutWaitingAndLeavesNoCopy) {
    ASSERT_TRUE(Ctrl().ProcessTarnMessage("y/styles/view.xsl"));
    fs::create_directories(docs_);
    const std::string fifo = (docs_ / "feed.xml").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string device = (docs_ / "null.xml").string();
    fs::create_symlink("/dev/null", device);

    User().AnswerMessageBox(MessageAnswer::Ok, OpenFailure(fifo, ENXIO));
    Ctrl().ShowItem(fifo);
    User().AnswerMessageBox(MessageAnswer::Ok, OpenFailure(device, ENXIO));
    View(device);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(UserEvents().empty());
    EXPECT_TRUE(fs::is_empty(tmp_));
}

TEST_F(ViewResourceTest, AStoredPathWithQuotesIsOpenedAsOneDocument) {
    // Quoted and split as a command, the part before the inner quote ran as a program with the
    // rest as its arguments.
    const std::string quoted = "/usr/bin/python3\" -c \"import os\"";
    const std::string draft = Doc("My \"draft\".txt");
    Ctrl().ShowItem(quoted);
    List().OpenPath(draft, 0, 0, true);
    ASSERT_EQ(Shell().Requests().size(), 2u);
    for (const auto& record : Shell().Requests()) {
        EXPECT_EQ(record.request.target, platform::ShellTarget::Document);
        EXPECT_EQ(record.request.parameters, "");
    }
    EXPECT_EQ(Shell().Requests()[0].request.file, quoted);
    EXPECT_EQ(Shell().Requests()[1].request.file, draft);
}

TEST_F(ViewResourceTest, OnlyAFullPathIsOpenedHereAnyOtherGoesToTheHost) {
    List().OpenPath("docs\\letter.doc", 1, 2, true);
    List().OpenPath("letter.doc", 0, 0, false);
    EXPECT_EQ(UserEvents(), (std::vector<std::string>{"SelectAttachment(\"docs\\\\letter.doc\")",
                                                      "SelectAttachment(\"letter.doc\")"}));
    EXPECT_TRUE(Shell().Lines().empty());

    Adapter().ClearUserEvents();
    List().OpenPath("C:\\letters\\a.doc", 0, 0, true);
    List().OpenPath("\\\\srv\\letters\\b.doc", 0, 0, false);
    List().OpenPath("/srv/letters/c.doc", 0, 0, true);
    EXPECT_EQ(Shell().Lines(),
              (std::vector<std::string>{OpenedLine("C:\\\\letters\\\\a.doc"),
                                        OpenedLine("\\\\\\\\srv\\\\letters\\\\b.doc"),
                                        OpenedLine("/srv/letters/c.doc")}));
    EXPECT_TRUE(UserEvents().empty());
}

TEST_F(ViewResourceTest, TheProgramRunsUnderTheHourglassAndItsFailureIsShown) {
    const std::string letter = Doc("my letter.doc");
    P().Windows().SetCursor(platform::Cursor::Arrow);
    std::vector<platform::Cursor> during;
    Shell().SetListener([&](const std::string&) { during.push_back(P().Windows().GetCursor()); });

    List().OpenInProgram(letter);
    // The shell could not start anything: its own message says why and offers the folder that
    // holds the document, which the user declines.
    Shell().FailNext(SE_ERR_NOASSOC);
    User().AnswerMessageBox(MessageAnswer::No, "Unable to execute " + letter);
    List().OpenInProgram(letter);
    List().OpenInProgram("");

    EXPECT_EQ(Shell().Lines(),
              (std::vector<std::string>{OpenedLine(letter), OpenedLine(letter, SE_ERR_NOASSOC)}));
    EXPECT_EQ(during, (std::vector<platform::Cursor>{platform::Cursor::Hourglass,
                                                     platform::Cursor::Hourglass}));
    EXPECT_EQ(P().Windows().GetCursor(), platform::Cursor::Arrow);
}

TEST_F(ViewResourceTest, OpeningAnItemViewsItsBareFileWithItsPages) {
    const std::string scan = Doc("scan.tif");
    SeedItem(kOwn, 1, 0, 0, "Scan", 100, scan + "%PYN1!Sheet1!B2", 2, 5);
    SeedFolder(kOwn, 2, 0, 0, "Folder");
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Put("NotifySelectTiff", Variant(true));
    Adapter().ClearUserEvents();

    List().OpenItem(10);
    EXPECT_EQ(UserEvents(), std::vector<std::string>{"SelectTiff(\"" + scan + "\", 2, 5)"});

    // An entry without a resource: the lookup says so and nothing is opened.
    Adapter().ClearUserEvents();
    User().AnswerMessageBox(MessageAnswer::Ok, "Internal Error Resource is empty.");
    List().OpenItem(20);
    EXPECT_TRUE(UserEvents().empty());
    EXPECT_TRUE(Shell().Lines().empty());
}

}  // namespace
}  // namespace orbel
