// Scanning with SANE's test scanner, from opening the scanner to the first line read: with the
// device used last remembered (opened at once) and without (every backend asked for its devices
// first), beside the floor of plain SANE calls opening the device by name and reading a line.
// SANE is started once for the run, as a program starts it once. With the machine's own
// configuration (SANE_CONFIG_DIR unset before the run) the search for devices is what a desktop
// scan program pays at start.
#include <benchmark/benchmark.h>
#include <sane/sane.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/imaging/SaneScanner.h"
#include "platform/profile/Profile.h"

namespace {

using orbel::imaging::SaneScanner;

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "orbel-bench-scan";
        std::filesystem::create_directories(dir / "sane");
        std::ofstream(dir / "sane" / "dll.conf") << "test\n";
        setenv("ORBEL_INI_DIR", (dir / "ini").c_str(), 1);
        // The run's own scanner list unless the machine's is asked for.
        if (!std::getenv("ORBEL_BENCH_SYSTEM_SANE"))
            setenv("SANE_CONFIG_DIR", ((dir / "sane").string() + ":").c_str(), 1);
        return dir;
    }();
    return folder;
}

void FirstLine(benchmark::State& state, bool remembered) {
    const std::string target = (Folder() / "scan.tif").string();
    std::string error;
    // Opening once remembers the device.
    if (!SaneScanner::Open({}, error)) {
        state.SkipWithError(("no scanner: " + error).c_str());
        return;
    }
    for (auto _ : state) {
        if (!remembered) {
            state.PauseTiming();
            orbel::platform::WritePrivateProfileString("Scanner", "Device", std::nullopt,
                                                       "orbel-imaging.ini");
            state.ResumeTiming();
        }
        auto scanner = SaneScanner::Open({}, error);
        if (!scanner) throw std::runtime_error(error);
        int lines = 0;
        scanner->Scan(
            {}, target, [&](int, int line) { return (lines = line) < 1; }, error);
        benchmark::DoNotOptimize(lines);
    }
}

void BM_ScanFirstLineRemembered(benchmark::State& state) {
    FirstLine(state, true);
}
void BM_ScanFirstLineSearched(benchmark::State& state) {
    FirstLine(state, false);
}

// The floor: the device opened by name and one buffer read, nothing written.
void BM_SaneFirstLineFloor(benchmark::State& state) {
    Folder();
    SANE_Int version = 0;
    sane_init(&version, nullptr);
    for (auto _ : state) {
        SANE_Handle h = nullptr;
        if (sane_open("test:0", &h) != SANE_STATUS_GOOD) {
            state.SkipWithError("test:0 does not open");
            return;
        }
        sane_start(h);
        std::array<SANE_Byte, 32768> buffer;
        SANE_Int got = 0;
        sane_read(h, buffer.data(), buffer.size(), &got);
        benchmark::DoNotOptimize(got);
        sane_cancel(h);
        sane_close(h);
    }
}

BENCHMARK(BM_SaneFirstLineFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanFirstLineRemembered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanFirstLineSearched)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
