// The store on a PostgreSQL server, measured in one process: opening a store of 100,000
// entries through the control beside the host's floor, a plain libpq scan of the same key-2
// ranges as often as the control selects them (both repeated, their medians compared); and
// eight clients at once each taking new IDs and inserting a row with each, as new items are
// made on eight desktops (rows per second, and the 99th percentile of one request's answer).
//
// The server: $ORBEL_BENCH_POSTGRES (a libpq connection string of an empty database the run
// may fill), else a throwaway one started for the run in the build folder and stopped at its
// end.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/OpenStoreShape.h"
#include "host/store/PgTableStore.h"
#include "src/store/RecordFormats.h"
#include "tests/store/PgCluster.h"

namespace orbel::bench {
namespace {

using Clock = std::chrono::steady_clock;

const std::string& ServerConnInfo() {
    static const std::string conninfo = [] {
        if (const char* given = std::getenv("ORBEL_BENCH_POSTGRES"); given && *given)
            return std::string(given);
        host::test::PgCluster& cluster = host::test::PgCluster::Shared();
        if (!cluster.Unavailable().empty())
            throw std::runtime_error("no PostgreSQL server: " + cluster.Unavailable());
        return cluster.NewDatabase();
    }();
    return conninfo;
}

std::unique_ptr<host::PgTableStore> OpenServerStore() {
    host::PgOpenResult opened = host::PgTableStore::Open(ServerConnInfo());
    if (!opened) throw std::runtime_error(opened.error);
    return std::move(opened.store);
}

// The server's store holding the entries of a store of `entries`, seeded on first use.
std::unique_ptr<host::PgTableStore> StoreWithEntries(std::int64_t entries, StoreShape& shape) {
    shape = ShapeOfOpenStore(entries);
    std::unique_ptr<host::PgTableStore> store = OpenServerStore();
    std::int64_t rows = 0;
    store->ExecuteSql("SELECT count(*) FROM OLE_TREE WHERE OwnerId IN (7, 100)",
                      [&](std::span<const std::string> row) { rows = std::atoll(row[0].c_str()); });
    if (rows == shape.ClassRows() + shape.OwnRows()) return store;
    if (!store->ExecuteSql("DELETE FROM OLE_TREE", nullptr) ||
        !store->InTransaction([&] { return SeedOpenStore(*store, entries); }))
        throw std::runtime_error("cannot seed the server's store: " + store->LastError());
    return store;
}

void InitiateFromPostgres(benchmark::State& state) {
    const std::int64_t entries = state.range(0);
    StoreShape shape;
    ControlOnStore control(StoreWithEntries(entries, shape));
    const auto expectedItems = static_cast<std::size_t>(shape.Folders()) + 1;
    for (auto _ : state) {
        const std::int32_t opened = control.Initiate(kOleId, kClassOleId);
        state.PauseTiming();
        const std::size_t items = control.TreeItemCount();
        if (opened != kOleId || items != expectedItems) {
            state.SkipWithError(("Initiate gave " + std::to_string(opened) + " with " +
                                 std::to_string(items) + " tree items")
                                    .c_str());
            state.ResumeTiming();
            break;
        }
        state.ResumeTiming();
    }
    state.counters["kb_resident"] = static_cast<double>(ResidentKilobytes());
    state.counters[kRowsPerSecond] = RowsPerSecond(entries);
}

// The floor: the four key-2 ranges a load selects, each read whole with one plain query, every
// value the control receives touched.
void PlainLibpqScan(benchmark::State& state) {
    const std::int64_t entries = state.range(0);
    StoreShape shape;
    StoreWithEntries(entries, shape);
    PGconn* conn = PQconnectdb(ServerConnInfo().c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(conn));
        PQfinish(conn);
        return;
    }
    auto scan = [&](std::int32_t owner) {
        const std::string start = FormatTreeKey2({owner, 0, 0, ""});
        const std::string end = FormatTreeKey2(TreeKey2RangeEnd(owner));
        const char* values[] = {start.c_str(), end.c_str()};
        PGresult* r = PQexecParams(conn,
                                   "SELECT Data, Key1, Key2, Key3 FROM OLE_TREE WHERE Key2 "
                                   "BETWEEN $1 AND $2 ORDER BY Key2, Key1",
                                   2, nullptr, values, nullptr, nullptr, 0);
        const int rows = PQntuples(r);
        std::int64_t bytes = 0;
        for (int i = 0; i < rows; ++i)
            for (int c = 0; c < 4; ++c) {
                benchmark::DoNotOptimize(PQgetvalue(r, i, c));
                bytes += PQgetlength(r, i, c);
            }
        benchmark::DoNotOptimize(bytes);
        PQclear(r);
        return std::int64_t{rows};
    };
    for (auto _ : state) {
        std::int64_t seen = 0;
        for (int pass = 0; pass < 2; ++pass) seen += scan(kClassOleId) + scan(kOleId);
        if (seen != 2 * (shape.ClassRows() + shape.OwnRows())) {
            state.SkipWithError("the scan did not see every row");
            break;
        }
    }
    PQfinish(conn);
    state.counters[kRowsPerSecond] = RowsPerSecond(entries);
}

// Eight clients, each on its own connection, each making `rounds` new items: an ID, then the
// row with it. Every answer's time is kept; the run reports the rows all made per second and
// the 99th percentile of one answer.
void ClientsTakingIdsAndInserting(benchmark::State& state) {
    const auto clients = static_cast<int>(state.range(0));
    constexpr int kRounds = 500;
    for (auto _ : state) {
        OpenServerStore()->ExecuteSql("DELETE FROM OLE_TREE WHERE OwnerId = 9", nullptr);
        std::vector<std::vector<double>> waits(static_cast<std::size_t>(clients));
        std::vector<int> failures(static_cast<std::size_t>(clients), 0);
        const Clock::time_point begun = Clock::now();
        std::vector<std::thread> threads;
        for (int c = 0; c < clients; ++c) {
            threads.emplace_back([&, c] {
                std::unique_ptr<host::PgTableStore> store = OpenServerStore();
                std::vector<double>& mine = waits[static_cast<std::size_t>(c)];
                for (int i = 0; i < kRounds; ++i) {
                    Clock::time_point t = Clock::now();
                    const host::StoreReply id = store->NextOleId();
                    mine.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - t).count());
                    TreeEntry e{9, Atol(id.keys[0]), 9, 0, 0, "New item", 0, 1, 1, 1, "", "tif"};
                    const RowText row = BuildTreeEntry(e);
                    t = Clock::now();
                    if (id.result != host::kStoreOk ||
                        store->InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3) !=
                            host::kStoreOk)
                        ++failures[static_cast<std::size_t>(c)];
                    mine.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - t).count());
                }
            });
        }
        for (std::thread& t : threads) t.join();
        const double seconds = std::chrono::duration<double>(Clock::now() - begun).count();
        std::vector<double> all;
        for (const auto& w : waits) all.insert(all.end(), w.begin(), w.end());
        std::sort(all.begin(), all.end());
        int failed = 0;
        for (int f : failures) failed += f;
        if (failed) {
            state.SkipWithError((std::to_string(failed) + " requests failed").c_str());
            break;
        }
        state.counters["rows_made_per_s"] = clients * kRounds / seconds;
        state.counters["p99_answer_ms"] = all[all.size() * 99 / 100];
        state.counters["median_answer_ms"] = all[all.size() / 2];
    }
}

// Wall-clock rates: the server's work, in another process, is most of either time.
BENCHMARK(InitiateFromPostgres)
    ->Arg(100000)
    ->Repetitions(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLibpqScan)
    ->Arg(100000)
    ->Repetitions(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ClientsTakingIdsAndInserting)
    ->Arg(8)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainLibpqScan",
                                       "opened from PostgreSQL through the control");
}
