#include "host/store/PgTableStore.h"

#include <cstring>
#include <utility>

#include "host/store/StoreRows.h"
#include "host/store/StoreStatements.h"
#include "src/store/RecordFormats.h"

namespace orbel::host {

using pg::Connection;
using pg::Params;
using pg::Result;

namespace {

// SQLSTATEs the store answers in its own words.
constexpr const char* kUniqueViolation = "23505";
constexpr const char* kCheckViolation = "23514";
constexpr const char* kReadOnlyTransaction = "25006";

Params FieldParams(StoreTable table, std::string_view data, std::string_view key1,
                   std::string_view key2, std::string_view key3) {
    Params params;
    for (const FieldValue& value : RowFields(table, data, key1, key2, key3)) {
        if (const auto* number = std::get_if<std::int64_t>(&value))
            params.Add(*number);
        else
            params.Add(std::get<std::string>(value));
    }
    return params;
}

Params ParamsOf(const std::vector<std::string>& values) {
    Params params;
    for (const std::string& v : values) params.Add(v);
    return params;
}

std::string_view Value(const PGresult* r, int row, int column) {
    return {PQgetvalue(r, row, column), static_cast<std::size_t>(PQgetlength(r, row, column))};
}

void FillReply(const PGresult* r, int row, StoreReply& reply) {
    reply.data.assign(Value(r, row, 0));
    reply.keys[0].assign(Value(r, row, 1));
    reply.keys[1].assign(Value(r, row, 2));
    reply.keys[2].assign(Value(r, row, 3));
}

std::string LostText(const std::string& name, const std::string& why) {
    return "the connection to the store " + name + " was lost (" + why +
           "): the request may not have been carried out; the next request connects again";
}

// A select read from a cursor of the server's, a batch at a time, on a connection of its own
// that goes back to the store at the end. The cursor lives in a read-only transaction, so the
// rows are those the server had when the select began.
class PgSelectCursor final : public SelectCursor {
  public:
    PgSelectCursor(PgTableStore& store, std::string& lastError, const char* table)
        : store_(store), lastError_(lastError), table_(table) {}
    ~PgSelectCursor() override { Finish(false); }

    // Declares the cursor; false (and the select ends with kStoreFailed) when it cannot.
    bool Start(const std::string& sql, std::string_view start, std::string_view end) {
        conn_ = store_.BorrowReader();
        if (!conn_) return Failed(lastError_);
        Result begun = conn_->Exec("BEGIN READ ONLY");
        if (!Connection::Ok(begun.get())) return Failed(Why(begun.get()));
        Result declared = conn_->Once("DECLARE orbel_select NO SCROLL CURSOR FOR " + sql,
                                      Params().Add(start).Add(end));
        if (!Connection::Ok(declared.get())) return Failed(Why(declared.get()));
        return true;
    }
    // A select that cannot run: no rows, and kStoreFailed.
    void Refuse() { end_ = kStoreFailed; }

    bool Next(StoreReply& row) override {
        if (!conn_) return false;
        if (next_ == rows_) {
            const int batch = fetched_ ? PgTableStore::kBatch : PgTableStore::kFirstBatch;
            batch_ = conn_->Exec("FETCH FORWARD " + std::to_string(batch) + " FROM orbel_select");
            if (!Connection::Ok(batch_.get())) {
                Failed(Why(batch_.get()));
                return false;
            }
            fetched_ = true;
            next_ = 0;
            rows_ = PQntuples(batch_.get());
            if (rows_ == 0) {
                Finish(true);
                return false;
            }
        }
        row.result = kStoreRow;
        FillReply(batch_.get(), next_++, row);
        return true;
    }
    std::int32_t EndResult() const override { return end_; }

  private:
    std::string Why(const PGresult* r) const {
        if (!r) return LostText(store_.Name(), conn_->Error(nullptr));
        return conn_->Error(r);
    }
    bool Failed(const std::string& why) {
        end_ = kStoreFailed;
        lastError_ = std::string(table_) + ": " + why;
        Finish(false);
        return false;
    }
    // Ends the transaction and gives the connection back, unless it was lost.
    void Finish(bool completed) {
        batch_.reset();
        if (!conn_) return;
        if (!conn_->Lost()) conn_->Exec(completed ? "COMMIT" : "ROLLBACK");
        if (!conn_->Lost()) store_.GiveBack(std::move(conn_));
        conn_.reset();
    }

    PgTableStore& store_;
    std::string& lastError_;
    const char* table_;
    std::unique_ptr<Connection> conn_;
    Result batch_;
    int rows_ = 0;
    int next_ = 0;
    bool fetched_ = false;
    std::int32_t end_ = kStoreNotFound;
};

}  // namespace

PgTableStore::PgTableStore(OpenedTag, std::unique_ptr<pg::ConnInfo> info,
                           std::unique_ptr<pg::Connection> main, std::string readOnlyReason)
    : info_(std::move(info)),
      main_(std::move(main)),
      name_("postgres:" + info_->Shown()),
      readOnlyReason_(std::move(readOnlyReason)) {}

PgTableStore::~PgTableStore() = default;

std::int32_t PgTableStore::Fail(std::string message) {
    lastError_ = std::move(message);
    return kStoreFailed;
}

bool PgTableStore::Connected() {
    if (!main_->Lost()) return true;
    if (main_->Reset()) {
        if (!readOnlyReason_.empty()) main_->Exec("SET default_transaction_read_only = on");
        return true;
    }
    Fail("cannot reach the store " + name_ + ": " + main_->Error(nullptr));
    return false;
}

Result PgTableStore::Run(const std::string& sql, const Params& params, std::string_view what) {
    if (!Connected()) return nullptr;
    Result r = main_->Run(sql, params);
    if (!r) {
        Fail(LostText(name_, main_->Error(nullptr)));
        return nullptr;
    }
    if (!Connection::Ok(r.get()) && !what.empty())
        Fail(std::string(what) + ": " + main_->Error(r.get()));
    return r;
}

std::int32_t PgTableStore::SetTablePos(std::string_view tableName, std::int32_t relationship,
                                       std::int32_t keyNo, std::string_view keyValue) {
    lastError_.clear();
    const auto statement =
        positions_.Position(tableName, relationship, keyNo, keyValue, '$', lastError_);
    if (!statement) return kStoreFailed;
    const Result r =
        Run(statement->sql, ParamsOf(statement->params), StoreTableName(statement->table));
    if (!Connection::Ok(r.get())) return kStoreFailed;
    if (PQntuples(r.get()) == 0) return kStoreNotFound;
    positions_.PositionedAt(statement->table, Value(r.get(), 0, 0), Value(r.get(), 0, 1));
    return kStoreOk;
}

StoreReply PgTableStore::ReadNextRecord(std::string_view tableName) {
    lastError_.clear();
    StoreReply reply;
    const auto statement = positions_.ReadNext(tableName, '$', lastError_);
    if (!statement) {
        reply.result = lastError_.empty() ? kStoreNotFound : kStoreFailed;
        return reply;
    }
    const Result r =
        Run(statement->sql, ParamsOf(statement->params), StoreTableName(statement->table));
    if (!Connection::Ok(r.get())) {
        reply.result = kStoreFailed;
        return reply;
    }
    if (PQntuples(r.get()) == 0) {
        reply.result = kStoreNotFound;
        return reply;
    }
    FillReply(r.get(), 0, reply);
    positions_.Read(statement->table, reply);
    reply.result = kStoreOk;
    return reply;
}

std::optional<StoreTable> PgTableStore::TableForWrite(std::string_view tableName) {
    lastError_.clear();
    const auto table = StoreTableNamed(tableName);
    if (!table) {
        Fail(NoTableText(tableName));
        return std::nullopt;
    }
    if (!readOnlyReason_.empty()) {
        Fail(ReadOnlyStoreText(name_));
        return std::nullopt;
    }
    return table;
}

// A write by key 1: done when a row changed, 3 with the reason otherwise.
std::int32_t PgTableStore::Write(StoreTable table, const std::string& sql, const Params& params,
                                 std::string_view key1) {
    const Result r = Run(sql, params, {});
    if (!r) return kStoreFailed;
    if (!Connection::Ok(r.get())) {
        const std::string state = Connection::State(r.get());
        if (state == kUniqueViolation) return Fail(DuplicateKey1Text(table, key1));
        if (state == kReadOnlyTransaction)
            return Fail(ReadOnlyStoreText(name_) + " (" + main_->Error(r.get()) + ")");
        return Fail(std::string(StoreTableName(table)) + ": " + main_->Error(r.get()));
    }
    if (std::strcmp(PQcmdTuples(r.get()), "0") == 0) return Fail(MissingKey1Text(table, key1));
    return kStoreOk;
}

std::int32_t PgTableStore::InsertRecord(std::string_view tableName, std::string_view data,
                                        std::string_view key1, std::string_view key2,
                                        std::string_view key3) {
    const auto table = TableForWrite(tableName);
    if (!table) return kStoreFailed;
    if (key1.empty()) return Fail(NeedsKey1Text(*table));
    return Write(*table, InsertSql(*table, '$'), FieldParams(*table, data, key1, key2, key3), key1);
}

std::int32_t PgTableStore::UpdateRecord(std::string_view tableName, std::string_view data,
                                        std::string_view key1, std::string_view key2,
                                        std::string_view key3) {
    const auto table = TableForWrite(tableName);
    if (!table) return kStoreFailed;
    return Write(*table, UpdateSql(*table, '$'), FieldParams(*table, data, key1, key2, key3), key1);
}

std::int32_t PgTableStore::DeleteRecord(std::string_view tableName, std::string_view key1) {
    const auto table = TableForWrite(tableName);
    if (!table) return kStoreFailed;
    return Write(*table, DeleteSql(*table, '$'), Params().Add(key1), key1);
}

std::unique_ptr<SelectCursor> PgTableStore::OpenSelect(std::string_view tableName,
                                                       std::int32_t keyNo, std::string_view start,
                                                       std::string_view end) {
    lastError_.clear();
    const auto table = StoreTableNamed(tableName);
    auto cursor = std::make_unique<PgSelectCursor>(*this, lastError_,
                                                   table ? StoreTableName(*table) : "the select");
    if (!table) {
        Fail(NoTableText(tableName));
        cursor->Refuse();
    } else if (keyNo < 1 || keyNo > KeyCount(*table)) {
        Fail(NoKeyText(*table, keyNo));
        cursor->Refuse();
    } else {
        cursor->Start(SelectSql(*table, keyNo, '$'), start, end);
    }
    return cursor;
}

std::unique_ptr<Connection> PgTableStore::BorrowReader() {
    while (!readers_.empty()) {
        std::unique_ptr<Connection> reader = std::move(readers_.back());
        readers_.pop_back();
        if (!reader->Lost() || reader->Reset()) return reader;
    }
    std::string error;
    std::unique_ptr<Connection> reader = Connection::Open(*info_, error);
    if (!reader) Fail(error);
    return reader;
}

void PgTableStore::GiveBack(std::unique_ptr<Connection> reader) {
    readers_.push_back(std::move(reader));
}

StoreReply PgTableStore::NextOleId() {
    return NextId(true);
}

StoreReply PgTableStore::NextResourceId() {
    return NextId(false);
}

// One statement moves the counter and answers with its new value: the server takes the
// counter row's lock for the statement, so clients take turns and never see the same value.
// A store whose control kept its own counter rows in OLE_CLA goes on after the IDs that
// counter handed out, and the control's row moves on too: a control that turns direct
// retrieval off again must not hand out this ID a second time.
StoreReply PgTableStore::NextId(bool oleIds) {
    lastError_.clear();
    StoreReply reply;
    reply.result = kStoreFailed;
    if (!readOnlyReason_.empty()) {
        Fail(ReadOnlyStoreText(name_));
        return reply;
    }
    static const std::string kNextId =
        "WITH next AS ("
        " INSERT INTO ORBEL_COUNTERS AS c (Name, Value)"
        " VALUES ($1, coalesce((SELECT max(Value) FROM OLE_CLA WHERE ClassName = $2), 0) + 1)"
        " ON CONFLICT (Name) DO UPDATE SET Value = greatest(c.Value,"
        "  coalesce((SELECT max(Value) FROM OLE_CLA WHERE ClassName = $2), 0)) + 1"
        " RETURNING Value),"
        " own AS ("
        " INSERT INTO OLE_CLA (ClassName, Value, Key1, Data)"
        " SELECT $2, Value, $3, lpad(Value::text, 8, '0') FROM next"
        " ON CONFLICT (Key1) DO UPDATE SET Value = excluded.Value, Data = excluded.Data)"
        " SELECT Value FROM next";
    const char* classRow = CounterClassRow(oleIds);
    const Result r = Run(
        kNextId,
        Params().Add(oleIds ? "OleId" : "ResourceId").Add(classRow).Add(FormatClassKey(classRow)),
        {});
    if (!r) return reply;
    if (!Connection::Ok(r.get())) {
        if (Connection::State(r.get()) == kCheckViolation)
            Fail(NoIdLeftText(oleIds, kLargestNumber));
        else
            Fail(std::string("the ") + CounterNamed(oleIds) + " counter: " + main_->Error(r.get()));
        return reply;
    }
    reply.result = kStoreOk;
    reply.data = FormatId(Atol(Value(r.get(), 0, 0)));
    reply.keys[0] = reply.data;
    return reply;
}

bool PgTableStore::InTransaction(const std::function<bool()>& work) {
    const bool outermost = transactionDepth_ == 0;
    auto exec = [&](const char* sql) {
        if (!Connected()) return false;
        const Result r = main_->Exec(sql);
        if (!r) {
            Fail(LostText(name_, main_->Error(nullptr)));
            return false;
        }
        if (!Connection::Ok(r.get())) {
            Fail(main_->Error(r.get()));
            return false;
        }
        return true;
    };
    if (!exec(outermost ? "BEGIN" : "SAVEPOINT orbel_nested")) return false;
    ++transactionDepth_;
    struct Undo {
        PgTableStore& store;
        bool outermost;
        bool armed = true;
        ~Undo() {
            --store.transactionDepth_;
            if (!armed || store.main_->Lost()) return;
            store.main_->Exec(outermost ? "ROLLBACK"
                                        : "ROLLBACK TO orbel_nested; RELEASE orbel_nested");
        }
    } undo{*this, outermost};
    if (!work()) return false;
    if (!exec(outermost ? "COMMIT" : "RELEASE orbel_nested")) return false;
    undo.armed = false;
    return true;
}

bool PgTableStore::ExecuteSql(std::string_view sql,
                              const std::function<void(std::span<const std::string>)>& row) {
    lastError_.clear();
    if (!Connected()) return false;
    if (!main_->Send(sql)) {
        Fail(LostText(name_, main_->Error(nullptr)));
        return false;
    }
    bool ok = true;
    std::vector<std::string> columns;
    for (Result r = main_->Next(); r; r = main_->Next()) {
        if (!Connection::Ok(r.get())) {
            // The statements after a failed one are not run; the rest of the results say so.
            if (ok) Fail(main_->Error(r.get()));
            ok = false;
            continue;
        }
        const int count = PQnfields(r.get());
        for (int i = 0; i < PQntuples(r.get()); ++i) {
            columns.assign(static_cast<std::size_t>(count), std::string());
            for (int c = 0; c < count; ++c)
                columns[static_cast<std::size_t>(c)] = PQgetisnull(r.get(), i, c)
                                                           ? std::string("NULL")
                                                           : std::string(Value(r.get(), i, c));
            if (row) row(columns);
        }
    }
    if (main_->Lost()) {
        if (ok) Fail(LostText(name_, main_->Error(nullptr)));
        return false;
    }
    return ok;
}

}  // namespace orbel::host
