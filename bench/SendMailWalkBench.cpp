// The walk of SendMailGetResources over the subscribers of a tree: 1,000 subscribers in 100
// groups under the tree's "EMAIL" class root, each reached breadth-first and told to the host
// (one SendEmail each), against the reference host answering from a SQLite store; beside the
// host's floor: the same rows read with plain SQLite (the tree's entries and each subscriber's
// resource row).
#include <sqlite3.h>

#include <string>

#include "bench/AdaptedControl.h"
#include "bench/BenchSupport.h"
#include "src/control/OrbelCtrl.h"
#include "src/store/RecordFormats.h"

namespace orbel::bench {
namespace {

constexpr std::int32_t kTreeId = 9;
constexpr std::int32_t kEmailClassId = 50;
constexpr std::int32_t kGroups = 100;
constexpr std::int32_t kPerGroup = 10;
constexpr std::int32_t kSubscribers = kGroups * kPerGroup;

// Group g is entry g; its subscribers are the entries after the groups, each linked to the
// resource of its own number that holds the address.
std::string SubscriberStore() {
    return SeededStore("subscribers.db", [](host::SqliteTableStore& s) {
        const RowText emailClass = BuildClassRecord(ClassRecord{"EMAIL", kEmailClassId});
        if (s.InsertRecord("OLE_CLA", emailClass.data, emailClass.key1, emailClass.key2,
                           emailClass.key3) != host::kStoreOk)
            return false;
        for (std::int32_t g = 1; g <= kGroups; ++g) {
            if (!InsertTreeEntry(s, kTreeId, g, kEmailClassId, 0, "Group " + std::to_string(g),
                                 false))
                return false;
            for (std::int32_t i = 0; i < kPerGroup; ++i) {
                const std::int32_t entry = kGroups + (g - 1) * kPerGroup + i + 1;
                const RowText address = BuildResourceRecord(
                    ResourceRecord{entry, "person" + std::to_string(entry) + "@example.com"});
                if (s.InsertRecord("OLE_RES", address.data, address.key1, address.key2,
                                   address.key3) != host::kStoreOk ||
                    !InsertTreeEntry(s, kTreeId, entry, kTreeId, g,
                                     "Person " + std::to_string(entry), true))
                    return false;
            }
        }
        return true;
    });
}

void SendMailWalk(benchmark::State& state) {
    AdaptedControl control(SubscriberStore());
    for (auto _ : state) {
        control.Host().ClearUserEvents();
        control.Control().SendMailGetResources("/srv/scans/report.pdf", kTreeId, "", "");
        state.PauseTiming();
        if (control.Host().UserEvents().size() != kSubscribers) {
            state.SkipWithError(
                ("host events: " + std::to_string(control.Host().UserEvents().size())).c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(kSubscribers);
}

// The tree's key-2 range, then each subscriber's resource row by its key.
void PlainReads(benchmark::State& state) {
    const std::string path = SubscriberStore();
    PlainTreeScan scan(path);
    sqlite3* db = nullptr;
    sqlite3_stmt* resource = nullptr;
    if (!scan.Error().empty() ||
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, "SELECT Data, Key1 FROM OLE_RES WHERE Key1 = ?1", -1, &resource,
                           nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot read the store");
        sqlite3_close(db);
        return;
    }
    sqlite3_exec(db, host::SqliteTableStore::kConnectionPragmas, nullptr, nullptr, nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(scan.ScanOwner(kTreeId));
        std::int64_t bytes = 0;
        for (std::int32_t entry = kGroups + 1; entry <= kGroups + kSubscribers; ++entry) {
            const std::string key = FormatResourceKey(entry);
            sqlite3_bind_text(resource, 1, key.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(resource) == SQLITE_ROW) bytes += sqlite3_column_bytes(resource, 0);
            sqlite3_reset(resource);
        }
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_finalize(resource);
    sqlite3_close(db);
    state.counters[kRowsPerSecond] = RowsPerSecond(kSubscribers);
}

BENCHMARK(SendMailWalk)->Arg(kSubscribers)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(PlainReads)->Arg(kSubscribers)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainReads", "SendMailGetResources' walk");
}
