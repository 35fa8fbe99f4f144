// Selecting a folder of N items in the tree, as a person clicks it, until the list shows every
// item: on the headless backend and on the desktop's (Qt offscreen) in one run, beside the
// host's floor, a plain SQLite scan of the owner's entries. Opening the store itself is
// measured beforehand and not counted.
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"

namespace orbel::bench {
namespace {

constexpr std::int32_t kClassOleId = 100;
constexpr std::int32_t kOleId = 7;

// Folder "Big" (entry 1) with `items` items, folder "Small" (entry 2) with one; both at the
// top of the item's own tree. Made once per size.
std::string StoreWithFolder(std::int64_t items) {
    return SeededStore("folder-" + std::to_string(items) + ".db",
                       [&](host::SqliteTableStore& store) {
                           auto insert = [&](std::int32_t entryNo, std::int32_t parent,
                                             const std::string& name, bool item) {
                               return InsertTreeEntry(store, kOleId, entryNo, parent ? kOleId : 0,
                                                      parent, name, item);
                           };
                           if (!insert(1, 0, "Big", false) || !insert(2, 0, "Small", false))
                               return false;
                           char name[32];
                           for (std::int32_t n = 0; n < items; ++n) {
                               std::snprintf(name, sizeof name, "Item %07d", n);
                               if (!insert(3 + n, 1, name, true)) return false;
                           }
                           std::snprintf(name, sizeof name, "Item %07d", 0);
                           return insert(static_cast<std::int32_t>(3 + items), 2, name, true);
                       });
}

void SelectFolder(benchmark::State& state, Backend backend) {
    const std::int64_t items = state.range(0);
    ControlOnStore control(StoreWithFolder(items), backend);
    if (control.Initiate(kOleId, kClassOleId) != kOleId) {
        state.SkipWithError("Initiate failed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        control.SelectFolder("Small");
        state.ResumeTiming();
        const int rows = control.SelectFolder("Big");
        if (rows != items) {
            state.SkipWithError(("the list shows " + std::to_string(rows) + " rows").c_str());
            break;
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(items);
}

void SelectFolderHeadless(benchmark::State& state) {
    SelectFolder(state, Backend::Headless);
}

void SelectFolderDesktop(benchmark::State& state) {
    SelectFolder(state, Backend::Desktop);
}

void PlainSqliteScan(benchmark::State& state) {
    const std::int64_t items = state.range(0);
    PlainTreeScan scan(StoreWithFolder(items));
    if (!scan.Error().empty()) {
        state.SkipWithError(scan.Error().c_str());
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(scan.ScanOwner(kOleId));
    state.counters[kRowsPerSecond] = RowsPerSecond(items);
}

BENCHMARK(SelectFolderHeadless)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SelectFolderDesktop)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSqliteScan)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainSqliteScan",
                                       "a folder selected through the control");
}
