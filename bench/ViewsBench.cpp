// The result views' share of a run: the contour step and the grid points on
// the sample design.
#include <benchmark/benchmark.h>

#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "report/GridCharts.h"
#include "views/ChartModel.h"

using namespace sorvanta;

namespace {

TAnalysisModel SampleModel() {
    TDesignConditions design;
    LoadSampleDesign(design);
    return BuildAnalysisModel(design, {});
}

void BM_ContourStep(benchmark::State& state) {
    const TAnalysisModel engine = SampleModel();
    const TSearchOptions options{static_cast<int>(state.range(0)), nullptr};
    for (auto _ : state) {
        TChartModel result = MakeResultChart();
        TChartModel arbitrary = MakeArbitraryChart();
        AppendContours(engine, result, arbitrary, options);
        benchmark::DoNotOptimize(result.Series[rsSafetyFactor].Points.data());
    }
}
BENCHMARK(BM_ContourStep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GridPoints30(benchmark::State& state) {
    const TAnalysisModel engine = SampleModel();
    const TSearchOptions options{static_cast<int>(state.range(0)), nullptr};
    for (auto _ : state) {
        TChartModel result = MakeResultChart();
        TChartModel arbitrary = MakeArbitraryChart();
        AppendGridPointFactors(engine, 30, result, arbitrary, options);
        benchmark::DoNotOptimize(result.Series[rsSafetyFactor].Points.data());
    }
}
BENCHMARK(BM_GridPoints30)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
