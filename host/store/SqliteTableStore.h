// The host's table store on an embedded SQLite file: every field of the three rows in a typed
// column, beside the key texts exactly as the control sent them (indexed, so key order is the
// byte order of those texts) and the data string as sent, so a read gives back exactly what
// was written.
//
// Durability: the file keeps a rollback journal with synchronous=FULL, and every write is its
// own transaction, committed before the answer is returned; an answer of kStoreOk therefore
// means the row is on disk, across a killed host and a power cut alike. The control writes one
// row at a time at the pace of its user, so the fsyncs of each commit cost nothing anyone
// sees. A rollback journal also lets a read-only store be read without leaving files beside it.
//
// Several programs on one machine may share a store file: each request waits up to
// kBusyTimeoutMs for another's lock, and NextOleId/NextResourceId read and move a counter in one
// write transaction, so no two programs are handed the same ID.
//
// Not for: sharing one store between machines (a network file system cannot be trusted with
// SQLite's locks); that is a server-backed store's job behind the same interface.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/store/TablePositions.h"
#include "host/store/TableStore.h"

struct sqlite3;

namespace orbel::host {

namespace sqlite {
class StatementCache;
class Query;
}  // namespace sqlite

enum class StoreTable;

enum class StoreAccess {
    ReadWrite,  // created on first open when the file does not exist
    ReadOnly,   // every write answers kStoreFailed and changes nothing
};

class SqliteTableStore;

struct SqliteOpenResult {
    std::unique_ptr<SqliteTableStore> store;  // null when the file could not be opened as a store
    std::string error;                        // why, naming the file
    explicit operator bool() const { return store != nullptr; }
};

class SqliteTableStore final : public TableStore {
  public:
    // The layout of the file; a store of another version is refused, not converted.
    static constexpr std::int32_t kSchemaVersion = 1;
    // Marks a file as a store of ours ("ORBL"), beside the version.
    static constexpr std::int32_t kApplicationId = 0x4F52424C;

    // Every connection to a store runs with these: synchronous=FULL (see above), and a page
    // cache large enough to hold the key index and rows of a folder of 100,000 entries, which
    // a select reads in key order rather than in the order they lie in the file.
    static constexpr const char* kConnectionPragmas =
        "PRAGMA synchronous = FULL; PRAGMA cache_size = -32768";

    // How long a request waits for another program's lock on the file before it gives up.
    static constexpr int kBusyTimeoutMs = 5000;
    // The widest ID an 8-digit field of a row holds; no counter goes past it.
    static constexpr std::int32_t kLastId = 99999999;

    // Opens the store at `path`, creating it when the file does not exist or is empty; ":memory:"
    // gives a store that lives as long as the object. A file that is not a store (not SQLite,
    // or SQLite with tables of its own), a folder, a pipe or a device, and a symbolic link to
    // nothing are refused and left untouched; so is a store locked by another program for
    // longer than `busyTimeoutMs` (the error says it is busy). A file without write permission
    // (mode 0444, even for the superuser) opens read-only, and so does a store that fails its
    // integrity check; ReadOnlyReason() says why.
    static SqliteOpenResult Open(const std::string& path,
                                 StoreAccess access = StoreAccess::ReadWrite,
                                 int busyTimeoutMs = kBusyTimeoutMs);

  private:
    struct DbCloser {
        void operator()(sqlite3* db) const;
    };
    struct OpenedTag {};

  public:
    // Made by Open only.
    SqliteTableStore(OpenedTag, std::string path, std::unique_ptr<sqlite3, DbCloser> db,
                     std::string readOnlyReason);
    ~SqliteTableStore() override;
    SqliteTableStore(const SqliteTableStore&) = delete;
    SqliteTableStore& operator=(const SqliteTableStore&) = delete;

    std::int32_t SetTablePos(std::string_view table, std::int32_t relationship, std::int32_t keyNo,
                             std::string_view keyValue) override;
    StoreReply ReadNextRecord(std::string_view table) override;
    std::int32_t InsertRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override;
    std::int32_t UpdateRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override;
    std::int32_t DeleteRecord(std::string_view table, std::string_view key1) override;
    // The cursor reads with a statement of its own, so any other request may run while it is
    // open, another select included. A write to OLE_TREE meanwhile is made and committed
    // before it returns, as always, and the cursor goes on without failing; the rows it
    // already gave stay as given, but whether its later rows show the write SQLite leaves
    // undefined: in practice a row written ahead of the cursor in key order is seen and one
    // behind it is not, so an update that moves a row's key past the cursor can show that row
    // twice. A host that needs a fixed picture writes after the select has ended. A prepare or
    // read error ends the select with kStoreFailed and LastError().
    std::unique_ptr<SelectCursor> OpenSelect(std::string_view table, std::int32_t keyNo,
                                             std::string_view start, std::string_view end) override;
    StoreReply NextOleId() override;
    StoreReply NextResourceId() override;
    std::string LastError() const override { return lastError_; }

    // Writes through this store are logged in the file by triggers of this connection alone,
    // and the watcher reads the log of the others when the file's data version moves
    // (host/store/SqliteChangeWatcher.cpp).
    std::unique_ptr<ChangeWatcher> WatchChanges(std::string& error) override;

    const std::string& Path() const { return path_; }
    std::string Name() const override { return path_; }
    std::string ReadOnlyReason() const override { return readOnlyReason_; }
    bool InTransaction(const std::function<bool()>& work) override;
    bool ExecuteSql(std::string_view sql,
                    const std::function<void(std::span<const std::string>)>& row) override;

  private:
    std::int32_t Fail(std::string message);
    std::optional<StoreTable> TableForWrite(std::string_view tableName);
    std::int32_t AnswerKeyedWrite(sqlite::Query& q, StoreTable table, std::string_view key1);
    bool Writable();
    StoreReply NextId(const char* counter);

    std::string path_;
    std::unique_ptr<sqlite3, DbCloser> db_;
    std::unique_ptr<sqlite::StatementCache> statements_;
    TablePositions positions_;
    std::string readOnlyReason_;
    int transactionDepth_ = 0;
    std::string lastError_;
};

}  // namespace orbel::host
