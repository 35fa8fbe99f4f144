// Prepared statements of one SQLite connection: each kept once prepared, lent to one Query at
// a time and reset when the query is done with it. A query started while the same statement is
// lent (a select whose row handler reads the store again) gets a statement of its own.
// Values only ever enter a statement as bound parameters.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orbel::host::sqlite {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class StatementCache {
  public:
    explicit StatementCache(sqlite3* db) : db_(db) {}

    sqlite3* Db() const { return db_; }
    // A statement for `sql`, prepared now unless an idle one is kept; null with the error in
    // `error` when the text does not prepare.
    StatementHandle Borrow(const std::string& sql, std::string& error);
    void GiveBack(const std::string& sql, StatementHandle stmt);

  private:
    sqlite3* db_;
    std::unordered_map<std::string, StatementHandle> idle_;
};

// One use of a prepared statement: bind, step, read the columns of the current row.
class Query {
  public:
    Query(StatementCache& cache, std::string sql);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // False when the statement did not prepare; Error() says why.
    bool Prepared() const { return stmt_ != nullptr; }

    // Parameters are numbered from 1.
    Query& Bind(int index, std::string_view text);
    Query& Bind(int index, std::int64_t value);

    // SQLITE_ROW, SQLITE_DONE or the error code (Error() says what).
    int Step();
    std::string_view Text(int column) const;
    std::int64_t Int(int column) const;

    std::string Error() const;

  private:
    StatementCache& cache_;
    std::string sql_;
    StatementHandle stmt_;
    std::string prepareError_;
};

// The connection's message for `code`, in one line.
std::string ErrorText(sqlite3* db, int code);

}  // namespace orbel::host::sqlite
