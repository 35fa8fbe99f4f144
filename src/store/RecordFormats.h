// The rows of OLE_TREE, OLE_RES and OLE_CLA as the control holds them, and their fixed-width
// text forms on the wire: one data string and up to three key strings each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orbel {

// Field widths of the rows, in characters (UTF-8 code points; a byte that is no UTF-8 counts as
// one and is kept as it is). A value wider than its field would move every later field of its
// string, so building a row cuts texts to these widths and keeps numbers within them; reading
// cuts the fields apart by the same count. Key texts stay comparable byte by byte: a name
// padded with blanks to 30 characters sorts where the name followed by blanks sorts, however
// many bytes its characters take, so the host's index keeps key order and equal keys.
inline constexpr std::size_t kNameWidth = 30;
inline constexpr std::size_t kBatchWidth = 8;
inline constexpr std::size_t kTypeWidth = 3;
inline constexpr std::size_t kClassNameWidth = 10;
inline constexpr std::size_t kPathWidth = 256;
// The largest number an eight-digit field (an entry number, an ID, a counter) holds.
inline constexpr std::int32_t kLargestNumber = 99999999;

enum class Table { OleTree = 0, OleRes = 1, OleCla = 2 };
const char* TableName(Table t);  // "OLE_TREE", "OLE_RES", "OLE_CLA"

// The key of OLE_TREE (1 to 3) or of another table (1 only) that a position or a select goes
// by; the event carries the number.
enum class KeyNo : std::int32_t { Key1 = 1, Key2 = 2, Key3 = 3 };

// How the host positions for the next read; the event carries the number.
enum class Relationship : std::int32_t {
    Equal = 0,       // the row whose key equals the value
    AtOrAfter = 2,   // the first row whose key is equal or greater
    AtOrBefore = 4,  // the last row whose key is equal or less
};

struct TreeEntry {
    std::int32_t OwnerId = 0;
    std::int32_t EntryNo = 0;
    std::int32_t OwnerId2 = 0;
    std::int32_t ParentOwnerId = 0;
    std::int32_t ParentEntryNo = 0;
    std::string Name;
    std::int32_t ResourceId = 0;
    std::int32_t IsItem = 0;
    std::int32_t PageStart = 0;
    std::int32_t PageEnd = 0;
    std::string Batch;
    std::string Type;
    bool operator==(const TreeEntry&) const = default;
};

struct ResourceRecord {
    std::int32_t ResourceId = 0;
    std::string Path;
    bool operator==(const ResourceRecord&) const = default;
};

struct ClassRecord {
    std::string ClassName;
    std::int32_t Value = 0;
    bool operator==(const ClassRecord&) const = default;
};

// The strings a row travels in: sData, sKey1, sKey2, sKey3.
struct RowText {
    std::string data;
    std::string key1;
    std::string key2;
    std::string key3;
    bool operator==(const RowText&) const = default;
};

// Key buffers of OLE_TREE by key number.
struct TreeKey1 {
    std::int32_t OwnerId = 0;
    std::int32_t EntryNo = 0;
};
struct TreeKey2 {
    std::int32_t OwnerId = 0;
    std::int32_t ParentOwnerId = 0;
    std::int32_t ParentEntryNo = 0;
    std::string Name;
};
struct TreeKey3 {
    std::int32_t ResourceId = 0;
};

RowText BuildTreeEntry(const TreeEntry& e);
TreeEntry ParseTreeEntry(std::string_view data, std::string_view key1, std::string_view key2,
                         std::string_view key3);
// The same into an entry that is reused row after row, keeping its strings' room.
void ParseTreeEntryInto(TreeEntry& e, std::string_view data, std::string_view key1,
                        std::string_view key2, std::string_view key3);

// The path is written as given: the caller has already put it in its stored form.
RowText BuildResourceRecord(const ResourceRecord& r);
ResourceRecord ParseResourceRecord(std::string_view data, std::string_view key1);

RowText BuildClassRecord(const ClassRecord& c);
ClassRecord ParseClassRecord(std::string_view data, std::string_view key1);

// Key values, "%08d%08d", "%08d%08d%08d%-30s", "%08d", and "%-10s" for a class name.
std::string FormatTreeKey1(const TreeKey1& k);
std::string FormatTreeKey2(const TreeKey2& k);
std::string FormatTreeKey3(const TreeKey3& k);
std::string FormatResourceKey(std::int32_t resourceId);
std::string FormatClassKey(std::string_view className);

// The end of a key-2 range that covers every entry of one owner.
TreeKey2 TreeKey2RangeEnd(std::int32_t ownerId);

// Entry keys: entry number x 10, plus 1 for an entry of the class tree; 0 is the top.
std::int32_t EntryKeyOf(std::int32_t ownerId, std::int32_t entryNo, std::int32_t classOleId);
inline std::int32_t EntryNoOfKey(std::int32_t entryKey) {
    return entryKey / 10;
}
inline bool IsClassEntryKey(std::int32_t entryKey) {
    return entryKey % 10 == 1;
}
inline std::int32_t OwnerOfKey(std::int32_t entryKey, std::int32_t currentOleId,
                               std::int32_t classOleId) {
    return IsClassEntryKey(entryKey) ? classOleId : currentOleId;
}

// The C library's atol on a slice, saturated to 32 bits: leading blanks, a sign, digits;
// anything else ends the number; no digits read as 0.
std::int32_t Atol(std::string_view text);
// Removes trailing blanks, tabs and line ends.
std::string TrimRight(std::string_view text);
// A text as its field of `width` characters gives it back once written: what a pane shows
// after the store took a name.
std::string StoredText(std::string_view text, std::size_t width);

}  // namespace orbel
