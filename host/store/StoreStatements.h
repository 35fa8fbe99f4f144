// What both table stores say the same way: the SQL text of their table operations (each store
// numbers its parameters with its own mark, "?" or "$"), the typed values cut from a row for its
// columns, and the reasons a request is refused. Values never enter the text: every one is a
// parameter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/store/StoreRows.h"

namespace orbel::host {

// A typed column's value as the row's texts give it.
using FieldValue = std::variant<std::int64_t, std::string>;

// The columns a write sets, in the order RowFields gives their values: the fields cut from the
// row, then Key1 and Data, then Key2 and Key3 in OLE_TREE.
const char* WriteColumns(StoreTable table);
// The values for WriteColumns, cut from the row by the control's own row code.
std::vector<FieldValue> RowFields(StoreTable table, std::string_view data, std::string_view key1,
                                  std::string_view key2, std::string_view key3);
// What a read gives back, in this order: the data and the three key texts (empty for the
// tables without).
const char* ReadColumns(StoreTable table);

std::string KeyColumn(std::int32_t keyNo);
// The order of key `keyNo`; key 1 breaks the ties of keys 2 and 3.
std::string KeyOrder(std::int32_t keyNo, bool descending);
// The comparison a position code stands for ("=", ">=", "<="), and whether the row it finds is
// the last of that order rather than the first; null for a code that is none.
const char* PositionOperator(std::int32_t relationship, bool& descending);

// Statements by parameter mark: "?" numbers ?1, ?2...; "$" numbers $1, $2...
std::string InsertSql(StoreTable table, char mark);
std::string UpdateSql(StoreTable table, char mark);
std::string DeleteSql(StoreTable table, char mark);
// The first row at the position, giving the positioned key and key 1.
std::string PositionSql(StoreTable table, std::int32_t keyNo, std::int32_t relationship, char mark);
// The next row in the order of key `keyNo` at or after (`inclusive`) the row (key, key 1).
std::string ReadNextSql(StoreTable table, std::int32_t keyNo, bool inclusive, char mark);
// Every row with start <= key `keyNo` <= end, in key order.
std::string SelectSql(StoreTable table, std::int32_t keyNo, char mark);

// An ID as its eight-digit field holds it.
std::string FormatId(std::int32_t id);
// The row of OLE_CLA the control's own counter keeps: "0" for OLE IDs, "1" for resource IDs.
const char* CounterClassRow(bool oleIds);
// "OLE ID" or "resource ID", for messages.
const char* CounterNamed(bool oleIds);

// The reasons for a refusal, in words for the store's owner.
std::string Quoted(std::string_view text);
std::string NoTableText(std::string_view table);
std::string NoKeyText(StoreTable table, std::int32_t keyNo);
std::string UnknownRelationshipText(std::int32_t relationship);
std::string NeedsKey1Text(StoreTable table);
std::string DuplicateKey1Text(StoreTable table, std::string_view key1);
std::string MissingKey1Text(StoreTable table, std::string_view key1);
std::string NoIdLeftText(bool oleIds, std::int64_t last);
std::string ReadOnlyStoreText(std::string_view store);
std::string OpenedReadOnlyText(std::string_view store);

}  // namespace orbel::host
