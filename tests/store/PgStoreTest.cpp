// What only the store on a server shows: its connection string's password kept out of every
// message, a lost connection told and mended, and databases that are not a store of ours.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "host/store/PgTableStore.h"
#include "tests/store/PgCluster.h"
#include "tests/store/StoreKinds.h"

namespace orbel::host::test {
namespace {

class PgStore : public StoreTest<PgKind> {
  protected:
    PgCluster& Cluster() { return PgCluster::Shared(); }
    std::string Database() const {
        return PgKind::ConnInfo().substr(PgKind::ConnInfo().rfind('=') + 1);
    }
};

TEST_F(PgStore, NoMessageCarriesTheConnectionStringsPassword) {
    const std::string secret = "Tr0ub4dor-and-3";
    // Refusals of every kind: by the server (no such database), by the network (nothing on the
    // port), by libpq reading the string (a bad value, an unknown option, a broken URI).
    for (const std::string& conninfo :
         {Cluster().TcpUri("no_such_db", "clerk", secret),
          "host=127.0.0.1 port=" + std::to_string(Cluster().Port()) +
              " dbname=no_such_db user=clerk password=" + secret,
          "host=127.0.0.1 port=1 dbname=x user=clerk password=" + secret,
          "postgresql://clerk:" + secret + "@127.0.0.1:1/x?connect_timeout=oops",
          "host=127.0.0.1 password=" + secret + " bogus_option=1",
          "postgresql://clerk:" + secret + "@[::1/x"}) {
        const PgOpenResult opened = PgTableStore::Open(conninfo);
        EXPECT_FALSE(opened) << conninfo;
        EXPECT_FALSE(opened.error.empty());
        EXPECT_EQ(opened.error.find(secret), std::string::npos) << opened.error;
    }
    // And a store that opened with a password names its server without it.
    PgOpenResult opened =
        PgTableStore::Open("host=127.0.0.1 port=" + std::to_string(Cluster().Port()) +
                           " user=postgres password=" + secret + " dbname=" + Database());
    ASSERT_TRUE(opened) << opened.error;
    EXPECT_EQ(opened.store->Name(),
              "postgres:host=127.0.0.1 port=" + std::to_string(Cluster().Port()) +
                  " dbname=" + Database() + " user=postgres");
    EXPECT_EQ(opened.store->DeleteRecord("OLE_TREE", "x"), kStoreFailed);
    EXPECT_EQ(opened.store->LastError().find(secret), std::string::npos);
}

TEST_F(PgStore, ALostConnectionFailsTheRequestWithThatReasonAndTheNextOneConnectsAgain) {
    ASSERT_EQ(Insert(*store_, Entry(5, 1, 0, "Letters")), kStoreOk);
    const std::string killed = Cluster().Superuser(
        Database(),
        "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE datname = '" +
            Database() + "' AND pid <> pg_backend_pid()");
    ASSERT_NE(killed, "0") << killed;
    EXPECT_EQ(Insert(*store_, Entry(5, 2, 0, "Invoices")), kStoreFailed);
    EXPECT_NE(store_->LastError().find("was lost"), std::string::npos) << store_->LastError();
    // The next request connects again, and what was acknowledged before is there.
    ASSERT_EQ(Insert(*store_, Entry(5, 2, 0, "Invoices")), kStoreOk) << store_->LastError();
    EXPECT_EQ(SelectNames(*store_, 1, FormatTreeKey1({5, 0}), FormatTreeKey1({5, 9})),
              (std::vector<std::string>{"Letters", "Invoices"}));
}

TEST_F(PgStore, ADatabaseOfAnotherProgramOrANewerStoreIsRefusedAndLeftAsItWas) {
    store_.reset();
    ASSERT_EQ(Cluster().Superuser(Database(),
                                  "DROP TABLE OLE_TREE, OLE_RES, OLE_CLA, "
                                  "ORBEL_COUNTERS, ORBEL_STORE; "
                                  "CREATE TABLE ole_tree (id int)"),
              "");
    PgOpenResult opened = PgTableStore::Open(PgKind::ConnInfo());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("another program"), std::string::npos) << opened.error;
    EXPECT_EQ(Cluster().Superuser(Database(),
                                  "SELECT count(*) FROM pg_tables WHERE "
                                  "tablename LIKE 'orbel%'"),
              "0");

    ASSERT_EQ(Cluster().Superuser(Database(), "DROP TABLE ole_tree"), "");
    ASSERT_TRUE(PgTableStore::Open(PgKind::ConnInfo()));
    ASSERT_EQ(Cluster().Superuser(Database(), "UPDATE ORBEL_STORE SET Version = 2"), "");
    opened = PgTableStore::Open(PgKind::ConnInfo());
    EXPECT_FALSE(opened);
    EXPECT_NE(opened.error.find("version 2"), std::string::npos) << opened.error;
}

TEST_F(PgStore, AUserWithoutTheRightToWriteGetsAReadOnlyStoreThatSaysWhy) {
    ASSERT_EQ(Insert(*store_, Entry(5, 1, 0, "Letters")), kStoreOk);
    ASSERT_EQ(Cluster().Superuser(Database(),
                                  "CREATE ROLE reader LOGIN; "
                                  "GRANT SELECT ON ALL TABLES IN SCHEMA public "
                                  "TO reader"),
              "");
    PgOpenResult opened = PgTableStore::Open(PgKind::ConnInfo() + " user=reader");
    ASSERT_TRUE(opened) << opened.error;
    EXPECT_NE(opened.store->ReadOnlyReason().find("the user reader"), std::string::npos)
        << opened.store->ReadOnlyReason();
    EXPECT_EQ(opened.store->SetTablePos("OLE_TREE", 0, 1, FormatTreeKey1({5, 1})), kStoreOk);
    EXPECT_EQ(Insert(*opened.store, Entry(5, 2, 0, "Refused")), kStoreFailed);
    EXPECT_EQ(opened.store->NextOleId().result, kStoreFailed);
    EXPECT_NE(opened.store->LastError().find("read-only"), std::string::npos);
}

TEST_F(PgStore, EightProgramsTakingIdsAtOnceNeverGetTheSameOne) {
    constexpr int kPrograms = 8;
    constexpr int kTakes = 2000;
    // Each program writes the IDs it was given, OLE IDs as they are and resource IDs negated,
    // into a pipe of its own; 0 is a refusal.
    std::vector<std::pair<pid_t, int>> programs;
    for (int p = 0; p < kPrograms; ++p) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(ends[0]);
            PgOpenResult opened = PgTableStore::Open(PgKind::ConnInfo());
            std::vector<std::int32_t> ids;
            for (int i = 0; i < kTakes; ++i) {
                const StoreReply ole = opened ? opened.store->NextOleId() : StoreReply{};
                const StoreReply res = opened ? opened.store->NextResourceId() : StoreReply{};
                ids.push_back(ole.result == kStoreOk ? Atol(ole.keys[0]) : 0);
                ids.push_back(res.result == kStoreOk ? -Atol(res.keys[0]) : 0);
            }
            const auto bytes = static_cast<ssize_t>(ids.size() * sizeof ids[0]);
            // The child leaves without running the test program's exit handlers.
            ::_exit(::write(ends[1], ids.data(), static_cast<std::size_t>(bytes)) == bytes ? 0 : 1);
        }
        ::close(ends[1]);
        programs.emplace_back(pid, ends[0]);
    }
    std::vector<std::int32_t> all;
    for (auto [pid, from] : programs) {
        std::int32_t id = 0;
        while (::read(from, &id, sizeof id) == static_cast<ssize_t>(sizeof id)) all.push_back(id);
        ::close(from);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_EQ(all.size(), std::size_t{kPrograms} * kTakes * 2);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0), 0) << "refused takes";
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "an ID handed out twice";
    // Nothing was skipped either: the counters stand at the number of takes.
    EXPECT_EQ(all.front(), -kPrograms * kTakes);
    EXPECT_EQ(all.back(), kPrograms * kTakes);
}

TEST_F(PgStore, ProgramsOpeningANewDatabaseAtOnceMakeTheTablesOnceAndAllOpenIt) {
    store_.reset();
    ASSERT_EQ(Cluster().Superuser(Database(),
                                  "DROP TABLE OLE_TREE, OLE_RES, OLE_CLA, "
                                  "ORBEL_COUNTERS, ORBEL_STORE"),
              "");
    std::vector<pid_t> programs;
    for (int p = 0; p < 8; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        // The child leaves without running the test program's exit handlers.
        if (pid == 0) {
            // A program that cannot open the store says why before it leaves.
            const PgOpenResult opened = PgTableStore::Open(PgKind::ConnInfo());
            if (!opened) std::fprintf(stderr, "open failed: %s\n", opened.error.c_str());
            ::_exit(opened ? 0 : 1);
        }
        programs.push_back(pid);
    }
    for (pid_t pid : programs) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(Cluster().Superuser(Database(), "SELECT count(*) FROM ORBEL_STORE"), "1");
}

}  // namespace
}  // namespace orbel::host::test
