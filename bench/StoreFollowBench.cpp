// Following a shared store, measured: how long a folder one program writes takes to reach
// another program's control (from the writer's commit to the control's AddTreeViewItem having
// returned; median and 99th percentile of 1,000), on a store file and on a PostgreSQL server;
// and the peak memory of a process that opens a store of N entries through the control, from
// a store file and from the server, each in a process of its own.
//
// usage: orbel_bench_store_follow latency
//        orbel_bench_store_follow memory N      (runs `open sqlite N` and `open postgres N`)
//        orbel_bench_store_follow open sqlite|postgres N
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/OpenStoreShape.h"
#include "host/adapter/ChangeFollower.h"
#include "host/store/PgTableStore.h"
#include "host/store/StoreByName.h"
#include "platform/framework/OleControl.h"
#include "src/control/OrbelCtrl.h"
#include "src/store/RecordFormats.h"
#include "tests/store/PgCluster.h"

namespace orbel::bench {
namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<host::TableStore> Open(const std::string& name) {
    host::OpenedTableStore opened = host::OpenStoreByName(name);
    if (!opened) throw std::runtime_error(opened.error);
    return std::move(opened.store);
}

// The store's name for a kind: a file in the working folder, or a new database of the run's
// own server.
std::string StoreName(const std::string& kind, const std::string& file) {
    if (kind == "sqlite") return "sqlite:" + file;
    host::test::PgCluster& cluster = host::test::PgCluster::Shared();
    if (!cluster.Unavailable().empty())
        throw std::runtime_error("no PostgreSQL server: " + cluster.Unavailable());
    return "postgres:" + cluster.NewDatabase();
}

void Latency(const std::string& kind) {
    const std::string file = "follow-latency.orbel";
    std::filesystem::remove(file);
    const std::string name = StoreName(kind, file);
    std::unique_ptr<host::TableStore> writer = Open(name);
    std::unique_ptr<host::TableStore> follows = Open(name);
    ControlOnStore control(Open(name));
    if (control.Initiate(kOleId, 0) != kOleId) throw std::runtime_error("Initiate failed");
    std::string error;
    std::unique_ptr<host::ChangeWatcher> watcher = follows->WatchChanges(error);
    if (!watcher) throw std::runtime_error(error);
    // A program's writes to a store file are logged once it follows the file itself.
    const std::unique_ptr<host::ChangeWatcher> writerWatches = writer->WatchChanges(error);
    if (!writerWatches) throw std::runtime_error(error);
    // The control's dispatch interface is the one it has as an ActiveX control.
    const std::shared_ptr<IDispatch> dispatch =
        std::static_pointer_cast<COleControl>(control.SharedControl());
    host::ChangeFollower follower(dispatch, *follows, std::move(watcher));
    follower.Opened(kOleId, 0);
    constexpr int kChanges = 1000;
    std::vector<double> micros;
    for (int n = 1; n <= kChanges; ++n) {
        TreeEntry e;
        e.OwnerId = e.OwnerId2 = kOleId;
        e.EntryNo = n;
        e.Name = "Folder " + std::to_string(n);
        const RowText row = BuildTreeEntry(e);
        if (writer->InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3) !=
            host::kStoreOk)
            throw std::runtime_error(writer->LastError());
        const auto committed = Clock::now();
        if (!follower.ApplyWithin(n, 5000))
            throw std::runtime_error("change " + std::to_string(n) + " not applied in 5 s");
        micros.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - committed).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("%-8s notify to applied, %d folders: median %.0f us, p99 %.0f us, tree %zu\n",
                kind.c_str(), kChanges, micros[micros.size() / 2], micros[micros.size() * 99 / 100],
                control.TreeItemCount());
    std::filesystem::remove(file);
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Seeds in a child, so that only the opening counts in this process's peak.
void OpenAndMeasure(const std::string& kind, std::int64_t entries) {
    const std::string file = "follow-memory-" + std::to_string(entries) + ".orbel";
    const std::string name = StoreName(kind, file);
    const pid_t child = fork();
    if (child == 0) {
        try {
            std::filesystem::remove(file);
            std::unique_ptr<host::TableStore> store = Open(name);
            if (!store->InTransaction([&] { return SeedOpenStore(*store, entries); }))
                throw std::runtime_error(store->LastError());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "seeding: %s\n", e.what());
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("seeding failed");
    const long before = PeakKilobytes();
    const auto start = Clock::now();
    ControlOnStore control(Open(name));
    const std::int32_t opened = control.Initiate(kOleId, kClassOleId);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf(
        "%-8s opening %lld entries: %s, %zu tree items, %.1f s, peak RSS %ld kB "
        "(%ld kB before)\n",
        kind.c_str(), static_cast<long long>(entries), opened == kOleId ? "opened" : "FAILED",
        control.TreeItemCount(), seconds, PeakKilobytes(), before);
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    using namespace orbel::bench;
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 1 && args[0] == "latency") {
            Latency("sqlite");
            Latency("postgres");
            return 0;
        }
        if (args.size() == 3 && args[0] == "open") {
            OpenAndMeasure(args[1], std::atoll(args[2].c_str()));
            return 0;
        }
        if (args.size() == 2 && args[0] == "memory") {
            int failed = 0;
            for (const char* kind : {"sqlite", "postgres"}) {
                const pid_t child = fork();
                if (child == 0) {
                    execl("/proc/self/exe", argv[0], "open", kind, args[1].c_str(), nullptr);
                    _exit(127);
                }
                int status = 0;
                waitpid(child, &status, 0);
                failed |= !WIFEXITED(status) || WEXITSTATUS(status) != 0;
            }
            return failed;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbel_bench_store_follow: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: %s latency | memory N | open sqlite|postgres N\n", argv[0]);
    return 2;
}
