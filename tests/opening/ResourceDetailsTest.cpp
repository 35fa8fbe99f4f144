// The file behind an entry: the stored path split into file, processed marker and link, the
// drive mappings applied, and the stored location offered when the mapped file is missing.
#include <gtest/gtest.h>

#include <fstream>

#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

struct Details {
    bool found = false;
    std::string path;
    std::int32_t pageStart = -1;
    std::int32_t pageEnd = -1;
};

class ResourceDetailsTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        SeedItem(kOwn, 1, 0, 0, "Book", 100, "/srv/book.xls!Sheet1!B2", 2, 3);
        SeedItem(kOwn, 2, 0, 0, "Report", 101, "/srv/report.pdf%PYN1!Sheet1!B2");
        SeedItem(kOwn, 3, 0, 0, "Web", 102, "http://old.example.com/a.pdf%PYN1");
        SeedFolder(kOwn, 4, 0, 0, "Folder");
        SeedItem(kOwn, 5, 0, 0, "Scan", 104, "\\\\srv\\docs\\scan.tif%PAB0!Sheet1!C3", 1, 4);
        SeedEntry(TreeEntry{kOwn, 6, kOwn, 0, 0, "Lost", 999, 1, 0, 0, "", ""});
        SeedItem(kClass, 7, 0, 0, "Template", 107, "/srv/template.doc");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
        docs_ = TempDir() / "docs";
    }

    Details Get(std::int32_t key, bool withMarkers) {
        Details d;
        d.found =
            Ctrl().Lookup().GetResourceDetails(key, d.path, d.pageStart, d.pageEnd, withMarkers);
        return d;
    }
    void MapDocs() { Ctrl().Mappings().AddMapping("\\\\srv\\docs", docs_.string(), false, false); }
    std::string Question(const std::string& missing, const std::string& stored) {
        return "Attachment could not be found at \n\n" + missing +
               "\n\nWould you like to try the original location of \n\n" + stored;
    }

    std::filesystem::path docs_;
};

TEST_F(ResourceDetailsTest, TheMarkerAndTheLinkFollowTheFileInThatOrderOnlyWhenAskedFor) {
    Details book = Get(10, false);
    EXPECT_TRUE(book.found);
    EXPECT_EQ(book.path, "/srv/book.xls");
    EXPECT_EQ(book.pageStart, 2);
    EXPECT_EQ(book.pageEnd, 3);
    EXPECT_EQ(Get(10, true).path, "/srv/book.xls!Sheet1!B2");

    EXPECT_EQ(Get(20, false).path, "/srv/report.pdf");
    EXPECT_EQ(Get(20, true).path, "/srv/report.pdf%PYN1!Sheet1!B2");
    // An entry of the class tree is read from the class OLE ID's rows.
    EXPECT_EQ(Get(71, true).path, "/srv/template.doc");
    // None of these files exists, and no mapping applied: nobody is asked.
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ResourceDetailsTest, AWebAddressIsNeverLookedForOnDiskEvenWhenAMappingApplied) {
    Ctrl().Mappings().AddMapping("http://old.example.com", "http://new.example.com", false, false);
    EXPECT_EQ(Get(30, false).path, "http://new.example.com/a.pdf");
    EXPECT_EQ(Get(30, true).path, "http://new.example.com/a.pdf%PYN1");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ResourceDetailsTest, AMappedFileThatExistsIsTakenWithoutAQuestion) {
    MapDocs();
    std::filesystem::create_directories(docs_);
    std::ofstream(docs_ / "scan.tif") << "II*";
    EXPECT_EQ(Get(50, false).path, (docs_ / "scan.tif").string());
    EXPECT_EQ(Get(50, true).path, (docs_ / "scan.tif").string() + "%PAB0!Sheet1!C3");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ResourceDetailsTest, AMissingMappedFileOffersTheStoredFileOnce) {
    MapDocs();
    const std::string mapped = (docs_ / "scan.tif").string();
    const std::string question = Question(mapped, "\\\\srv\\docs\\scan.tif%PAB0");

    // Yes: the file as stored, without its marker and link...
    User().AnswerMessageBox(MessageAnswer::Yes, question);
    Details stored = Get(50, false);
    EXPECT_TRUE(stored.found);
    EXPECT_EQ(stored.path, "\\\\srv\\docs\\scan.tif");
    EXPECT_EQ(stored.pageEnd, 4);
    // ...which come back, each once, when asked for.
    User().AnswerMessageBox(MessageAnswer::Yes, question);
    EXPECT_EQ(Get(50, true).path, "\\\\srv\\docs\\scan.tif%PAB0!Sheet1!C3");

    // No keeps the path of this machine, missing or not.
    User().AnswerMessageBox(MessageAnswer::No, question);
    EXPECT_EQ(Get(50, true).path, mapped + "%PAB0!Sheet1!C3");
    EXPECT_EQ(Boxes().size(), 3u);
}

TEST_F(ResourceDetailsTest, ARowOfAnotherOwnerIsNotTakenForTheEntry) {
    int reads = 0;
    Hooks().replaceRead = [&reads](std::string_view table) -> std::optional<host::StoreReply> {
        if (table != "OLE_TREE" || reads++ > 0) return std::nullopt;
        const RowText row =
            BuildTreeEntry(TreeEntry{9, 1, 9, 0, 0, "Stranger", 100, 1, 0, 0, "", ""});
        host::StoreReply reply;
        reply.data = row.data;
        reply.keys[0] = row.key1;
        reply.keys[1] = row.key2;
        reply.keys[2] = row.key3;
        return reply;
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Failed to read tree entry for ID 5, RecNo 1");
    Details d;
    d.path = "unchanged";
    EXPECT_FALSE(Ctrl().Lookup().GetResourceDetails(10, d.path, d.pageStart, d.pageEnd, true));
    EXPECT_EQ(d.path, "unchanged");
}

TEST_F(ResourceDetailsTest, AFolderOrAMissingResourceRowGivesNoPath) {
    User().AnswerMessageBox(MessageAnswer::Ok, "Internal Error Resource is empty.");
    EXPECT_FALSE(Get(40, true).found);

    User().AnswerMessageBox(MessageAnswer::Ok, "Error SelectOleRes");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetResource:1");
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Failed to read Resource ID 999, for tree entry ID 5, RecNo 6");
    EXPECT_FALSE(Get(60, true).found);

    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetResourceDetails:1");
    EXPECT_FALSE(Get(80, true).found);
}

TEST_F(ResourceDetailsTest, AHostWalkingTheListGetsAnEmptyTextForARowWithoutAFileAndNoBox) {
    SeedItem(kOwn, 9, 0, 0, "Blank", 109, "");
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Host().Clear();
    // A folder row is answered without asking the store.
    EXPECT_EQ(Ctrl().GetListViewData(Ctrl().ListView()->FindRow(40)), "");
    EXPECT_TRUE(Host().Events().empty());
    EXPECT_EQ(Ctrl().GetListViewData(Ctrl().ListView()->FindRow(90)), "");
    EXPECT_TRUE(Boxes().empty());
    // Opening such an item still tells the user.
    User().AnswerMessageBox(MessageAnswer::Ok, "Internal Error Resource is empty.");
    EXPECT_FALSE(Get(90, true).found);
}

TEST_F(ResourceDetailsTest, TheHostReadsAListRowsPathWithMarkersByItsIndex) {
    const int report = Ctrl().ListView()->FindRow(20);
    ASSERT_GE(report, 0);
    EXPECT_EQ(Ctrl().GetListViewData(report), "/srv/report.pdf%PYN1!Sheet1!B2");

    // A row that is not there is answered at once, without asking the host anything.
    Host().Clear();
    EXPECT_EQ(Ctrl().GetListViewData(-1), "");
    EXPECT_EQ(Ctrl().GetListViewData(Ctrl().GetListViewItemCount()), "");
    EXPECT_TRUE(Host().Events().empty());
}

}  // namespace
}  // namespace orbel
