// Adding a directory of N files as items (SelectDirectoryItems), each file a resource row and an
// entry row written through the host one request at a time, beside the host's floor: the
// same rows inserted into an empty store straight through the store. Each run starts from an
// empty store; making the control and the store is not counted.
//
// A third measurement, StoreRequests, asks the store straight for every request the control
// makes per file (the resource counter read and written back, the two inserts, the look-up of
// the last entry number and of the "EMAIL" class): what the store alone spends on the way the
// control adds an item. The control's own part is the difference to AddDirectory.
//
// The stores live in $TMPDIR: on a tmpfs the measurement is the processor's work; on a disk
// the disk's syncs decide it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/AdaptedControl.h"
#include "bench/BenchSupport.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/store/RecordFormats.h"

namespace orbel::bench {
namespace {

constexpr std::int32_t kOleId = 7;

std::string DocumentName(std::int64_t n) {
    char name[48];
    std::snprintf(name, sizeof name, "Document %07lld.pdf", static_cast<long long>(n));
    return name;
}

// A folder of `files` small files, made once per size.
std::string DirectoryOf(std::int64_t files) {
    const std::filesystem::path dir = RunFolder() / ("directory-" + std::to_string(files));
    if (!std::filesystem::exists(dir)) {
        std::filesystem::create_directories(dir);
        for (std::int64_t n = 0; n < files; ++n) std::ofstream(dir / DocumentName(n)) << "%PDF";
    }
    return dir.string();
}

std::string EmptyStore() {
    const std::filesystem::path path = RunFolder() / "added.db";
    std::filesystem::remove(path);
    return path.string();
}

void AddDirectory(benchmark::State& state) {
    const std::int64_t files = state.range(0);
    const std::string dir = DirectoryOf(files);
    for (auto _ : state) {
        state.PauseTiming();
        {
            AdaptedControl control(EmptyStore());
            if (control.Control().Initiate(kOleId, 0) != kOleId) {
                state.SkipWithError("Initiate failed");
                break;
            }
            CViewList& list = *control.Control().ListView();
            state.ResumeTiming();
            list.SelectDirectoryItems(dir);
            state.PauseTiming();
            if (list.GetItemCount() != files) {
                state.SkipWithError(
                    ("the list shows " + std::to_string(list.GetItemCount()) + " rows").c_str());
                break;
            }
        }
        state.ResumeTiming();
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(files);
}

// The same two rows per file the control writes, one statement each as the host's adapter
// writes them.
void PlainInsert(benchmark::State& state) {
    const std::int64_t files = state.range(0);
    const std::string dir = DirectoryOf(files);
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<host::SqliteTableStore> opened = OpenStoreOrSkip(state, EmptyStore());
        if (!opened) break;
        host::SqliteTableStore& store = *opened;
        state.ResumeTiming();
        for (std::int32_t n = 0; n < files; ++n) {
            const RowText resource =
                BuildResourceRecord(ResourceRecord{n + 1, dir + "/" + DocumentName(n)});
            store.InsertRecord("OLE_RES", resource.data, resource.key1, resource.key2,
                               resource.key3);
            const RowText entry = BuildTreeEntry(
                TreeEntry{kOleId, n + 1, kOleId, 0, 0, DocumentName(n), n + 1, 1, 0, 0, "", "pdf"});
            store.InsertRecord("OLE_TREE", entry.data, entry.key1, entry.key2, entry.key3);
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(files);
}

// Every request the control makes for one file, in its order, answered by the store alone.
void StoreRequests(benchmark::State& state) {
    const std::int64_t files = state.range(0);
    const std::string dir = DirectoryOf(files);
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<host::SqliteTableStore> opened = OpenStoreOrSkip(state, EmptyStore());
        if (!opened) break;
        host::SqliteTableStore& store = *opened;
        const RowText first = BuildClassRecord(ClassRecord{"1", 0});
        store.InsertRecord("OLE_CLA", first.data, first.key1, first.key2, first.key3);
        state.ResumeTiming();
        const std::string counterKey = FormatClassKey("1");
        const std::string emailKey = FormatClassKey("EMAIL");
        const std::string lastEntryKey = FormatTreeKey1({kOleId, kLargestNumber});
        for (std::int32_t n = 0; n < files; ++n) {
            store.SetTablePos("OLE_CLA", static_cast<std::int32_t>(Relationship::Equal), 1,
                              counterKey);
            const host::StoreReply counter = store.ReadNextRecord("OLE_CLA");
            ClassRecord next = ParseClassRecord(counter.data, counter.keys[0]);
            ++next.Value;
            const RowText counterRow = BuildClassRecord(next);
            store.UpdateRecord("OLE_CLA", counterRow.data, counterRow.key1, counterRow.key2,
                               counterRow.key3);
            const RowText resource =
                BuildResourceRecord(ResourceRecord{next.Value, dir + "/" + DocumentName(n)});
            store.InsertRecord("OLE_RES", resource.data, resource.key1, resource.key2,
                               resource.key3);
            store.SetTablePos("OLE_TREE", static_cast<std::int32_t>(Relationship::AtOrBefore), 1,
                              lastEntryKey);
            benchmark::DoNotOptimize(store.ReadNextRecord("OLE_TREE"));
            const RowText entry = BuildTreeEntry(TreeEntry{
                kOleId, n + 1, kOleId, 0, 0, DocumentName(n), next.Value, 1, 0, 0, "", "pdf"});
            store.InsertRecord("OLE_TREE", entry.data, entry.key1, entry.key2, entry.key3);
            store.SetTablePos("OLE_CLA", static_cast<std::int32_t>(Relationship::Equal), 1,
                              emailKey);
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(files);
}

// One run per repetition: a run of 10,000 files takes seconds, and the repetitions of the
// three measurements are interleaved (--benchmark_enable_random_interleaving) so that the
// machine's other work falls on all of them alike.
void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
}
BENCHMARK(AddDirectory)->Apply(Sizes);
BENCHMARK(StoreRequests)->Apply(Sizes);
BENCHMARK(PlainInsert)->Apply(Sizes);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainInsert",
                                       "a directory added through the control");
}
