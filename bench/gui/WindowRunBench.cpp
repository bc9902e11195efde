// The whole run of the sample design started from the design window's button,
// until the result window shows it: with 計算過程表示 off (argument 0) and on
// (1), where the result window follows the trial circles while the search
// runs. Offscreen unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/ResultWindow.h"

using namespace sorvanta;
using namespace sorvanta::gui;

namespace {

void BM_WindowRunSample(benchmark::State& state) {
    auto app = test::StartApp();
    app->Context().Design.ShowCalculationProcess = state.range(0) != 0;
    int frames = 0;
    QObject::connect(&app->Calculation(), &TCalculationController::TrialChart,
                     [&frames] { ++frames; });
    auto* start = app->DesignWindow().findChild<QPushButton*>(QStringLiteral("StartButton"));
    test::TDialogResponder user;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        start->click();
        while (app->Calculation().Running())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
        if (app->Calculation().LastResult().Outcome != TRunOutcome::Ok ||
            !app->ResultWindow().isVisible()) {
            state.SkipWithError("the run did not show its result");
        }
    }
    state.counters["frames/run"] = benchmark::Counter(frames, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WindowRunSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
