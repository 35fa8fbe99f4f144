#include "tests/store/StoreFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orbel::host::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbel-store-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

TreeEntry Entry(std::int32_t owner, std::int32_t entryNo, std::int32_t parent,
                const std::string& name, std::int32_t resourceId) {
    TreeEntry e;
    e.OwnerId = e.OwnerId2 = owner;
    e.EntryNo = entryNo;
    e.ParentOwnerId = parent ? owner : 0;
    e.ParentEntryNo = parent;
    e.Name = name;
    e.ResourceId = resourceId;
    e.IsItem = resourceId ? 1 : 0;
    return e;
}

std::int32_t Insert(TableStore& store, const TreeEntry& e) {
    const RowText row = BuildTreeEntry(e);
    return store.InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3);
}

bool InsertTwoOwners(TableStore& store) {
    for (const TreeEntry& e :
         {Entry(5, 1, 0, "Letters"), Entry(5, 2, 0, "Invoices"), Entry(5, 3, 1, "March", 40),
          Entry(5, 4, 1, "April", 41), Entry(9, 1, 0, "Scans")})
        if (Insert(store, e) != kStoreOk) return false;
    return true;
}

std::unique_ptr<SelectCursor> SelectOwnerFive(TableStore& store) {
    return store.OpenSelect("OLE_TREE", 1, FormatTreeKey1({5, 0}), FormatTreeKey1({5, 99999999}));
}

void ExpectEveryWriteRefused(TableStore& store) {
    EXPECT_TRUE(store.ReadOnly());
    EXPECT_EQ(Insert(store, Entry(5, 7, 0, "New")), kStoreFailed);
    EXPECT_NE(store.LastError().find("read-only"), std::string::npos) << store.LastError();
    const RowText row = BuildTreeEntry(Entry(5, 1, 0, "Renamed"));
    EXPECT_EQ(store.UpdateRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3), kStoreFailed);
    EXPECT_EQ(store.DeleteRecord("OLE_TREE", row.key1), kStoreFailed);
    EXPECT_EQ(store.NextOleId().result, kStoreFailed);
    EXPECT_NE(store.LastError().find("read-only"), std::string::npos) << store.LastError();
    EXPECT_FALSE(store.ExecuteSql("DELETE FROM OLE_TREE", nullptr));
}

std::string NameOf(const StoreReply& reply) {
    return ParseTreeEntry(reply.data, reply.keys[0], reply.keys[1], reply.keys[2]).Name;
}

std::vector<std::string> SelectNames(TableStore& store, std::int32_t keyNo,
                                     const std::string& start, const std::string& end,
                                     std::int32_t* result) {
    std::vector<std::string> names;
    const std::int32_t r =
        store.SelectTable("OLE_TREE", keyNo, start, end, [&](const StoreReply& row) {
            EXPECT_EQ(row.result, kStoreRow);
            names.push_back(NameOf(row));
        });
    if (result) *result = r;
    return names;
}

std::vector<std::string> Sql(TableStore& store, const std::string& sql) {
    std::vector<std::string> rows;
    const bool ok = store.ExecuteSql(sql, [&](std::span<const std::string> columns) {
        std::string line;
        for (const std::string& c : columns) line += (line.empty() ? "" : " | ") + c;
        rows.push_back(line);
    });
    EXPECT_TRUE(ok) << sql << ": " << store.LastError();
    return rows;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::unique_ptr<SqliteTableStore> OpenStore(const std::string& path, StoreAccess access) {
    SqliteOpenResult opened = SqliteTableStore::Open(path, access);
    EXPECT_TRUE(opened) << opened.error;
    return std::move(opened.store);
}

}  // namespace orbel::host::test
