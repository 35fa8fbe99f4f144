// Opening a store on a server: connecting, telling a store of ours from a database of another
// program, making the tables in a database that has none, and deciding whether it may be
// written.
#include <string>

#include "host/store/PgTableStore.h"
#include "host/store/StoreStatements.h"

namespace orbel::host {

using pg::Connection;
using pg::Params;
using pg::Result;

namespace {

// Key columns hold the texts as sent and compare byte by byte, whatever the database's own
// collation, so the order of an index is the order the control expects; keys 2 and 3 of
// OLE_TREE repeat, and key 1 breaks their ties. ORBEL_STORE marks the database as a store and
// holds the version of this layout.
constexpr const char* kSchema = R"sql(
CREATE TABLE OLE_TREE (
    OwnerId integer NOT NULL,
    EntryNo integer NOT NULL,
    OwnerId2 integer NOT NULL,
    ParentOwnerId integer NOT NULL,
    ParentEntryNo integer NOT NULL,
    Name text NOT NULL,
    ResourceId integer NOT NULL,
    IsItem integer NOT NULL,
    PageStart integer NOT NULL,
    PageEnd integer NOT NULL,
    Batch text NOT NULL,
    Type text NOT NULL,
    Key1 text COLLATE "C" NOT NULL,
    Key2 text COLLATE "C" NOT NULL,
    Key3 text COLLATE "C" NOT NULL,
    Data text NOT NULL
);
CREATE UNIQUE INDEX OLE_TREE_Key1 ON OLE_TREE (Key1);
CREATE INDEX OLE_TREE_Key2 ON OLE_TREE (Key2, Key1);
CREATE INDEX OLE_TREE_Key3 ON OLE_TREE (Key3, Key1);
CREATE TABLE OLE_RES (
    ResourceId integer NOT NULL,
    Path text NOT NULL,
    Key1 text COLLATE "C" NOT NULL,
    Data text NOT NULL
);
CREATE UNIQUE INDEX OLE_RES_Key1 ON OLE_RES (Key1);
CREATE TABLE OLE_CLA (
    ClassName text NOT NULL,
    Value integer NOT NULL,
    Key1 text COLLATE "C" NOT NULL,
    Data text NOT NULL
);
CREATE UNIQUE INDEX OLE_CLA_Key1 ON OLE_CLA (Key1);
-- The last ID handed out by direct retrieval, by name: "OleId", "ResourceId"; never wider
-- than the eight digits of a row's field.
CREATE TABLE ORBEL_COUNTERS (
    Name text PRIMARY KEY,
    Value bigint NOT NULL CHECK (Value <= 99999999)
);
CREATE TABLE ORBEL_STORE (Version integer NOT NULL);
)sql";

// Held while a client looks for the tables and makes them, so that two clients opening a new
// database at the same moment make them once ("ORBL").
constexpr std::int64_t kSchemaLock = 0x4F52424C;

struct Inspection {
    std::string error;
    bool exists = false;  // the database holds a store of ours
};

// What the database holds, inside the caller's transaction.
Inspection Inspect(Connection& conn, const std::string& name) {
    Inspection out;
    const Result r = conn.Exec(
        "SELECT to_regclass('orbel_store') IS NOT NULL, to_regclass('ole_tree') IS NOT NULL");
    if (!Connection::Ok(r.get())) {
        out.error = "cannot read the store " + name + ": " + conn.Error(r.get());
        return out;
    }
    out.exists = std::string_view(PQgetvalue(r.get(), 0, 0)) == "t";
    const bool foreign = std::string_view(PQgetvalue(r.get(), 0, 1)) == "t";
    if (!out.exists) {
        if (foreign)
            out.error = name +
                        " is not a store: its database has a table OLE_TREE of another "
                        "program";
        return out;
    }
    const Result v = conn.Exec("SELECT max(Version) FROM ORBEL_STORE");
    if (!Connection::Ok(v.get())) {
        out.error = "cannot read the store " + name + ": " + conn.Error(v.get());
        return out;
    }
    const std::string version = PQgetvalue(v.get(), 0, 0);
    if (version != std::to_string(PgTableStore::kSchemaVersion))
        out.error = name + " is a store of version " + (version.empty() ? "(none)" : version) +
                    ", which this host does not read (it reads " +
                    std::to_string(PgTableStore::kSchemaVersion) + ")";
    return out;
}

// Makes the tables when the database has none; empty when the store is there afterwards. The
// lock is taken before the transaction begins: a transaction that begins after another
// client's has made the tables sees them (one that began before would still see the database
// as it was, and make them a second time).
std::string MakeStore(Connection& conn, const std::string& name) {
    const Params lock = Params().Add(kSchemaLock);
    Result r = conn.Once("SELECT pg_advisory_lock($1)", lock);
    if (!Connection::Ok(r.get()))
        return "cannot make a store in " + name + ": " + conn.Error(r.get());
    auto failed = [&](const PGresult* result) {
        const std::string why = "cannot make a store in " + name + ": " + conn.Error(result);
        conn.Exec("ROLLBACK");
        return why;
    };
    std::string error;
    r = conn.Exec("BEGIN");
    if (!Connection::Ok(r.get())) {
        error = failed(r.get());
    } else {
        const Inspection found = Inspect(conn, name);
        if (!found.error.empty()) {
            conn.Exec("ROLLBACK");
            error = found.error;
        } else {
            if (!found.exists)
                r = conn.Exec(std::string(kSchema) + "INSERT INTO ORBEL_STORE VALUES (" +
                              std::to_string(PgTableStore::kSchemaVersion) + ");");
            if (!found.exists && !Connection::Ok(r.get())) {
                error = failed(r.get());
            } else {
                r = conn.Exec("COMMIT");
                if (!Connection::Ok(r.get())) error = failed(r.get());
            }
        }
    }
    conn.Once("SELECT pg_advisory_unlock($1)", lock);
    return error;
}

// Why the server takes no writes to the store, or empty.
std::string ServerReadOnlyReason(Connection& conn, const std::string& name) {
    const Result r = conn.Exec(
        "SELECT pg_is_in_recovery(), current_setting('default_transaction_read_only'), "
        "CASE WHEN to_regclass('orbel_store') IS NULL THEN true ELSE "
        "has_table_privilege('ole_tree', 'INSERT') AND "
        "has_table_privilege('orbel_counters', 'UPDATE') END, current_user");
    if (!Connection::Ok(r.get())) return {};
    if (std::string_view(PQgetvalue(r.get(), 0, 0)) == "t")
        return "the store " + name +
               " is on a standby server, which takes no writes: it can be browsed, and every "
               "change is refused";
    if (std::string_view(PQgetvalue(r.get(), 0, 1)) == "on")
        return "the store " + name +
               " is in a read-only database: it can be browsed, and every change is refused";
    if (std::string_view(PQgetvalue(r.get(), 0, 2)) != "t")
        return "the store " + name + " may be read but not changed by the user " +
               PQgetvalue(r.get(), 0, 3) + ": it can be browsed, and every change is refused";
    return {};
}

}  // namespace

PgOpenResult PgTableStore::Open(const std::string& conninfo, StoreAccess access) {
    PgOpenResult result;
    auto info = std::make_unique<pg::ConnInfo>(conninfo);
    if (!info->Error().empty()) {
        result.error = info->Error();
        return result;
    }
    const std::string name = "postgres:" + info->Shown();
    std::unique_ptr<Connection> main = Connection::Open(*info, result.error);
    if (!main) {
        result.error = "cannot open the store " + name + ": " + result.error;
        return result;
    }
    std::string readOnlyReason;
    if (access == StoreAccess::ReadOnly) {
        main->Exec("BEGIN READ ONLY");
        const Inspection found = Inspect(*main, name);
        main->Exec("COMMIT");
        result.error = found.exists ? found.error : "no store at " + name;
        if (!result.error.empty()) return result;
        main->Exec("SET default_transaction_read_only = on");
        readOnlyReason = OpenedReadOnlyText(name);
    } else {
        readOnlyReason = ServerReadOnlyReason(*main, name);
        main->Exec("BEGIN READ ONLY");
        const Inspection found = Inspect(*main, name);
        main->Exec("COMMIT");
        if (found.exists && !found.error.empty()) {
            result.error = found.error;
            return result;
        }
        if (!found.exists) {
            if (!readOnlyReason.empty()) {
                result.error = found.error.empty()
                                   ? name + " takes no writes and holds no store to read"
                                   : found.error;
                return result;
            }
            // Another client may be making the tables this moment, and a look outside the
            // lock can see some of them committed and not others: what the database holds is
            // decided again under the lock, where the maker has finished.
            result.error = MakeStore(*main, name);
            if (!result.error.empty()) return result;
        }
        if (readOnlyReason.empty()) readOnlyReason = ServerReadOnlyReason(*main, name);
    }
    result.store = std::make_unique<PgTableStore>(OpenedTag{}, std::move(info), std::move(main),
                                                  std::move(readOnlyReason));
    return result;
}

}  // namespace orbel::host
