// The store that opening is measured on, whichever kind of store holds it: N entries, a
// tenth of them folders, half in the class tree and half in the item's own tree, in chains 3
// to 5 deep; every other own chain hangs under a class folder, and every other chain is
// numbered from its bottom up, so that in key order a folder is moved under its parent before
// the parent is moved under its own. The rest are items spread over all folders, one in ten
// of them class items.
#pragma once

#include <cstdint>
#include <vector>

#include "host/store/TableStore.h"

namespace orbel::bench {

inline constexpr std::int32_t kClassOleId = 100;
inline constexpr std::int32_t kOleId = 7;
// Entries of the owners beside both trees, which the selects' ranges leave out.
inline constexpr std::int32_t kNeighbourOwners[] = {kOleId - 1, kOleId + 1, kClassOleId - 1,
                                                    kClassOleId + 1};
inline constexpr std::int32_t kNeighbourEntries = 50;

// How a store of N entries is made, and what opening it must show.
struct StoreShape {
    std::int32_t classFolders = 0;
    std::int32_t ownFolders = 0;
    std::int32_t classItems = 0;
    std::int32_t ownItems = 0;
    std::int32_t topFolders = 0;  // the folders directly under "All" once the tree is loaded

    std::int32_t Folders() const { return classFolders + ownFolders; }
    std::int64_t ClassRows() const { return classFolders + classItems; }
    std::int64_t OwnRows() const { return ownFolders + ownItems; }
};

// What opening a store of `entries` must show.
StoreShape ShapeOfOpenStore(std::int64_t entries);
// Writes the entries of a store of `entries` into `store` (the caller makes it one
// transaction); false when the store refused a row.
bool SeedOpenStore(host::TableStore& store, std::int64_t entries);

}  // namespace orbel::bench
