// The cell link's spreadsheet program on LibreOffice Calc, through the application's dispatch
// IDs as the dialog drives it. Choose Cell: from making the application to the workbook open in
// a visible Calc window with the sink advised; cold (no office running, the kept profile made
// before the run) and with a profile made for the run (the first start on a machine). A
// selection: from asking the office to select a cell to the sink holding the cell. With
// $DISPLAY unset the office runs headless.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/automation/Guid.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

namespace {

namespace ids = orbel::spreadsheet;
namespace fs = std::filesystem;
using namespace orbel;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path dir = fs::temp_directory_path() / ("orbel-bench-calc-" + std::to_string(getpid()));
        fs::create_directories(dir);
        setenv("ORBEL_REGISTRY", (dir / "registry.reg").c_str(), 1);
        platform::InstallHeadlessPlatform();
        std::string error;
        if (RegisterModule(ORBEL_BENCH_CALC_MODULE, &error) != S_OK)
            throw std::runtime_error(error);
        return dir;
    }();
    return folder;
}

class Sink final : public IDispatch {
  public:
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, InvokeKind, std::span<const Variant>, Variant*) override {
        if (id == ids::events::kSheetSelectionChange) ++events;
        return S_OK;
    }
    int events = 0;
};

struct Chosen {
    std::shared_ptr<IDispatch> app;
    std::shared_ptr<Sink> sink = std::make_shared<Sink>();
};

// What Choose Cell does: start, show, open, advise.
Chosen ChooseCell(const std::string& book) {
    Chosen c;
    std::shared_ptr<IUnknown> object;
    if (CreateObject(ids::kProgId, object) != S_OK) throw std::runtime_error("no office");
    c.app = std::dynamic_pointer_cast<IDispatch>(object);
    const Variant shown[] = {Variant(true)};
    c.app->Invoke(ids::app::kVisible, InvokeKind::PropertyPut, shown, nullptr);
    Variant books, opened;
    c.app->Invoke(ids::app::kWorkbooks, InvokeKind::PropertyGet, {}, &books);
    std::vector<Variant> args{Variant(book)};
    args.resize(ids::workbooks::kOpenArgCount, Variant::Missing());
    if (books.Dispatch()->Invoke(ids::workbooks::kOpen, InvokeKind::Method, args, &opened) != S_OK)
        throw std::runtime_error("cannot open " + book);
    DWORD cookie = 0;
    std::dynamic_pointer_cast<IConnectionPointContainer>(c.app)
        ->FindConnectionPoint(*Guid::Parse(ids::kAppEventsIidText))
        ->Advise(c.sink, cookie);
    return c;
}

void Quit(Chosen& c) {
    c.app->Invoke(ids::app::kQuit, InvokeKind::Method, {}, nullptr);
    c.app.reset();
}

void ChooseCellToWorkbook(benchmark::State& state, bool freshProfile) {
    const std::string book = ORBEL_BENCH_WORKBOOK;
    const fs::path kept = Folder() / "profile";
    setenv("ORBEL_CALC_PROFILE", kept.c_str(), 1);
    {
        Chosen warm = ChooseCell(book);  // makes the kept profile
        Quit(warm);
    }
    int run = 0;
    for (auto _ : state) {
        if (freshProfile) {
            state.PauseTiming();
            const fs::path own = Folder() / ("fresh-" + std::to_string(++run));
            setenv("ORBEL_CALC_PROFILE", own.c_str(), 1);
            state.ResumeTiming();
        }
        Chosen c = ChooseCell(book);
        state.PauseTiming();
        Quit(c);
        state.ResumeTiming();
    }
}

void SelectionToSink(benchmark::State& state) {
    setenv("ORBEL_CALC_PROFILE", (Folder() / "profile").c_str(), 1);
    Chosen c = ChooseCell(ORBEL_BENCH_WORKBOOK);
    std::int32_t row = 1;
    for (auto _ : state) {
        const Variant args[] = {Variant("Summary"), Variant(2), Variant(++row % 1000 + 2)};
        if (c.app->Invoke(ids::app::kUserSelect, InvokeKind::Method, args, nullptr) != S_OK)
            throw std::runtime_error("the selection was refused");
    }
    if (c.sink->events != static_cast<int>(state.iterations()))
        state.SkipWithError("a selection did not reach the sink");
    Quit(c);
}

BENCHMARK_CAPTURE(ChooseCellToWorkbook, cold, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->UseRealTime();
BENCHMARK_CAPTURE(ChooseCellToWorkbook, first_profile, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime();
BENCHMARK(SelectionToSink)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
