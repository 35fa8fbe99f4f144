// What the benchmarks share: a run folder that keeps the user's registry and settings out of
// the way, a control hosted by a SQLite store as a host hosts it (the table events answered
// from the store's cursor, one posted RequestResult per row), the host's floor (a plain scan
// of a key-2 range of OLE_TREE), and the console report with the ratio of each measurement to
// the floor measured in the same run.
//
// Not a test fixture: nothing here checks the control's answers; each benchmark checks its own.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/store/SqliteTableStore.h"
#include "platform/framework/Wnd.h"
#include "src/module/OrbelApp.h"

namespace orbel {
class COrbelCtrl;
namespace platform {
class Platform;
class TreeControl;
class ListControl;
class UserDriver;
}  // namespace platform
}  // namespace orbel

namespace orbel::bench {

// The folder everything of this run lives in: the stores, and the registry and settings the
// control reads. Made on first use; RunBenchmarks removes it at the end.
const std::filesystem::path& RunFolder();

class StoreHost;

// The store file `fileName` in the run's folder, made and seeded by `seed` in one transaction on
// first use; later calls of the run find it made. Throws when it cannot be opened or seeded.
std::string SeededStore(const std::string& fileName,
                        const std::function<bool(host::SqliteTableStore&)>& seed);

// Writes one OLE_TREE entry as the control writes it: a folder, or an item of page 1 to 3
// linked to resource `entryNo` ("tif"). The parent is (parentOwner, parentEntry), 0/0 for the
// top. False when the store refused it.
bool InsertTreeEntry(host::TableStore& store, std::int32_t owner, std::int32_t entryNo,
                     std::int32_t parentOwner, std::int32_t parentEntry, const std::string& name,
                     bool item);

// Where the control is shown: the headless backend, or the desktop's (Qt, offscreen unless a
// display is asked for with QT_QPA_PLATFORM).
enum class Backend { Headless, Desktop };

// A control on a platform, in a host window, with a host on the store advised.
class ControlOnStore {
  public:
    explicit ControlOnStore(const std::string& storePath, Backend backend = Backend::Headless);
    // The same on a store already open (a server's).
    explicit ControlOnStore(std::unique_ptr<host::TableStore> store,
                            Backend backend = Backend::Headless);
    ~ControlOnStore();
    ControlOnStore(const ControlOnStore&) = delete;
    ControlOnStore& operator=(const ControlOnStore&) = delete;

    COrbelCtrl& Control() { return *ctrl_; }
    std::shared_ptr<COrbelCtrl> SharedControl() const { return ctrl_; }
    // "2: NAME, NAME, ..." as the control reports a select of the owner's entries.
    std::string SelectOwner(std::int32_t owner);
    // The host's Initiate, through the dispatch interface: the current OLE ID, or -1.
    std::int32_t Initiate(std::int32_t oleId, std::int32_t classOleId);
    // Items of the folder tree pane, its root "All" included.
    std::size_t TreeItemCount();
    // Folders directly under the root "All".
    std::size_t RootChildCount();
    // Selects the tree folder of this label under "All" as a person clicks it, and delivers
    // what the selection set off; returns the rows the list then shows.
    int SelectFolder(const std::string& label);

  private:
    platform::TreeControl& Tree();
    platform::ListControl& List();
    // Delivers everything queued, without waiting.
    void Deliver();

    platform::Platform& platform_;
    std::unique_ptr<platform::UserDriver> driver_;
    std::unique_ptr<host::TableStore> store_;
    COrbelApp app_;
    CWnd hostWindow_;
    HWND controlWindow_{};
    std::shared_ptr<COrbelCtrl> ctrl_;
    std::shared_ptr<StoreHost> host_;
};

// The host's floor: the rows of key-2 ranges of OLE_TREE read with plain SQLite, each column
// the control receives touched, with the store's own connection settings.
class PlainTreeScan {
  public:
    explicit PlainTreeScan(const std::string& storePath);
    ~PlainTreeScan();
    PlainTreeScan(const PlainTreeScan&) = delete;
    PlainTreeScan& operator=(const PlainTreeScan&) = delete;

    // Empty when the store opened; else what SQLite said.
    const std::string& Error() const { return error_; }
    // Rows of the owner's whole key-2 range, the range a tree load selects.
    std::int64_t ScanOwner(std::int32_t owner);
    // Rows of both trees' ranges, each read twice as a load of the control selects them.
    std::int64_t ScanLoad(std::int32_t classOwner, std::int32_t owner);

  private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::string error_;
};

// The memory the process holds in RAM now (resident set), in kilobytes; 0 when unknown.
std::int64_t ResidentKilobytes();

// Opens the store file at `path` for one run of a benchmark; when it cannot be opened the run
// is skipped with the reason and null comes back.
std::unique_ptr<host::SqliteTableStore> OpenStoreOrSkip(benchmark::State& state,
                                                        const std::string& path);

// The counter every measurement reports, and on which the ratio is taken.
inline constexpr const char* kRowsPerSecond = "rows_per_second";
inline benchmark::Counter RowsPerSecond(std::int64_t rows) {
    return benchmark::Counter(static_cast<double>(rows),
                              benchmark::Counter::kIsIterationInvariantRate);
}

// The console report, and at the end a table of each measurement beside the floor of the same
// size: the median rows per second of both with their spread over the repetitions, and how
// many times faster the floor is; then how each grows from one size to the next beside the
// floor's own growth.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter(std::string floorName, std::string title)
        : floorName_(std::move(floorName)), title_(std::move(title)) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    void PrintRatios() const;

  private:
    // The rates of one measurement at one size: one per repetition.
    struct Samples {
        std::vector<double> rates;
        double Median() const;
        // The distance from the lowest rate to the highest, as a share of the median.
        double Spread() const;
    };
    // Median rates by size and measurement.
    std::map<std::string, std::map<std::string, double>> Medians() const;
    // Between each size and the next: how many times longer each measurement and the floor
    // take, and the one over the other (above 1, the control falls behind as the rows grow).
    void PrintGrowth() const;

    std::string floorName_;
    std::string title_;
    std::map<std::string, std::map<std::string, Samples>> samples_;
};

// main() of a benchmark program: runs the registered benchmarks with the ratio report against
// the floor benchmark named floorName, then removes the run folder.
int RunBenchmarks(int argc, char** argv, const std::string& floorName, const std::string& title);

}  // namespace orbel::bench
