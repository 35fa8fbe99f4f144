// Two programs on one store: what one writes, the other's watcher gives back as changes with
// the rows as written, and a program never hears of its own writes.
#include <gtest/gtest.h>

#include "host/store/StoreChanges.h"
#include "tests/store/StoreKinds.h"

namespace orbel::host::test {
namespace {

std::string Describe(const StoreChange& c) {
    const char* kinds[] = {"insert", "update", "delete"};
    std::string text =
        std::string(kinds[static_cast<int>(c.kind)]) + " " + StoreTableName(c.table) + " " + c.key1;
    if (c.table == StoreTable::OleTree) {
        if (!c.oldKey2.empty()) text += " from " + TrimRight(c.oldKey2.substr(8));
        if (!c.key2.empty()) text += " to " + TrimRight(c.key2.substr(8));
    } else if (!c.data.empty()) {
        text += " " + TrimRight(c.data);
    }
    return text;
}

std::vector<std::string> Described(const std::vector<StoreChange>& changes) {
    std::vector<std::string> out;
    for (const StoreChange& c : changes) out.push_back(Describe(c));
    return out;
}

// Waits as a host with nothing else to do would, for at most a second.
std::vector<StoreChange> TakeWithin(ChangeWatcher& watcher, std::size_t count) {
    std::vector<StoreChange> taken;
    for (int i = 0; i < 100 && taken.size() < count; ++i) {
        watcher.Wait(10);
        for (StoreChange& c : watcher.Take()) taken.push_back(std::move(c));
    }
    return taken;
}

template <class Kind>
class ChangeWatcherTest : public StoreTest<Kind> {};
TYPED_TEST_SUITE(ChangeWatcherTest, StoreKinds, StoreKindNames);

TYPED_TEST(ChangeWatcherTest, AnotherProgramsWritesArriveInOrderWithTheirRowsAndOwnWritesDoNot) {
    std::unique_ptr<TableStore> other = this->kind_.OpenAgain();
    ASSERT_TRUE(other);
    std::string error;
    std::unique_ptr<ChangeWatcher> watcher = other->WatchChanges(error);
    ASSERT_TRUE(watcher) << error;
    // The watcher of the store that writes hears nothing of it.
    std::unique_ptr<ChangeWatcher> own = this->store_->WatchChanges(error);
    ASSERT_TRUE(own) << error;
    EXPECT_TRUE(watcher->Take().empty());

    TableStore& store = *this->store_;
    ASSERT_EQ(Insert(store, Entry(5, 1, 0, "Letters")), kStoreOk);
    ASSERT_EQ(Insert(store, Entry(5, 2, 0, "Invoices")), kStoreOk);
    const RowText renamed = BuildTreeEntry(Entry(5, 2, 1, "Bills"));
    ASSERT_EQ(
        store.UpdateRecord("OLE_TREE", renamed.data, renamed.key1, renamed.key2, renamed.key3),
        kStoreOk);
    ASSERT_EQ(store.DeleteRecord("OLE_TREE", FormatTreeKey1({5, 1})), kStoreOk);
    ASSERT_EQ(store.InsertRecord("OLE_RES", "/srv/scans/a.tif", FormatResourceKey(7), "", ""),
              kStoreOk);
    // A class row is no change to follow, and neither is a write that was refused.
    ASSERT_EQ(store.InsertRecord("OLE_CLA", "00000001", FormatClassKey("0"), "", ""), kStoreOk);
    ASSERT_EQ(Insert(store, Entry(5, 2, 0, "Again")), kStoreFailed);
    // The other program's own write is not given back to it.
    ASSERT_EQ(Insert(*other, Entry(9, 1, 0, "Scans")), kStoreOk);

    const std::vector<StoreChange> changes = TakeWithin(*watcher, 5);
    EXPECT_EQ(Described(changes),
              (std::vector<std::string>{
                  "insert OLE_TREE 0000000500000001 to 0000000000000000Letters",
                  "insert OLE_TREE 0000000500000002 to 0000000000000000Invoices",
                  "update OLE_TREE 0000000500000002 from "
                  "0000000000000000Invoices to 0000000500000001Bills",
                  "delete OLE_TREE 0000000500000001 from 0000000000000000Letters",
                  "insert OLE_RES 00000007 /srv/scans/a.tif",
              }));
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[2].data, renamed.data);
    EXPECT_EQ(changes[2].key3, renamed.key3);
    EXPECT_TRUE(watcher->Take().empty());
    EXPECT_EQ(
        Described(TakeWithin(*own, 1)),
        std::vector<std::string>{"insert OLE_TREE 0000000900000001 to 0000000000000000Scans"});
    EXPECT_EQ(watcher->Missed(), "");
}

TEST(ChangeWatcherMemory, AStoreInMemoryHasNoChangesToFollow) {
    SqliteOpenResult opened = SqliteTableStore::Open(":memory:");
    ASSERT_TRUE(opened);
    std::string error;
    EXPECT_FALSE(opened.store->WatchChanges(error));
    EXPECT_EQ(error, "nobody else writes :memory:: there are no changes to follow");
}

TEST(Announcements, AServersAnnouncementIsReadOnlyWhenWhole) {
    const auto change = ParseAnnouncement("OLE_TREE|U|4:abcd2:k20:3:a|b1:x");
    ASSERT_TRUE(change);
    EXPECT_EQ(change->kind, ChangeKind::Update);
    EXPECT_EQ(change->key1, "abcd");
    EXPECT_EQ(change->oldKey2, "k2");
    EXPECT_EQ(change->key2, "a|b");
    EXPECT_EQ(change->key3, "x");
    bool reread = false;
    ASSERT_TRUE(ParseAnnouncement("OLE_RES|I*|8:000000070:0:0:0:", &reread));
    EXPECT_TRUE(reread);
    for (const char* broken :
         {"", "OLE_TREE", "OLE_TREE|U|", "OLE_TREE|X|1:a0:0:0:0:", "OLE_CLA|I|1:a0:0:0:0:",
          "OLE_TREE|D*|1:a0:0:0:0:", "OLE_TREE|I|9:a0:0:0:0:", "OLE_TREE|I|1:a0:0:0:0:extra",
          "OLE_TREE|I|0:0:0:0:0:", "OLE_TREE|I|-1:a0:0:0:0:", "OLE_TREE|I|1a0:0:0:0:"})
        EXPECT_FALSE(ParseAnnouncement(broken)) << broken;
}

}  // namespace
}  // namespace orbel::host::test
