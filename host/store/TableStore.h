// The host's tables: OLE_TREE, OLE_RES and OLE_CLA, kept by the host for the control, which
// asks for every row through events and takes the answers through RequestResult. Rows arrive
// and leave in the control's fixed-width text form; a store keeps typed columns beside the
// exact key texts so that key order is the order of those texts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace orbel::host {

class ChangeWatcher;  // host/store/StoreChanges.h

// What the host answers, as RequestResult carries it: a result code, sData and sKey1..sKey10.
struct StoreReply {
    std::int32_t result = 0;
    std::string data;
    std::array<std::string, 10> keys;
};

// Result codes a store answers with.
inline constexpr std::int32_t kStoreOk = 0;
inline constexpr std::int32_t kStoreRow = 1;  // one row of a select
inline constexpr std::int32_t kStoreNotFound =
    2;  // a position found nothing, a read ran past the end, a select ended
inline constexpr std::int32_t kStoreFailed =
    3;  // duplicate key 1, missing row, bad table or key, a write refused

// The rows of one select, taken one at a time, so a host can answer each as it goes instead of
// holding them all. A cursor belongs to the store that opened it and must be destroyed before
// it.
class SelectCursor {
  public:
    virtual ~SelectCursor();

    // The next row into `row` (result kStoreRow, the data and the three key texts), and true;
    // false once the select has ended, after which EndResult() says how.
    virtual bool Next(StoreReply& row) = 0;
    // How the select ended: kStoreNotFound when every row was taken (its normal end),
    // kStoreFailed when the store could not go on (the store's LastError() says why). Only
    // meaningful after Next() returned false.
    virtual std::int32_t EndResult() const = 0;
};

class TableStore {
  public:
    virtual ~TableStore();

    // Positions the table's cursor on key `keyNo` (OLE_TREE 1-3, the others 1) by the
    // relationship: 0 the row whose key equals keyValue, 2 the first row at or after it, 4 the
    // last row at or before it. kStoreOk when a row is there, kStoreNotFound otherwise.
    virtual std::int32_t SetTablePos(std::string_view table, std::int32_t relationship,
                                     std::int32_t keyNo, std::string_view keyValue) = 0;
    // The row at the cursor (data in `data`, the key texts in keys[0..2]) with kStoreOk, and the
    // cursor moves to the next row in the order of the key it was positioned on;
    // kStoreNotFound past the end or with no position.
    virtual StoreReply ReadNextRecord(std::string_view table) = 0;
    // Key 1 identifies the row. Insert of an existing key 1, and update or delete of a missing
    // one, answer kStoreFailed. Every write is committed before it returns.
    virtual std::int32_t InsertRecord(std::string_view table, std::string_view data,
                                      std::string_view key1, std::string_view key2,
                                      std::string_view key3) = 0;
    virtual std::int32_t UpdateRecord(std::string_view table, std::string_view data,
                                      std::string_view key1, std::string_view key2,
                                      std::string_view key3) = 0;
    virtual std::int32_t DeleteRecord(std::string_view table, std::string_view key1) = 0;
    // A cursor over every row with start <= key `keyNo` <= end, in key order. Never null: a
    // select that cannot run (an unknown table or key) gives a cursor with no rows that ends
    // with kStoreFailed.
    virtual std::unique_ptr<SelectCursor> OpenSelect(std::string_view table, std::int32_t keyNo,
                                                     std::string_view start,
                                                     std::string_view end) = 0;
    // The same select with every row handed to `row` before it returns; the cursor's end code.
    std::int32_t SelectTable(std::string_view table, std::int32_t keyNo, std::string_view start,
                             std::string_view end,
                             const std::function<void(const StoreReply&)>& row);
    // Direct ID retrieval: the next ID from an atomic counter, answered with kStoreOk, a
    // non-empty data string and the ID in keys[0].
    virtual StoreReply NextOleId() = 0;
    virtual StoreReply NextResourceId() = 0;

    // Why the last operation answered kStoreFailed, in words for the store's owner; empty after
    // an operation that did not fail.
    virtual std::string LastError() const { return {}; }

    // How messages and titles name the store: a file's path, a server without the password.
    virtual std::string Name() const { return "the store"; }

    // Why the store takes no writes, in words for its user; empty when it takes them.
    virtual std::string ReadOnlyReason() const { return {}; }
    bool ReadOnly() const { return !ReadOnlyReason().empty(); }

    // Runs `work` as one transaction: the writes it makes are committed together when it
    // returns true and rolled back when it returns false. For seeding a store with many rows;
    // the control's own writes each commit alone. A store without transactions answers false
    // and runs nothing.
    virtual bool InTransaction(const std::function<bool()>& work);

    // Runs the statements of `sql` as written (a script seeding or checking the store) and
    // hands every result row to `row`, each column as text, NULL as "NULL". False with
    // LastError() when a statement fails. A store that runs no SQL answers false.
    virtual bool ExecuteSql(std::string_view sql,
                            const std::function<void(std::span<const std::string>)>& row);

    // Starts following the tree and resource rows other programs write to the store from now
    // on; null with `error` when nobody else can write it (a store in memory) or the store
    // cannot announce its changes. The watcher must be destroyed before the store.
    virtual std::unique_ptr<ChangeWatcher> WatchChanges(std::string& error);
};

}  // namespace orbel::host
