// Routing documents: attaching to another tree, the subscribers each one reaches, and the
// routing sheet's batch run with the processed markers it leaves in the stored paths.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/store/ProcessedMarker.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;
constexpr std::int32_t kTarget = 7;
constexpr std::int32_t kEmail = 50;
constexpr std::int32_t kSheet = 40;  // the tree of the directory-selection class

class RoutingTest : public test::StoreControlTest {
  protected:
    // Subscribers of the target tree: a group that sorts first holds Carol and an inner group
    // with Dave and, a second time, Alice.
    void SeedSubscribers() {
        SeedClass("EMAIL", kEmail);
        SeedFolder(kTarget, 1, kEmail, 0, "Accounts");
        SeedItem(kTarget, 2, kEmail, 0, "Alice", 201, "alice@example.com");
        SeedItem(kTarget, 3, kEmail, 0, "Bob", 202, "bob@example.com");
        SeedItem(kTarget, 4, kTarget, 1, "Carol", 203, "carol@example.com");
        SeedFolder(kTarget, 5, kTarget, 1, "Zeta group");
        SeedEntry(TreeEntry{kTarget, 6, kTarget, kTarget, 5, "Alice", 201, 1, 0, 0, "", ""});
        SeedItem(kTarget, 7, kTarget, 5, "Dave", 204, "dave@example.com");
        // Another tree's subscriber is not reached.
        SeedItem(kOwn, 8, kEmail, 0, "Eve", 205, "eve@example.com");
    }
    std::vector<std::string> Mails() const {
        std::vector<std::string> out;
        for (const std::string& e : UserEvents())
            if (e.rfind("SendEmail(", 0) == 0) out.push_back(e);
        return out;
    }
    // A routing sheet: two files waiting in the directory-selection class's tree.
    void OpenSheet() {
        SeedClass("5", kSheet);
        SeedItem(kSheet, 1, 0, 0, "Invoice", 301, "/srv/in/invoice.tif");
        SeedItem(kSheet, 2, 0, 0, "Book", 302, "/srv/in/book.xls!Sheet1!B2");
        Put("DirectorySelect", Variant(true));
        Ctrl().ProcessTarnMessage("j");
        ASSERT_EQ(Ctrl().Initiate(0, 0), kSheet);
        Adapter().ClearUserEvents();
    }
    CViewList& List() { return *Ctrl().ListView(); }
    int RowOf(const std::string& name) {
        for (int row = 0; row < List().GetItemCount(); ++row)
            if (List().RowText(row, 0) == name) return row;
        return -1;
    }
    void Route(const std::string& name, const char* action, const std::string& reply) {
        Ctrl().SetAttachOrEmail(RowOf(name), action);
        Ctrl().ProcessTarnMessage(reply);
    }
    std::string StoredPath(std::int32_t resourceId) { return ResourceRow(resourceId)->Path; }
};

TEST_F(RoutingTest, EverySubscriberIsReachedBreadthFirstOncePerPlaceItIsListed) {
    SeedSubscribers();
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Adapter().ClearUserEvents();
    // Outside directory selection the ledger and account never reach the host.
    Ctrl().SendMailGetResources("/srv/a.tif", kTarget, "LEDG1", "ACC");
    EXPECT_EQ(Mails(), (std::vector<std::string>{
                           R"(SendEmail("alice@example.com", "/srv/a.tif", "", "", "N"))",
                           R"(SendEmail("bob@example.com", "/srv/a.tif", "", "", "N"))",
                           R"(SendEmail("carol@example.com", "/srv/a.tif", "", "", "N"))",
                           R"(SendEmail("alice@example.com", "/srv/a.tif", "", "", "N"))",
                           R"(SendEmail("dave@example.com", "/srv/a.tif", "", "", "N"))"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RoutingTest, AttachingToATreeWithoutSubscribersAddsTheItemAndTellsNobody) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    SeedItem(kTarget, 4, 0, 0, "Older", 100, "/srv/older.doc");
    Put("BatchMaint", Variant(true));
    Adapter().ClearUserEvents();
    EXPECT_TRUE(Ctrl().AttachItem("Report", "/srv/out/report.html", kTarget, "L", "A"));
    EXPECT_TRUE(Ctrl().AttachItem("Scan", "/srv/out/scan.tif", kTarget, "L", "A"));
    EXPECT_EQ(TreeRow(kTarget, 5),
              (TreeEntry{kTarget, 5, kTarget, 0, 0, "Report", 1, 1, 0, 0, "00000000", ""}));
    EXPECT_EQ(TreeRow(kTarget, 6)->Type, "tif");
    EXPECT_EQ(StoredPath(1), "/srv/out/report.html");
    EXPECT_TRUE(Mails().empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RoutingTest, AFailedAttachSaysWhichStepAndKeepsTheResourceItInserted) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Hooks().refuseInsert = [](std::string_view table, std::string_view) {
        return table == "OLE_TREE";
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error AttachItem:4");
    EXPECT_FALSE(Ctrl().AttachItem("Scan", "/srv/scan.tif", kTarget, "", ""));
    EXPECT_EQ(StoredPath(1), "/srv/scan.tif");
    EXPECT_TRUE(TreeNames(kTarget).empty());
}

TEST_F(RoutingTest, TheMarkerSitsBeforeTheLinkAndKeepsTheOtherFlag) {
    MarkedPath marked = WithProcessedFlag("/srv/book.xls!Sheet1!B2", kEmailFlag, true);
    EXPECT_EQ(marked.file, "/srv/book.xls%P01%");
    EXPECT_EQ(marked.link, "Sheet1!B2");
    marked = WithProcessedFlag("/srv/book.xls%P01%", kAttachFlag, true);
    EXPECT_EQ(marked.file, "/srv/book.xls%P11%");
    marked = WithProcessedFlag("/srv/book.xls%P11%", kAttachFlag, false);
    EXPECT_EQ(marked.file, "/srv/book.xls%P01%");

    std::string path = "/srv/book.xls%P01%!Sheet1!B2";
    EXPECT_TRUE(TakeProcessedFlag(path, kEmailFlag));
    EXPECT_EQ(path, "/srv/book.xls");
    path = "/srv/book.xls%P01%";
    EXPECT_FALSE(TakeProcessedFlag(path, kAttachFlag));
    // A flag beyond a marker cut short is not set; a path without a marker keeps its link.
    path = "/srv/a.tif%P1";
    EXPECT_FALSE(TakeProcessedFlag(path, kEmailFlag));
    path = "/srv/book.xls!Sheet1!B2";
    EXPECT_FALSE(TakeProcessedFlag(path, kAttachFlag));
    EXPECT_EQ(path, "/srv/book.xls!Sheet1!B2");
}

TEST_F(RoutingTest, ABatchRunCarriesOutEachRouteOnceAndMarksItInTheStore) {
    SeedSubscribers();
    OpenSheet();
    Route("Invoice", "ATTACH", "hLEDG1ACC42  00000007");
    Route("Book", "EMAIL", "h12345boss@example.com 00000001");
    EXPECT_EQ(Ctrl().GetProcessedAttachmentCount(false), 2);

    User().AnswerMessageBox(MessageAnswer::No, "Batch is completed. Continue?");
    List().ProcessBatch();
    EXPECT_EQ(ListDump(),
              "columns: Name | Attach To | Email To\n"
              "0 key=21 image=1: Book |  | [ Processed ]\n"
              "1 key=11 image=1: Invoice | LEDG1ACC42 [ Processed ] | \n");
    // The invoice went to tree 7 with the ledger and account; the book was mailed with its
    // link, which only a marker cuts off.
    EXPECT_EQ(TreeRow(kTarget, 8)->Name, "Invoice");
    EXPECT_EQ(
        Mails(),
        (std::vector<std::string>{
            R"(SendEmail("boss@example.com", "/srv/in/book.xls!Sheet1!B2", "", "", "h"))",
            R"(SendEmail("alice@example.com", "/srv/in/invoice.tif", "LEDG1", "ACC42", "Y"))",
            R"(SendEmail("bob@example.com", "/srv/in/invoice.tif", "LEDG1", "ACC42", "Y"))",
            R"(SendEmail("carol@example.com", "/srv/in/invoice.tif", "LEDG1", "ACC42", "Y"))",
            R"(SendEmail("alice@example.com", "/srv/in/invoice.tif", "LEDG1", "ACC42", "Y"))",
            R"(SendEmail("dave@example.com", "/srv/in/invoice.tif", "LEDG1", "ACC42", "Y"))"}));
    EXPECT_EQ(StoredPath(301), "/srv/in/invoice.tif%P10%");
    EXPECT_EQ(StoredPath(302), "/srv/in/book.xls%P01%!Sheet1!B2");
    EXPECT_EQ(Ctrl().GetProcessedAttachmentCount(false), 0);
    EXPECT_EQ(Ctrl().GetProcessedAttachmentCount(true), 2);

    // Even with the column typed again, the stored flag stops a second attach.
    Adapter().ClearUserEvents();
    Route("Invoice", "ATTACH", "hLEDG1ACC42  00000007");
    User().AnswerMessageBox(MessageAnswer::No, "Batch is completed. Continue?");
    List().ProcessBatch();
    EXPECT_TRUE(Mails().empty());
    EXPECT_EQ(TreeNames(kTarget).size(), 8u);

    // Listed again, the sheet shows what was done.
    Ctrl().Initiate(0, 0);
    EXPECT_EQ(ListDump(),
              "columns: Name | Attach To | Email To\n"
              "0 key=21 image=1: Book |  | [ Processed ]\n"
              "1 key=11 image=1: Invoice | [ Processed ] | \n");
    EXPECT_EQ(List().Routing().size(), 2u);
}

// The batch run reads a row once, then again only after the host has heard something it may
// act on: a row it changes while told of the attached item's subscribers keeps that change.
TEST_F(RoutingTest, ARowIsReadAgainOnlyAfterTheHostCouldHaveChangedIt) {
    OpenSheet();
    Route("Invoice", "ATTACH", "hLEDG2ACC9   00000009");
    Route("Invoice", "EMAIL", "h12345boss@example.com 00000001");
    int resourceReads = 0;
    Hooks().replaceRead = [&](std::string_view table) -> std::optional<host::StoreReply> {
        if (table == "OLE_RES") ++resourceReads;
        return std::nullopt;
    };
    List().ProcessBatch();
    // The invoice before the attach, when marking it, and when marking the mail that the host
    // was told of; then the book, which this run left alone, for the end of the batch.
    EXPECT_EQ(resourceReads, 4);
    EXPECT_EQ(StoredPath(301), "/srv/in/invoice.tif%P11%");

    // Now with subscribers: the host mails the document itself while told of the first one,
    // and says so in the stored path.
    SeedSubscribers();
    SeedItem(kSheet, 3, 0, 0, "Memo", 303, "/srv/in/memo.txt");
    Ctrl().Initiate(0, 0);
    Route("Memo", "ATTACH", "hLEDG1ACC42  00000007");
    Route("Memo", "EMAIL", "h12345boss@example.com 00000001");
    Adapter().OnUserEvent([&](const host::UserEvent& event) {
        if (event.name != "SendEmail" || StoredPath(303) != "/srv/in/memo.txt") return;
        const RowText row = BuildResourceRecord(ResourceRecord{303, "/srv/in/memo.txt%P01%"});
        ASSERT_EQ(Store().UpdateRecord("OLE_RES", row.data, row.key1, "", ""), host::kStoreOk);
    });
    Adapter().ClearUserEvents();
    List().ProcessBatch();
    EXPECT_EQ(StoredPath(303), "/srv/in/memo.txt%P11%");
    for (const std::string& mail : Mails()) EXPECT_EQ(mail.find("boss@"), std::string::npos);
    EXPECT_EQ(Mails().size(), 5u);
}

TEST_F(RoutingTest, ClearingAttachToLetsTheRowGoToANewTarget) {
    OpenSheet();
    // The book has no route: the batch is not complete, and nobody is asked.
    Route("Invoice", "ATTACH", "hLEDG1ACC42  00000007");
    List().ProcessBatch();
    const int row = RowOf("Invoice");
    ListModel().UserClick(row);
    List().OnListCommand(32761);
    EXPECT_EQ(List().RowText(row, 1), "");
    EXPECT_EQ(StoredPath(301), "/srv/in/invoice.tif%P00%");
    Route("Invoice", "ATTACH", "hLEDG2ACC9   00000009");
    List().ProcessBatch();
    EXPECT_EQ(TreeRow(9, 1)->Name, "Invoice");
    EXPECT_EQ(StoredPath(301), "/srv/in/invoice.tif%P10%");
}

TEST_F(RoutingTest, TheCleanUpPassesOverARowItCannotDeleteAndEnds) {
    OpenSheet();
    Route("Invoice", "ATTACH", "hLEDG1ACC42  00000007");
    Route("Book", "EMAIL", "h12345boss@example.com 00000001");
    Hooks().refuseDelete = [](std::string_view table, std::string_view key1) {
        return table == "OLE_TREE" && key1 == "0000004000000002";
    };
    User().AnswerMessageBox(MessageAnswer::Yes, "Batch is completed. Continue?");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error DeleteOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok);
    List().ProcessBatch();
    EXPECT_EQ(ListDump(),
              "columns: Name | Attach To | Email To\n"
              "0 key=21 image=1: Book |  | [ Processed ]\n");
    EXPECT_EQ(TreeNames(kSheet), (std::vector<std::string>{"Book"}));
}

}  // namespace
}  // namespace orbel
