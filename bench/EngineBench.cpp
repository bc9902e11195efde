// Timings of the engine's inner operations on the sample design.

#include <benchmark/benchmark.h>

#include <string>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "engine/Parallel.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

TAnalysisModel SampleEngine() {
    TDesignConditions design;
    LoadSampleDesign(design);
    return BuildAnalysisModel(design, {});
}

// Whole searches of the model, with the circles each evaluated.
void SearchCounting(benchmark::State& state, const TAnalysisModel& e,
                    const TSearchOptions& options) {
    long long circles = 0;
    for (auto _ : state) {
        const TCriticalSearch s = SearchCriticalCircle(e, options);
        circles = s.Circles;
        benchmark::DoNotOptimize(s);
    }
    state.counters["circles"] = static_cast<double>(circles);
}

// A circle of the sample design near its critical one, 30-odd slices.
constexpr TSlipCircle SampleCircle{20.5, 22.0, 17.0};

void BM_EvaluateCircle(benchmark::State& state) {
    const TAnalysisModel e = SampleEngine();
    TEngineScratch scratch;
    for (auto _ : state) benchmark::DoNotOptimize(Evaluate(e, SampleCircle, scratch));
    state.counters["slices"] = scratch.Slices.Count();
}
BENCHMARK(BM_EvaluateCircle);

// The same circle with a seismic coefficient: the cost of the kh terms.
void BM_EvaluateCircleSeismic(benchmark::State& state) {
    const TAnalysisModel e = SeismicCaseOf(SampleEngine(), 0.25, 1.0);
    TEngineScratch scratch;
    for (auto _ : state) benchmark::DoNotOptimize(Evaluate(e, SampleCircle, scratch));
}
BENCHMARK(BM_EvaluateCircleSeismic);

void BM_SearchRadius(benchmark::State& state) {
    const TAnalysisModel e = SampleEngine();
    TEngineScratch scratch;
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchRadius(e, scratch, {SampleCircle.Xo, SampleCircle.Yo}));
}
BENCHMARK(BM_SearchRadius);

// The grid refinement of a run on the sample design; the argument is the
// thread count.
void BM_SearchCriticalCircle(benchmark::State& state) {
    const TAnalysisModel e = SampleEngine();
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

// The grid refinement of a run on the sample design by each method of slices,
// on one thread: the cost of a method against the ordinary one's. The
// argument is the TSliceMethodKind.
void BM_SearchCriticalCircleByMethod(benchmark::State& state) {
    TDesignConditions design;
    LoadSampleDesign(design);
    TAnalysisOptions analysis;
    analysis.Method = static_cast<TSliceMethodKind>(state.range(0));
    const TAnalysisModel e = BuildAnalysisModel(design, analysis);
    TSearchOptions options;
    options.Threads = 1;
    SearchCounting(state, e, options);
}
BENCHMARK(BM_SearchCriticalCircleByMethod)
    ->ArgName("method")
    ->DenseRange(static_cast<int>(TSliceMethodKind::Ordinary),
                 static_cast<int>(TSliceMethodKind::MorgensternPrice))
    ->Unit(benchmark::kMillisecond);

// The sample stretched to a kilometre of ground (heights too), cut into 1 m
// slices, with the never-cut elevation 1000 km below: the kind of design
// whose search has to stay bounded. The argument is the thread count.
void BM_SearchHugeSection(benchmark::State& state) {
    TDesignConditions design;
    LoadSampleDesign(design);
    const double scale = 1000.0 / 70;
    for (TSoilLayer& layer : design.Layers) {
        for (TCoordinateRow& row : layer.Boundary.Rows) {
            if (row.X == "-") continue;
            row.X = std::to_string(std::stod(row.X) * scale);
            row.Y = std::to_string(std::stod(row.Y) * scale);
        }
    }
    design.MaxSliceWidth = "1";
    design.NeverCutElevation = "-1000000";
    const TAnalysisModel e = BuildAnalysisModel(design, {});
    TSearchOptions options;
    options.Threads = static_cast<int>(state.range(0));
    SearchCounting(state, e, options);
}
BENCHMARK(BM_SearchHugeSection)
    ->Arg(HardwareThreads())
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace sorvanta
