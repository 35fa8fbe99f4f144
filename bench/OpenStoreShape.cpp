#include "bench/OpenStoreShape.h"

#include <cstdio>

#include "bench/BenchSupport.h"

namespace orbel::bench {

namespace {

// Chains of folders 3, 4, 5, 3, ... deep, numbered from `first` on, each folder with the entry
// of its parent in the chain (0 for the chain's top); a last chain shorter than 3 is added to
// the one before it.
struct ChainFolder {
    std::int32_t entry;
    std::int32_t parent;  // 0: the top of its chain
};
std::vector<ChainFolder> Chains(std::int32_t first, std::int32_t count) {
    std::vector<ChainFolder> out;
    std::int32_t next = first;
    const std::int32_t end = first + count;
    for (int chain = 0; next < end; ++chain) {
        std::int32_t depth = 3 + chain % 3;
        if (end - (next + depth) < 3) depth = end - next;
        // Every other chain is numbered from its bottom up: its rows then come, in key order,
        // child before parent.
        const bool bottomUp = chain % 2 == 1;
        for (std::int32_t level = 0; level < depth; ++level) {
            const std::int32_t entry = bottomUp ? next + depth - 1 - level : next + level;
            const std::int32_t parent = level == 0 ? 0 : (bottomUp ? entry + 1 : entry - 1);
            out.push_back({entry, parent});
        }
        next += depth;
    }
    return out;
}

StoreShape ShapeOf(std::int64_t entries) {
    StoreShape shape;
    const auto folders = static_cast<std::int32_t>(entries / 10);
    shape.classFolders = folders / 2;
    shape.ownFolders = folders - shape.classFolders;
    const auto items = static_cast<std::int32_t>(entries) - folders;
    shape.classItems = items / 10;
    shape.ownItems = items - shape.classItems;
    return shape;
}

// The shape of a store of `entries`, its chains and the tops of its class chains.
struct Plan {
    StoreShape shape;
    std::vector<ChainFolder> classChains;
    std::vector<ChainFolder> ownChains;
    std::vector<std::int32_t> classTops;
};

Plan PlanOf(std::int64_t entries) {
    Plan plan;
    StoreShape& shape = plan.shape;
    shape = ShapeOf(entries);
    plan.classChains = Chains(1, shape.classFolders);
    plan.ownChains = Chains(1, shape.ownFolders);
    for (const ChainFolder& f : plan.classChains)
        if (f.parent == 0) plan.classTops.push_back(f.entry);
    shape.topFolders = static_cast<std::int32_t>(plan.classTops.size());
    int ownChain = 0;
    for (const ChainFolder& f : plan.ownChains)
        if (f.parent == 0 && ownChain++ % 2 == 0) ++shape.topFolders;
    return plan;
}

}  // namespace

StoreShape ShapeOfOpenStore(std::int64_t entries) {
    return PlanOf(entries).shape;
}

bool SeedOpenStore(host::TableStore& store, std::int64_t entries) {
    const Plan plan = PlanOf(entries);
    const StoreShape& shape = plan.shape;
    const std::vector<ChainFolder>& classChains = plan.classChains;
    const std::vector<ChainFolder>& ownChains = plan.ownChains;
    const std::vector<std::int32_t>& classTops = plan.classTops;

    auto insert = [&](std::int32_t owner, std::int32_t entryNo, std::int32_t parentOwner,
                      std::int32_t parentEntry, bool item) {
        char name[32];
        std::snprintf(name, sizeof name, item ? "Item %07d" : "Folder %06d", entryNo);
        return InsertTreeEntry(store, owner, entryNo, parentOwner, parentEntry, name, item);
    };
    for (const ChainFolder& f : classChains)
        if (!insert(kClassOleId, f.entry, f.parent ? kClassOleId : 0, f.parent, false))
            return false;
    int chain = 0;
    for (const ChainFolder& f : ownChains) {
        std::int32_t parentOwner = f.parent ? kOleId : 0;
        std::int32_t parent = f.parent;
        // Every other own chain hangs under the top of a class chain.
        if (f.parent == 0 && chain++ % 2 == 1) {
            parentOwner = kClassOleId;
            parent = classTops[static_cast<std::size_t>(chain) % classTops.size()];
        }
        if (!insert(kOleId, f.entry, parentOwner, parent, false)) return false;
    }
    for (std::int32_t n = 0; n < shape.classItems; ++n)
        if (!insert(kClassOleId, shape.classFolders + 1 + n, kClassOleId,
                    1 + n % shape.classFolders, true))
            return false;
    const std::int32_t folders = shape.Folders();
    for (std::int32_t n = 0; n < shape.ownItems; ++n) {
        const std::int32_t folder = n % folders;
        const bool inClassFolder = folder < shape.classFolders;
        if (!insert(kOleId, shape.ownFolders + 1 + n, inClassFolder ? kClassOleId : kOleId,
                    inClassFolder ? 1 + folder : 1 + folder - shape.classFolders, true))
            return false;
    }
    for (std::int32_t owner : kNeighbourOwners)
        for (std::int32_t n = 1; n <= kNeighbourEntries; ++n)
            if (!insert(owner, n, 0, 0, false)) return false;
    return true;
}

}  // namespace orbel::bench
