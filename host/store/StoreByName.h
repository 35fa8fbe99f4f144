// Opening a table store by the name a host's user gives it on a command line: "memory" (gone at
// the end), "sqlite:PATH" (a file, made when missing) or "postgres:CONNINFO" (a server, by a
// libpq connection string or URI). One place reads these names, so every host takes the same.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/store/SqliteTableStore.h"
#include "host/store/TableStore.h"

namespace orbel::host {

enum class StoreNameKind { Memory, Sqlite, Postgres, Unknown };

// What kind of store `name` names, and the rest after its prefix (the path or the connection
// string); Unknown for anything else, or a prefix with nothing after it.
StoreNameKind KindOfStoreName(std::string_view name, std::string* rest = nullptr);

struct OpenedTableStore {
    std::unique_ptr<TableStore> store;  // null on failure
    std::string error;                  // why, without a connection string's password
    explicit operator bool() const { return store != nullptr; }
};

// Opens the store `name` names. A server store in a build without libpq is an error that
// says so.
OpenedTableStore OpenStoreByName(std::string_view name,
                                 StoreAccess access = StoreAccess::ReadWrite);

}  // namespace orbel::host
