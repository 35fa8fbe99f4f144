// The host's table store on a PostgreSQL server, for a store that several people use from
// several machines: the same three tables as the SQLite store, every field in a typed column
// beside the key texts exactly as the control sent them. The key columns compare byte by byte
// (COLLATE "C"), so the order of their indexes is the order of the texts and a position is one
// index look-up.
//
// Every request runs on its own and is committed before it returns, so an answer of kStoreOk
// means the server has the row. A select reads through a cursor of the server's in batches, on
// a connection of its own (kept for the next select when it ends): any other request may run
// while it is open, and a select of a million rows never holds more than a batch. New IDs come
// from one statement that moves the counter row, so clients on any machine never get the same
// ID.
//
// A connection that is lost fails the request it was lost in, with a reason that says so; the
// next request connects again. A connection string's password appears in no message.
//
// Not for: a store on one machine alone (the SQLite store needs no server).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/store/PgConnection.h"
#include "host/store/SqliteTableStore.h"
#include "host/store/TablePositions.h"
#include "host/store/TableStore.h"

namespace orbel::host {

class PgTableStore;

struct PgOpenResult {
    std::unique_ptr<PgTableStore> store;  // null when the server gave no store
    std::string error;                    // why, naming the server without the password
    explicit operator bool() const { return store != nullptr; }
};

class PgTableStore final : public TableStore {
  public:
    // The layout the store's tables have; a store of a newer one is refused.
    static constexpr std::int32_t kSchemaVersion = 1;
    // How many rows a select fetches at a time, after a first small batch that gets the first
    // rows to the control at once.
    static constexpr int kFirstBatch = 64;
    static constexpr int kBatch = 1000;

    // Connects with `conninfo` (a libpq connection string or URI) and makes the tables in a
    // database that has none. A server that takes no writes (a standby, a read-only database, a
    // user without the right to write) gives a read-only store; ReadOnlyReason() says why.
    static PgOpenResult Open(const std::string& conninfo,
                             StoreAccess access = StoreAccess::ReadWrite);

  private:
    struct OpenedTag {};

  public:
    PgTableStore(OpenedTag, std::unique_ptr<pg::ConnInfo> info,
                 std::unique_ptr<pg::Connection> main, std::string readOnlyReason);
    ~PgTableStore() override;
    PgTableStore(const PgTableStore&) = delete;
    PgTableStore& operator=(const PgTableStore&) = delete;

    std::int32_t SetTablePos(std::string_view table, std::int32_t relationship, std::int32_t keyNo,
                             std::string_view keyValue) override;
    StoreReply ReadNextRecord(std::string_view table) override;
    std::int32_t InsertRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override;
    std::int32_t UpdateRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override;
    std::int32_t DeleteRecord(std::string_view table, std::string_view key1) override;
    // The rows as the server had them when the select began: writes made meanwhile, by this
    // store or another client, are not among them.
    std::unique_ptr<SelectCursor> OpenSelect(std::string_view table, std::int32_t keyNo,
                                             std::string_view start, std::string_view end) override;
    StoreReply NextOleId() override;
    StoreReply NextResourceId() override;
    std::string LastError() const override { return lastError_; }
    std::string ReadOnlyReason() const override { return readOnlyReason_; }
    bool InTransaction(const std::function<bool()>& work) override;
    // The server runs a text of several statements as one transaction: when one fails, those
    // before it are undone too.
    bool ExecuteSql(std::string_view sql,
                    const std::function<void(std::span<const std::string>)>& row) override;

    // A trigger announces every tree and resource row written; the watcher listens on a
    // connection of its own and leaves out what this store wrote (host/store/PgChangeWatcher.cpp).
    std::unique_ptr<ChangeWatcher> WatchChanges(std::string& error) override;
    // The server process of the connection requests run on: announcements it sent are this
    // store's own.
    int BackendPid() const;

    // "postgres:" and the connection string without its password.
    std::string Name() const override { return name_; }

    // A connection for a select, from those kept or new; null with LastError() when none can be
    // made. Given back with GiveBack once the select is done with it.
    std::unique_ptr<pg::Connection> BorrowReader();
    void GiveBack(std::unique_ptr<pg::Connection> reader);

  private:
    std::int32_t Fail(std::string message);
    // The main connection, connected again when it was lost; false with the reason when the
    // server cannot be reached.
    bool Connected();
    // Runs a request's statement; null after saying why it failed (the statement, under the
    // name `what`, or the connection lost in it).
    pg::Result Run(const std::string& sql, const pg::Params& params, std::string_view what);
    std::optional<StoreTable> TableForWrite(std::string_view tableName);
    std::int32_t Write(StoreTable table, const std::string& sql, const pg::Params& params,
                       std::string_view key1);
    StoreReply NextId(bool oleIds);

    std::unique_ptr<pg::ConnInfo> info_;
    std::unique_ptr<pg::Connection> main_;
    std::vector<std::unique_ptr<pg::Connection>> readers_;  // idle, for the next select
    std::string name_;
    TablePositions positions_;
    std::string readOnlyReason_;
    int transactionDepth_ = 0;
    std::string lastError_;
};

}  // namespace orbel::host
