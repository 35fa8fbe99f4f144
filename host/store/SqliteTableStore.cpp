#include "host/store/SqliteTableStore.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "host/store/SqliteStatement.h"
#include "host/store/StoreRows.h"
#include "host/store/StoreStatements.h"
#include "src/store/RecordFormats.h"

namespace orbel::host {

using sqlite::Query;

namespace {

void FillReply(const Query& q, StoreReply& reply) {
    reply.data.assign(q.Text(0));
    reply.keys[0].assign(q.Text(1));
    reply.keys[1].assign(q.Text(2));
    reply.keys[2].assign(q.Text(3));
}

// Binds the typed fields cut from the row, then the texts as sent.
void ParseAndBind(Query& q, StoreTable table, std::string_view data, std::string_view key1,
                  std::string_view key2, std::string_view key3) {
    int i = 0;
    for (const FieldValue& value : RowFields(table, data, key1, key2, key3)) {
        if (const auto* number = std::get_if<std::int64_t>(&value))
            q.Bind(++i, *number);
        else
            q.Bind(++i, std::string_view(std::get<std::string>(value)));
    }
}

bool IsReadOnlyError(int code) {
    return (code & 0xff) == SQLITE_READONLY;
}

}  // namespace

void SqliteTableStore::DbCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

SqliteTableStore::SqliteTableStore(OpenedTag, std::string path,
                                   std::unique_ptr<sqlite3, DbCloser> db,
                                   std::string readOnlyReason)
    : path_(std::move(path)),
      db_(std::move(db)),
      statements_(std::make_unique<sqlite::StatementCache>(db_.get())),
      readOnlyReason_(std::move(readOnlyReason)) {}

SqliteTableStore::~SqliteTableStore() = default;

std::int32_t SqliteTableStore::Fail(std::string message) {
    lastError_ = std::move(message);
    return kStoreFailed;
}

bool SqliteTableStore::Writable() {
    if (readOnlyReason_.empty()) return true;
    Fail(ReadOnlyStoreText(path_));
    return false;
}

std::int32_t SqliteTableStore::SetTablePos(std::string_view tableName, std::int32_t relationship,
                                           std::int32_t keyNo, std::string_view keyValue) {
    lastError_.clear();
    const auto statement =
        positions_.Position(tableName, relationship, keyNo, keyValue, '?', lastError_);
    if (!statement) return kStoreFailed;
    Query q(*statements_, statement->sql);
    q.Bind(1, std::string_view(statement->params[0]));
    const int rc = q.Step();
    if (rc == SQLITE_DONE) return kStoreNotFound;
    if (rc != SQLITE_ROW)
        return Fail(std::string(StoreTableName(statement->table)) + ": " + q.Error());
    positions_.PositionedAt(statement->table, q.Text(0), q.Text(1));
    return kStoreOk;
}

StoreReply SqliteTableStore::ReadNextRecord(std::string_view tableName) {
    lastError_.clear();
    StoreReply reply;
    const auto statement = positions_.ReadNext(tableName, '?', lastError_);
    if (!statement) {
        reply.result = lastError_.empty() ? kStoreNotFound : kStoreFailed;
        return reply;
    }
    Query q(*statements_, statement->sql);
    for (std::size_t i = 0; i < statement->params.size(); ++i)
        q.Bind(static_cast<int>(i + 1), std::string_view(statement->params[i]));
    const int rc = q.Step();
    if (rc == SQLITE_DONE) {
        reply.result = kStoreNotFound;
        return reply;
    }
    if (rc != SQLITE_ROW) {
        reply.result = Fail(std::string(StoreTableName(statement->table)) + ": " + q.Error());
        return reply;
    }
    FillReply(q, reply);
    positions_.Read(statement->table, reply);
    reply.result = kStoreOk;
    return reply;
}

// The table a write names, when it exists and the store takes writes; nullopt after saying why.
std::optional<StoreTable> SqliteTableStore::TableForWrite(std::string_view tableName) {
    lastError_.clear();
    const auto table = StoreTableNamed(tableName);
    if (!table) {
        Fail(NoTableText(tableName));
        return std::nullopt;
    }
    if (!Writable()) return std::nullopt;
    return table;
}

// The answer to an update or delete by key 1: done when a row changed, 3 with the reason
// otherwise.
std::int32_t SqliteTableStore::AnswerKeyedWrite(sqlite::Query& q, StoreTable table,
                                                std::string_view key1) {
    const int rc = q.Step();
    if (rc == SQLITE_DONE) {
        if (sqlite3_changes(db_.get()) > 0) return kStoreOk;
        return Fail(MissingKey1Text(table, key1));
    }
    if (IsReadOnlyError(rc)) return Fail("the store " + path_ + " is read-only: " + q.Error());
    return Fail(std::string(StoreTableName(table)) + ": " + q.Error());
}

std::int32_t SqliteTableStore::InsertRecord(std::string_view tableName, std::string_view data,
                                            std::string_view key1, std::string_view key2,
                                            std::string_view key3) {
    const auto table = TableForWrite(tableName);
    if (!table) return kStoreFailed;
    if (key1.empty()) return Fail(NeedsKey1Text(*table));
    Query q(*statements_, InsertSql(*table, '?'));
    ParseAndBind(q, *table, data, key1, key2, key3);
    const int rc = q.Step();
    if (rc == SQLITE_DONE) return kStoreOk;
    if (rc == SQLITE_CONSTRAINT_UNIQUE) return Fail(DuplicateKey1Text(*table, key1));
    if (IsReadOnlyError(rc)) return Fail("the store " + path_ + " is read-only: " + q.Error());
    return Fail(std::string(StoreTableName(*table)) + ": " + q.Error());
}

std::int32_t SqliteTableStore::UpdateRecord(std::string_view tableName, std::string_view data,
                                            std::string_view key1, std::string_view key2,
                                            std::string_view key3) {
    const auto table = TableForWrite(tableName);
    if (!table) return kStoreFailed;
    Query q(*statements_, UpdateSql(*table, '?'));
    ParseAndBind(q, *table, data, key1, key2, key3);
    return AnswerKeyedWrite(q, *table, key1);
}

std::int32_t SqliteTableStore::DeleteRecord(std::string_view tableName, std::string_view key1) {
    const auto table = TableForWrite(tableName);
    if (!table) return kStoreFailed;
    Query q(*statements_, DeleteSql(*table, '?'));
    q.Bind(1, key1);
    return AnswerKeyedWrite(q, *table, key1);
}

namespace {

// A select running on a statement of its own, borrowed from the connection's cache for as long
// as rows remain and given back (reset) at the end, so the connection holds no read open for a
// cursor that has ended but not yet been destroyed.
class SqliteSelectCursor final : public SelectCursor {
  public:
    // A cursor over `sql`, bound to `start` and `end`; a failure is written to `lastError`
    // under the name of `table`.
    SqliteSelectCursor(sqlite::StatementCache& statements, const std::string& sql,
                       std::string_view start, std::string_view end, const char* table,
                       std::string& lastError)
        : lastError_(lastError), table_(table) {
        query_.emplace(statements, sql);
        query_->Bind(1, start).Bind(2, end);
    }
    // A select that cannot run: no rows, and kStoreFailed.
    explicit SqliteSelectCursor(std::string& lastError)
        : lastError_(lastError), end_(kStoreFailed) {}

    bool Next(StoreReply& row) override {
        if (!query_) return false;
        const int rc = query_->Step();
        if (rc == SQLITE_ROW) {
            row.result = kStoreRow;
            FillReply(*query_, row);
            return true;
        }
        if (rc != SQLITE_DONE) {
            end_ = kStoreFailed;
            lastError_ = std::string(table_) + ": " + query_->Error();
        }
        query_.reset();
        return false;
    }
    std::int32_t EndResult() const override { return end_; }

  private:
    std::string& lastError_;
    const char* table_ = "";
    std::optional<Query> query_;
    std::int32_t end_ = kStoreNotFound;
};

}  // namespace

std::unique_ptr<SelectCursor> SqliteTableStore::OpenSelect(std::string_view tableName,
                                                           std::int32_t keyNo,
                                                           std::string_view start,
                                                           std::string_view end) {
    lastError_.clear();
    const auto table = StoreTableNamed(tableName);
    if (!table) {
        Fail(NoTableText(tableName));
        return std::make_unique<SqliteSelectCursor>(lastError_);
    }
    if (keyNo < 1 || keyNo > KeyCount(*table)) {
        Fail(NoKeyText(*table, keyNo));
        return std::make_unique<SqliteSelectCursor>(lastError_);
    }
    return std::make_unique<SqliteSelectCursor>(*statements_, SelectSql(*table, keyNo, '?'), start,
                                                end, StoreTableName(*table), lastError_);
}

StoreReply SqliteTableStore::NextOleId() {
    return NextId("OleId");
}

StoreReply SqliteTableStore::NextResourceId() {
    return NextId("ResourceId");
}

// One write transaction from the read of the last ID to the write of the next: BEGIN IMMEDIATE
// takes the file's write lock before the read, so programs sharing the store take turns and
// never read the same last ID.
StoreReply SqliteTableStore::NextId(const char* counter) {
    lastError_.clear();
    StoreReply reply;
    reply.result = kStoreFailed;
    if (!Writable()) return reply;
    const bool oleIds = std::string_view(counter) == "OleId";
    const char* const named = CounterNamed(oleIds);
    // A store whose control kept its own counter rows ("0" and "1" of OLE_CLA) before direct
    // retrieval was switched on goes on after the IDs that counter handed out.
    const char* classRow = CounterClassRow(oleIds);
    std::int64_t next = 0;
    const bool done = InTransaction([&] {
        std::int64_t last = 0;
        {
            Query q(*statements_,
                    "SELECT max(coalesce((SELECT Value FROM ORBEL_COUNTERS WHERE Name = ?1), 0), "
                    "coalesce((SELECT max(Value) FROM OLE_CLA WHERE ClassName = ?2), 0))");
            q.Bind(1, std::string_view(counter)).Bind(2, std::string_view(classRow));
            if (q.Step() != SQLITE_ROW) {
                Fail(std::string("the ") + named + " counter: " + q.Error());
                return false;
            }
            last = q.Int(0);
        }
        if (last >= kLastId) {
            Fail(NoIdLeftText(oleIds, last));
            return false;
        }
        next = last + 1;
        Query q(*statements_,
                "INSERT INTO ORBEL_COUNTERS (Name, Value) VALUES (?1, ?2) "
                "ON CONFLICT (Name) DO UPDATE SET Value = excluded.Value");
        q.Bind(1, std::string_view(counter)).Bind(2, next);
        if (q.Step() != SQLITE_DONE) {
            Fail(std::string("the ") + named + " counter: " + q.Error());
            return false;
        }
        // The control's own counter row moves on too, and is made when missing: a control that
        // turns direct retrieval off again must not hand out this ID a second time.
        const RowText row = BuildClassRecord({classRow, static_cast<std::int32_t>(next)});
        Query own(*statements_,
                  "INSERT INTO OLE_CLA (ClassName, Value, Key1, Data) VALUES (?1, ?2, ?3, ?4) "
                  "ON CONFLICT (Key1) DO UPDATE SET Value = excluded.Value, Data = excluded.Data");
        own.Bind(1, std::string_view(classRow))
            .Bind(2, next)
            .Bind(3, std::string_view(row.key1))
            .Bind(4, std::string_view(row.data));
        if (own.Step() != SQLITE_DONE) {
            Fail(std::string("the ") + named + " counter: " + own.Error());
            return false;
        }
        return true;
    });
    if (!done) {
        if (lastError_.empty()) lastError_ = std::string("the ") + named + " counter failed";
        return reply;
    }
    reply.result = kStoreOk;
    reply.data = FormatId(static_cast<std::int32_t>(next));
    reply.keys[0] = reply.data;
    return reply;
}

bool SqliteTableStore::InTransaction(const std::function<bool()>& work) {
    const bool outermost = transactionDepth_ == 0;
    auto exec = [&](const char* sql) {
        const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_BUSY)
            Fail("the store " + path_ + " is busy: another program holds it locked");
        else if (rc != SQLITE_OK)
            Fail(sqlite::ErrorText(db_.get(), rc));
        return rc == SQLITE_OK;
    };
    // BEGIN IMMEDIATE takes the write lock at once, so two programs drawing from the same
    // counter wait for each other instead of failing when the read turns into a write.
    if (!exec(outermost ? "BEGIN IMMEDIATE" : "SAVEPOINT orbel_nested")) return false;
    ++transactionDepth_;
    struct Undo {
        SqliteTableStore& store;
        bool outermost;
        bool armed = true;
        ~Undo() {
            --store.transactionDepth_;
            if (!armed) return;
            sqlite3_exec(store.db_.get(),
                         outermost ? "ROLLBACK" : "ROLLBACK TO orbel_nested; RELEASE orbel_nested",
                         nullptr, nullptr, nullptr);
        }
    } undo{*this, outermost};
    if (!work()) return false;
    if (!exec(outermost ? "COMMIT" : "RELEASE orbel_nested")) return false;
    undo.armed = false;
    return true;
}

bool SqliteTableStore::ExecuteSql(std::string_view sql,
                                  const std::function<void(std::span<const std::string>)>& row) {
    lastError_.clear();
    const char* next = sql.data();
    const char* const stop = sql.data() + sql.size();
    std::vector<std::string> columns;
    while (next < stop) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db_.get(), next, static_cast<int>(stop - next), &raw, &tail);
        sqlite::StatementHandle stmt(raw);
        if (rc != SQLITE_OK) {
            Fail(sqlite::ErrorText(db_.get(), rc));
            return false;
        }
        next = tail ? tail : stop;
        if (!stmt) continue;  // blanks or a comment
        const int count = sqlite3_column_count(stmt.get());
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            columns.assign(static_cast<std::size_t>(count), std::string());
            for (int c = 0; c < count; ++c) {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c));
                columns[static_cast<std::size_t>(c)] =
                    text ? std::string(
                               text, static_cast<std::size_t>(sqlite3_column_bytes(stmt.get(), c)))
                         : std::string("NULL");
            }
            if (row) row(columns);
        }
        if (rc != SQLITE_DONE) {
            Fail(sqlite::ErrorText(db_.get(), rc));
            return false;
        }
    }
    return true;
}

}  // namespace orbel::host
