// Helpers for the store's tests: a temporary folder of the test's own, and rows built the way
// the control builds them before it sends them to its host.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/store/SqliteTableStore.h"
#include "src/store/RecordFormats.h"

namespace orbel::host::test {

// A folder removed with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// A folder (IsItem 0) or an item of owner `owner`, under the folder (owner, parent).
TreeEntry Entry(std::int32_t owner, std::int32_t entryNo, std::int32_t parent,
                const std::string& name, std::int32_t resourceId = 0);

// Inserts the entry as the control sends it; the store's answer.
std::int32_t Insert(TableStore& store, const TreeEntry& e);

// Every row of a select, by the names the control reads from them.
std::vector<std::string> SelectNames(TableStore& store, std::int32_t keyNo,
                                     const std::string& start, const std::string& end,
                                     std::int32_t* result = nullptr);

// Owner 5's entries 1-4 (Letters, Invoices, and March and April under Letters) and owner 9's
// entry 1 (Scans); false when the store refused one.
bool InsertTwoOwners(TableStore& store);
// A select of owner 5's rows by key 1.
std::unique_ptr<SelectCursor> SelectOwnerFive(TableStore& store);

// Checks that a read-only store refuses every kind of write, each with a reason that says it
// is read-only; entry (5, 1) is in the store.
void ExpectEveryWriteRefused(TableStore& store);

// The name the control reads from a reply.
std::string NameOf(const StoreReply& reply);

// The rows of an SQL query against the store, each as "col | col | ...".
std::vector<std::string> Sql(TableStore& store, const std::string& sql);

// The bytes of a file.
std::string FileBytes(const std::filesystem::path& path);

// Opens a store that must open.
std::unique_ptr<SqliteTableStore> OpenStore(const std::string& path,
                                            StoreAccess access = StoreAccess::ReadWrite);

}  // namespace orbel::host::test
