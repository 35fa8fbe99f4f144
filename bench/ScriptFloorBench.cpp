// The floor of the JScript benchmark: the same loop on the system's Duktape library, which is
// built without the execution time-out check. The ratio to the engine of ours is the check's
// cost.
#include <benchmark/benchmark.h>
#include <duktape.h>

#include "bench/ScriptLoop.h"

namespace {

void BM_JScriptLoopWithoutTimeoutCheck(benchmark::State& state) {
    duk_context* ctx = duk_create_heap_default();
    duk_peval_string_noresult(ctx, orbel::bench::kScriptLoop);
    for (auto _ : state) {
        duk_get_global_string(ctx, "Loop");
        if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) state.SkipWithError(duk_safe_to_string(ctx, -1));
        benchmark::DoNotOptimize(duk_get_int(ctx, -1));
        duk_pop(ctx);
    }
    duk_destroy_heap(ctx);
}
BENCHMARK(BM_JScriptLoopWithoutTimeoutCheck)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
