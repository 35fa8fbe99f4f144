// Opening a store whose folders come children before parents: one chain of N folders, each
// numbered below its parent, so that in key order every folder is moved under its parent while
// all of the chain below it already hangs under it. Through the control on both backends, and
// the host's floor, a plain SQLite scan of the same key-2 range as often as the control selects
// it. Prints folders per second of each and their ratio.
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"

namespace orbel::bench {
namespace {

constexpr std::int32_t kClassOleId = 100;
constexpr std::int32_t kOleId = 7;

// Folder n hangs under folder n + 1; the last one under the top.
std::string ChainStore(std::int32_t depth) {
    return SeededStore("chain-" + std::to_string(depth) + ".db",
                       [&](host::SqliteTableStore& store) {
                           char name[32];
                           for (std::int32_t n = 1; n <= depth; ++n) {
                               std::snprintf(name, sizeof name, "Folder %06d", n);
                               const bool top = n == depth;
                               if (!InsertTreeEntry(store, kOleId, n, top ? 0 : kOleId,
                                                    top ? 0 : n + 1, name, false))
                                   return false;
                           }
                           return true;
                       });
}

void OpenChain(benchmark::State& state, Backend backend) {
    const auto depth = static_cast<std::int32_t>(state.range(0));
    ControlOnStore control(ChainStore(depth), backend);
    for (auto _ : state) {
        const std::int32_t opened = control.Initiate(kOleId, kClassOleId);
        state.PauseTiming();
        // The whole chain under "All", hanging from one folder.
        const std::size_t items = control.TreeItemCount();
        const std::size_t top = control.RootChildCount();
        if (opened != kOleId || items != static_cast<std::size_t>(depth) + 1 || top != 1) {
            state.SkipWithError(("Initiate gave " + std::to_string(opened) + ", the tree holds " +
                                 std::to_string(items) + " items, " + std::to_string(top) +
                                 " at the top")
                                    .c_str());
            state.ResumeTiming();
            break;
        }
        state.ResumeTiming();
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(depth);
}

void PlainSqliteScan(benchmark::State& state) {
    const auto depth = static_cast<std::int32_t>(state.range(0));
    PlainTreeScan scan(ChainStore(depth));
    if (!scan.Error().empty()) {
        state.SkipWithError(scan.Error().c_str());
        return;
    }
    for (auto _ : state) {
        if (scan.ScanLoad(kClassOleId, kOleId) != 2 * static_cast<std::int64_t>(depth)) {
            state.SkipWithError("the scan did not see every row");
            break;
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(depth);
}

BENCHMARK_CAPTURE(OpenChain, ThroughControl, Backend::Headless)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenChain, OnDesktop, Backend::Desktop)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSqliteScan)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainSqliteScan",
                                       "a chain opened through the control");
}
