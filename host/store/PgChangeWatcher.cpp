// Changes on a server: a trigger on OLE_TREE and OLE_RES announces every row written, with
// NOTIFY, as the transaction that wrote it commits; a connection of the watcher's own listens.
// The trigger is made by the first program that watches, so a store whose programs never
// watch pays nothing for it. The server names the connection that sent each announcement,
// which tells this program's own writes apart.
#include <sys/select.h>

#include <string>
#include <utility>

#include "host/store/PgTableStore.h"
#include "host/store/StoreChanges.h"

namespace orbel::host {

using pg::Connection;
using pg::Result;

namespace {

constexpr const char* kChannel = "orbel_changes";

// A notification carries at most 8000 bytes: a row too long to go with it (a path far past
// its field's width) is announced by its keys and read from the store.
constexpr const char* kTriggerSql = R"sql(
SELECT pg_advisory_xact_lock(1330794049);
CREATE OR REPLACE FUNCTION orbel_announce() RETURNS trigger LANGUAGE plpgsql AS $f$
DECLARE
    o jsonb := CASE WHEN TG_OP = 'INSERT' THEN '{}'::jsonb ELSE to_jsonb(OLD) END;
    n jsonb := CASE WHEN TG_OP = 'DELETE' THEN '{}'::jsonb ELSE to_jsonb(NEW) END;
    head text := upper(TG_TABLE_NAME) || '|' || left(TG_OP, 1);
    fields text[] := ARRAY[coalesce(n->>'key1', o->>'key1'), coalesce(o->>'key2', ''),
                           coalesce(n->>'data', ''), coalesce(n->>'key2', ''),
                           coalesce(n->>'key3', '')];
    body text := '';
    f text;
BEGIN
    FOREACH f IN ARRAY fields LOOP
        body := body || octet_length(f) || ':' || f;
    END LOOP;
    IF octet_length(head) + octet_length(body) > 7990 THEN
        head := head || '*';
        body := octet_length(fields[1]) || ':' || fields[1] || octet_length(fields[2]) || ':' ||
                fields[2] || '0:0:0:';
    END IF;
    PERFORM pg_notify('orbel_changes', head || '|' || body);
    RETURN NULL;
END
$f$;
CREATE OR REPLACE TRIGGER orbel_announce AFTER INSERT OR UPDATE OR DELETE ON OLE_TREE
    FOR EACH ROW EXECUTE FUNCTION orbel_announce();
CREATE OR REPLACE TRIGGER orbel_announce AFTER INSERT OR UPDATE OR DELETE ON OLE_RES
    FOR EACH ROW EXECUTE FUNCTION orbel_announce();
)sql";

class PgChangeWatcher final : public ChangeWatcher {
  public:
    PgChangeWatcher(PgTableStore& store, std::unique_ptr<Connection> listener)
        : store_(store), listener_(std::move(listener)) {}

    std::vector<StoreChange> Take() override {
        std::vector<StoreChange> changes;
        if (!Listening()) return changes;
        const int own = store_.BackendPid();
        if (!PQconsumeInput(listener_->Raw())) {
            Lost();
            return changes;
        }
        while (PGnotify* note = PQnotifies(listener_->Raw())) {
            bool reread = false;
            std::optional<StoreChange> change =
                note->be_pid == own ? std::nullopt : ParseAnnouncement(note->extra, &reread);
            PQfreemem(note);
            if (change && (!reread || Reread(*change))) changes.push_back(std::move(*change));
        }
        return changes;
    }

    bool Wait(int ms) override {
        if (!Listening()) return false;
        const int socket = PQsocket(listener_->Raw());
        if (socket < 0) return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket, &readable);
        timeval timeout{ms / 1000, (ms % 1000) * 1000};
        return ::select(socket + 1, &readable, nullptr, nullptr, &timeout) > 0;
    }

    std::string Missed() override { return std::exchange(missed_, {}); }

    bool Listen(std::string& error) {
        const Result r = listener_->Exec(std::string("LISTEN ") + kChannel);
        if (Connection::Ok(r.get())) return true;
        error = "cannot listen for changes to " + store_.Name() + ": " + listener_->Error(r.get());
        return false;
    }

  private:
    // Connected, listening again after a loss.
    bool Listening() {
        if (!listener_->Lost()) return true;
        std::string error;
        if (!listener_->Reset() || !Listen(error)) return false;
        return true;
    }
    void Lost() {
        missed_ = "the connection that listens for changes to " + store_.Name() +
                  " was lost: changes made meanwhile by others are not shown until the store "
                  "is opened again";
    }
    // The row of a change announced by its keys alone, as the store has it now; false when it
    // is gone (its delete is announced after).
    bool Reread(StoreChange& change) {
        const auto cursor =
            store_.OpenSelect(StoreTableName(change.table), 1, change.key1, change.key1);
        StoreReply row;
        if (!cursor->Next(row)) return false;
        change.data = row.data;
        change.key2 = row.keys[1];
        change.key3 = row.keys[2];
        return true;
    }

    PgTableStore& store_;
    std::unique_ptr<Connection> listener_;
    std::string missed_;
};

}  // namespace

std::unique_ptr<ChangeWatcher> PgTableStore::WatchChanges(std::string& error) {
    std::string count;
    if (!ExecuteSql("SELECT count(*) FROM pg_trigger WHERE tgname = 'orbel_announce'",
                    [&](std::span<const std::string> row) { count = row[0]; })) {
        error = "cannot follow changes to " + name_ + ": " + lastError_;
        return nullptr;
    }
    if (count != "2" && !ExecuteSql(kTriggerSql, {})) {
        error = "changes to " + name_ + " are not announced (" + lastError_ + ")";
        return nullptr;
    }
    std::unique_ptr<Connection> listener = Connection::Open(*info_, error);
    if (!listener) {
        error = "cannot follow changes to " + name_ + ": " + error;
        return nullptr;
    }
    auto watcher = std::make_unique<PgChangeWatcher>(*this, std::move(listener));
    if (!watcher->Listen(error)) return nullptr;
    return watcher;
}

int PgTableStore::BackendPid() const {
    return PQbackendPID(main_->Raw());
}

}  // namespace orbel::host
