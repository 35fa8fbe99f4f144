// A select of one owner's entries, N rows, two ways in one process against the same SQLite
// file: streamed through the control's table conversation (the event, one posted
// RequestResult per row read from the store's cursor as its message is handled, the control's
// wait parsing each row), and the host's floor, a plain SQLite scan of the same rows. Prints rows
// per second of each and their ratio.
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"

namespace orbel::bench {
namespace {

constexpr std::int32_t kOwner = 5;

// A store file whose owner kOwner has `rows` entries in 100 folders, with a hundred entries of
// the owners on either side so the select has neighbours to leave out. Made once per size.
std::string StoreWithRows(std::int64_t rows) {
    return SeededStore(
        "select-" + std::to_string(rows) + ".db", [&](host::SqliteTableStore& store) {
            auto insert = [&](std::int32_t owner, std::int32_t entryNo, std::int32_t parent) {
                char name[32];
                std::snprintf(name, sizeof name, "Entry %07d", entryNo);
                return InsertTreeEntry(store, owner, entryNo, parent ? owner : 0, parent, name,
                                       entryNo > 100);
            };
            for (std::int32_t n = 1; n <= rows; ++n)
                if (!insert(kOwner, n, n <= 100 ? 0 : 1 + n % 100)) return false;
            for (std::int32_t n = 1; n <= 100; ++n)
                if (!insert(kOwner - 1, n, 0) || !insert(kOwner + 1, n, 0)) return false;
            return true;
        });
}

std::size_t CountNames(const std::string& reply) {
    if (reply.rfind("2: ", 0) != 0) return 0;
    std::size_t names = reply.size() > 3 ? 1 : 0;
    for (std::size_t at = reply.find(", "); at != std::string::npos; at = reply.find(", ", at + 2))
        ++names;
    return names;
}

void SelectThroughControl(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    ControlOnStore control(StoreWithRows(rows));
    for (auto _ : state) {
        const std::string reply = control.SelectOwner(kOwner);
        if (CountNames(reply) != static_cast<std::size_t>(rows)) {
            state.SkipWithError(("the select answered " + reply.substr(0, 60)).c_str());
            break;
        }
        benchmark::DoNotOptimize(reply.data());
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(rows);
}

void PlainSqliteScan(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    PlainTreeScan scan(StoreWithRows(rows));
    if (!scan.Error().empty()) {
        state.SkipWithError(scan.Error().c_str());
        return;
    }
    for (auto _ : state) {
        if (scan.ScanOwner(kOwner) != rows) {
            state.SkipWithError("the scan did not see every row");
            break;
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(rows);
}

BENCHMARK(SelectThroughControl)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSqliteScan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainSqliteScan",
                                       "streamed through the control");
}
