// Opening a store file: telling a store of ours from any other file, making a new one, and
// deciding whether it may be written. Nothing is written to a file until it is known to be a
// store of ours or empty.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "host/store/SqliteStatement.h"
#include "host/store/SqliteTableStore.h"
#include "host/store/StoreStatements.h"

namespace orbel::host {

using sqlite::Query;

namespace {

namespace fs = std::filesystem;

// The layout of version 1. Key columns hold the texts as sent, compared byte by byte (the
// default collation), so the order of an index is the order the control expects; keys 2 and 3
// of OLE_TREE repeat, and key 1 breaks their ties.
constexpr const char* kSchema = R"sql(
CREATE TABLE OLE_TREE (
    OwnerId INTEGER NOT NULL,
    EntryNo INTEGER NOT NULL,
    OwnerId2 INTEGER NOT NULL,
    ParentOwnerId INTEGER NOT NULL,
    ParentEntryNo INTEGER NOT NULL,
    Name TEXT NOT NULL,
    ResourceId INTEGER NOT NULL,
    IsItem INTEGER NOT NULL,
    PageStart INTEGER NOT NULL,
    PageEnd INTEGER NOT NULL,
    Batch TEXT NOT NULL,
    Type TEXT NOT NULL,
    Key1 TEXT NOT NULL,
    Key2 TEXT NOT NULL,
    Key3 TEXT NOT NULL,
    Data TEXT NOT NULL
) STRICT;
CREATE UNIQUE INDEX OLE_TREE_Key1 ON OLE_TREE (Key1);
CREATE INDEX OLE_TREE_Key2 ON OLE_TREE (Key2, Key1);
CREATE INDEX OLE_TREE_Key3 ON OLE_TREE (Key3, Key1);
CREATE TABLE OLE_RES (
    ResourceId INTEGER NOT NULL,
    Path TEXT NOT NULL,
    Key1 TEXT NOT NULL,
    Data TEXT NOT NULL
) STRICT;
CREATE UNIQUE INDEX OLE_RES_Key1 ON OLE_RES (Key1);
CREATE TABLE OLE_CLA (
    ClassName TEXT NOT NULL,
    Value INTEGER NOT NULL,
    Key1 TEXT NOT NULL,
    Data TEXT NOT NULL
) STRICT;
CREATE UNIQUE INDEX OLE_CLA_Key1 ON OLE_CLA (Key1);
-- The last ID handed out by direct retrieval, by name: "OleId", "ResourceId".
CREATE TABLE ORBEL_COUNTERS (
    Name TEXT NOT NULL PRIMARY KEY,
    Value INTEGER NOT NULL
) STRICT;
)sql";

constexpr std::array<const char*, 4> kStoreTables = {"OLE_CLA", "OLE_RES", "OLE_TREE",
                                                     "ORBEL_COUNTERS"};

// SQLite's own busy handler backs off to 100 ms between tries, so a program that has waited
// long tries rarely and loses the lock, again and again, to programs that have just begun to
// wait: with several programs taking IDs at once, one waited past the time-out while the
// others went on. Trying every millisecond gives every waiter its turn.
int WaitForLock(void* timeoutMs, int tries) {
    if (tries >= static_cast<int>(reinterpret_cast<std::intptr_t>(timeoutMs))) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

bool IsBusy(int code) {
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

std::string BusyText(const std::string& path, int busyTimeoutMs) {
    return "the store " + path + " is busy: another program has held it locked for more than " +
           std::to_string(busyTimeoutMs) + " ms; try again when it is done";
}

// How an existing file opens: read-only when asked, and when nobody may write it. The
// permission bits are honoured even for the superuser, who could write anyway, so that a store
// marked read-only stays as it is.
bool FileIsReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Why `path` cannot hold a store before SQLite is asked to open it, else empty. A symbolic
// link whose target is missing would have the target made wherever it points.
std::string RefusedPath(const std::string& path) {
    std::error_code ec;
    const fs::file_status link = fs::symlink_status(path, ec);
    if (fs::is_symlink(link) && !fs::exists(path, ec)) {
        const fs::path target = fs::read_symlink(path, ec);
        return path + " is a symbolic link to " + target.string() +
               ", which does not exist: no store is made through it";
    }
    const fs::file_status file = fs::status(path, ec);
    if (fs::is_directory(file)) return path + " is a folder, not a store";
    if (fs::exists(file) && !fs::is_regular_file(file))
        return path + " is not a regular file (a pipe, socket or device), not a store";
    return {};
}

struct FileInspection {
    std::string error;   // the file cannot be used as a store
    bool empty = false;  // a new file, or an SQLite file without any schema: make the store
};

// Reads the application id, the version and the schema in one read transaction, so that a
// store being made by another program at the same moment is seen either before or after, never
// half made. Runs inside the caller's transaction when `ownTransaction` is false.
FileInspection Inspect(sqlite3* db, const std::string& path, int busyTimeoutMs,
                       bool ownTransaction) {
    FileInspection out;
    auto failed = [&](int rc, const std::string& what) {
        out.error = IsBusy(rc) ? BusyText(path, busyTimeoutMs) : path + " is not a store: " + what;
        return out;
    };
    if (ownTransaction) {
        const int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) return failed(rc, sqlite::ErrorText(db, rc));
    }
    struct EndRead {
        sqlite3* db;
        bool armed;
        ~EndRead() {
            if (armed) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
    } endRead{db, ownTransaction};
    sqlite::StatementCache cache(db);
    std::int64_t appId = 0, version = 0;
    for (auto [sql, value] :
         {std::pair{"PRAGMA application_id", &appId}, std::pair{"PRAGMA user_version", &version}}) {
        Query q(cache, sql);
        const int rc = q.Step();
        if (rc != SQLITE_ROW) return failed(rc, q.Error());
        *value = q.Int(0);
    }
    std::vector<std::string> tables;
    std::int64_t objects = 0;
    {
        Query q(cache, "SELECT type, name FROM sqlite_schema ORDER BY name");
        int rc;
        while ((rc = q.Step()) == SQLITE_ROW) {
            ++objects;
            if (q.Text(0) == "table") tables.emplace_back(q.Text(1));
        }
        if (rc != SQLITE_DONE) return failed(rc, q.Error());
    }
    if (appId != SqliteTableStore::kApplicationId) {
        if (appId == 0 && version == 0 && objects == 0) {
            out.empty = true;
        } else if (objects > 0) {
            std::string names;
            for (const std::string& t : tables) names += (names.empty() ? "" : ", ") + t;
            out.error =
                path + " is not a store: it is an SQLite file with other tables (" + names + ")";
        } else {
            out.error = path + " is not a store: it is an SQLite file of another program";
        }
        return out;
    }
    if (version > SqliteTableStore::kSchemaVersion) {
        out.error = path + " is a store of version " + std::to_string(version) +
                    ", newer than this host reads (" +
                    std::to_string(SqliteTableStore::kSchemaVersion) + ")";
        return out;
    }
    if (version != SqliteTableStore::kSchemaVersion) {
        out.error = path + " is a store of unknown version " + std::to_string(version);
        return out;
    }
    for (const char* t : kStoreTables)
        if (std::find(tables.begin(), tables.end(), t) == tables.end())
            out.error = path + " is a damaged store: table " + t + " is missing";
    return out;
}

// Makes the schema in an empty file. The check is made again under the write lock: another
// program may have made the store since the file was found empty, and then it is used as it
// is.
std::string CreateSchema(sqlite3* db, const std::string& path, int busyTimeoutMs) {
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return IsBusy(rc) ? BusyText(path, busyTimeoutMs)
                          : "cannot create a store in " + path + ": " + sqlite::ErrorText(db, rc);
    const FileInspection again = Inspect(db, path, busyTimeoutMs, false);
    std::string error = again.error;
    if (error.empty() && again.empty) {
        const std::string script =
            std::string(kSchema) +
            "PRAGMA application_id = " + std::to_string(SqliteTableStore::kApplicationId) +
            "; PRAGMA user_version = " + std::to_string(SqliteTableStore::kSchemaVersion) + ";";
        char* message = nullptr;
        rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK)
            error = "cannot create a store in " + path + ": " +
                    (message ? std::string(message) : std::string(sqlite3_errstr(rc)));
        sqlite3_free(message);
    }
    if (error.empty()) {
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) return {};
        error = IsBusy(rc) ? BusyText(path, busyTimeoutMs)
                           : "cannot create a store in " + path + ": " + sqlite::ErrorText(db, rc);
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return error;
}

// The first problem the quick check finds, empty when it finds none; `error` is set when the
// check itself could not run.
std::string QuickCheck(sqlite3* db, const std::string& path, int busyTimeoutMs,
                       std::string& error) {
    sqlite::StatementCache cache(db);
    Query q(cache, "PRAGMA quick_check(1)");
    const int rc = q.Step();
    if (rc != SQLITE_ROW) {
        error = IsBusy(rc) ? BusyText(path, busyTimeoutMs)
                           : path + " is a damaged store that cannot be checked: " + q.Error();
        return {};
    }
    const std::string found(q.Text(0));
    return found == "ok" ? std::string() : found;
}

}  // namespace

SqliteOpenResult SqliteTableStore::Open(const std::string& path, StoreAccess access,
                                        int busyTimeoutMs) {
    SqliteOpenResult result;
    const bool memory = path == ":memory:";
    bool readOnly = access == StoreAccess::ReadOnly;
    if (memory && readOnly) {
        result.error = "an in-memory store cannot be read-only";
        return result;
    }
    if (!memory) {
        result.error = RefusedPath(path);
        if (!result.error.empty()) return result;
    }
    std::error_code ec;
    const bool exists = !memory && fs::exists(path, ec);
    std::string readOnlyReason;
    if (readOnly) readOnlyReason = OpenedReadOnlyText(path);
    if (exists && !readOnly && FileIsReadOnly(path)) {
        readOnly = true;
        readOnlyReason = "the store " + path +
                         " is a read-only file: it can be browsed, and every change is refused";
    }
    if (!exists && !memory && readOnly) {
        result.error = "no store at " + path;
        return result;
    }

    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!exists && !readOnly) flags |= SQLITE_OPEN_CREATE;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_EXRESCODE, nullptr);
    std::unique_ptr<sqlite3, DbCloser> db(raw);
    if (rc != SQLITE_OK) {
        result.error = "cannot open the store " + path + ": " + sqlite::ErrorText(raw, rc);
        return result;
    }
    sqlite3_busy_handler(db.get(), WaitForLock,
                         reinterpret_cast<void*>(static_cast<std::intptr_t>(busyTimeoutMs)));

    // Only read until the file is known to be ours or empty: anything else stays untouched.
    const FileInspection found = Inspect(db.get(), path, busyTimeoutMs, true);
    if (!found.error.empty()) {
        result.error = found.error;
        return result;
    }
    sqlite3_exec(db.get(), kConnectionPragmas, nullptr, nullptr, nullptr);
    if (found.empty) {
        if (readOnly) {
            result.error = path + " is read-only and holds no store to read";
            return result;
        }
        if (std::string error = CreateSchema(db.get(), path, busyTimeoutMs); !error.empty()) {
            result.error = error;
            return result;
        }
    } else {
        // A damaged store is shown, so that what it still holds can be seen and copied out,
        // but never written: a write into a damaged file can spread the damage to rows that
        // were whole.
        std::string error;
        const std::string problem = QuickCheck(db.get(), path, busyTimeoutMs, error);
        if (!error.empty()) {
            result.error = error;
            return result;
        }
        if (!problem.empty()) {
            readOnly = true;
            readOnlyReason = "the store " + path + " failed its integrity check (" + problem +
                             "): it is opened read-only so that nothing is written into the "
                             "damage; copy what it holds into a new store";
        }
    }
    if (readOnly) sqlite3_exec(db.get(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
    result.store = std::make_unique<SqliteTableStore>(OpenedTag{}, path, std::move(db),
                                                      std::move(readOnlyReason));
    return result;
}

}  // namespace orbel::host
