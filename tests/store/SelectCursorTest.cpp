// A select taken one row at a time: what a host streaming rows to the control relies on. The
// rows come in key order and the select ends with its code; the store stays usable, by this
// connection and by others, while a cursor is open and once it has ended.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/store/StoreKinds.h"

namespace orbel::host::test {
namespace {

std::string Key1(std::int32_t owner, std::int32_t entryNo) {
    return FormatTreeKey1({owner, entryNo});
}

// The names of the rows left in `cursor`, and whether each came as a select row.
std::vector<std::string> Rest(SelectCursor& cursor) {
    std::vector<std::string> names;
    StoreReply row;
    while (cursor.Next(row)) {
        EXPECT_EQ(row.result, kStoreRow);
        names.push_back(NameOf(row));
    }
    return names;
}

// InsertTwoOwners in a new store of each kind.
template <class Kind>
class SelectCursorTest : public StoreTest<Kind> {
  protected:
    using StoreTest<Kind>::store_;
    void SetUp() override {
        StoreTest<Kind>::SetUp();
        if (this->IsSkipped() || !store_) return;
        ASSERT_TRUE(InsertTwoOwners(*store_)) << store_->LastError();
    }
    std::unique_ptr<SelectCursor> OwnerFive() { return SelectOwnerFive(*store_); }
};
TYPED_TEST_SUITE(SelectCursorTest, StoreKinds, StoreKindNames);

TYPED_TEST(SelectCursorTest, RowsComeOneAtATimeInKeyOrderAndTheEndStaysTheEnd) {
    const auto byKey2 = this->store_->OpenSelect("OLE_TREE", 2, FormatTreeKey2({5, 0, 0, ""}),
                                                 FormatTreeKey2(TreeKey2RangeEnd(5)));
    StoreReply row;
    ASSERT_TRUE(byKey2->Next(row));
    EXPECT_EQ(NameOf(row), "Invoices");
    EXPECT_EQ(row.keys[0], Key1(5, 2));
    EXPECT_EQ(Rest(*byKey2), (std::vector<std::string>{"Letters", "April", "March"}));
    EXPECT_EQ(byKey2->EndResult(), kStoreNotFound);
    // Asking again after the end neither restarts the select nor changes its code.
    EXPECT_FALSE(byKey2->Next(row));
    EXPECT_EQ(byKey2->EndResult(), kStoreNotFound);

    const auto empty = this->store_->OpenSelect("OLE_TREE", 1, Key1(7, 0), Key1(7, 99999999));
    EXPECT_FALSE(empty->Next(row));
    EXPECT_EQ(empty->EndResult(), kStoreNotFound);
}

TYPED_TEST(SelectCursorTest, ASelectThatCannotRunGivesNoRowsAndEndsWith3) {
    for (auto [table, keyNo] : {std::pair{"OLE_FOO", 1}, std::pair{"OLE_RES", 2},
                                std::pair{"OLE_TREE", 0}, std::pair{"OLE_TREE", 4}}) {
        const auto cursor = this->store_->OpenSelect(table, keyNo, "", "z");
        StoreReply row;
        EXPECT_FALSE(cursor->Next(row)) << table << " key " << keyNo;
        EXPECT_EQ(cursor->EndResult(), kStoreFailed) << table << " key " << keyNo;
        EXPECT_FALSE(this->store_->LastError().empty());
    }
}

TYPED_TEST(SelectCursorTest, OtherRequestsRunWhileACursorIsOpenAndItGoesOnWhereItWas) {
    const auto cursor = this->OwnerFive();
    StoreReply row;
    ASSERT_TRUE(cursor->Next(row));
    ASSERT_TRUE(cursor->Next(row));
    ASSERT_EQ(NameOf(row), "Invoices");

    // The same select again, whole, and a positioned read.
    EXPECT_EQ(Rest(*this->OwnerFive()),
              (std::vector<std::string>{"Letters", "Invoices", "March", "April"}));
    ASSERT_EQ(this->store_->SetTablePos("OLE_TREE", 0, 1, Key1(9, 1)), kStoreOk);
    EXPECT_EQ(NameOf(this->store_->ReadNextRecord("OLE_TREE")), "Scans");
    // A write behind the cursor is committed at once (another connection sees it) and the
    // cursor does not come back for it.
    ASSERT_EQ(Insert(*this->store_, Entry(5, 0, 0, "Early")), kStoreOk);
    {
        auto other = this->kind_.OpenAgain(StoreAccess::ReadOnly);
        EXPECT_EQ(other->SetTablePos("OLE_TREE", 0, 1, Key1(5, 0)), kStoreOk);
    }

    EXPECT_EQ(Rest(*cursor), (std::vector<std::string>{"March", "April"}));
    EXPECT_EQ(cursor->EndResult(), kStoreNotFound);
}

// What only a store file shows: a file damaged under a select, and reads that would hold
// other programs' writes back.
class SqliteSelectCursor : public ::testing::Test {
  protected:
    void SetUp() override {
        store_ = OpenStore((folder_ / "store.db").string());
        ASSERT_TRUE(InsertTwoOwners(*store_)) << store_->LastError();
    }
    std::unique_ptr<SelectCursor> OwnerFive() { return SelectOwnerFive(*store_); }

    TempFolder folder_;
    std::unique_ptr<SqliteTableStore> store_;
};

TEST_F(SqliteSelectCursor, AFileThatBreaksMidSelectEndsItWith3AfterTheRowsItCouldRead) {
    const std::filesystem::path path = folder_ / "big.db";
    {
        auto big = OpenStore(path.string());
        ASSERT_TRUE(big->InTransaction([&] {
            for (std::int32_t n = 1; n <= 3000; ++n)
                if (Insert(*big, Entry(5, n, 0, "Entry " + std::to_string(n))) != kStoreOk)
                    return false;
            return true;
        }));
    }
    // Garbage over the pages of the second half of the file, past the schema on page 1.
    const auto size = std::filesystem::file_size(path);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size / 2));
        file << std::string(size / 4, '\xA5');
    }
    auto big = OpenStore(path.string());
    ASSERT_TRUE(big);
    const auto cursor = big->OpenSelect("OLE_TREE", 1, Key1(5, 0), Key1(5, 99999999));
    std::size_t rows = 0;
    StoreReply row;
    while (cursor->Next(row)) ++rows;
    EXPECT_LT(rows, 3000u);
    EXPECT_EQ(cursor->EndResult(), kStoreFailed);
    EXPECT_NE(big->LastError().find("OLE_TREE"), std::string::npos) << big->LastError();
    // The callback select is the same select and ends the same way.
    EXPECT_EQ(
        big->SelectTable("OLE_TREE", 1, Key1(5, 0), Key1(5, 99999999), [](const StoreReply&) {}),
        kStoreFailed);
}

TEST_F(SqliteSelectCursor, ACursorHoldsNoReadOnceEndedOrDroppedSoOthersMayWrite) {
    auto writer = OpenStore((folder_ / "store.db").string());
    // A read held open would keep the other connection's commit waiting, then failing.
    const auto ended = OwnerFive();
    Rest(*ended);
    EXPECT_EQ(Insert(*writer, Entry(7, 1, 0, "After the end")), kStoreOk) << writer->LastError();

    auto dropped = OwnerFive();
    StoreReply row;
    ASSERT_TRUE(dropped->Next(row));
    dropped.reset();
    EXPECT_EQ(Insert(*writer, Entry(7, 2, 0, "After the drop")), kStoreOk) << writer->LastError();
}

}  // namespace
}  // namespace orbel::host::test
