#include "host/store/StoreStatements.h"

#include <array>
#include <cstdio>

#include "src/store/RecordFormats.h"

namespace orbel::host {

namespace {

constexpr std::array<const char*, 3> kWriteColumns = {
    "OwnerId, EntryNo, OwnerId2, ParentOwnerId, ParentEntryNo, Name, ResourceId, IsItem, "
    "PageStart, PageEnd, Batch, Type, Key1, Data, Key2, Key3",
    "ResourceId, Path, Key1, Data",
    "ClassName, Value, Key1, Data",
};
constexpr std::array<int, 3> kWriteColumnCount = {16, 4, 4};
// Key1 follows the typed fields in WriteColumns.
constexpr std::array<int, 3> kKey1Column = {13, 3, 3};

constexpr std::array<const char*, 3> kReadColumns = {
    "Data, Key1, Key2, Key3",
    "Data, Key1, '', ''",
    "Data, Key1, '', ''",
};

int Index(StoreTable table) {
    return static_cast<int>(table);
}

std::string Param(char mark, int n) {
    return mark + std::to_string(n);
}

}  // namespace

const char* WriteColumns(StoreTable table) {
    return kWriteColumns[Index(table)];
}

const char* ReadColumns(StoreTable table) {
    return kReadColumns[Index(table)];
}

std::vector<FieldValue> RowFields(StoreTable table, std::string_view data, std::string_view key1,
                                  std::string_view key2, std::string_view key3) {
    std::vector<FieldValue> v;
    v.reserve(static_cast<std::size_t>(kWriteColumnCount[Index(table)]));
    auto number = [&](std::int32_t value) { v.emplace_back(std::int64_t{value}); };
    auto text = [&](std::string_view value) { v.emplace_back(std::string(value)); };
    switch (table) {
        case StoreTable::OleTree: {
            const TreeEntry f = ParseTreeEntry(data, key1, key2, key3);
            number(f.OwnerId);
            number(f.EntryNo);
            number(f.OwnerId2);
            number(f.ParentOwnerId);
            number(f.ParentEntryNo);
            text(f.Name);
            number(f.ResourceId);
            number(f.IsItem);
            number(f.PageStart);
            number(f.PageEnd);
            text(f.Batch);
            text(f.Type);
            break;
        }
        case StoreTable::OleRes: {
            const ResourceRecord f = ParseResourceRecord(data, key1);
            number(f.ResourceId);
            text(f.Path);
            break;
        }
        case StoreTable::OleCla: {
            const ClassRecord f = ParseClassRecord(data, key1);
            text(f.ClassName);
            number(f.Value);
            break;
        }
    }
    text(key1);
    text(data);
    if (table == StoreTable::OleTree) {
        text(key2);
        text(key3);
    }
    return v;
}

std::string KeyColumn(std::int32_t keyNo) {
    return "Key" + std::to_string(keyNo);
}

std::string KeyOrder(std::int32_t keyNo, bool descending) {
    const char* dir = descending ? " DESC" : "";
    if (keyNo == 1) return "Key1" + std::string(dir);
    return KeyColumn(keyNo) + dir + ", Key1" + dir;
}

const char* PositionOperator(std::int32_t relationship, bool& descending) {
    descending = relationship == 4;
    switch (relationship) {
        case 0:
            return "=";
        case 2:
            return ">=";
        case 4:
            return "<=";
        default:
            return nullptr;
    }
}

std::string InsertSql(StoreTable table, char mark) {
    std::string values;
    for (int i = 1; i <= kWriteColumnCount[Index(table)]; ++i)
        values += (i > 1 ? ", " : "") + Param(mark, i);
    return std::string("INSERT INTO ") + StoreTableName(table) + " (" + WriteColumns(table) +
           ") VALUES (" + values + ")";
}

std::string UpdateSql(StoreTable table, char mark) {
    const std::string columns = WriteColumns(table);
    std::string sets;
    int i = 1;
    for (std::size_t from = 0; from <= columns.size(); ++i) {
        std::size_t comma = columns.find(", ", from);
        if (comma == std::string::npos) comma = columns.size();
        sets += (i > 1 ? ", " : "") + columns.substr(from, comma - from) + " = " + Param(mark, i);
        from = comma + 2;
    }
    return std::string("UPDATE ") + StoreTableName(table) + " SET " + sets +
           " WHERE Key1 = " + Param(mark, kKey1Column[Index(table)]);
}

std::string DeleteSql(StoreTable table, char mark) {
    return std::string("DELETE FROM ") + StoreTableName(table) + " WHERE Key1 = " + Param(mark, 1);
}

std::string PositionSql(StoreTable table, std::int32_t keyNo, std::int32_t relationship,
                        char mark) {
    bool descending = false;
    const char* op = PositionOperator(relationship, descending);
    const std::string key = KeyColumn(keyNo);
    return "SELECT " + key + ", Key1 FROM " + StoreTableName(table) + " WHERE " + key + " " +
           (op ? op : "=") + " " + Param(mark, 1) + " ORDER BY " + KeyOrder(keyNo, descending) +
           " LIMIT 1";
}

std::string ReadNextSql(StoreTable table, std::int32_t keyNo, bool inclusive, char mark) {
    const char* op = inclusive ? " >= " : " > ";
    const std::string where = keyNo == 1 ? "Key1" + std::string(op) + Param(mark, 1)
                                         : "(" + KeyColumn(keyNo) + ", Key1)" + op + "(" +
                                               Param(mark, 1) + ", " + Param(mark, 2) + ")";
    return std::string("SELECT ") + ReadColumns(table) + " FROM " + StoreTableName(table) +
           " WHERE " + where + " ORDER BY " + KeyOrder(keyNo, false) + " LIMIT 1";
}

std::string SelectSql(StoreTable table, std::int32_t keyNo, char mark) {
    return std::string("SELECT ") + ReadColumns(table) + " FROM " + StoreTableName(table) +
           " WHERE " + KeyColumn(keyNo) + " BETWEEN " + Param(mark, 1) + " AND " + Param(mark, 2) +
           " ORDER BY " + KeyOrder(keyNo, false);
}

std::string FormatId(std::int32_t id) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%08d", id);
    return text.data();
}

const char* CounterClassRow(bool oleIds) {
    return oleIds ? "0" : "1";
}

const char* CounterNamed(bool oleIds) {
    return oleIds ? "OLE ID" : "resource ID";
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string NoTableText(std::string_view table) {
    return "no table " + Quoted(table) + " in the store";
}

std::string NoKeyText(StoreTable table, std::int32_t keyNo) {
    return std::string(StoreTableName(table)) + " has no key " + std::to_string(keyNo);
}

std::string UnknownRelationshipText(std::int32_t relationship) {
    return "unknown relationship " + std::to_string(relationship);
}

std::string NeedsKey1Text(StoreTable table) {
    return std::string(StoreTableName(table)) + ": a row needs a key 1";
}

std::string DuplicateKey1Text(StoreTable table, std::string_view key1) {
    return std::string(StoreTableName(table)) + " already holds a row with key 1 " + Quoted(key1);
}

std::string MissingKey1Text(StoreTable table, std::string_view key1) {
    return std::string(StoreTableName(table)) + " holds no row with key 1 " + Quoted(key1);
}

std::string NoIdLeftText(bool oleIds, std::int64_t last) {
    return std::string("the ") + CounterNamed(oleIds) + " counter is at " + std::to_string(last) +
           ", the widest ID a row holds: no ID is left";
}

std::string ReadOnlyStoreText(std::string_view store) {
    return "the store " + std::string(store) + " is read-only: nothing was written";
}

std::string OpenedReadOnlyText(std::string_view store) {
    return "the store " + std::string(store) + " is opened read-only: every change is refused";
}

}  // namespace orbel::host
