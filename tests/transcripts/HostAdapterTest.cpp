// The host adapter as the control meets it: events arrive through Invoke, answers leave
// through RequestResult, later, from the message loop, one loop message per answer.
#include <gtest/gtest.h>

#include <optional>

#include "host/adapter/HostAdapter.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::host {
namespace {

// A store that answers from canned values and writes down what it was asked.
class FakeStore final : public TableStore {
  public:
    std::vector<std::string> calls;
    std::int32_t positionResult = kStoreOk;
    StoreReply readReply;
    std::int32_t writeResult = kStoreOk;
    std::vector<std::string> selectNames;
    std::int32_t selectEnd = kStoreNotFound;
    StoreReply idReply;

    std::int32_t SetTablePos(std::string_view table, std::int32_t relationship, std::int32_t keyNo,
                             std::string_view keyValue) override {
        Note("SetTablePos", {table, std::to_string(relationship), std::to_string(keyNo), keyValue});
        return positionResult;
    }
    StoreReply ReadNextRecord(std::string_view table) override {
        Note("ReadNextRecord", {table});
        return readReply;
    }
    std::int32_t InsertRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override {
        Note("InsertRecord", {table, data, key1, key2, key3});
        return writeResult;
    }
    std::int32_t UpdateRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override {
        Note("UpdateRecord", {table, data, key1, key2, key3});
        return writeResult;
    }
    std::int32_t DeleteRecord(std::string_view table, std::string_view key1) override {
        Note("DeleteRecord", {table, key1});
        return writeResult;
    }
    // Noted under the event's name: the select the control asked for.
    std::unique_ptr<SelectCursor> OpenSelect(std::string_view table, std::int32_t keyNo,
                                             std::string_view start,
                                             std::string_view end) override {
        Note("SelectTable", {table, std::to_string(keyNo), start, end});
        return std::make_unique<Cursor>(*this);
    }
    StoreReply NextOleId() override {
        Note("NextOleId", {});
        return idReply;
    }
    StoreReply NextResourceId() override {
        Note("NextResourceId", {});
        return idReply;
    }
    // Forgotten at the next request, as a real store forgets it.
    std::string reason;
    std::string LastError() const override { return reason; }

    // How far the adapter has read the store's selects, and how many cursors are still open.
    int rowsTaken = 0;
    int openCursors = 0;

  private:
    // The rows of selectNames, then selectEnd.
    class Cursor final : public SelectCursor {
      public:
        explicit Cursor(FakeStore& store) : store_(store) { ++store_.openCursors; }
        ~Cursor() override { --store_.openCursors; }
        bool Next(StoreReply& r) override {
            if (next_ == store_.selectNames.size()) return false;
            ++store_.rowsTaken;
            r.result = kStoreRow;
            r.data = "000000000        ";
            r.keys[0] = "0000000500000001";
            r.keys[1] = "000000050000000000000000" + store_.selectNames[next_++];
            return true;
        }
        std::int32_t EndResult() const override { return store_.selectEnd; }

      private:
        FakeStore& store_;
        std::size_t next_ = 0;
    };

    void Note(const std::string& name, std::vector<std::string_view> args) {
        std::string line = name + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            line += (i ? ", " : "") + std::string(args[i]);
        calls.push_back(line + ")");
    }
};

// The control's side of RequestResult: each call as RESULT "DATA" "KEY1" ..., without the
// empty strings at the end.
class FakeControl final : public IDispatch {
  public:
    std::vector<std::string> results;
    std::optional<bool> directIdRetrieval;  // what SetDirectIDRetrieval was last called with
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind, std::span<const Variant> args, Variant*) override {
        if (id == 43 && args.size() == 1) {
            directIdRetrieval = args[0].Bool();
            return S_OK;
        }
        if (id != 28 || args.size() != 12) return DISP_E_MEMBERNOTFOUND;
        std::size_t used = args.size();
        while (used > 1 && args[used - 1].BStr().empty()) --used;
        std::string line = std::to_string(args[0].I4());
        for (std::size_t i = 1; i < used; ++i) line += " " + args[i].ToDisplayString();
        results.push_back(line);
        return S_OK;
    }
};

class HostAdapterTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        control = std::make_shared<FakeControl>();
        adapter = std::make_shared<HostAdapter>(control, store, P().Loop());
    }
    // Fires an event at the adapter the way the control's connection point does.
    void Fire(DISPID id, std::vector<Variant> args) {
        ASSERT_EQ(adapter->Invoke(id, InvokeKind::Method, args, nullptr), S_OK);
    }
    // Delivers one message of the loop; false when there was none.
    bool DeliverOne() {
        MSG msg;
        if (!P().Loop().GetMessage(msg)) return false;
        P().DispatchMessage(msg);
        return true;
    }

    FakeStore store;
    std::shared_ptr<FakeControl> control;
    std::shared_ptr<HostAdapter> adapter;
};

TEST_F(HostAdapterTest, ASelectStreamsEachRowInALoopMessageOfItsOwnAndThenTheStoresEnd) {
    store.selectNames = {"Letters", "Bills", "Old"};
    Fire(5, {"OLE_TREE", 2, "start", "end"});
    EXPECT_EQ(store.calls, std::vector<std::string>{"SelectTable(OLE_TREE, 2, start, end)"});
    // Nothing is answered while the event is being fired: the control is not waiting yet.
    EXPECT_TRUE(control->results.empty());
    EXPECT_TRUE(adapter->Answering());

    std::vector<std::size_t> seenAfterEachMessage;
    while (DeliverOne()) seenAfterEachMessage.push_back(control->results.size());
    EXPECT_EQ(seenAfterEachMessage, (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(
        control->results,
        (std::vector<std::string>{
            R"(1 "000000000        " "0000000500000001" "000000050000000000000000Letters")",
            R"(1 "000000000        " "0000000500000001" "000000050000000000000000Bills")",
            R"(1 "000000000        " "0000000500000001" "000000050000000000000000Old")", "2"}));
    EXPECT_FALSE(adapter->Answering());
}

TEST_F(HostAdapterTest, ASelectTheStoreFailsEndsWithTheStoresCodeAfterTheRowsItGave) {
    store.selectNames = {"Letters"};
    store.selectEnd = kStoreFailed;
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    P().RunUntilIdle();
    ASSERT_EQ(control->results.size(), 2u);
    EXPECT_EQ(control->results[1], "3");
}

TEST_F(HostAdapterTest, EveryTableRequestReachesTheStoreAndItsAnswerTheControl) {
    store.positionResult = kStoreNotFound;
    store.readReply.result = kStoreOk;
    store.readReply.data = "C:\\docs\\a.tif";
    store.readReply.keys[0] = "00000007";
    store.writeResult = kStoreFailed;
    store.idReply.result = kStoreOk;
    store.idReply.data = "00000042";
    store.idReply.keys[0] = "00000042";

    Fire(3, {"OLE_CLA", 4, 1, "0         "});
    Fire(1, {"OLE_RES"});
    Fire(6, {"OLE_TREE", "D", "K1", "K2", "K3", "", ""});
    Fire(7, {"OLE_RES", "D", "K1", "", "", "", ""});
    Fire(2, {"OLE_CLA", "EMAIL     "});
    Fire(18, {});
    Fire(19, {});
    P().RunUntilIdle();

    EXPECT_EQ(store.calls, (std::vector<std::string>{
                               "SetTablePos(OLE_CLA, 4, 1, 0         )",
                               "ReadNextRecord(OLE_RES)",
                               "InsertRecord(OLE_TREE, D, K1, K2, K3)",
                               "UpdateRecord(OLE_RES, D, K1, , )",
                               "DeleteRecord(OLE_CLA, EMAIL     )",
                               "NextOleId()",
                               "NextResourceId()",
                           }));
    EXPECT_EQ(control->results, (std::vector<std::string>{
                                    "2",
                                    R"(0 "C:\\docs\\a.tif" "00000007")",
                                    "3",
                                    "3",
                                    "3",
                                    R"(0 "00000042" "00000042")",
                                    R"(0 "00000042" "00000042")",
                                }));
}

TEST_F(HostAdapterTest, TheOwnerSeesEachAnswerJustBeforeTheControlDoes) {
    store.selectNames = {"Letters", "Bills"};
    std::vector<std::string> seen;
    adapter->OnReply([&](const StoreReply& reply) {
        seen.push_back(std::to_string(reply.result) + " after " +
                       std::to_string(control->results.size()));
    });
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    P().RunUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"1 after 0", "1 after 1", "2 after 2"}));
}

TEST_F(HostAdapterTest, UserEventsAreKeptInOrderWithTheirArgumentsAndTheTableConversationIsNot) {
    std::vector<std::string> live;
    adapter->OnUserEvent([&](const UserEvent& e) { live.push_back(e.ToString()); });
    Fire(4, {});
    Fire(8, {"\\All"});
    Fire(11, {true});
    Fire(kSelectAttachmentEvent, {"C:\\in\\scan.tif"});
    Fire(10, {"C:\\in\\scan.tif", 2, 5});
    Fire(15, {"Ann", "see attached", "L1", "A7", "memo"});
    Fire(12, {});
    P().RunUntilIdle();

    const std::vector<std::string> expected{
        R"(FolderChange("\\All"))",
        "Busy(TRUE)",
        R"(SelectAttachment("C:\\in\\scan.tif"))",
        R"(SelectTiff("C:\\in\\scan.tif", 2, 5))",
        R"(SendEmail("Ann", "see attached", "L1", "A7", "memo"))",
        "Exit()",
    };
    std::vector<std::string> kept;
    for (const UserEvent& e : adapter->UserEvents()) kept.push_back(e.ToString());
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(live, expected);
    EXPECT_TRUE(store.calls.empty());
    EXPECT_TRUE(control->results.empty());
}

TEST_F(HostAdapterTest, AnswersForAControlOrFromAnAdapterThatIsGoneAreDropped) {
    store.idReply.result = kStoreOk;
    store.idReply.data = "00000001";
    Fire(18, {});
    control.reset();  // the host closed the form before the answer went out
    P().RunUntilIdle();
    EXPECT_FALSE(adapter->Answering());

    auto other = std::make_shared<FakeControl>();
    adapter = std::make_shared<HostAdapter>(other, store, P().Loop());
    store.selectNames = {"Letters", "Bills"};
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    ASSERT_TRUE(DeliverOne());
    adapter.reset();  // the rest of the select must not reach the control
    P().RunUntilIdle();
    EXPECT_EQ(other->results.size(), 1u);
}

TEST_F(HostAdapterTest, ASelectReadsTheStoreOneRowPerMessageAndClosesItsCursorAtTheEnd) {
    store.selectNames = {"Letters", "Bills", "Old"};
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    // The event only opens the select: no row is read until the control can take it.
    EXPECT_EQ(store.rowsTaken, 0);
    EXPECT_EQ(store.openCursors, 1);
    std::vector<int> takenAfterEachMessage;
    while (DeliverOne()) takenAfterEachMessage.push_back(store.rowsTaken);
    EXPECT_EQ(takenAfterEachMessage, (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(store.openCursors, 0);
}

TEST_F(HostAdapterTest, AnEmptySelectAnswersOnlyTheStoresEnd) {
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    P().RunUntilIdle();
    EXPECT_EQ(control->results, std::vector<std::string>{"2"});
    EXPECT_FALSE(adapter->Answering());
}

TEST_F(HostAdapterTest, AControlGoneMidSelectStopsReadingTheStore) {
    store.selectNames = {"Letters", "Bills", "Old", "New"};
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    ASSERT_TRUE(DeliverOne());
    ASSERT_EQ(control->results.size(), 1u);
    control.reset();  // the host closed the form while the rows were going out
    P().RunUntilIdle();
    EXPECT_EQ(store.rowsTaken, 1);
    EXPECT_EQ(store.openCursors, 0);
    EXPECT_FALSE(adapter->Answering());
}

TEST_F(HostAdapterTest, AnAdapterGoneMidSelectClosesTheStoresCursor) {
    store.selectNames = {"Letters", "Bills"};
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    ASSERT_TRUE(DeliverOne());
    adapter.reset();
    EXPECT_EQ(store.openCursors, 0);
    P().RunUntilIdle();
    EXPECT_EQ(store.rowsTaken, 1);
}

TEST_F(HostAdapterTest, TwoSelectsOpenAtOnceEachStreamTheirOwnRowsInOrder) {
    store.selectNames = {"A", "B"};
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    Fire(5, {"OLE_TREE", 3, "c", "d"});
    P().RunUntilIdle();
    std::vector<std::string> names;
    for (const std::string& r : control->results)
        names.push_back(r == "2" ? "end" : r.substr(r.size() - 2, 1));
    // The two streams take turns in the loop; each keeps its own order and end.
    EXPECT_EQ(names, (std::vector<std::string>{"A", "A", "B", "B", "end", "end"}));
    EXPECT_EQ(store.openCursors, 0);
    EXPECT_FALSE(adapter->Answering());
}

TEST_F(HostAdapterTest, TheStoresReasonForAFailureIsToldBeforeTheControlHearsOfIt) {
    std::vector<std::string> told;
    adapter->OnHostError([&](const std::string& reason) {
        told.push_back(reason + " after " + std::to_string(control->results.size()));
    });
    store.writeResult = kStoreFailed;
    store.reason = "OLE_TREE already holds a row with key 1 \"0000000500000001\"";
    Fire(6, {"OLE_TREE", "D", "K1", "K2", "K3", "", ""});
    // The store's next request clears its reason before the answer goes out: the adapter
    // keeps the one that belongs to this answer.
    store.reason.clear();
    P().RunUntilIdle();
    EXPECT_EQ(told, std::vector<std::string>{
                        "OLE_TREE already holds a row with key 1 \"0000000500000001\" after 0"});
    EXPECT_EQ(adapter->LastError(), "OLE_TREE already holds a row with key 1 \"0000000500000001\"");

    // A select the store could not finish, and a failure the store gave no words for.
    store.selectEnd = kStoreFailed;
    store.reason = "OLE_TREE: disk I/O error";
    Fire(5, {"OLE_TREE", 2, "a", "b"});
    P().RunUntilIdle();
    store.reason.clear();
    Fire(2, {"OLE_CLA", "EMAIL     "});
    P().RunUntilIdle();
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[1], "OLE_TREE: disk I/O error after 1");
    EXPECT_EQ(told[2], "the store answered 3 after 2");

    // Not found and rows are no failures.
    store.positionResult = kStoreNotFound;
    Fire(3, {"OLE_CLA", 0, 1, "0         "});
    P().RunUntilIdle();
    EXPECT_EQ(told.size(), 3u);
}

TEST_F(HostAdapterTest, AHostTakingIdsFromTheStoreSwitchesTheControlToDirectRetrieval) {
    EXPECT_FALSE(control->directIdRetrieval);
    adapter->TakeIdsFromStore();
    EXPECT_EQ(control->directIdRetrieval, std::optional<bool>(true));
}

}  // namespace
}  // namespace orbel::host
