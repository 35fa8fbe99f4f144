// JScript as the script control runs it: the engine of ours with its time-out check, called
// directly and through the component (off the user-interface thread, the loop waiting).
#include <benchmark/benchmark.h>

#include "bench/ScriptLoop.h"
#include "platform/headless/HeadlessPlatform.h"
#include "src/script/ScriptControlObject.h"
#include "src/script/ScriptEngine.h"

namespace {

using namespace orbel;

class NoSite final : public IScriptSite {
  public:
    bool CreateObject(const std::string&, std::shared_ptr<IDispatch>&, std::string&) override {
        return false;
    }
    bool Invoke(const std::shared_ptr<IDispatch>&, const std::string&, InvokeKind,
                const std::vector<Variant>&, Variant&, std::string&) override {
        return false;
    }
    int MessageBox(const std::string&, unsigned, const std::string&) override { return 1; }
};

void BM_JScriptLoopWithTimeoutCheck(benchmark::State& state) {
    NoSite site;
    ScriptLimit limit;
    auto engine = CreateScriptEngine("JScript", site, limit);
    ScriptError error;
    limit.Start(60000);
    engine->AddCode(bench::kScriptLoop, error);
    for (auto _ : state) {
        limit.Start(60000);
        Variant result;
        if (!engine->Run("Loop", {}, result, error)) state.SkipWithError(error.Text().c_str());
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_JScriptLoopWithTimeoutCheck)->Unit(benchmark::kMillisecond);

void BM_JScriptLoopThroughTheControl(benchmark::State& state) {
    platform::InstallHeadlessPlatform();
    CScriptControlObject control;
    control.PutLanguage("JScript", nullptr);
    control.AddCode(bench::kScriptLoop, nullptr);
    for (auto _ : state) {
        std::string error;
        if (control.Run("Loop", {}, nullptr, &error) != S_OK) state.SkipWithError(error.c_str());
    }
    platform::UninstallPlatform();
}
BENCHMARK(BM_JScriptLoopThroughTheControl)->Unit(benchmark::kMillisecond);

void BM_ListProceduresOf5000Lines(benchmark::State& state) {
    NoSite site;
    ScriptLimit limit;
    const std::string code = bench::ManyProcedures();
    auto engine = CreateScriptEngine("JScript", site, limit);
    for (auto _ : state) {
        limit.Start(60000);
        ScriptError error;
        engine->Reset();
        engine->AddCode(code, error);
        std::vector<std::string> names;
        engine->Procedures(names, error);
        if (names.size() != 1000) state.SkipWithError("not 1,000 procedures");
    }
}
BENCHMARK(BM_ListProceduresOf5000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
