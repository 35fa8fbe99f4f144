// What the control relies on when it asks a store for rows, whichever store it is: positions by
// relationship, reads in key order, writes identified by key 1, selects streamed in key order,
// and new IDs.
#include <gtest/gtest.h>

#include "tests/store/StoreKinds.h"

namespace orbel::host::test {
namespace {

std::string Key1(std::int32_t owner, std::int32_t entryNo) {
    return FormatTreeKey1({owner, entryNo});
}

template <class Kind>
class TableConversation : public StoreTest<Kind> {
  protected:
    using StoreTest<Kind>::store_;

    // Owner 5 holds entries 1-3, owner 9 entries 1-2: two owners with a gap between them.
    void TwoOwners() {
        for (const TreeEntry& e :
             {Entry(5, 1, 0, "Letters"), Entry(5, 2, 0, "Invoices"), Entry(5, 3, 1, "March", 40),
              Entry(9, 1, 0, "Scans"), Entry(9, 2, 1, "Page", 41)})
            ASSERT_EQ(Insert(*store_, e), kStoreOk);
    }

    // The names read from here on until the end, and the result that ended the walk.
    std::vector<std::string> ReadRest(const char* table = "OLE_TREE") {
        std::vector<std::string> names;
        for (StoreReply r = store_->ReadNextRecord(table); r.result == kStoreOk;
             r = store_->ReadNextRecord(table)) {
            names.push_back(NameOf(r));
            if (names.size() > 100) break;
        }
        return names;
    }
};
TYPED_TEST_SUITE(TableConversation, StoreKinds, StoreKindNames);

TYPED_TEST(TableConversation, ARowComesBackExactlyAsItWasSent) {
    TreeEntry e = Entry(5, 7, 2, "Minutes", 12);
    e.PageStart = 2;
    e.PageEnd = 14;
    e.Batch = "00000000";
    e.Type = "tif";
    const RowText sent = BuildTreeEntry(e);
    ASSERT_EQ(this->store_->InsertRecord("OLE_TREE", sent.data, sent.key1, sent.key2, sent.key3),
              kStoreOk);
    // A data string of 15 characters (no type) and a name the host padded itself.
    ASSERT_EQ(this->store_->InsertRecord("OLE_TREE", "000100200000001", Key1(5, 8),
                                         FormatTreeKey2({5, 5, 2, "Draft  "}), "00000013"),
              kStoreOk);

    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, sent.key1), kStoreOk);
    StoreReply r = this->store_->ReadNextRecord("OLE_TREE");
    EXPECT_EQ(r.result, kStoreOk);
    EXPECT_EQ(r.data, sent.data);
    EXPECT_EQ(r.keys[0], sent.key1);
    EXPECT_EQ(r.keys[1], sent.key2);
    EXPECT_EQ(r.keys[2], sent.key3);
    EXPECT_EQ(ParseTreeEntry(r.data, r.keys[0], r.keys[1], r.keys[2]), e);

    r = this->store_->ReadNextRecord("OLE_TREE");
    EXPECT_EQ(r.data, "000100200000001");
    const TreeEntry draft = ParseTreeEntry(r.data, r.keys[0], r.keys[1], r.keys[2]);
    EXPECT_EQ(draft.Name, "Draft");
    EXPECT_EQ(draft.Type, "");

    // The typed columns hold what the control reads from the texts.
    EXPECT_EQ(
        Sql(*this->store_,
            "SELECT OwnerId, EntryNo, ParentOwnerId, ParentEntryNo, Name, ResourceId, "
            "IsItem, PageStart, PageEnd, Batch, Type FROM OLE_TREE ORDER BY Key1"),
        (std::vector<std::string>{"5 | 7 | 5 | 2 | Minutes | 12 | 1 | 2 | 14 | 00000000 | tif",
                                  "5 | 8 | 5 | 2 | Draft | 13 | 0 | 1 | 2 | 00000001 | "}));
}

TYPED_TEST(TableConversation, ResourceAndClassRowsKeepTheirTextsAndTypedFields) {
    const RowText res = BuildResourceRecord({41, "\\\\server\\share\\scan 7.tif"});
    ASSERT_EQ(this->store_->InsertRecord("OLE_RES", res.data, res.key1, "", ""), kStoreOk);
    // An empty class name travels as ten blanks and is a key like any other.
    const RowText blank = BuildClassRecord({"", 17});
    const RowText email = BuildClassRecord({"EMAIL", 23});
    ASSERT_EQ(this->store_->InsertRecord("OLE_CLA", blank.data, blank.key1, "", ""), kStoreOk);
    ASSERT_EQ(this->store_->InsertRecord("OLE_CLA", email.data, email.key1, "", ""), kStoreOk);

    ASSERT_EQ(this->store_->SetTablePos("OLE_RES", 0, 1, FormatResourceKey(41)), kStoreOk);
    StoreReply r = this->store_->ReadNextRecord("OLE_RES");
    EXPECT_EQ(r.data, res.data);
    EXPECT_EQ(ParseResourceRecord(r.data, r.keys[0]),
              (ResourceRecord{41, "\\\\server\\share\\scan 7.tif"}));
    EXPECT_EQ(r.keys[1], "");

    ASSERT_EQ(this->store_->SetTablePos("OLE_CLA", 0, 1, FormatClassKey("")), kStoreOk);
    r = this->store_->ReadNextRecord("OLE_CLA");
    EXPECT_EQ(ParseClassRecord(r.data, r.keys[0]), (ClassRecord{"", 17}));
    EXPECT_EQ(
        Sql(*this->store_, "SELECT '[' || ClassName || ']', Value FROM OLE_CLA ORDER BY Key1"),
        (std::vector<std::string>{"[] | 17", "[EMAIL] | 23"}));
    EXPECT_EQ(Sql(*this->store_, "SELECT ResourceId, Path FROM OLE_RES"),
              (std::vector<std::string>{"41 | \\\\server\\share\\scan 7.tif"}));
}

TYPED_TEST(TableConversation, PositionsByKey1AtTheEdgesAndBetweenOwners) {
    this->TwoOwners();
    // The highest entry of an owner: the last at or before (owner, 99999999).
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 4, 1, Key1(5, 99999999)), kStoreOk);
    EXPECT_EQ(NameOf(this->store_->ReadNextRecord("OLE_TREE")), "March");
    // An owner with no entries, between two that have some: nothing at or before within it,
    // so the search lands on the owner below.
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 4, 1, Key1(7, 99999999)), kStoreOk);
    EXPECT_EQ(ParseTreeEntry("", this->store_->ReadNextRecord("OLE_TREE").keys[0], "", "").OwnerId,
              5);
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 2, 1, Key1(7, 0)), kStoreOk);
    EXPECT_EQ(NameOf(this->store_->ReadNextRecord("OLE_TREE")), "Scans");

    // Before the first key and after the last.
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 4, 1, Key1(3, 99999999)), kStoreNotFound);
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 2, 1, Key1(12, 0)), kStoreNotFound);
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 2, 1, Key1(0, 0)), kStoreOk);
    EXPECT_EQ(NameOf(this->store_->ReadNextRecord("OLE_TREE")), "Letters");
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 4, 1, Key1(99999999, 99999999)), kStoreOk);
    EXPECT_EQ(NameOf(this->store_->ReadNextRecord("OLE_TREE")), "Page");

    // Equal finds only the row itself, and a read follows it in key order.
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, Key1(5, 4)), kStoreNotFound);
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, Key1(5, 2)), kStoreOk);
    EXPECT_EQ(this->ReadRest(), (std::vector<std::string>{"Invoices", "March", "Scans", "Page"}));
}

TYPED_TEST(TableConversation, AFailedPositionLeavesNothingToRead) {
    this->TwoOwners();
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, Key1(5, 1)), kStoreOk);
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, Key1(5, 9)), kStoreNotFound);
    EXPECT_EQ(this->store_->ReadNextRecord("OLE_TREE").result, kStoreNotFound);
    // Nor does a table that was never positioned.
    EXPECT_EQ(this->store_->ReadNextRecord("OLE_RES").result, kStoreNotFound);
}

TYPED_TEST(TableConversation, ReadingPastTheEndAnswers2AndKeepsAnswering2) {
    this->TwoOwners();
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 2, 1, Key1(9, 2)), kStoreOk);
    EXPECT_EQ(this->store_->ReadNextRecord("OLE_TREE").result, kStoreOk);
    EXPECT_EQ(this->store_->ReadNextRecord("OLE_TREE").result, kStoreNotFound);
    const StoreReply again = this->store_->ReadNextRecord("OLE_TREE");
    EXPECT_EQ(again.result, kStoreNotFound);
    EXPECT_EQ(again.data, "");
    EXPECT_EQ(this->store_->LastError(), "");
}

TYPED_TEST(TableConversation, WalkingChildrenByKey2VisitsEveryRowOnceWhenNamesRepeat) {
    // Two entries of the same name in one folder share key 2; key 1 keeps them apart.
    for (const TreeEntry& e :
         {Entry(5, 1, 0, "Top"), Entry(5, 4, 1, "Copy"), Entry(5, 2, 1, "Copy"),
          Entry(5, 3, 1, "Alpha"), Entry(5, 5, 2, "Other folder")})
        ASSERT_EQ(Insert(*this->store_, e), kStoreOk);
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 2, 2, FormatTreeKey2({5, 5, 1, ""})), kStoreOk);
    std::vector<std::int32_t> entries;
    for (StoreReply r = this->store_->ReadNextRecord("OLE_TREE"); r.result == kStoreOk;
         r = this->store_->ReadNextRecord("OLE_TREE")) {
        const TreeEntry e = ParseTreeEntry(r.data, r.keys[0], r.keys[1], r.keys[2]);
        if (e.ParentEntryNo != 1) break;
        entries.push_back(e.EntryNo);
    }
    EXPECT_EQ(entries, (std::vector<std::int32_t>{3, 2, 4}));

    // Equal on key 2 finds the first of the duplicates by key 1.
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 2, FormatTreeKey2({5, 5, 1, "Copy"})),
              kStoreOk);
    EXPECT_EQ(this->store_->ReadNextRecord("OLE_TREE").keys[0], Key1(5, 2));
}

TYPED_TEST(TableConversation, Key3FindsEveryEntryOfAResource) {
    // One resource linked from three entries; walking key 3 meets each once, then the next
    // resource.
    for (const TreeEntry& e : {Entry(5, 1, 0, "A", 40), Entry(9, 1, 0, "B", 40),
                               Entry(5, 2, 0, "C", 40), Entry(5, 3, 0, "D", 41)})
        ASSERT_EQ(Insert(*this->store_, e), kStoreOk);
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 3, FormatTreeKey3({40})), kStoreOk);
    EXPECT_EQ(this->ReadRest(), (std::vector<std::string>{"A", "C", "B", "D"}));
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 4, 3, FormatTreeKey3({40})), kStoreOk);
    EXPECT_EQ(this->ReadRest(), (std::vector<std::string>{"B", "D"}));
}

TYPED_TEST(TableConversation, TheCursorFollowsKeyTextsSoRowsWrittenBetweenReadsAreSeen) {
    this->TwoOwners();
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 2, 1, Key1(5, 0)), kStoreOk);
    EXPECT_EQ(NameOf(this->store_->ReadNextRecord("OLE_TREE")), "Letters");
    ASSERT_EQ(Insert(*this->store_, Entry(5, 1, 0, "Again")), kStoreFailed);
    ASSERT_EQ(this->store_->DeleteRecord("OLE_TREE", Key1(5, 2)), kStoreOk);
    ASSERT_EQ(Insert(*this->store_, Entry(6, 1, 0, "New owner")), kStoreOk);
    EXPECT_EQ(this->ReadRest(), (std::vector<std::string>{"March", "New owner", "Scans", "Page"}));
}

TYPED_TEST(TableConversation, WritesAreIdentifiedByKey1AndRefusedWhenItDoesNotFit) {
    this->TwoOwners();
    // A second row with an existing key 1 is refused and the first stays as it was.
    EXPECT_EQ(Insert(*this->store_, Entry(5, 2, 0, "Duplicate")), kStoreFailed);
    EXPECT_NE(this->store_->LastError().find("00000005"
                                             "00000002"),
              std::string::npos)
        << this->store_->LastError();
    EXPECT_EQ(Sql(*this->store_, "SELECT Name FROM OLE_TREE WHERE EntryNo = 2 AND OwnerId = 5"),
              (std::vector<std::string>{"Invoices"}));

    const RowText renamed = BuildTreeEntry(Entry(5, 2, 0, "Bills"));
    EXPECT_EQ(this->store_->UpdateRecord("OLE_TREE", renamed.data, renamed.key1, renamed.key2,
                                         renamed.key3),
              kStoreOk);
    EXPECT_EQ(this->store_->LastError(), "");
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 2, renamed.key2), kStoreOk);
    EXPECT_EQ(this->store_->ReadNextRecord("OLE_TREE").keys[0], renamed.key1);
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 2, FormatTreeKey2({5, 0, 0, "Invoices"})),
              kStoreNotFound);

    const RowText missing = BuildTreeEntry(Entry(5, 8, 0, "Nowhere"));
    EXPECT_EQ(this->store_->UpdateRecord("OLE_TREE", missing.data, missing.key1, missing.key2,
                                         missing.key3),
              kStoreFailed);
    EXPECT_NE(this->store_->LastError(), "");
    EXPECT_EQ(this->store_->DeleteRecord("OLE_TREE", missing.key1), kStoreFailed);
    EXPECT_EQ(this->store_->DeleteRecord("OLE_CLA", FormatClassKey("EMAIL")), kStoreFailed);

    ASSERT_EQ(this->store_->DeleteRecord("OLE_TREE", Key1(5, 2)), kStoreOk);
    EXPECT_EQ(this->store_->DeleteRecord("OLE_TREE", Key1(5, 2)), kStoreFailed);
    EXPECT_EQ(Sql(*this->store_, "SELECT count(*) FROM OLE_TREE"), (std::vector<std::string>{"4"}));
}

TYPED_TEST(TableConversation, RequestsTheStoreCannotServeAnswer3WithAReason) {
    this->TwoOwners();
    EXPECT_EQ(this->store_->SetTablePos("OLE_FOO", 0, 1, Key1(5, 1)), kStoreFailed);
    EXPECT_NE(this->store_->LastError().find("OLE_FOO"), std::string::npos);
    EXPECT_EQ(this->store_->SetTablePos("OLE_RES", 0, 2, ""), kStoreFailed);
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 4, Key1(5, 1)), kStoreFailed);
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 1, 1, Key1(5, 1)), kStoreFailed);
    EXPECT_EQ(this->store_->ReadNextRecord("ole_tree").result, kStoreFailed);
    EXPECT_EQ(this->store_->InsertRecord("OLE_CLA", "00000001", "", "", ""), kStoreFailed);
    EXPECT_EQ(this->store_->SelectTable("OLE_TREE", 0, "", "z", [](const StoreReply&) {}),
              kStoreFailed);
    // A value with quotes is only ever a value.
    const std::string quote = "x'); DROP TABLE OLE_TREE; --";
    EXPECT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, quote), kStoreNotFound);
    EXPECT_EQ(this->store_->DeleteRecord("OLE_TREE", quote), kStoreFailed);
    EXPECT_EQ(Sql(*this->store_, "SELECT count(*) FROM OLE_TREE"), (std::vector<std::string>{"5"}));
}

TYPED_TEST(TableConversation, ASelectStreamsTheOwnersRowsInKey2OrderAndEndsWith2) {
    this->TwoOwners();
    // Inserted out of order; upper case sorts before lower case, as in the key texts.
    for (const TreeEntry& e : {Entry(5, 4, 1, "zebra"), Entry(5, 5, 1, "Apple"),
                               Entry(5, 6, 2, "a"), Entry(4, 1, 0, "Other owner")})
        ASSERT_EQ(Insert(*this->store_, e), kStoreOk);
    const TreeKey2 last = TreeKey2RangeEnd(5);
    std::int32_t result = 0;
    const std::vector<std::string> names =
        SelectNames(*this->store_, 2, FormatTreeKey2({5, 0, 0, ""}), FormatTreeKey2(last), &result);
    EXPECT_EQ(result, kStoreNotFound);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Invoices", "Letters", "Apple", "March", "zebra", "a"}));

    // A range that holds nothing still ends the select normally.
    EXPECT_EQ(SelectNames(*this->store_, 2, FormatTreeKey2({7, 0, 0, ""}),
                          FormatTreeKey2(TreeKey2RangeEnd(7)), &result),
              std::vector<std::string>{});
    EXPECT_EQ(result, kStoreNotFound);
    // By key 1, bounds included.
    EXPECT_EQ(SelectNames(*this->store_, 1, Key1(5, 2), Key1(5, 4)),
              (std::vector<std::string>{"Invoices", "March", "zebra"}));
}

TYPED_TEST(TableConversation, ARowHandlerMayAskTheStoreAgainDuringASelect) {
    this->TwoOwners();
    std::vector<std::string> seen;
    const std::int32_t r = this->store_->SelectTable(
        "OLE_TREE", 1, Key1(5, 0), Key1(5, 99999999), [&](const StoreReply& row) {
            // The same select, nested: a host that looks each row's owner up again.
            seen.push_back(
                NameOf(row) + ":" +
                std::to_string(SelectNames(*this->store_, 1, row.keys[0], row.keys[0]).size()));
        });
    EXPECT_EQ(r, kStoreNotFound);
    EXPECT_EQ(seen, (std::vector<std::string>{"Letters:1", "Invoices:1", "March:1"}));
}

TYPED_TEST(TableConversation, NewIdsCountUpSeparatelyAndTravelInKey1WithData) {
    for (std::int32_t expected = 1; expected <= 3; ++expected) {
        const StoreReply r = this->store_->NextOleId();
        EXPECT_EQ(r.result, kStoreOk);
        EXPECT_FALSE(r.data.empty()) << "an empty data string makes the control drop key 1";
        EXPECT_EQ(Atol(r.keys[0]), expected);
    }
    EXPECT_EQ(Atol(this->store_->NextResourceId().keys[0]), 1);
    EXPECT_EQ(Atol(this->store_->NextOleId().keys[0]), 4);
}

TYPED_TEST(TableConversation, NewIdsGoOnAfterTheIdsTheControlsOwnCounterHandedOut) {
    // The control counted in OLE_CLA rows "0" and "1" before direct retrieval was switched on.
    const RowText oleIds = BuildClassRecord({"0", 57});
    const RowText resIds = BuildClassRecord({"1", 3});
    ASSERT_EQ(this->store_->InsertRecord("OLE_CLA", oleIds.data, oleIds.key1, "", ""), kStoreOk);
    ASSERT_EQ(this->store_->InsertRecord("OLE_CLA", resIds.data, resIds.key1, "", ""), kStoreOk);
    EXPECT_EQ(Atol(this->store_->NextOleId().keys[0]), 58);
    EXPECT_EQ(Atol(this->store_->NextResourceId().keys[0]), 4);
    EXPECT_EQ(Atol(this->store_->NextOleId().keys[0]), 59);

    // ...and the other way round: the counter row is moved on with the direct IDs, so a control
    // that switches direct retrieval off again does not hand out 59 a second time.
    ASSERT_EQ(this->store_->SetTablePos("OLE_CLA", 0, 1, oleIds.key1), kStoreOk);
    const StoreReply row = this->store_->ReadNextRecord("OLE_CLA");
    EXPECT_EQ(ParseClassRecord(row.data, row.keys[0]), (ClassRecord{"0", 59}));
}

TYPED_TEST(TableConversation, TheIdCounterStopsAtTheWidthOfItsField) {
    TableStore* store = this->store_.get();
    const RowText last = BuildClassRecord({"0", 99999998});
    ASSERT_EQ(store->InsertRecord("OLE_CLA", last.data, last.key1, "", ""), kStoreOk);
    EXPECT_EQ(Atol(store->NextOleId().keys[0]), 99999999);
    const StoreReply none = store->NextOleId();
    EXPECT_EQ(none.result, kStoreFailed);
    EXPECT_NE(store->LastError().find("99999999"), std::string::npos) << store->LastError();
    EXPECT_EQ(Sql(*store, "SELECT Value FROM ORBEL_COUNTERS WHERE Name = 'OleId'"),
              std::vector<std::string>{"99999999"});
    EXPECT_EQ(Sql(*store, "SELECT Value, Data FROM OLE_CLA WHERE ClassName = '0'"),
              std::vector<std::string>{"99999999 | 99999999"});
}

TYPED_TEST(TableConversation, DirectIdsKeepTheControlsOwnCounterRowInStepEvenWhenItWasMissing) {
    TableStore* store = this->store_.get();
    EXPECT_EQ(Atol(store->NextOleId().keys[0]), 1);
    EXPECT_EQ(Atol(store->NextResourceId().keys[0]), 1);
    // A control switched back to its own counter finds the rows and goes on after them.
    EXPECT_EQ(Sql(*store,
                  "SELECT ClassName, Value, '''' || Key1 || '''', Data FROM OLE_CLA ORDER BY Key1"),
              (std::vector<std::string>{"0 | 1 | '0         ' | 00000001",
                                        "1 | 1 | '1         ' | 00000001"}));
}

TYPED_TEST(TableConversation, AStoreOpenedReadOnlyReadsButRefusesEveryWriteAndChangesNothing) {
    this->TwoOwners();
    auto reader = this->kind_.OpenAgain(StoreAccess::ReadOnly);
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->SetTablePos("OLE_TREE", 0, 1, Key1(5, 1)), kStoreOk);
    EXPECT_EQ(NameOf(reader->ReadNextRecord("OLE_TREE")), "Letters");
    ExpectEveryWriteRefused(*reader);
    reader.reset();
    EXPECT_EQ(Sql(*this->store_, "SELECT count(*) FROM OLE_TREE"), (std::vector<std::string>{"5"}));
    EXPECT_EQ(Sql(*this->store_, "SELECT Name FROM OLE_TREE WHERE OwnerId = 5 AND EntryNo = 1"),
              (std::vector<std::string>{"Letters"}));
}

}  // namespace
}  // namespace orbel::host::test
