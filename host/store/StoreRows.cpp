#include "host/store/StoreRows.h"

#include <algorithm>
#include <array>

namespace orbel::host {

namespace {

constexpr std::array<const char*, 3> kTableNames = {"OLE_TREE", "OLE_RES", "OLE_CLA"};

}  // namespace

std::optional<StoreTable> StoreTableNamed(std::string_view name) {
    for (std::size_t i = 0; i < kTableNames.size(); ++i)
        if (name == kTableNames[i]) return static_cast<StoreTable>(i);
    return std::nullopt;
}

const char* StoreTableName(StoreTable table) {
    return kTableNames[static_cast<int>(table)];
}

std::int32_t KeyCount(StoreTable table) {
    return table == StoreTable::OleTree ? 3 : 1;
}

}  // namespace orbel::host
