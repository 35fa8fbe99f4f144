#include "bench/BenchSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessUserDriver.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtUserDriver.h"
#include "src/control/OrbelCtrl.h"
#include "src/control/OrbelIds.h"
#include "src/control/OrbelStoreProbe.h"
#include "src/store/RecordFormats.h"

namespace orbel::bench {

namespace fs = std::filesystem;

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

// The host's half: answers SelectTable from the store's cursor, each row as its own
// RequestResult posted to the message loop and taken from the cursor only when its message is
// handled, then the end of the select. No more than one row is held at a time. The other
// events (Yield, FolderChange) need no answer.
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
    // The reply's own strings, the empty ones too, as the host adapter passes them.
    void Answer(const host::StoreReply& r) {
        const auto& k = r.keys;
        if (auto c = ctrl_.lock())
            c->RequestResult(r.result, r.data, k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8],
                             k[9]);
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

std::string SeededStore(const std::string& fileName,
                        const std::function<bool(host::SqliteTableStore&)>& seed) {
    const std::filesystem::path path = RunFolder() / fileName;
    if (std::filesystem::exists(path)) return path.string();
    host::SqliteOpenResult opened = host::SqliteTableStore::Open(path.string());
    if (!opened) throw std::runtime_error(opened.error);
    host::SqliteTableStore& store = *opened.store;
    if (!store.InTransaction([&] { return seed(store); }))
        throw std::runtime_error("cannot seed " + path.string() + ": " + store.LastError());
    return path.string();
}

bool InsertTreeEntry(host::TableStore& store, std::int32_t owner, std::int32_t entryNo,
                     std::int32_t parentOwner, std::int32_t parentEntry, const std::string& name,
                     bool item) {
    TreeEntry e{
        owner,        entryNo, owner, parentOwner, parentEntry,      name, item ? entryNo : 0,
        item ? 1 : 0, 1,       3,     "",          item ? "tif" : ""};
    const RowText row = BuildTreeEntry(e);
    return store.InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3) == host::kStoreOk;
}

namespace {
platform::Platform& InstallBackend(Backend backend) {
    if (backend == Backend::Headless) return platform::InstallHeadlessPlatform();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!platform::StartQtApplication())
        throw std::runtime_error("no desktop: " + platform::DesktopProblem().value_or("?"));
    return platform::InstallQtPlatform(platform::QtUserMode::Scripted);
}

std::unique_ptr<platform::UserDriver> DriverFor(platform::Platform& p, Backend backend) {
    if (backend == Backend::Headless)
        return std::make_unique<platform::HeadlessUserDriver>(
            static_cast<platform::HeadlessPlatform&>(p));
    return std::make_unique<platform::QtUserDriver>(static_cast<platform::QtPlatform&>(p));
}
}  // namespace

namespace {
std::unique_ptr<host::TableStore> OpenStoreFile(const std::string& storePath) {
    host::SqliteOpenResult opened = host::SqliteTableStore::Open(storePath);
    if (!opened) throw std::runtime_error(opened.error);
    return std::move(opened.store);
}
}  // namespace

ControlOnStore::ControlOnStore(const std::string& storePath, Backend backend)
    : ControlOnStore(OpenStoreFile(storePath), backend) {}

ControlOnStore::ControlOnStore(std::unique_ptr<host::TableStore> store, Backend backend)
    : platform_(InstallBackend(backend)),
      driver_(DriverFor(platform_, backend)),
      store_(std::move(store)) {
    app_.InitInstance();
    if (!hostWindow_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 640, 480}, kNoWindow, 0))
        throw std::runtime_error("cannot create the host window");
    ctrl_ = std::make_shared<COrbelCtrl>();
    host_ = std::make_shared<StoreHost>(*store_);
    host_->Connect(ctrl_);
    DWORD cookie = 0;
    if (ctrl_->FindConnectionPoint(IidDOrbelEvents())->Advise(host_, cookie) != S_OK ||
        ctrl_->InPlaceActivate(hostWindow_.GetSafeHwnd(), RECT{0, 0, 600, 400}, controlWindow_) !=
            S_OK)
        throw std::runtime_error("cannot place the control");
}

ControlOnStore::~ControlOnStore() {
    ctrl_.reset();
    hostWindow_.DestroyWindow();
    app_.ExitInstance();
    driver_.reset();
    platform::UninstallPlatform();
}

std::string ControlOnStore::SelectOwner(std::int32_t owner) {
    Variant result;
    if (RunStoreOperation(*ctrl_, "SelectTree", {Variant(owner)}, result) != S_OK)
        throw std::runtime_error("SelectTree was refused");
    return result.BStr();
}

std::int32_t ControlOnStore::Initiate(std::int32_t oleId, std::int32_t classOleId) {
    DISPID initiate = 0;
    if (ctrl_->GetIDsOfNames("Initiate", initiate) != S_OK)
        throw std::runtime_error("the control has no method Initiate");
    const Variant args[] = {Variant(oleId), Variant(classOleId)};
    Variant result;
    if (ctrl_->Invoke(initiate, InvokeKind::Method, args, &result) != S_OK)
        throw std::runtime_error("Initiate was refused");
    return result.I4();
}

platform::TreeControl& ControlOnStore::Tree() {
    HWND window = platform::FindDescendant(platform_.Windows(), controlWindow_, "CViewTree");
    platform::TreeControl* tree = driver_->Tree(window);
    if (!tree) throw std::runtime_error("the control shows no tree pane");
    return *tree;
}

platform::ListControl& ControlOnStore::List() {
    HWND window = platform::FindDescendant(platform_.Windows(), controlWindow_, "CViewList");
    platform::ListControl* list = driver_->List(window);
    if (!list) throw std::runtime_error("the control shows no list pane");
    return *list;
}

void ControlOnStore::Deliver() {
    if (auto* qt = dynamic_cast<platform::QtPlatform*>(&platform_)) {
        qt->DeliverPending();
        return;
    }
    static_cast<platform::HeadlessPlatform&>(platform_).RunFor(0);
}

int ControlOnStore::SelectFolder(const std::string& label) {
    platform::TreeControl& tree = Tree();
    const platform::TreeItem root = tree.GetRootItem();
    platform::TreeItem folder = platform::kTreeNone;
    for (platform::TreeItem item = tree.GetChildItem(root); item;
         item = tree.GetNextSiblingItem(item))
        if (tree.GetItemText(item) == label) folder = item;
    if (!folder) throw std::runtime_error("no folder " + label + " under All");
    HWND window = platform::FindDescendant(platform_.Windows(), controlWindow_, "CViewTree");
    driver_->TreeSelect(window, folder);
    Deliver();
    return List().GetItemCount();
}

std::size_t ControlOnStore::TreeItemCount() {
    return Tree().GetCount();
}

std::size_t ControlOnStore::RootChildCount() {
    platform::TreeControl& tree = Tree();
    std::size_t count = 0;
    for (platform::TreeItem item = tree.GetChildItem(tree.GetRootItem()); item;
         item = tree.GetNextSiblingItem(item))
        ++count;
    return count;
}

std::int64_t ResidentKilobytes() {
    // statm: program size, then resident pages.
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    long size = 0;
    long resident = 0;
    const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? static_cast<std::int64_t>(resident) * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

PlainTreeScan::PlainTreeScan(const std::string& storePath) {
    if (sqlite3_open_v2(storePath.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        error_ = sqlite3_errmsg(db_);
        return;
    }
    // The floor reads with the same connection settings as the store.
    sqlite3_exec(db_, host::SqliteTableStore::kConnectionPragmas, nullptr, nullptr, nullptr);
    if (sqlite3_prepare_v2(db_,
                           "SELECT Data, Key1, Key2, Key3 FROM OLE_TREE WHERE Key2 BETWEEN ?1 "
                           "AND ?2 ORDER BY Key2, Key1",
                           -1, &stmt_, nullptr) != SQLITE_OK)
        error_ = sqlite3_errmsg(db_);
}

PlainTreeScan::~PlainTreeScan() {
    sqlite3_finalize(stmt_);
    sqlite3_close(db_);
}

std::int64_t PlainTreeScan::ScanOwner(std::int32_t owner) {
    const std::string start = FormatTreeKey2({owner, 0, 0, ""});
    const std::string end = FormatTreeKey2(TreeKey2RangeEnd(owner));
    sqlite3_bind_text(stmt_, 1, start.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt_, 2, end.c_str(), -1, SQLITE_TRANSIENT);
    std::int64_t seen = 0, bytes = 0;
    while (sqlite3_step(stmt_) == SQLITE_ROW) {
        for (int c = 0; c < 4; ++c) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt_, c));
            bytes += sqlite3_column_bytes(stmt_, c);
        }
        ++seen;
    }
    sqlite3_reset(stmt_);
    benchmark::DoNotOptimize(bytes);
    return seen;
}

std::int64_t PlainTreeScan::ScanLoad(std::int32_t classOwner, std::int32_t owner) {
    std::int64_t seen = 0;
    for (int pass = 0; pass < 2; ++pass) seen += ScanOwner(classOwner);
    for (int pass = 0; pass < 2; ++pass) seen += ScanOwner(owner);
    return seen;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // Each repetition is a sample of its own; the aggregates are worked out here.
        if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
        auto it = run.counters.find(kRowsPerSecond);
        if (it == run.counters.end()) continue;
        samples_[run.run_name.args][run.run_name.function_name].rates.push_back(it->second.value);
    }
}

double RatioReporter::Samples::Median() const {
    std::vector<double> sorted = rates;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    if (n == 0) return 0;
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double RatioReporter::Samples::Spread() const {
    const auto [low, high] = std::minmax_element(rates.begin(), rates.end());
    const double median = Median();
    return low == rates.end() || median <= 0 ? 0 : (*high - *low) / median;
}

std::map<std::string, std::map<std::string, double>> RatioReporter::Medians() const {
    std::map<std::string, std::map<std::string, double>> medians;
    for (const auto& [args, byName] : samples_)
        for (const auto& [name, samples] : byName) medians[args][name] = samples.Median();
    return medians;
}

void RatioReporter::PrintRatios() const {
    std::printf("\n%-8s %-34s %16s %7s %16s %7s %8s\n", "rows", title_.c_str(), "control rows/s",
                "spread", "plain rows/s", "spread", "ratio");
    // Sizes in increasing order, not in the order of their texts.
    std::vector<const std::pair<const std::string, std::map<std::string, Samples>>*> sizes;
    for (const auto& size : samples_) sizes.push_back(&size);
    std::stable_sort(sizes.begin(), sizes.end(), [](const auto* a, const auto* b) {
        return std::strtod(a->first.c_str(), nullptr) < std::strtod(b->first.c_str(), nullptr);
    });
    for (const auto* size : sizes) {
        const auto& [args, byName] = *size;
        const auto plain = byName.find(floorName_);
        if (plain == byName.end()) continue;
        const double plainRate = plain->second.Median();
        for (const auto& [name, samples] : byName) {
            if (name == plain->first) continue;
            const double rate = samples.Median();
            std::printf("%-8s %-34s %16.0f %6.0f%% %16.0f %6.0f%% %7.2fx\n", args.c_str(),
                        name.c_str(), rate, 100 * samples.Spread(), plainRate,
                        100 * plain->second.Spread(), rate > 0 ? plainRate / rate : 0.0);
        }
    }
    std::printf(
        "ratio: median rows per second of %s (the floor) over the control's; spread: lowest to "
        "highest of the repetitions, over the median\n",
        floorName_.c_str());
    PrintGrowth();
}

void RatioReporter::PrintGrowth() const {
    const auto medians = Medians();
    // Sizes in increasing order, each with its measurements' rates.
    std::vector<std::pair<double, const std::map<std::string, double>*>> sizes;
    for (const auto& [args, byName] : medians) {
        char* end = nullptr;
        const double rows = std::strtod(args.c_str(), &end);
        if (end != args.c_str() && *end == '\0' && rows > 0) sizes.emplace_back(rows, &byName);
    }
    std::sort(sizes.begin(), sizes.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    if (sizes.size() < 2) return;
    std::printf("\n%-18s %-34s %10s %10s %8s\n", "rows", "growth of the time", "control", "plain",
                "ratio");
    for (std::size_t i = 1; i < sizes.size(); ++i) {
        const auto& [smallRows, small] = sizes[i - 1];
        const auto& [largeRows, large] = sizes[i];
        // The time per run grows with the rows and falls with the rate.
        auto growth = [&](const std::string& name) {
            const auto a = small->find(name);
            const auto b = large->find(name);
            if (a == small->end() || b == large->end() || b->second <= 0) return 0.0;
            return (largeRows / smallRows) * (a->second / b->second);
        };
        const double plain = growth(floorName_);
        if (plain <= 0) continue;
        const std::string span = std::to_string(static_cast<long long>(smallRows)) + " -> " +
                                 std::to_string(static_cast<long long>(largeRows));
        for (const auto& [name, rate] : *large) {
            const double control = growth(name);
            if (name == floorName_ || control <= 0) continue;
            std::printf("%-18s %-34s %9.2fx %9.2fx %7.2fx\n", span.c_str(), name.c_str(), control,
                        plain, control / plain);
        }
    }
    std::printf(
        "growth: how many times longer the larger size takes; ratio: the control's over "
        "the plain scan's\n");
}

int RunBenchmarks(int argc, char** argv, const std::string& floorName, const std::string& title) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(floorName, title);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(RunFolder(), ec);
    return 0;
}

std::unique_ptr<host::SqliteTableStore> OpenStoreOrSkip(benchmark::State& state,
                                                        const std::string& path) {
    host::SqliteOpenResult opened = host::SqliteTableStore::Open(path);
    if (!opened) state.SkipWithError(opened.error.c_str());
    return std::move(opened.store);
}

}  // namespace orbel::bench
