#include <gtest/gtest.h>

#include <map>

#include "src/control/OrbelIds.h"
#include "tests/control/ControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

class ExchangeTest : public test::ControlTest {
  protected:
    CHostExchange& X() { return Ctrl().Exchange(); }
    // Three rows and the end of the select, each reply 1 ms apart on the host's side.
    void StreamRows(std::vector<std::string> names, std::int32_t endResult) {
        Host().OnEvent([this, names, endResult](DISPID id, std::span<const Variant>) {
            if (id != eventidSelectTable) return;
            for (const std::string& n : names) {
                TreeEntry e{5, 1, 5, 0, 0, n, 0, 0, 0, 0, "", ""};
                RowText row = BuildTreeEntry(e);
                PostReply(kResultRow, row.data, row.key1, row.key2, row.key3);
            }
            PostReply(endResult);
        });
    }
};

TEST_F(ExchangeTest, AHostThatNeverAnswersTimesOutAfterTheResponseTimeOut) {
    Ctrl().SetDirectIDRetrieval(true);
    User().AnswerMessageBox(MessageAnswer::Ok, "Timeout waiting response from container");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error getting next OLE ID");
    EXPECT_EQ(X().GetNextOLEID(), -1);
    EXPECT_EQ(X().LastResult(), kResultTimeout);
    EXPECT_EQ(P().Loop().Now(), 10000u);
    EXPECT_TRUE(Ctrl().QueryClose());
    EXPECT_EQ(Host().Events(), (std::vector<std::string>{"Yield()", "GetNextOLEID()"}));
}

TEST_F(ExchangeTest, TheTimeOutIsTheOneSetBeforeTheWaitAndRunsFromTheLastReply) {
    Put("ResponseTimeOut", Variant(std::int32_t{500}));
    User().AnswerMessageBox(MessageAnswer::Ok, "Timeout");
    EXPECT_EQ(X().ReadOleTree(), kResultTimeout);
    EXPECT_EQ(P().Loop().Now(), 500u);

    // Rows 9 s apart under the default 10 s never time out: each reply restarts the timer.
    Put("ResponseTimeOut", Variant(std::int32_t{10000}));
    const std::uint64_t start = P().Loop().Now();
    Host().OnEvent([this](DISPID id, std::span<const Variant>) {
        if (id != eventidSelectTable) return;
        for (int i = 1; i <= 3; ++i) {
            P().Loop().PostDelayedTask(9000 * i, [this] {
                RowText row = BuildTreeEntry(TreeEntry{5, 1, 5, 0, 0, "row", 0, 0, 0, 0, "", ""});
                Ctrl().RequestResult(kResultRow, row.data, row.key1, row.key2, row.key3, "", "", "",
                                     "", "", "", "");
            });
        }
        P().Loop().PostDelayedTask(36000, [this] {
            Ctrl().RequestResult(kResultEndOfData, "", "", "", "", "", "", "", "", "", "", "");
        });
    });
    int rows = 0;
    TreeEntry any;
    EXPECT_EQ(X().SelectTableOleTree(KeyNo::Key2, any, any,
                                     [&](std::int32_t r, const TreeEntry&) {
                                         if (r != kResultRow) return true;
                                         ++rows;
                                         return false;
                                     }),
              kResultEndOfData);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(P().Loop().Now() - start, 36000u);
}

// A select whose host sends rows at the given times (ms after the request, each with the
// time-out the host sets before it) and then falls silent: the wait times out one time-out
// after the last row, whatever came before it.
TEST_F(ExchangeTest, ASelectThatFallsSilentTimesOutOneTimeOutAfterItsLastRow) {
    struct Shape {
        std::vector<std::pair<UINT, std::int32_t>> rows;  // (when, time-out set before it)
        std::uint64_t timesOutAfter;
    };
    const Shape shapes[] = {
        {{{0, 500}, {0, 500}}, 500},                     // rows at the request's moment
        {{{3, 500}, {4, 500}}, 504},                     // just after the timer was set
        {{{9000, 10000}, {9005, 10000}}, 19005},         // each within the last interval
        {{{100, 10000}, {200, 500}}, 700},               // the time-out shortened
        {{{100, 500}, {300, 2000}, {301, 2000}}, 2301},  // and lengthened
        {{{490, 500}, {985, 500}, {986, 20}}, 1006},     // near the timer's own moment
    };
    for (const Shape& shape : shapes) {
        Put("ResponseTimeOut", Variant(shape.rows.front().second));
        Host().OnEvent([this, &shape](DISPID id, std::span<const Variant>) {
            if (id != eventidSelectTable) return;
            for (const auto& [when, timeOut] : shape.rows)
                P().Loop().PostDelayedTask(when, [this, timeOut = timeOut] {
                    Put("ResponseTimeOut", Variant(timeOut));
                    RowText row =
                        BuildTreeEntry(TreeEntry{5, 1, 5, 0, 0, "row", 0, 0, 0, 0, "", ""});
                    Ctrl().RequestResult(kResultRow, row.data, row.key1, row.key2, row.key3, "", "",
                                         "", "", "", "", "");
                });
        });
        User().AnswerMessageBox(MessageAnswer::Ok, "Timeout waiting response from container");
        User().AnswerMessageBox(MessageAnswer::Ok, "Error SelectTableOleTree");
        const std::uint64_t start = P().Loop().Now();
        std::size_t rows = 0;
        TreeEntry any;
        EXPECT_EQ(X().SelectTableOleTree(KeyNo::Key2, any, any,
                                         [&](std::int32_t, const TreeEntry&) {
                                             ++rows;
                                             return false;
                                         }),
                  kResultTimeout);
        EXPECT_EQ(rows, shape.rows.size());
        EXPECT_EQ(P().Loop().Now() - start, shape.timesOutAfter) << shape.timesOutAfter;
        // The wait's timer is gone with it.
        P().RunFor(30000);
        EXPECT_EQ(X().LastResult(), kResultTimeout);
    }
}

TEST_F(ExchangeTest, ASelectStreamsEveryRowToTheHandlerAndEndsWithoutAMessage) {
    StreamRows({"Letters", "Invoices", "Scans"}, kResultEndOfData);
    std::vector<std::string> seen;
    TreeEntry start{5, 0, 5, 0, 0, "", 0, 0, 0, 0, "", ""};
    TreeKey2 endKey = TreeKey2RangeEnd(5);
    TreeEntry end{5, 0,  5, endKey.ParentOwnerId, endKey.ParentEntryNo, endKey.Name, 0, 0, 0,
                  0, "", ""};
    std::int32_t result =
        X().SelectTableOleTree(KeyNo::Key2, start, end, [&](std::int32_t r, const TreeEntry& e) {
            if (r != kResultRow) return true;
            seen.push_back(e.Name);
            return false;
        });
    EXPECT_EQ(result, kResultEndOfData);
    EXPECT_EQ(seen, (std::vector<std::string>{"Letters", "Invoices", "Scans"}));
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(TableEvents().size(), 1u);
    EXPECT_EQ(TableEvents()[0], "SelectTable(\"OLE_TREE\", 2, \"000000050000000000000000" +
                                    std::string(30, ' ') + "\", \"000000059999999999999999" +
                                    std::string(30, 'z') + "\")");
}

TEST_F(ExchangeTest, ASelectAnsweredWithAnErrorSaysSoAndKeepsTheRowsAlreadyHandled) {
    StreamRows({"Letters"}, 3);
    User().AnswerMessageBox(MessageAnswer::Ok, "Error SelectTableOleTree");
    int rows = 0;
    TreeEntry any;
    EXPECT_EQ(X().SelectTableOleTree(KeyNo::Key2, any, any,
                                     [&](std::int32_t r, const TreeEntry&) {
                                         if (r == kResultRow) ++rows;
                                         return r != kResultRow;
                                     }),
              3);
    EXPECT_EQ(rows, 1);
}

TEST_F(ExchangeTest, KeysSentWithAnEmptyDataStringAreDropped) {
    Ctrl().SetDirectIDRetrieval(true);
    Host().OnEvent([this](DISPID id, std::span<const Variant>) {
        if (id == eventidGetNextOLEID) PostReply(kResultOk, "", "123");
        if (id == eventidGetNextResourceID) PostReply(kResultOk, "x", "124");
    });
    EXPECT_EQ(X().GetNextOLEID(), 0);
    EXPECT_EQ(X().GetNextResourceID(), 124);
    EXPECT_EQ(X().Replies()[0], "x");
}

TEST_F(ExchangeTest, AReadAnsweredWithoutARowGivesAnEmptyRow) {
    X().m_treeEntry = TreeEntry{1, 2, 1, 3, 4, "old", 5, 1, 6, 7, "8", "tif"};
    Host().OnEvent([this](DISPID id, std::span<const Variant>) {
        if (id == eventidReadNextRecord) PostReply(kResultOk);
    });
    EXPECT_EQ(X().ReadOleTree(), kResultOk);
    EXPECT_EQ(X().m_treeEntry, TreeEntry{});
}

TEST_F(ExchangeTest, ARequestStartedWhileAnotherWaitsIsRefusedAndTheFirstCompletes) {
    Ctrl().SetDirectIDRetrieval(true);
    std::int32_t nested = 0;
    bool closeDuringWait = true;
    Host().OnEvent([&](DISPID id, std::span<const Variant>) {
        if (id != eventidGetNextOLEID) return;
        closeDuringWait = Ctrl().QueryClose();
        // Something dispatched during the wait starts a second request.
        P().Loop().PostTask([&] { nested = X().ReadOleClass(); });
        PostReply(kResultOk, "x", "77");
    });
    User().AnswerMessageBox(MessageAnswer::Ok, "Error ReadOleClass");
    EXPECT_EQ(X().GetNextOLEID(), 77);
    EXPECT_EQ(nested, kResultRefused);
    EXPECT_FALSE(closeDuringWait);
    // The refused request asked the host nothing.
    EXPECT_EQ(Host().Events(), (std::vector<std::string>{"Yield()", "GetNextOLEID()"}));
}

TEST_F(ExchangeTest, AQuitDuringAWaitEndsItAsATimeOutAndStillReachesTheOuterLoop) {
    Ctrl().SetDirectIDRetrieval(true);
    Host().OnEvent([this](DISPID id, std::span<const Variant>) {
        if (id == eventidGetNextOLEID) P().Loop().PostQuitMessage(4);
    });
    User().AnswerMessageBox(MessageAnswer::Ok, "Error getting next OLE ID");
    EXPECT_EQ(X().GetNextOLEID(), -1);
    EXPECT_EQ(X().LastResult(), kResultTimeout);
    EXPECT_EQ(P().Loop().Now(), 0u);  // no time passed: the quit ended it, not the timer
    MSG msg;
    EXPECT_FALSE(P().Loop().GetMessage(msg));
    EXPECT_TRUE(P().Loop().LastQuitWasPosted());
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(ExchangeTest, ATimerMessageOutsideAWaitChangesNothing) {
    Ctrl().SendMessage(WM_TIMER, kWaitTimerId, 0);
    EXPECT_TRUE(Ctrl().QueryClose());
    EXPECT_EQ(X().LastResult(), 0);
}

// A host keeping OLE_CLA in memory, answering from the loop.
class ClassTableHost {
  public:
    explicit ClassTableHost(test::ControlTest& t,
                            std::function<void(std::int32_t, std::string, std::string)> reply)
        : reply_(std::move(reply)) {
        (void)t;
    }
    std::map<std::string, std::string> rows;  // key1 -> data
    std::string cursor;
    void Handle(DISPID id, std::span<const Variant> a) {
        switch (id) {
            case eventidSetTablePos:
                cursor = a[3].BStr();
                reply_(rows.count(cursor) ? kResultOk : kResultEndOfData, "", "");
                break;
            case eventidReadNextRecord:
                reply_(kResultOk, rows[cursor], cursor);
                break;
            case eventidInsertRecord:
                if (rows.count(a[2].BStr())) return reply_(3, "", "");
                rows[a[2].BStr()] = a[1].BStr();
                reply_(kResultOk, "", "");
                break;
            case eventidUpdateRecord:
                rows[a[2].BStr()] = a[1].BStr();
                reply_(kResultOk, "", "");
                break;
            default:
                break;
        }
    }

  private:
    std::function<void(std::int32_t, std::string, std::string)> reply_;
};

TEST_F(ExchangeTest, CountersInTheClassTableStartAtOneAndCountUp) {
    ClassTableHost host(
        *this, [this](std::int32_t r, std::string d, std::string k) { PostReply(r, d, k); });
    Host().OnEvent([&](DISPID id, std::span<const Variant> a) { host.Handle(id, a); });
    EXPECT_EQ(X().GetNextOLEID(), 1);
    EXPECT_EQ(X().GetNextOLEID(), 2);
    EXPECT_EQ(X().GetNextResourceID(), 1);
    EXPECT_EQ(host.rows["0         "], "00000002");
    EXPECT_EQ(host.rows["1         "], "00000001");
    const std::vector<std::string> events = TableEvents();
    const std::vector<std::string> first(events.begin(), events.begin() + 2);
    EXPECT_EQ(
        first,
        (std::vector<std::string>{
            "SetTablePos(\"OLE_CLA\", 0, 1, \"0         \")",
            "InsertRecord(\"OLE_CLA\", \"00000001\", \"0         \", \"\", \"\", \"\", \"\")"}));
}

TEST_F(ExchangeTest, AFailingCounterStepIsReportedWithItsNumber) {
    ClassTableHost host(
        *this, [this](std::int32_t r, std::string d, std::string k) { PostReply(r, d, k); });
    host.rows["0         "] = "00000041";
    Host().OnEvent([&](DISPID id, std::span<const Variant> a) {
        if (id == eventidUpdateRecord) return PostReply(5);
        host.Handle(id, a);
    });
    User().AnswerMessageBox(MessageAnswer::Ok, "Error UpdateOleClass");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetNextOLEID:3");
    EXPECT_EQ(X().GetNextOLEID(), -1);
}

TEST_F(ExchangeTest, WritesCarryTheRowBuffersAndUpdatesRefreshTheFolderList) {
    Host().OnEvent([this](DISPID id, std::span<const Variant>) {
        if (id == eventidUpdateRecord || id == eventidDeleteRecord || id == eventidInsertRecord)
            PostReply(kResultOk);
    });
    X().m_treeEntry = TreeEntry{12, 3, 12, 0, 0, "Invoices", 0, 0, 0, 0, "", "pdf"};
    EXPECT_EQ(X().UpdateOleTree(), kResultOk);
    ASSERT_EQ(Ctrl().Maintenance().Folders().Entries().size(), 1u);
    EXPECT_EQ(Ctrl().Maintenance().Folders().Entries()[0].Type, "pdf");

    X().m_treeKey1 = TreeKey1{12, 3};
    EXPECT_EQ(X().DeleteOleTree(), kResultOk);
    X().m_resourceRow = ResourceRecord{9, "/srv/docs/a.tif"};
    EXPECT_EQ(X().InsertOleRes(), kResultOk);
    EXPECT_EQ(
        TableEvents(),
        (std::vector<std::string>{
            "UpdateRecord(\"OLE_TREE\", \"0000000        pdf\", \"0000001200000003\", "
            "\"000000120000000000000000Invoices                      \", \"00000000\", \"\", \"\")",
            "DeleteRecord(\"OLE_TREE\", \"0000001200000003\")",
            "InsertRecord(\"OLE_RES\", \"" + std::string("/srv/docs/a.tif") +
                std::string(256 - 15, ' ') + "\", \"00000009\", \"\", \"\", \"\", \"\")"}));
}

}  // namespace
}  // namespace orbel
