#pragma once
// Runs a calculation off the window thread: the checks' questions and
// messages are shown by the window thread while the run waits for them,
// progress goes to the design window, and the run can be stopped. The run
// works on copies of the result records; they replace the application's
// only when the run has written them, so a stopped or refused run leaves the
// last result as it was.
//
// With 計算過程表示 the search publishes each trial circle's chart; the
// controller hands the latest one to the windows at display rate.

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>

#include "gui/TrialCircleFeed.h"
#include "report/RunReport.h"
#include "run/CalculationRun.h"

namespace sorvanta::gui {}  // namespace sorvanta::gui
namespace sorvanta {
struct TAppState;
}  // namespace sorvanta
namespace sorvanta::gui {
class TDesignWindow;

class TCalculationController : public QObject {
    Q_OBJECT
  public:
    TCalculationController(TAppState& context, TDesignWindow& designWindow,
                           QObject* parent = nullptr);
    ~TCalculationController() override;

    // "計算開始" / "1.計算開始". Ignored while a run is under way.
    void Start();
    // Asks the run to stop; it ends at its next check.
    void Stop();
    [[nodiscard]] bool Running() const { return running_; }
    // Stops a run and waits for it (the application is closing).
    void StopAndWait();

    [[nodiscard]] const TRunResult& LastResult() const { return last_; }

  signals:
    void RunningChanged(bool running);
    // The checks have passed and the search begins.
    void SearchStarted();
    // 計算過程表示: the result chart with the latest trial circle, at most once
    // per display frame.
    void TrialChart(const sorvanta::TChartModel& chart);
    // The run has ended; LastResult() tells how, and its results, if any, are
    // in the application's records.
    void Finished();

  private:
    struct TJob;
    void OnFinished();
    void OnFrame();

    TAppState& context_;
    TDesignWindow& designWindow_;
    QFutureWatcher<void> watcher_;
    std::unique_ptr<TJob> job_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    bool running_ = false;
    TRunResult last_;
    TTrialCircleFeed feed_;
    TChartModel frameChart_;
    QTimer frameTimer_;
};

}  // namespace sorvanta::gui
