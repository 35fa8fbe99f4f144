// Where the next read of each table starts, as a store keeps it between SetTablePos and
// ReadNextRecord: at the row positioned on, or after the last row read, in the order of the key
// positioned on (key 1 breaks the ties of keys 2 and 3). The positions hold key texts, not rows,
// so rows written between reads are seen. Every store keeps them this way; stores differ only
// in how they run the statements given here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/store/StoreRows.h"
#include "host/store/TableStore.h"

namespace orbel::host {

class TablePositions {
  public:
    // A statement a request runs, with its parameters' values in order.
    struct Statement {
        StoreTable table;
        std::string sql;
        std::vector<std::string> params;
    };

    // The statement that finds the row a position names (giving the positioned key's text and
    // key 1), the table's old position forgotten; nullopt with `error` for a request no store
    // serves (an unknown table, key or relationship). `mark` numbers the parameters.
    std::optional<Statement> Position(std::string_view table, std::int32_t relationship,
                                      std::int32_t keyNo, std::string_view keyValue, char mark,
                                      std::string& error);
    // The row the position found.
    void PositionedAt(StoreTable table, std::string_view key, std::string_view key1);

    // The statement that reads the row at the table's position (giving data and the three
    // keys); nullopt when there is nothing to read, with `error` set when the table is unknown.
    std::optional<Statement> ReadNext(std::string_view table, char mark, std::string& error);
    // The row read: the position moves past it.
    void Read(StoreTable table, const StoreReply& row);

  private:
    struct Cursor {
        enum class State { None, At, After };
        State state = State::None;
        std::int32_t keyNo = 0;
        std::string key;
        std::string key1;
    };
    std::array<Cursor, 3> cursors_;  // by table
};

}  // namespace orbel::host
