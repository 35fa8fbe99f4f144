// A select of one owner's entries, N rows, two ways in one process against the same SQLite
// file: streamed through the control's table conversation (the event, one posted
// RequestResult per row read from the store's cursor as its message is handled, the control's
// wait parsing each row), and the host's floor, a plain SQLite scan of the same rows. Prints rows
// per second of each and their ratio.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/store/SqliteTableStore.h"
#include "platform/Platform.h"
#include "platform/framework/Wnd.h"
#include "platform/headless/HeadlessPlatform.h"
#include "src/control/OrbelCtrl.h"
#include "src/control/OrbelIds.h"
#include "src/module/OrbelApp.h"
#include "src/store/RecordFormats.h"

namespace orbel::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kOwner = 5;

// The folder everything of this run lives in: the stores, and the registry and settings the
// control reads, so a benchmark run leaves the user's own untouched.
const fs::path& RunFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "orbel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        const fs::path f = pattern;
        setenv("ORBEL_REGISTRY", (f / "registry.reg").c_str(), 1);
        setenv("ORBEL_INI_DIR", (f / "ini").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (f / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (f / "data").c_str(), 1);
        return f;
    }();
    return folder;
}

// A store file whose owner kOwner has `rows` entries in 100 folders, with a hundred entries of
// the owners on either side so the select has neighbours to leave out. Made once per size.
std::string StoreWithRows(std::int64_t rows) {
    const fs::path path = RunFolder() / ("select-" + std::to_string(rows) + ".db");
    if (fs::exists(path)) return path.string();
    host::SqliteOpenResult opened = host::SqliteTableStore::Open(path.string());
    if (!opened) throw std::runtime_error(opened.error);
    host::SqliteTableStore& store = *opened.store;
    auto insert = [&](std::int32_t owner, std::int32_t entryNo, std::int32_t parent) {
        char name[32];
        std::snprintf(name, sizeof name, "Entry %07d", entryNo);
        const bool item = entryNo > 100;
        TreeEntry e{owner,
                    entryNo,
                    owner,
                    parent ? owner : 0,
                    parent,
                    name,
                    item ? entryNo : 0,
                    item ? 1 : 0,
                    1,
                    3,
                    "",
                    item ? "tif" : ""};
        const RowText row = BuildTreeEntry(e);
        return store.InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3) ==
               host::kStoreOk;
    };
    const bool seeded = store.InTransaction([&] {
        for (std::int32_t n = 1; n <= rows; ++n)
            if (!insert(kOwner, n, n <= 100 ? 0 : 1 + n % 100)) return false;
        for (std::int32_t n = 1; n <= 100; ++n)
            if (!insert(kOwner - 1, n, 0) || !insert(kOwner + 1, n, 0)) return false;
        return true;
    });
    if (!seeded)
        throw std::runtime_error("cannot seed " + path.string() + ": " + store.LastError());
    return path.string();
}

// The host's half: answers SelectTable from the store's cursor, each row as its own
// RequestResult posted to the message loop and taken from the cursor only when its message is
// handled, then the end of the select. No more than one row is held at a time.
class StoreHost final : public IDispatch {
  public:
    explicit StoreHost(host::TableStore& store) : store_(store) {}
    void Connect(const std::shared_ptr<COrbelCtrl>& ctrl) { ctrl_ = ctrl; }

    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind, std::span<const Variant> args, Variant*) override {
        if (id != eventidSelectTable || args.size() != 4) return S_OK;
        cursor_ = store_.OpenSelect(args[0].BStr(), args[1].I4(), args[2].BStr(), args[3].BStr());
        PostStep();
        return S_OK;
    }

  private:
    void Answer(const host::StoreReply& r) {
        if (auto c = ctrl_.lock())
            c->RequestResult(r.result, r.data, r.keys[0], r.keys[1], r.keys[2], "", "", "", "", "",
                             "", "");
    }
    void PostStep() {
        platform::GetPlatform().Loop().PostTask([this] { Step(); });
    }
    void Step() {
        if (!cursor_) return;
        if (cursor_->Next(row_)) {
            PostStep();
            Answer(row_);
            return;
        }
        host::StoreReply last;
        last.result = cursor_->EndResult();
        cursor_.reset();
        Answer(last);
    }

    host::TableStore& store_;
    std::weak_ptr<COrbelCtrl> ctrl_;
    std::unique_ptr<host::SelectCursor> cursor_;
    host::StoreReply row_;  // reused, so its strings keep their capacity from row to row
};

// A control on the headless platform, in a host window, with the store's host advised.
class ControlOnStore {
  public:
    explicit ControlOnStore(const std::string& storePath)
        : platform_(platform::InstallHeadlessPlatform()) {
        host::SqliteOpenResult opened = host::SqliteTableStore::Open(storePath);
        if (!opened) throw std::runtime_error(opened.error);
        store_ = std::move(opened.store);
        app_.InitInstance();
        if (!hostWindow_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 640, 480}, kNoWindow, 0))
            throw std::runtime_error("cannot create the host window");
        ctrl_ = std::make_shared<COrbelCtrl>();
        host_ = std::make_shared<StoreHost>(*store_);
        host_->Connect(ctrl_);
        DWORD cookie = 0;
        HWND window{};
        if (ctrl_->FindConnectionPoint(IidDOrbelEvents())->Advise(host_, cookie) != S_OK ||
            ctrl_->InPlaceActivate(hostWindow_.GetSafeHwnd(), RECT{0, 0, 600, 400}, window) != S_OK)
            throw std::runtime_error("cannot place the control");
    }
    ~ControlOnStore() {
        ctrl_.reset();
        hostWindow_.DestroyWindow();
        app_.ExitInstance();
        platform::UninstallPlatform();
    }

    // "2: NAME, NAME, ..." as the control reports the select.
    std::string SelectOwner(std::int32_t owner) {
        Variant result;
        if (ctrl_->RunStoreOperation("SelectTree", {Variant(owner)}, result) != S_OK)
            throw std::runtime_error("SelectTree was refused");
        return result.BStr();
    }

  private:
    platform::HeadlessPlatform& platform_;
    std::unique_ptr<host::SqliteTableStore> store_;
    COrbelApp app_;
    CWnd hostWindow_;
    std::shared_ptr<COrbelCtrl> ctrl_;
    std::shared_ptr<StoreHost> host_;
};

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
    state.counters["rows_per_second"] = benchmark::Counter(
        static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

void PlainSqliteScan(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    const std::string path = StoreWithRows(rows);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    // The floor reads with the same connection settings as the store.
    sqlite3_exec(db, host::SqliteTableStore::kConnectionPragmas, nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Data, Key1, Key2, Key3 FROM OLE_TREE WHERE Key2 BETWEEN ?1 AND ?2 "
                       "ORDER BY Key2, Key1",
                       -1, &stmt, nullptr);
    const std::string start = FormatTreeKey2({kOwner, 0, 0, ""});
    const std::string end = FormatTreeKey2(TreeKey2RangeEnd(kOwner));
    for (auto _ : state) {
        sqlite3_bind_text(stmt, 1, start.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, end.c_str(), -1, SQLITE_STATIC);
        std::int64_t seen = 0, bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < 4; ++c) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
                bytes += sqlite3_column_bytes(stmt, c);
            }
            ++seen;
        }
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(bytes);
        if (seen != rows) {
            state.SkipWithError("the scan did not see every row");
            break;
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    state.counters["rows_per_second"] = benchmark::Counter(
        static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(SelectThroughControl)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSqliteScan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The console report, and the rows per second of each run kept for the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto it = run.counters.find("rows_per_second");
            if (it == run.counters.end()) continue;
            rates_[run.run_name.args][run.run_name.function_name] = it->second.value;
        }
    }

    void PrintRatios() const {
        std::printf("\n%-8s %-34s %16s %16s %8s\n", "rows", "streamed through the control",
                    "control rows/s", "plain rows/s", "ratio");
        for (const auto& [args, byName] : rates_) {
            const auto plain = byName.find("PlainSqliteScan");
            if (plain == byName.end()) continue;
            for (const auto& [name, rate] : byName) {
                if (name == plain->first) continue;
                std::printf("%-8s %-34s %16.0f %16.0f %7.1fx\n", args.c_str(), name.c_str(), rate,
                            plain->second, plain->second / rate);
            }
        }
        std::printf("ratio: rows per second of the plain SQLite scan over the control's\n");
    }

  private:
    std::map<std::string, std::map<std::string, double>> rates_;
};

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    orbel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(orbel::bench::RunFolder(), ec);
    return 0;
}
