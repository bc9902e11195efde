// The whole calculation run on the sample design, as the start button does it:
// checks, search, centre table, slice and load tables, drawing, design
// listing; and the same with grid points (N = 30) and contours. The argument
// is the thread count (0: all cores).
#include <benchmark/benchmark.h>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "documents/TextOutput.h"
#include "report/RunReport.h"
#include "views/ChartModel.h"

using namespace sorvanta;

namespace {

void RunSample(benchmark::State& state, bool gridAndContours) {
    TDesignConditions design;
    LoadSampleDesign(design);
    TAnalysisOptions options;
    if (gridAndContours) {
        options = TAnalysisOptions{
            .GridFsEnabled = true, .GridFsMeshCount = "30", .ContourEnabled = true};
    }
    TCalculationReport report;
    TRecordingDialogs dialogs;
    TRunSettings settings;
    settings.Threads = static_cast<int>(state.range(0));
    const TRunContext context{design, options, report, dialogs, nullptr, settings, {}};
    for (auto _ : state) {
        const TRunResult run = StartCalculation(context);
        if (run.Outcome != TRunOutcome::Ok) state.SkipWithError("the sample run found no circle");
        benchmark::DoNotOptimize(run.Critical.Fs);
    }
}

void BM_RunSample(benchmark::State& state) {
    RunSample(state, false);
}
BENCHMARK(BM_RunSample)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunSampleGridPointsAndContours(benchmark::State& state) {
    RunSample(state, true);
}
BENCHMARK(BM_RunSampleGridPointsAndContours)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_TextOutputBytes(benchmark::State& state) {
    TDesignConditions design;
    LoadSampleDesign(design);
    TCalculationReport report;
    TRecordingDialogs dialogs;
    const TAnalysisOptions options;
    StartCalculation({design, options, report, dialogs, nullptr, {}, {}});
    for (auto _ : state) benchmark::DoNotOptimize(TextOutputBytes(report).size());
}
BENCHMARK(BM_TextOutputBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
