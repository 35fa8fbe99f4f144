// Reading single entries of the store: a tree row by its number, the resource row behind an
// item, the file behind an entry as valid on this machine, and a folder by its name.
#pragma once

#include <cstdint>
#include <string>

#include "src/store/HostExchange.h"
#include "src/store/StoreSite.h"

namespace orbel {

class CResourceLookup {
  public:
    CResourceLookup(CHostExchange& exchange, CStoreSite& site);

    // Positions OLE_TREE by key 1 on (owner, entry) and reads the row into the exchange's
    // tree buffer; 0 when both succeed, else which step failed (1 position, 2 read).
    int ReadTreeEntry(std::int32_t ownerId, std::int32_t entryNo);
    // Reads the resource row of the item in the exchange's tree buffer; a folder's is empty.
    std::int32_t GetResource();
    // The file behind an entry, as valid on this machine.
    // A caller that asks (`quietWithoutResource`) gets false without a message for an entry
    // that links to no file: a folder, or an item whose stored path is empty.
    bool GetResourceDetails(std::int32_t entryKey, std::string& path, std::int32_t& pageStart,
                            std::int32_t& pageEnd, bool withMarkers,
                            bool quietWithoutResource = false);
    // The entry number of the folder with exactly this key 2, or -1.
    std::int32_t FindFolder(const TreeKey2& key);

  private:
    CHostExchange& m_exchange;
    CStoreSite& m_site;
};

}  // namespace orbel
