// The routing sheet's batch run (ProcessBatch) over N rows, each to be attached to another tree
// and mailed, against the reference host answering at once from a SQLite store, beside the
// host's floor: the same writes (the resource counter, the new resource and entry, the two
// processed markers) made straight through the store. Each run starts from a fresh copy of the
// seeded store with the routes already answered; opening the sheet is not counted.
//
// The stores live in $TMPDIR: on a tmpfs every read the control asks for weighs against the
// floor's writes; on a disk the syncs of the writes decide both.
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/AdaptedControl.h"
#include "bench/BenchSupport.h"
#include "platform/headless/HeadlessPlatform.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/store/ProcessedMarker.h"
#include "src/store/RecordFormats.h"

namespace orbel::bench {
namespace {

constexpr std::int32_t kSheetOleId = 7;
constexpr std::int32_t kTargetOleId = 9;
constexpr const char* kAttachReply = "hLEDG1ACC42  00000009";
constexpr const char* kEmailReply = "h12345boss@example.com 00000001";

std::string DocumentPath(std::int64_t n) {
    return "/srv/scans/Document " + std::to_string(n) + ".pdf";
}

// Tree 7, the routing sheet's, with `rows` items at its top, each linked to its own resource;
// the resource counter stands at the last of them.
std::string SeededSheet(std::int64_t rows) {
    return SeededStore("sheet-" + std::to_string(rows) + ".db", [&](host::SqliteTableStore& s) {
        for (std::int32_t n = 1; n <= rows; ++n) {
            const RowText resource = BuildResourceRecord(ResourceRecord{n, DocumentPath(n)});
            if (s.InsertRecord("OLE_RES", resource.data, resource.key1, resource.key2,
                               resource.key3) != host::kStoreOk ||
                !InsertTreeEntry(s, kSheetOleId, n, 0, 0, "Document " + std::to_string(n), true))
                return false;
        }
        // Class "5" names the tree a routing sheet lists.
        for (const ClassRecord& counter :
             {ClassRecord{"0", kTargetOleId}, ClassRecord{"1", static_cast<std::int32_t>(rows)},
              ClassRecord{"5", kSheetOleId}}) {
            const RowText row = BuildClassRecord(counter);
            if (s.InsertRecord("OLE_CLA", row.data, row.key1, row.key2, row.key3) != host::kStoreOk)
                return false;
        }
        return true;
    });
}

// A copy of the seeded sheet that a run may change.
std::string FreshSheet(std::int64_t rows) {
    const std::filesystem::path copy = RunFolder() / "sheet-run.db";
    std::filesystem::copy_file(SeededSheet(rows), copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy.string();
}

void ProcessBatch(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        {
            AdaptedControl sheet(FreshSheet(rows));
            COrbelCtrl& ctrl = sheet.Control();
            ctrl.ProcessTarnMessage("j");
            if (ctrl.Initiate(kSheetOleId, 0) != kSheetOleId) {
                state.SkipWithError("Initiate failed");
                break;
            }
            CViewList& list = *ctrl.ListView();
            if (list.GetItemCount() != rows) {
                state.SkipWithError("the sheet does not list every row");
                break;
            }
            // The host's answers to Attach To and Email To, row by row.
            for (int row = 0; row < rows; ++row) {
                ctrl.SetAttachOrEmail(row, "ATTACH");
                ctrl.ProcessTarnMessage(kAttachReply);
                ctrl.SetAttachOrEmail(row, "EMAIL");
                ctrl.ProcessTarnMessage(kEmailReply);
            }
            sheet.Platform().User().AnswerMessageBox(platform::MessageAnswer::No,
                                                     "Batch is completed");
            state.ResumeTiming();
            list.ProcessBatch();
            state.PauseTiming();
            if (list.GetProcessedAttachmentCount(true) != rows) {
                state.SkipWithError(
                    ("processed rows: " + std::to_string(list.GetProcessedAttachmentCount(true)))
                        .c_str());
                break;
            }
        }
        state.ResumeTiming();
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(rows);
}

// Each row's writes, one statement each as the host's adapter makes them.
void PlainWrites(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<host::SqliteTableStore> opened =
            OpenStoreOrSkip(state, FreshSheet(rows));
        if (!opened) break;
        host::SqliteTableStore& store = *opened;
        state.ResumeTiming();
        for (std::int32_t n = 1; n <= rows; ++n) {
            const std::int32_t resourceId = static_cast<std::int32_t>(rows) + n;
            const std::string path = DocumentPath(n);
            const RowText counter = BuildClassRecord(ClassRecord{"1", resourceId});
            store.UpdateRecord("OLE_CLA", counter.data, counter.key1, counter.key2, counter.key3);
            const RowText resource = BuildResourceRecord(ResourceRecord{resourceId, path});
            store.InsertRecord("OLE_RES", resource.data, resource.key1, resource.key2,
                               resource.key3);
            const RowText entry = BuildTreeEntry(TreeEntry{kTargetOleId, n, kTargetOleId, 0, 0,
                                                           "Document " + std::to_string(n),
                                                           resourceId, 1, 1, 3, "", "pdf"});
            store.InsertRecord("OLE_TREE", entry.data, entry.key1, entry.key2, entry.key3);
            const MarkedPath attached = WithProcessedFlag(path, kAttachFlag, true);
            const MarkedPath both = WithProcessedFlag(attached.file, kEmailFlag, true);
            for (const MarkedPath& marked : {attached, both}) {
                const RowText row = BuildResourceRecord(ResourceRecord{n, marked.file});
                store.UpdateRecord("OLE_RES", row.data, row.key1, row.key2, row.key3);
            }
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(rows);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
}
BENCHMARK(ProcessBatch)->Apply(Sizes);
BENCHMARK(PlainWrites)->Apply(Sizes);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainWrites", "a routing sheet's batch run");
}
