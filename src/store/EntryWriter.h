// Writing the store's entries: new folders and items of the current OLE ID's tree, renames,
// moves and deletions, each a table request followed by the change in the panes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "src/store/HostExchange.h"
#include "src/store/ResourceLookup.h"
#include "src/store/StoreSite.h"

namespace orbel {

class CEntryWriter {
  public:
    CEntryWriter(CHostExchange& exchange, CStoreSite& site, CResourceLookup& lookup);

    // The number after the owner's highest entry (1 for an owner without entries), or -1.
    std::int32_t NextEntryNumber(std::int32_t ownerId);
    // The new folder's entry number, or -1 after saying why.
    std::int32_t CreateNewFolder(const std::string& name, std::int32_t parentOwnerId,
                                 std::int32_t parentEntryNo);
    // The same in the tree of another owner than the current OLE ID.
    std::int32_t CreateFolderOf(std::int32_t ownerId, const std::string& name,
                                std::int32_t parentOwnerId, std::int32_t parentEntryNo);
    void CreateNewItem(const std::string& name, const std::string& path, std::int32_t parentOwnerId,
                       std::int32_t parentEntryNo, std::int32_t pageStart, std::int32_t pageEnd);
    bool ChangeItem(std::int32_t entryKey, const std::string& name, std::int32_t pageStart,
                    std::int32_t pageEnd);
    // Renames the entry and keeps the page range that it has in the store.
    bool ChangeItem(std::int32_t entryKey, const std::string& name);
    bool SetParent(std::int32_t entryKey, std::int32_t newParentKey);
    void DeleteEntry(std::int32_t entryKey);
    // Reads the entry, lets `change` alter it and writes it back; a failing step shows
    // "Error OPERATION:N" (1 position, 2 read, 3 update) and gives false.
    bool RewriteTreeEntry(std::int32_t ownerId, std::int32_t entryNo, const char* operation,
                          const std::function<void(TreeEntry&)>& change);

  private:
    // Stores the entry's new name, and its page range when one is given.
    bool ChangeEntry(std::int32_t entryKey, const std::string& name,
                     std::optional<std::pair<std::int32_t, std::int32_t>> pages);
    // Fills the tree entry buffer with a new row of the owner's tree.
    TreeEntry& NewEntry(std::int32_t ownerId, std::int32_t entryNo, std::int32_t parentOwnerId,
                        std::int32_t parentEntryNo, const std::string& name);

    CHostExchange& m_exchange;
    CStoreSite& m_site;
    CResourceLookup& m_lookup;
};

}  // namespace orbel
