// The fields of the three rows, cut from the fixed-width text the control sends: a data string
// and up to three key strings. Numbers are read like the C library's atol, texts lose their
// trailing blanks; the store keeps them as typed columns beside the texts themselves.
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

struct TreeRowFields {
    std::int32_t OwnerId = 0;        // key 1, characters 1-8
    std::int32_t EntryNo = 0;        // key 1, characters 9-16
    std::int32_t OwnerId2 = 0;       // key 2, characters 1-8
    std::int32_t ParentOwnerId = 0;  // key 2, characters 9-16
    std::int32_t ParentEntryNo = 0;  // key 2, characters 17-24
    std::string Name;                // key 2, characters 25-54
    std::int32_t ResourceId = 0;     // key 3, characters 1-8
    std::int32_t IsItem = 0;         // data, character 1
    std::int32_t PageStart = 0;      // data, characters 2-4
    std::int32_t PageEnd = 0;        // data, characters 5-7
    std::string Batch;               // data, characters 8-15
    std::string Type;                // data, characters 16-18; empty when the data is shorter
    bool operator==(const TreeRowFields&) const = default;
};

struct ResourceRowFields {
    std::int32_t ResourceId = 0;  // key 1
    std::string Path;             // data
    bool operator==(const ResourceRowFields&) const = default;
};

struct ClassRowFields {
    std::string ClassName;   // key 1
    std::int32_t Value = 0;  // data
    bool operator==(const ClassRowFields&) const = default;
};

TreeRowFields ParseTreeRow(std::string_view data, std::string_view key1, std::string_view key2,
                           std::string_view key3);
ResourceRowFields ParseResourceRow(std::string_view data, std::string_view key1);
ClassRowFields ParseClassRow(std::string_view data, std::string_view key1);

// atol on a slice, saturated to 32 bits: leading blanks, a sign, digits; no digits read as 0.
std::int32_t ReadNumber(std::string_view text);
// Without trailing blanks, tabs and line ends.
std::string WithoutTrailingBlanks(std::string_view text);

}  // namespace orbel::host
