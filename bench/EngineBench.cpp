// Timings of the engine's inner operations on the sample design.

#include <benchmark/benchmark.h>

#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "engine/Parallel.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

TEC SampleEngine() {
    TDesignConditions design;
    LoadSampleDesign(design);
    TEC e;
    e.BuildAnalysisModel(design);
    return e;
}

// A circle of the sample design near its critical one, 30-odd slices.
constexpr TSlipCircle SampleCircle{20.5, 22.0, 17.0};

void BM_EvaluateCircle(benchmark::State& state) {
    TEC e = SampleEngine();
    for (auto _ : state) benchmark::DoNotOptimize(EvaluateCircle(e, SampleCircle));
    state.counters["slices"] = e.SliceList.Count();
}
BENCHMARK(BM_EvaluateCircle);

void BM_SearchRadius(benchmark::State& state) {
    TEC e = SampleEngine();
    for (auto _ : state) benchmark::DoNotOptimize(SearchRadius(e, {SampleCircle.Xo, SampleCircle.Yo}));
}
BENCHMARK(BM_SearchRadius);

// The grid refinement of a run on the sample design; the argument is the
// thread count.
void BM_SearchCriticalCircle(benchmark::State& state) {
    TEC e = SampleEngine();
    TSearchOptions options;
    options.Threads = static_cast<int>(state.range(0));
    int grids = 0;
    for (auto _ : state) {
        const TCriticalSearch s = SearchCriticalCircle(e, options);
        grids = s.GridCount;
        benchmark::DoNotOptimize(s);
    }
    state.counters["grids"] = grids;
}
BENCHMARK(BM_SearchCriticalCircle)->Arg(1)->Arg(HardwareThreads())->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sorvanta
