#include "host/store/TablePositions.h"

#include "host/store/StoreStatements.h"

namespace orbel::host {

std::optional<TablePositions::Statement> TablePositions::Position(std::string_view tableName,
                                                                  std::int32_t relationship,
                                                                  std::int32_t keyNo,
                                                                  std::string_view keyValue,
                                                                  char mark, std::string& error) {
    const auto table = StoreTableNamed(tableName);
    if (!table) {
        error = NoTableText(tableName);
        return std::nullopt;
    }
    if (keyNo < 1 || keyNo > KeyCount(*table)) {
        error = NoKeyText(*table, keyNo);
        return std::nullopt;
    }
    bool descending = false;
    if (!PositionOperator(relationship, descending)) {
        error = UnknownRelationshipText(relationship);
        return std::nullopt;
    }
    Cursor& cursor = cursors_[static_cast<int>(*table)];
    cursor = Cursor{};
    cursor.keyNo = keyNo;
    return Statement{
        *table, PositionSql(*table, keyNo, relationship, mark), {std::string(keyValue)}};
}

void TablePositions::PositionedAt(StoreTable table, std::string_view key, std::string_view key1) {
    Cursor& cursor = cursors_[static_cast<int>(table)];
    cursor.state = Cursor::State::At;
    cursor.key.assign(key);
    cursor.key1.assign(key1);
}

std::optional<TablePositions::Statement> TablePositions::ReadNext(std::string_view tableName,
                                                                  char mark, std::string& error) {
    const auto table = StoreTableNamed(tableName);
    if (!table) {
        error = NoTableText(tableName);
        return std::nullopt;
    }
    const Cursor& cursor = cursors_[static_cast<int>(*table)];
    if (cursor.state == Cursor::State::None) return std::nullopt;
    Statement statement{*table,
                        ReadNextSql(*table, cursor.keyNo, cursor.state == Cursor::State::At, mark),
                        {cursor.key}};
    if (cursor.keyNo != 1) statement.params.push_back(cursor.key1);
    return statement;
}

void TablePositions::Read(StoreTable table, const StoreReply& row) {
    Cursor& cursor = cursors_[static_cast<int>(table)];
    cursor.state = Cursor::State::After;
    cursor.key1 = row.keys[0];
    cursor.key = row.keys[static_cast<std::size_t>(cursor.keyNo - 1)];
}

}  // namespace orbel::host
