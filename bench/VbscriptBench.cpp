// The VBScript engine on its own: a loop of a million turns doing string and arithmetic work,
// with and without a time limit (the limit's clock is read once every 256 polls), and listing
// the procedures of a 5,000-line script (adding the text without running it, then the names).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/ScriptLoop.h"
#include "src/script/vbscript/Engine.h"

namespace orbel::bench {
namespace {

class QuietHost : public vbs::ScriptHost {
  public:
    int MsgBox(const std::string&, int, const std::string&) override { return 1; }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::string();
    }
};

void RunLoop(benchmark::State& state, std::chrono::milliseconds limit) {
    QuietHost host;
    vbs::Engine engine(host);
    engine.SetTimeLimit(limit);
    if (engine.AddCode(kVbScriptLoop)) state.SkipWithError("the loop did not parse");
    for (auto _ : state) {
        vbs::Value result;
        if (engine.Run("Work", {}, &result)) state.SkipWithError("the loop failed");
        benchmark::DoNotOptimize(result);
    }
    state.counters["turns/s"] =
        benchmark::Counter(1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_VbsLoopWithoutLimit(benchmark::State& state) {
    RunLoop(state, {});
}
void BM_VbsLoopWithLimit(benchmark::State& state) {
    RunLoop(state, std::chrono::seconds(30));
}

void BM_VbsListProcedures(benchmark::State& state) {
    const std::string text = VbScriptProcedures();
    QuietHost host;
    for (auto _ : state) {
        vbs::Engine engine(host);
        if (engine.AddCode(text, false)) state.SkipWithError("the script did not parse");
        auto names = engine.Procedures();
        if (names.size() != 500) state.SkipWithError("procedures missing");
        benchmark::DoNotOptimize(names);
    }
    state.counters["lines"] = 5000;
}

BENCHMARK(BM_VbsLoopWithoutLimit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VbsLoopWithLimit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VbsListProcedures)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbel::bench

BENCHMARK_MAIN();
