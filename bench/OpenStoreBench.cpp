// Opening a store of N entries, two ways in one process against the same SQLite file: the
// host's Initiate on a control hosted by the store (both trees selected twice, each row a
// posted RequestResult from the store's cursor, the folders put at the top of the tree and
// then moved under their parents), and the host's floor, a plain SQLite scan of the same two
// key-2 ranges as often as the control selects them. Prints entries per second of each and
// their ratio.
// The store's shape is in OpenStoreShape.h.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/OpenStoreShape.h"

namespace orbel::bench {
namespace {

// The store file of `entries` entries, made once per size; fills in what opening must show.
std::string StoreWithEntries(std::int64_t entries, StoreShape& shape) {
    shape = ShapeOfOpenStore(entries);
    return SeededStore(
        "open-" + std::to_string(entries) + ".db",
        [&](host::SqliteTableStore& store) { return SeedOpenStore(store, entries); });
}

void Initiate(benchmark::State& state, Backend backend) {
    const std::int64_t entries = state.range(0);
    StoreShape shape;
    ControlOnStore control(StoreWithEntries(entries, shape), backend);
    const auto expectedItems = static_cast<std::size_t>(shape.Folders()) + 1;
    for (auto _ : state) {
        const std::int32_t opened = control.Initiate(kOleId, kClassOleId);
        state.PauseTiming();
        // Every folder in the tree, and no more than the chains' tops left under "All": a load
        // that lost folders or skipped the second pass does not count.
        const std::size_t items = control.TreeItemCount();
        const std::size_t top = control.RootChildCount();
        if (opened != kOleId || items != expectedItems ||
            top != static_cast<std::size_t>(shape.topFolders)) {
            state.SkipWithError(("Initiate gave " + std::to_string(opened) + ", the tree holds " +
                                 std::to_string(items) + " items (" +
                                 std::to_string(expectedItems) + " expected), " +
                                 std::to_string(top) + " at the top (" +
                                 std::to_string(shape.topFolders) + " expected)")
                                    .c_str());
            state.ResumeTiming();
            break;
        }
        state.ResumeTiming();
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(entries);
}

// Opening the same store again, twelve times in a row: each load empties the tree of the one
// before, which must give back what it held. Reports how much the resident memory grew per
// open after the first (a flat line is 0).
void Reopen(benchmark::State& state, Backend backend) {
    const std::int64_t entries = state.range(0);
    StoreShape shape;
    ControlOnStore control(StoreWithEntries(entries, shape), backend);
    const auto expectedItems = static_cast<std::size_t>(shape.Folders()) + 1;
    control.Initiate(kOleId, kClassOleId);
    const std::int64_t first = ResidentKilobytes();
    for (auto _ : state) {
        const std::int32_t opened = control.Initiate(kOleId, kClassOleId);
        if (opened != kOleId || control.TreeItemCount() != expectedItems) {
            state.SkipWithError("an open lost folders");
            break;
        }
    }
    const double opens = static_cast<double>(state.iterations());
    state.counters["kb_growth_per_open"] =
        opens > 0 ? static_cast<double>(ResidentKilobytes() - first) / opens : 0.0;
    state.counters["kb_resident"] = static_cast<double>(ResidentKilobytes());
    state.counters[kRowsPerSecond] = RowsPerSecond(entries);
}

// On the headless backend, and on the desktop's (Qt offscreen) with real tree and list views.
void InitiateThroughControl(benchmark::State& state) {
    Initiate(state, Backend::Headless);
}

void InitiateOnDesktop(benchmark::State& state) {
    Initiate(state, Backend::Desktop);
}

void PlainSqliteScan(benchmark::State& state) {
    const std::int64_t entries = state.range(0);
    StoreShape shape;
    PlainTreeScan scan(StoreWithEntries(entries, shape));
    if (!scan.Error().empty()) {
        state.SkipWithError(scan.Error().c_str());
        return;
    }
    for (auto _ : state) {
        if (scan.ScanLoad(kClassOleId, kOleId) != 2 * (shape.ClassRows() + shape.OwnRows())) {
            state.SkipWithError("the scan did not see every row");
            break;
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(entries);
}

BENCHMARK(InitiateThroughControl)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(InitiateOnDesktop)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSqliteScan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Reopen, ThroughControl, Backend::Headless)
    ->Arg(100000)
    ->Iterations(12)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Reopen, OnDesktop, Backend::Desktop)
    ->Arg(100000)
    ->Iterations(12)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainSqliteScan", "opened through the control");
}
