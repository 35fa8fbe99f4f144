// Showing a scanned page in the desktop's viewer: an A4 page at 300 dpi, bilevel and G4
// compressed (2480 x 3508), opened, decoded and fitted into a preview-sized viewer, beside the
// floor of a plain libtiff decode of the same page in the same run. Also: the page count of a
// 1,000-page file beside libtiff's own count of its directories, and paging through a 200-page
// file, whose resident memory must stay flat because only the page shown is decoded.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/imaging/BilevelTiff.h"
#include "platform/qt/QtPlatform.h"
#include "src/preview/ImgEdit.h"

namespace orbel::bench {
namespace {

constexpr int kWidth = 2480;
constexpr int kHeight = 3508;

// Pages that compress as a typed letter does: lines of words, blank margins and gaps.
bool WriteScan(const std::string& path, int pages, int width, int height) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> line(static_cast<std::size_t>((width + 7) / 8));
    return platform::WriteBilevelTiff(
        path, {pages, width, height, 300}, [&](int, int y, std::span<std::uint8_t> row) {
            const bool text = y > 300 && y < height - 300 && (y / 25) % 2 == 0;
            if (y % 50 == 0) {
                for (auto& b : line) b = static_cast<std::uint8_t>(random() & random());
                for (std::size_t i = 0; i < line.size() / 10; ++i) line[i] = 0;
            }
            for (std::size_t i = 0; i < row.size(); ++i) row[i] = text ? line[i] : 0;
        });
}

std::string ScanFile(int pages, int width = kWidth, int height = kHeight) {
    static std::map<int, std::string> made;
    auto it = made.find(pages);
    if (it != made.end()) return it->second;
    const std::string path = (RunFolder() / ("scan-" + std::to_string(pages) + ".tif")).string();
    if (!WriteScan(path, pages, width, height)) throw std::runtime_error("cannot write " + path);
    return made.emplace(pages, path).first->second;
}

// The desktop, a host window and a viewer of a preview pane's size in it.
class DesktopViewer {
  public:
    DesktopViewer() {
        RunFolder();
        if (!platform::StartQtApplication())
            throw std::runtime_error("no desktop: " + platform::DesktopProblem().value_or("?"));
        platform_ = &platform::InstallQtPlatform(platform::QtUserMode::Scripted);
        std::string error;
        if (RegisterModule(ORBEL_IMAGING_MODULE_PATH, &error) != S_OK)
            throw std::runtime_error("cannot register the imaging module: " + error);
        if (!form_.Create("BenchForm", "", WS_VISIBLE, RECT{0, 0, 700, 900}, kNoWindow, 0) ||
            !viewer_.Create("Image", WS_CHILD | WS_VISIBLE, RECT{0, 0, 600, 800},
                            form_.GetSafeHwnd(), 104))
            throw std::runtime_error("cannot make the viewer");
    }
    CImgEdit& Viewer() { return viewer_; }
    void Deliver() { platform_->DeliverPending(); }

  private:
    platform::QtPlatform* platform_ = nullptr;
    CWnd form_;
    CImgEdit viewer_;
};

DesktopViewer& Desktop() {
    static DesktopViewer desktop;
    return desktop;
}

void ShowPageDecodeAndFit(benchmark::State& state) {
    const std::string file = ScanFile(1);
    CImgEdit& viewer = Desktop().Viewer();
    for (auto _ : state) {
        viewer.SetImage(file);
        viewer.FitTo(0, true);
        viewer.Display();
        if (!viewer.GetImageDisplayed()) {
            state.SkipWithError(viewer.Dump().c_str());
            break;
        }
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(1);
}

// The same with grey scaling on, as the preview shows a bilevel page.
void ShowPageGreyScaled(benchmark::State& state) {
    const std::string file = ScanFile(1);
    CImgEdit& viewer = Desktop().Viewer();
    for (auto _ : state) {
        viewer.SetImage(file);
        viewer.SetDisplayScaleAlgorithm(2);
        viewer.FitTo(0, true);
        viewer.Display();
        if (!viewer.GetImageDisplayed()) {
            state.SkipWithError(viewer.Dump().c_str());
            break;
        }
    }
    viewer.SetDisplayScaleAlgorithm(0);
    state.counters[kRowsPerSecond] = RowsPerSecond(1);
}

// The page's rows in their own bits, without turning them into pixels.
void PlainLibtiffScanlines(benchmark::State& state) {
    const std::string file = ScanFile(1);
    for (auto _ : state) {
        TIFF* tif = TIFFOpen(file.c_str(), "r");
        if (!tif) {
            state.SkipWithError("libtiff cannot open the page");
            break;
        }
        std::vector<std::uint8_t> bits(static_cast<std::size_t>(TIFFScanlineSize(tif)) * kHeight);
        bool ok = true;
        for (int y = 0; y < kHeight && ok; ++y)
            ok = TIFFReadScanline(tif, bits.data() + bits.size() / kHeight * y,
                                  static_cast<uint32_t>(y), 0) >= 0;
        TIFFClose(tif);
        if (!ok) {
            state.SkipWithError("libtiff cannot read the page");
            break;
        }
        benchmark::DoNotOptimize(bits.data());
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(1);
}

void PlainLibtiffDecode(benchmark::State& state) {
    const std::string file = ScanFile(1);
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(kWidth) * kHeight);
    for (auto _ : state) {
        TIFF* tif = TIFFOpen(file.c_str(), "r");
        const int ok = tif ? TIFFReadRGBAImageOriented(tif, kWidth, kHeight, raster.data(),
                                                       ORIENTATION_TOPLEFT, 1)
                           : 0;
        if (tif) TIFFClose(tif);
        if (!ok) {
            state.SkipWithError("libtiff cannot read the page");
            break;
        }
        benchmark::DoNotOptimize(raster.data());
    }
    state.counters[kRowsPerSecond] = RowsPerSecond(1);
}

void PageCountOf1000Pages(benchmark::State& state) {
    const std::string file = ScanFile(1000, 256, 256);
    CImgEdit& viewer = Desktop().Viewer();
    for (auto _ : state) {
        viewer.SetImage(file);
        if (viewer.GetPageCount() != 1000) {
            state.SkipWithError("the viewer miscounted the pages");
            break;
        }
    }
}

void PlainLibtiffCountOf1000Pages(benchmark::State& state) {
    const std::string file = ScanFile(1000, 256, 256);
    for (auto _ : state) {
        TIFF* tif = TIFFOpen(file.c_str(), "r");
        const tdir_t pages = tif ? TIFFNumberOfDirectories(tif) : 0;
        if (tif) TIFFClose(tif);
        if (pages != 1000) {
            state.SkipWithError("libtiff miscounted the pages");
            break;
        }
    }
}

// Every page of a 200-page A4 file shown in turn; the resident memory it adds is reported.
void PagingThrough200Pages(benchmark::State& state) {
    const std::string file = ScanFile(200);
    CImgEdit& viewer = Desktop().Viewer();
    viewer.SetImage(file);
    viewer.FitTo(0, true);
    viewer.SetPage(1);
    viewer.Display();
    const std::int64_t before = ResidentKilobytes();
    std::int64_t peak = before;
    for (auto _ : state) {
        for (long page = 1; page <= 200; ++page) {
            viewer.SetPage(page);
            viewer.Display();
            Desktop().Deliver();
            peak = std::max(peak, ResidentKilobytes());
        }
    }
    state.counters["rss_growth_kb"] = static_cast<double>(peak - before);
}

// The console report, then each measurement beside its floor.
class FloorReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                ms_[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    void PrintRatios() const {
        std::printf("\n%-28s %10s %-30s %10s %8s\n", "measurement", "cpu ms", "floor", "cpu ms",
                    "ratio");
        for (const auto& [name, floor] :
             {std::pair{"ShowPageDecodeAndFit", "PlainLibtiffDecode"},
              std::pair{"PageCountOf1000Pages", "PlainLibtiffCountOf1000Pages"}}) {
            auto a = ms_.find(name), b = ms_.find(floor);
            if (a == ms_.end() || b == ms_.end()) continue;
            std::printf("%-28s %10.2f %-30s %10.2f %7.2fx\n", name, a->second, floor, b->second,
                        a->second / b->second);
        }
    }

  private:
    std::map<std::string, double> ms_;
};

BENCHMARK(ShowPageDecodeAndFit)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowPageGreyScaled)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLibtiffScanlines)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLibtiffDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(PageCountOf1000Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLibtiffCountOf1000Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(PagingThrough200Pages)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    orbel::bench::FloorReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(orbel::bench::RunFolder(), ec);
    return 0;
}
