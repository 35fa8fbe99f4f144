#include "host/store/PgConnection.h"

#include <cstring>

namespace orbel::host::pg {

namespace {

// libpq's messages end in a line feed and continue on tab-indented lines: one line of them.
std::string OneLine(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

}  // namespace

ConnInfo::ConnInfo(std::string text) : text_(std::move(text)) {
    char* message = nullptr;
    PQconninfoOption* options = PQconninfoParse(text_.c_str(), &message);
    if (!options) {
        // libpq's own message may quote any part of the string, the password included.
        error_ =
            "the text after \"postgres:\" is neither a libpq connection string "
            "(host=... dbname=...) nor a URI (postgresql://...)";
        PQfreemem(message);
        return;
    }
    for (const char* shown : {"host", "hostaddr", "port", "dbname", "user"}) {
        for (PQconninfoOption* o = options; o->keyword; ++o) {
            if (std::strcmp(o->keyword, shown) != 0 || !o->val || !*o->val) continue;
            shown_ += (shown_.empty() ? "" : " ") + std::string(shown) + "=" + o->val;
        }
    }
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (std::strcmp(o->keyword, "password") == 0 && o->val) password_ = o->val;
    PQconninfoFree(options);
    if (shown_.empty()) shown_ = "(the libpq defaults)";
}

std::string ConnInfo::Scrub(std::string message) const {
    for (const std::string* secret : {&text_, &password_}) {
        if (secret->empty()) continue;
        for (std::size_t at = message.find(*secret); at != std::string::npos;
             at = message.find(*secret, at))
            message.replace(at, secret->size(), "(password)");
    }
    return message;
}

Params& Params::Add(std::string_view text) {
    values_.emplace_back(text);
    return *this;
}

Params& Params::Add(std::int64_t number) {
    values_.push_back(std::to_string(number));
    return *this;
}

const char* const* Params::Values() const {
    pointers_.clear();
    for (const std::string& v : values_) pointers_.push_back(v.c_str());
    return pointers_.data();
}

std::unique_ptr<Connection> Connection::Open(const ConnInfo& info, std::string& error) {
    PGconn* conn = PQconnectdb(info.Text().c_str());
    if (!conn) {
        error = "cannot connect to " + info.Shown() + ": out of memory";
        return nullptr;
    }
    if (PQstatus(conn) != CONNECTION_OK) {
        error =
            "cannot connect to " + info.Shown() + ": " + info.Scrub(OneLine(PQerrorMessage(conn)));
        PQfinish(conn);
        return nullptr;
    }
    // Notices (a table that exists already...) are for a person at psql, not for a host's
    // standard error.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    return std::unique_ptr<Connection>(new Connection(info, conn));
}

Connection::Connection(const ConnInfo& info, PGconn* conn) : info_(info), conn_(conn) {}

Connection::~Connection() {
    PQfinish(conn_);
}

Result Connection::Run(const std::string& sql, const Params& params) {
    auto found = prepared_.find(sql);
    if (found == prepared_.end()) {
        const std::string name = "orbel_" + std::to_string(prepared_.size() + 1);
        Result prepared(PQprepare(conn_, name.c_str(), sql.c_str(), 0, nullptr));
        if (!prepared || Lost()) return nullptr;
        if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK) return prepared;
        found = prepared_.emplace(sql, name).first;
    }
    Result r(PQexecPrepared(conn_, found->second.c_str(), params.Count(), params.Values(), nullptr,
                            nullptr, 0));
    if (Lost()) return nullptr;
    return r;
}

Result Connection::Once(const std::string& sql, const Params& params) {
    Result r(PQexecParams(conn_, sql.c_str(), params.Count(), nullptr, params.Values(), nullptr,
                          nullptr, 0));
    if (Lost()) return nullptr;
    return r;
}

Result Connection::Exec(const std::string& sql) {
    Result r(PQexec(conn_, sql.c_str()));
    if (Lost()) return nullptr;
    return r;
}

bool Connection::Send(std::string_view sql) {
    return PQsendQuery(conn_, std::string(sql).c_str()) == 1;
}

Result Connection::Next() {
    return Result(PQgetResult(conn_));
}

bool Connection::Ok(const PGresult* r) {
    if (!r) return false;
    const ExecStatusType s = PQresultStatus(r);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK || s == PGRES_SINGLE_TUPLE;
}

std::string Connection::State(const PGresult* r) {
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    return state ? state : "";
}

std::string Connection::Error(const PGresult* r) const {
    const char* primary = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return info_.Scrub(OneLine(primary ? primary : PQerrorMessage(conn_)));
}

bool Connection::Reset() {
    prepared_.clear();
    PQreset(conn_);
    return !Lost();
}

}  // namespace orbel::host::pg
