// The three tables by the names the control gives them. The rows' fields are cut from their
// fixed-width texts by the control's own row code (src/store/RecordFormats.h), so the store's
// typed columns hold exactly the values the control reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbel::host {

enum class StoreTable { OleTree = 0, OleRes = 1, OleCla = 2 };

// "OLE_TREE", "OLE_RES", "OLE_CLA" as the control names them, exactly.
std::optional<StoreTable> StoreTableNamed(std::string_view name);
const char* StoreTableName(StoreTable table);
// OLE_TREE has keys 1-3, the others key 1.
std::int32_t KeyCount(StoreTable table);

}  // namespace orbel::host
