// Adding a directory of N files as items (SelectDirectoryItems), each file a resource row and an
// entry row written through the host one request at a time, beside the host's floor: the
// same rows inserted into an empty store straight through the store. Each run starts from an
// empty store; making the control and the store is not counted.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/BenchSupport.h"
#include "host/adapter/HostAdapter.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "src/control/OrbelCtrl.h"
#include "src/control/OrbelIds.h"
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

// The control on the headless backend, in a host window, with the host's adapter answering
// every table event from the store as a host does.
class ControlWithHost {
  public:
    explicit ControlWithHost(const std::string& storePath)
        : platform_(platform::InstallHeadlessPlatform()) {
        host::SqliteOpenResult opened = host::SqliteTableStore::Open(storePath);
        if (!opened) throw std::runtime_error(opened.error);
        store_ = std::move(opened.store);
        app_.InitInstance();
        if (!hostWindow_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 640, 480}, kNoWindow, 0))
            throw std::runtime_error("cannot create the host window");
        ctrl_ = std::make_shared<COrbelCtrl>();
        std::shared_ptr<IDispatch> control = ctrl_;
        adapter_ = std::make_shared<host::HostAdapter>(control, *store_, platform_.Loop());
        DWORD cookie = 0;
        HWND window;
        if (ctrl_->FindConnectionPoint(IidDOrbelEvents())->Advise(adapter_, cookie) != S_OK ||
            ctrl_->InPlaceActivate(hostWindow_.GetSafeHwnd(), RECT{0, 0, 600, 400}, window) != S_OK)
            throw std::runtime_error("cannot place the control");
    }
    ~ControlWithHost() {
        ctrl_.reset();
        adapter_.reset();
        store_.reset();
        hostWindow_.DestroyWindow();
        app_.ExitInstance();
        platform::UninstallPlatform();
    }
    COrbelCtrl& Control() { return *ctrl_; }

  private:
    platform::Platform& platform_;
    std::unique_ptr<host::SqliteTableStore> store_;
    COrbelApp app_;
    CWnd hostWindow_;
    std::shared_ptr<COrbelCtrl> ctrl_;
    std::shared_ptr<host::HostAdapter> adapter_;
};

void AddDirectory(benchmark::State& state) {
    const std::int64_t files = state.range(0);
    const std::string dir = DirectoryOf(files);
    for (auto _ : state) {
        state.PauseTiming();
        {
            ControlWithHost control(EmptyStore());
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
        host::SqliteOpenResult opened = host::SqliteTableStore::Open(EmptyStore());
        if (!opened) {
            state.SkipWithError(opened.error.c_str());
            break;
        }
        host::SqliteTableStore& store = *opened.store;
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

BENCHMARK(AddDirectory)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PlainInsert)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    return orbel::bench::RunBenchmarks(argc, argv, "PlainInsert",
                                       "a directory added through the control");
}
