// JScript and VBScript as the script control runs them: each engine with the control's time-out
// check, called directly and through the component (off the user-interface thread, the loop
// waiting), and the procedures of a 5,000-line script listed through the component.
#include <benchmark/benchmark.h>

#include "bench/ScriptLoop.h"
#include "platform/headless/HeadlessPlatform.h"
#include "src/script/ScriptControlIface.h"
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

// The loop on the language's engine with the control's limit, outside the control.
void LoopOnTheEngine(benchmark::State& state, const char* language, const char* code,
                     const char* procedure) {
    NoSite site;
    ScriptLimit limit;
    auto engine = CreateScriptEngine(language, site, limit);
    ScriptError error;
    limit.Start(60000);
    engine->AddCode(code, error);
    for (auto _ : state) {
        limit.Start(60000);
        Variant result;
        if (!engine->Run(procedure, {}, result, error)) state.SkipWithError(error.Text().c_str());
        benchmark::DoNotOptimize(result);
    }
}

void BM_JScriptLoopWithTimeoutCheck(benchmark::State& state) {
    LoopOnTheEngine(state, "JScript", bench::kScriptLoop, "Loop");
}
BENCHMARK(BM_JScriptLoopWithTimeoutCheck)->Unit(benchmark::kMillisecond);

void LoopThroughTheControl(benchmark::State& state, const char* language, const char* code,
                           const char* procedure) {
    platform::InstallHeadlessPlatform();
    {
        CScriptControlObject control;
        control.PutLanguage(language, nullptr);
        control.AddCode(code, nullptr);
        for (auto _ : state) {
            std::string error;
            if (control.Run(procedure, {}, nullptr, &error) != S_OK)
                state.SkipWithError(error.c_str());
        }
    }
    platform::UninstallPlatform();
}

void BM_JScriptLoopThroughTheControl(benchmark::State& state) {
    LoopThroughTheControl(state, "JScript", bench::kScriptLoop, "Loop");
}
BENCHMARK(BM_JScriptLoopThroughTheControl)->Unit(benchmark::kMillisecond);

void BM_VBScriptLoopWithTimeoutCheck(benchmark::State& state) {
    LoopOnTheEngine(state, "VBScript", bench::kVbScriptLoop, "Work");
}
BENCHMARK(BM_VBScriptLoopWithTimeoutCheck)->Unit(benchmark::kMillisecond);

void BM_VBScriptLoopThroughTheControl(benchmark::State& state) {
    LoopThroughTheControl(state, "VBScript", bench::kVbScriptLoop, "Work");
}
BENCHMARK(BM_VBScriptLoopThroughTheControl)->Unit(benchmark::kMillisecond);

// The listing the script view does: language, reset, the code, the collection, by dispatch ID.
void ListThroughTheControl(benchmark::State& state, const char* language, const std::string& code,
                           std::int32_t expected) {
    platform::InstallHeadlessPlatform();
    {
        CScriptControlObject control;
        const Variant languageArg[] = {Variant(language)};
        const Variant codeArg[] = {Variant(code)};
        for (auto _ : state) {
            control.Invoke(kDispidLanguage, InvokeKind::PropertyPut, languageArg, nullptr);
            control.Invoke(kDispidReset, InvokeKind::Method, {}, nullptr);
            control.Invoke(kDispidAddCode, InvokeKind::Method, codeArg, nullptr);
            Variant procedures, count;
            control.Invoke(kDispidProcedures, InvokeKind::PropertyGet, {}, &procedures);
            if (procedures.Type() != VarType::Dispatch ||
                FAILED(procedures.Dispatch()->Invoke(kDispidCount, InvokeKind::PropertyGet, {},
                                                     &count)) ||
                count != Variant(expected))
                state.SkipWithError("procedures missing");
        }
    }
    platform::UninstallPlatform();
}

void BM_JScriptListProceduresThroughTheControl(benchmark::State& state) {
    ListThroughTheControl(state, "JScript", bench::ManyProcedures(), 1000);
}
BENCHMARK(BM_JScriptListProceduresThroughTheControl)->Unit(benchmark::kMillisecond);

void BM_VBScriptListProceduresThroughTheControl(benchmark::State& state) {
    ListThroughTheControl(state, "VBScript", bench::VbScriptProcedures(), 500);
}
BENCHMARK(BM_VBScriptListProceduresThroughTheControl)->Unit(benchmark::kMillisecond);

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
