#include "host/store/StoreRows.h"

#include <algorithm>
#include <array>

namespace orbel::host {

namespace {

constexpr std::array<const char*, 3> kTableNames = {"OLE_TREE", "OLE_RES", "OLE_CLA"};

// Characters [from, from + count) of the text. What lies past its end is left out, which reads
// the same as the blanks the control pads a short string with.
std::string_view Slice(std::string_view text, std::size_t from, std::size_t count) {
    if (from >= text.size()) return {};
    return text.substr(from, count);
}

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

std::int32_t ReadNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) {
            value = std::int64_t{INT32_MAX} + 1;
            break;
        }
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::string WithoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

TreeRowFields ParseTreeRow(std::string_view data, std::string_view key1, std::string_view key2,
                           std::string_view key3) {
    TreeRowFields f;
    f.OwnerId = ReadNumber(Slice(key1, 0, 8));
    f.EntryNo = ReadNumber(Slice(key1, 8, 8));
    f.OwnerId2 = ReadNumber(Slice(key2, 0, 8));
    f.ParentOwnerId = ReadNumber(Slice(key2, 8, 8));
    f.ParentEntryNo = ReadNumber(Slice(key2, 16, 8));
    f.Name = WithoutTrailingBlanks(Slice(key2, 24, 30));
    f.ResourceId = ReadNumber(Slice(key3, 0, 8));
    f.IsItem = ReadNumber(Slice(data, 0, 1));
    f.PageStart = ReadNumber(Slice(data, 1, 3));
    f.PageEnd = ReadNumber(Slice(data, 4, 3));
    f.Batch = WithoutTrailingBlanks(Slice(data, 7, 8));
    f.Type = WithoutTrailingBlanks(Slice(data, 15, 3));
    return f;
}

ResourceRowFields ParseResourceRow(std::string_view data, std::string_view key1) {
    return {ReadNumber(key1), WithoutTrailingBlanks(data)};
}

ClassRowFields ParseClassRow(std::string_view data, std::string_view key1) {
    return {WithoutTrailingBlanks(key1), ReadNumber(data)};
}

}  // namespace orbel::host
