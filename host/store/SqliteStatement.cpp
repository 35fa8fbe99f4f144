#include "host/store/SqliteStatement.h"

namespace orbel::host::sqlite {

StatementHandle StatementCache::Borrow(const std::string& sql, std::string& error) {
    if (auto it = idle_.find(sql); it != idle_.end() && it->second) return std::move(it->second);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        error = ErrorText(db_, rc);
        return nullptr;
    }
    return StatementHandle(stmt);
}

void StatementCache::GiveBack(const std::string& sql, StatementHandle stmt) {
    sqlite3_reset(stmt.get());
    sqlite3_clear_bindings(stmt.get());
    StatementHandle& slot = idle_[sql];
    if (!slot) slot = std::move(stmt);
}

Query::Query(StatementCache& cache, std::string sql) : cache_(cache), sql_(std::move(sql)) {
    stmt_ = cache_.Borrow(sql_, prepareError_);
}

Query::~Query() {
    if (stmt_) cache_.GiveBack(sql_, std::move(stmt_));
}

Query& Query::Bind(int index, std::string_view text) {
    if (stmt_)
        sqlite3_bind_text64(stmt_.get(), index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
    return *this;
}

Query& Query::Bind(int index, std::int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_.get(), index, value);
    return *this;
}

int Query::Step() {
    return stmt_ ? sqlite3_step(stmt_.get()) : SQLITE_ERROR;
}

std::string_view Query::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
    if (!text) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

std::int64_t Query::Int(int column) const {
    return sqlite3_column_int64(stmt_.get(), column);
}

std::string Query::Error() const {
    if (!stmt_) return prepareError_;
    return ErrorText(cache_.Db(), sqlite3_extended_errcode(cache_.Db()));
}

std::string ErrorText(sqlite3* db, int code) {
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    if (text.empty() || text == "not an error") text = sqlite3_errstr(code);
    return text;
}

}  // namespace orbel::host::sqlite
