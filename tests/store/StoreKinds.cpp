#include "tests/store/StoreKinds.h"

#ifdef ORBEL_WITH_POSTGRES
#include "host/store/PgTableStore.h"
#include "tests/store/PgCluster.h"
#endif

namespace orbel::host::test {

std::unique_ptr<TableStore> SqliteKind::OpenNew() {
    return OpenAgain();
}

std::unique_ptr<TableStore> SqliteKind::OpenAgain(StoreAccess access) {
    return OpenStore((folder_ / "store.db").string(), access);
}

#ifdef ORBEL_WITH_POSTGRES

std::string PgKind::Unavailable() const {
    const std::string& why = PgCluster::Shared().Unavailable();
    if (!why.empty()) return why;
    if (ConnInfo().empty()) return "the test server made no database";
    return {};
}

const std::string& PgKind::ConnInfo() {
    static const std::string conninfo = PgCluster::Shared().NewDatabase();
    return conninfo;
}

std::unique_ptr<TableStore> PgKind::OpenNew() {
    const std::string database = ConnInfo().substr(ConnInfo().rfind('=') + 1);
    const std::string dropped = PgCluster::Shared().Superuser(
        database, "DROP TABLE IF EXISTS OLE_TREE, OLE_RES, OLE_CLA, ORBEL_COUNTERS, ORBEL_STORE");
    EXPECT_FALSE(dropped.starts_with("error: ")) << dropped;
    return OpenAgain();
}

std::unique_ptr<TableStore> PgKind::OpenAgain(StoreAccess access) {
    PgOpenResult opened = PgTableStore::Open(ConnInfo(), access);
    EXPECT_TRUE(opened) << opened.error;
    return std::move(opened.store);
}

#endif

}  // namespace orbel::host::test
