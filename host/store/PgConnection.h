// One libpq connection of a store on a PostgreSQL server: the connection string and what of it
// may be shown, statements prepared once per connection and run with their values as
// parameters, and a connection that was lost told apart from a statement that failed.
//
// A connection string's password never leaves this file: messages name the server by the
// string with its password left out, and a message libpq makes is cleared of it too.
#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orbel::host::pg {

struct ResultClear {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultClear>;

// A libpq connection string or URI as given, and the same without its password for messages.
class ConnInfo {
  public:
    // Empty Error() when libpq reads `text`.
    explicit ConnInfo(std::string text);
    const std::string& Text() const { return text_; }
    // "host=H port=P dbname=D user=U" with what the string sets of those, never its password.
    const std::string& Shown() const { return shown_; }
    const std::string& Error() const { return error_; }
    // `message` without the password anywhere in it.
    std::string Scrub(std::string message) const;

  private:
    std::string text_;
    std::string shown_;
    std::string password_;
    std::string error_;
};

// Values of one statement, in the text form the server reads them from; a null is SQL NULL.
class Params {
  public:
    Params& Add(std::string_view text);
    Params& Add(std::int64_t number);
    int Count() const { return static_cast<int>(values_.size()); }
    const char* const* Values() const;

  private:
    std::vector<std::string> values_;
    mutable std::vector<const char*> pointers_;
};

class Connection {
  public:
    // Connects; null with the reason (scrubbed) in `error` when the server cannot be reached.
    static std::unique_ptr<Connection> Open(const ConnInfo& info, std::string& error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs `sql` (prepared on its first use on this connection) with `params`. The result, or
    // null when the connection is gone (Lost() is then true); Error() says why either failed.
    Result Run(const std::string& sql, const Params& params = {});
    // Runs `sql` with `params` without keeping it prepared: a statement run once, or one that
    // cannot be prepared (DECLARE).
    Result Once(const std::string& sql, const Params& params);
    // Runs `sql` as written, without parameters (several statements, transaction control).
    Result Exec(const std::string& sql);
    // Starts `sql` as one or more statements whose results are taken with Next(); false when
    // it could not be sent.
    bool Send(std::string_view sql);
    // The next result of what was sent, null after the last.
    Result Next();

    // True when `r` is a result that did what it was asked (rows or a command done).
    static bool Ok(const PGresult* r);
    // The five-character SQLSTATE of a failed result, empty for none.
    static std::string State(const PGresult* r);
    // Why `r` failed, or the connection's own message when `r` is null; one line, scrubbed.
    std::string Error(const PGresult* r) const;

    bool Lost() const { return PQstatus(conn_) != CONNECTION_OK; }
    // Connects again after a loss; false with Error(nullptr) saying why.
    bool Reset();
    PGconn* Raw() const { return conn_; }
    const ConnInfo& Info() const { return info_; }

  private:
    Connection(const ConnInfo& info, PGconn* conn);

    const ConnInfo& info_;
    PGconn* conn_;
    std::unordered_map<std::string, std::string> prepared_;  // SQL text -> statement name
};

}  // namespace orbel::host::pg
