// The earthquake case and the countermeasure's search beside the plain run of
// the sample, one thread: 常時 alone; 常時 and 地震時 at kh = 0.25 (the
// residential-fill preset) and at kh = 0.15, where the 地震時 grid moves twice
// before it closes in and so evaluates a third more circles; 地震時 alone; and
// 常時 with a planned safety factor, whose search also tracks the circle that
// needs the largest restraining force. Compare each with the first.
#include <benchmark/benchmark.h>

#include <string>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "report/RunReport.h"

using namespace sorvanta;

namespace {

enum TCaseBench { NormalOnly, BothCases, SeismicOnly, PlannedFs };

// Arguments: the case, and kh in hundredths.
void BM_RunSampleCase(benchmark::State& state) {
    TDesignConditions design;
    LoadSampleDesign(design);
    TAnalysisOptions options;
    const std::string kh = "0." + std::to_string(state.range(1));
    switch (state.range(0)) {
        case BothCases:
            options.Kh = kh;
            options.Case = TDesignCase::Both;
            break;
        case SeismicOnly:
            options.Kh = kh;
            options.Case = TDesignCase::Seismic;
            break;
        case PlannedFs:
            options.PlannedFs = "1.3";
            break;
        default:
            break;
    }
    TCalculationReport report;
    TRecordingDialogs dialogs;
    TRunSettings settings;
    settings.Threads = 1;
    const TRunContext context{design, options, report, dialogs, nullptr, settings, {}};
    for (auto _ : state) {
        const TRunResult run = StartCalculation(context);
        if (run.Outcome != TRunOutcome::Ok) state.SkipWithError("the sample run found no circle");
        benchmark::DoNotOptimize(run.Critical.Fs);
    }
}
BENCHMARK(BM_RunSampleCase)
    ->ArgNames({"case", "kh"})
    ->Args({NormalOnly, 0})
    ->Args({BothCases, 25})
    ->Args({BothCases, 15})
    ->Args({SeismicOnly, 25})
    ->Args({SeismicOnly, 15})
    ->Args({PlannedFs, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
