// What a store tells the programs sharing it: each committed write of a tree or resource row,
// as the table, what was done and the row before and after, so that every host can bring its
// control up to date without reading the store again. A store on a server announces each
// change as the transaction that made it commits; a store file keeps a log of its changes,
// written in the same transaction as the change, that the others read when the file's data
// version moves.
//
// A program's own writes are left out: its control made them and shows them already.
//
// Not for: class rows (the control reads them when it needs them) or a store in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/store/StoreRows.h"

namespace orbel::host {

enum class ChangeKind { Insert, Update, Delete };

struct StoreChange {
    StoreTable table = StoreTable::OleTree;
    ChangeKind kind = ChangeKind::Insert;
    std::string key1;
    // OLE_TREE: key 2 as the row had it before an update or a delete (its parent and name).
    std::string oldKey2;
    // The row after an insert or an update, as the control's texts.
    std::string data;
    std::string key2;
    std::string key3;
};

class ChangeWatcher {
  public:
    virtual ~ChangeWatcher();

    // The changes other programs committed since the last call, oldest first. Never waits: a
    // host calls it from its idle time.
    virtual std::vector<StoreChange> Take() = 0;
    // Waits up to `ms` milliseconds for a change to be announced (a host with nothing else to
    // do); true when one may be there to take.
    virtual bool Wait(int ms) = 0;
    // Why some changes may not have been seen (the connection that listens was lost, the log
    // was trimmed past what was read), once; empty otherwise.
    virtual std::string Missed() { return {}; }
};

// A server's announcement, "TABLE|OP|" and then key 1, the old key 2, data, key 2 and key 3,
// each as its length in bytes, a colon and the text; nullopt for anything else. OP "I", "U" or
// "D"; "U*" or "I*" when the row was too long to be carried and is to be read from the store.
std::optional<StoreChange> ParseAnnouncement(std::string_view payload, bool* reread = nullptr);

}  // namespace orbel::host
