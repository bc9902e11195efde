// 自動計算: from an edit of one coordinate of the sample (as the entry window
// writes it back) until the design window has painted the new circle, and the
// time a keystroke in the design window takes with 自動計算 off (argument 0)
// and on (1, a live search running behind the typing).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include "GuiTestSupport.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"

using namespace sorvanta;
using namespace sorvanta::gui;

namespace {

// Counts the paints of a widget.
class TPaintCounter : public QObject {
  public:
    int Paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Paints;
        return QObject::eventFilter(watched, event);
    }
};

void WaitUntil(const std::function<bool()>& done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

// The ground's second point moves between two heights, a new design each time.
void EditCoordinate(TSorvantaApp& app, int i) {
    app.Context().Design.Layers[0].Boundary.Rows[1].Y = i % 2 ? "4.00" : "5.00";
    app.DesignWindow().RefreshTable(fkLayer1);
}

void BM_LiveEditToCircle(benchmark::State& state) {
    auto app = test::StartApp();
    TDesignWindow& f6 = app->DesignWindow();
    app->SetLiveCalculation(true);
    WaitUntil([&] { return !f6.LiveResultText().isEmpty() && !app->Calculation().LiveRunning(); });
    auto* overlay = f6.findChild<QWidget*>(QStringLiteral("LiveResult"));
    TPaintCounter paints;
    overlay->installEventFilter(&paints);
    int i = 0;
    for (auto _ : state) {
        // A user's edits come apart: each one after a quiet spell.
        QElapsedTimer quiet;
        quiet.start();
        WaitUntil([&] { return quiet.elapsed() > TSorvantaApp::LiveDelayMs + 20; });
        const QString before = f6.LiveResultText();
        const int painted = paints.Paints;
        QElapsedTimer timer;
        timer.start();
        EditCoordinate(*app, ++i);
        WaitUntil([&] {
            return f6.LiveResultText() != before && !app->Calculation().LiveRunning() &&
                   paints.Paints > painted;
        });
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
    }
}
BENCHMARK(BM_LiveEditToCircle)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

// One keystroke into φ of layer 1 until the window is idle again.
void BM_Keystroke(benchmark::State& state) {
    const bool live = state.range(0) != 0;
    auto app = test::StartApp();
    TDesignWindow& f6 = app->DesignWindow();
    app->SetLiveCalculation(live);
    auto* phi = f6.findChild<QComboBox*>(QStringLiteral("Phi1"))->lineEdit();
    phi->setFocus();
    int i = 0;
    int duringSearch = 0;
    for (auto _ : state) {
        // Every 20 keys an accepted edit starts a live search that runs behind
        // the keys that follow.
        if (i % 20 == 0) {
            state.PauseTiming();
            EditCoordinate(*app, i / 20);
            // The edit's search starts at once after a quiet spell, else
            // after the pause.
            QElapsedTimer pause;
            pause.start();
            WaitUntil([&] {
                return (live && app->Calculation().LiveRunning()) ||
                       pause.elapsed() > TSorvantaApp::LiveDelayMs + 5;
            });
            state.ResumeTiming();
        }
        const Qt::Key key = i % 2 ? Qt::Key_Backspace : Qt::Key_5;
        const QString text = i % 2 ? QString() : QStringLiteral("5");
        duringSearch += app->Calculation().LiveRunning() ? 1 : 0;
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(phi, &press);
        QApplication::sendEvent(phi, &release);
        QCoreApplication::processEvents();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
        ++i;
    }
    // The share of the keys typed while a live search ran.
    state.counters["during_search"] =
        benchmark::Counter(duringSearch, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Keystroke)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Iterations(400);

}  // namespace
