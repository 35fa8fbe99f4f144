#include "host/store/StoreByName.h"

#ifdef ORBEL_WITH_POSTGRES
#include "host/store/PgTableStore.h"
#endif

namespace orbel::host {

StoreNameKind KindOfStoreName(std::string_view name, std::string* rest) {
    if (name == "memory") return StoreNameKind::Memory;
    for (auto [prefix, kind] :
         {std::pair{std::string_view("sqlite:"), StoreNameKind::Sqlite},
          std::pair{std::string_view("postgres:"), StoreNameKind::Postgres}}) {
        if (name.starts_with(prefix) && name.size() > prefix.size()) {
            if (rest) *rest = std::string(name.substr(prefix.size()));
            return kind;
        }
    }
    return StoreNameKind::Unknown;
}

OpenedTableStore OpenStoreByName(std::string_view name, StoreAccess access) {
    OpenedTableStore opened;
    std::string rest;
    switch (KindOfStoreName(name, &rest)) {
        case StoreNameKind::Memory:
            rest = ":memory:";
            [[fallthrough]];
        case StoreNameKind::Sqlite: {
            SqliteOpenResult file = SqliteTableStore::Open(rest, access);
            opened.store = std::move(file.store);
            opened.error = std::move(file.error);
            break;
        }
        case StoreNameKind::Postgres: {
#ifdef ORBEL_WITH_POSTGRES
            PgOpenResult server = PgTableStore::Open(rest, access);
            opened.store = std::move(server.store);
            opened.error = std::move(server.error);
#else
            opened.error =
                "this build has no store on a PostgreSQL server: libpq was not found when it was "
                "built";
#endif
            break;
        }
        case StoreNameKind::Unknown:
            opened.error = "a store is memory, sqlite:PATH or postgres:CONNINFO";
            break;
    }
    return opened;
}

}  // namespace orbel::host
