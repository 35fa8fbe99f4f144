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
