// Changes in a store file shared by programs on one machine: triggers of each program's own
// connection (temporary, so that they name the program that wrote) log every tree and resource
// row written in ORBEL_CHANGES, in the transaction of the write, under a rising sequence
// number. The watcher reads the file on a connection of its own, and only when the file's data
// version has moved; then only the log rows after the last one it read, and of those only the
// rows other programs wrote.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "host/store/SqliteStatement.h"
#include "host/store/SqliteTableStore.h"
#include "host/store/StoreChanges.h"

namespace orbel::host {

using sqlite::Query;

namespace {

// A day of changes is kept: a program that has not looked for longer reads the store again.
constexpr const char* kLogSql = R"sql(
CREATE TABLE IF NOT EXISTS ORBEL_CHANGES (
    Seq INTEGER PRIMARY KEY AUTOINCREMENT,
    Writer TEXT NOT NULL,
    TableName TEXT NOT NULL,
    Op TEXT NOT NULL,
    Key1 TEXT NOT NULL,
    OldKey2 TEXT NOT NULL,
    Data TEXT NOT NULL,
    Key2 TEXT NOT NULL,
    Key3 TEXT NOT NULL,
    Time INTEGER NOT NULL
) STRICT;
DELETE FROM ORBEL_CHANGES WHERE Time < CAST(strftime('%s', 'now') AS INTEGER) - 86400;
)sql";

// One temporary trigger per table and operation. The writer's name is made here of hex digits
// alone, so it may stand in the text of the trigger.
std::string TriggerSql(const std::string& writer) {
    struct Trigger {
        const char* name;
        const char* event;
        const char* table;
        const char* op;
        const char* oldKey2;
        const char* row;  // data, key 2, key 3 after the write
    };
    static constexpr Trigger kTriggers[] = {
        {"orbel_tree_i", "INSERT", "OLE_TREE", "I", "''", "NEW.Data, NEW.Key2, NEW.Key3"},
        {"orbel_tree_u", "UPDATE", "OLE_TREE", "U", "OLD.Key2", "NEW.Data, NEW.Key2, NEW.Key3"},
        {"orbel_tree_d", "DELETE", "OLE_TREE", "D", "OLD.Key2", "'', '', ''"},
        {"orbel_res_i", "INSERT", "OLE_RES", "I", "''", "NEW.Data, '', ''"},
        {"orbel_res_u", "UPDATE", "OLE_RES", "U", "''", "NEW.Data, '', ''"},
        {"orbel_res_d", "DELETE", "OLE_RES", "D", "''", "'', '', ''"},
    };
    std::string sql;
    for (const Trigger& t : kTriggers) {
        const std::string key1 = t.op[0] == 'D' ? "OLD.Key1" : "NEW.Key1";
        sql += std::string("DROP TRIGGER IF EXISTS temp.") + t.name + "; CREATE TEMP TRIGGER " +
               t.name + " AFTER " + t.event + " ON main." + t.table +
               " BEGIN INSERT INTO ORBEL_CHANGES (Writer, TableName, Op, Key1, OldKey2, Data, "
               "Key2, Key3, Time) VALUES ('" +
               writer + "', '" + t.table + "', '" + t.op + "', " + key1 + ", " + t.oldKey2 + ", " +
               t.row + ", CAST(strftime('%s', 'now') AS INTEGER)); END;\n";
    }
    return sql;
}

std::string NewWriterName() {
    std::random_device random;
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", random(), random());
    return text;
}

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

class SqliteChangeWatcher final : public ChangeWatcher {
  public:
    SqliteChangeWatcher(std::string writer, sqlite3* db)
        : writer_(std::move(writer)), db_(db), cache_(db) {
        version_ = DataVersion();
        Query q(cache_, "SELECT coalesce(max(Seq), 0) FROM ORBEL_CHANGES");
        if (q.Step() == SQLITE_ROW) last_ = q.Int(0);
    }

    std::vector<StoreChange> Take() override {
        std::vector<StoreChange> changes;
        const std::int64_t version = DataVersion();
        if (version < 0 || version == version_) return changes;
        Query q(cache_,
                "SELECT Seq, Writer, TableName, Op, Key1, OldKey2, Data, Key2, Key3 "
                "FROM ORBEL_CHANGES WHERE Seq > ?1 ORDER BY Seq");
        q.Bind(1, last_);
        int rc;
        bool first = true;
        while ((rc = q.Step()) == SQLITE_ROW) {
            const std::int64_t seq = q.Int(0);
            if (first && last_ > 0 && seq > last_ + 1) Trimmed();
            first = false;
            last_ = seq;
            if (q.Text(1) == writer_) continue;
            const auto table = StoreTableNamed(q.Text(2));
            if (!table) continue;
            StoreChange change;
            change.table = *table;
            const std::string_view op = q.Text(3);
            change.kind = op == "I"   ? ChangeKind::Insert
                          : op == "U" ? ChangeKind::Update
                                      : ChangeKind::Delete;
            change.key1 = q.Text(4);
            change.oldKey2 = q.Text(5);
            change.data = q.Text(6);
            change.key2 = q.Text(7);
            change.key3 = q.Text(8);
            changes.push_back(std::move(change));
        }
        // A file still locked by a writer is read at the next look; a file without the log
        // has nothing to read until a program that logs writes to it.
        if ((rc & 0xff) != SQLITE_BUSY && (rc & 0xff) != SQLITE_LOCKED) version_ = version;
        return changes;
    }

    bool Wait(int ms) override {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            const std::int64_t version = DataVersion();
            if (version >= 0 && version != version_) return true;
            if (std::chrono::steady_clock::now() >= until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::string Missed() override { return std::exchange(missed_, {}); }

  private:
    std::int64_t DataVersion() {
        Query q(cache_, "PRAGMA data_version");
        return q.Step() == SQLITE_ROW ? q.Int(0) : -1;
    }
    void Trimmed() {
        missed_ =
            "changes older than a day were dropped from the store's log before they were read: "
            "they are not shown until the store is opened again";
    }

    std::string writer_;
    std::unique_ptr<sqlite3, DbCloser> db_;
    sqlite::StatementCache cache_;
    std::int64_t version_ = -1;
    std::int64_t last_ = 0;
    std::string missed_;
};

}  // namespace

std::unique_ptr<ChangeWatcher> SqliteTableStore::WatchChanges(std::string& error) {
    if (path_ == ":memory:") return TableStore::WatchChanges(error);
    const std::string writer = NewWriterName();
    if (readOnlyReason_.empty() && !ExecuteSql(std::string(kLogSql) + TriggerSql(writer), {})) {
        error = "changes to " + path_ + " cannot be logged: " + lastError_;
        return nullptr;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path_.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        error = "cannot follow changes to " + path_ + ": " + sqlite::ErrorText(raw, rc);
        sqlite3_close_v2(raw);
        return nullptr;
    }
    sqlite3_busy_timeout(raw, 50);
    return std::make_unique<SqliteChangeWatcher>(writer, raw);
}

}  // namespace orbel::host
