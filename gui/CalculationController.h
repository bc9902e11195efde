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

    // "計算開始" / "1.計算開始". Ignored while a run is under way; a live run
    // is stopped first and the run starts when it has ended.
    void Start();
    // 自動計算: a run of the design as it is now that asks and shows nothing
    // and leaves the windows open to edits. A live run still under way is
    // stopped and this one starts when it has ended; while a "計算開始" run is
    // under way it is ignored (the design cannot change then).
    void StartLive();
    // Stops a live run and drops whatever it would have written (a design
    // has been loaded, or 自動計算 switched off).
    void DiscardLive();
    // Asks the run to stop; it ends at its next check.
    void Stop();
    // A "計算開始" run is under way (a live run is not counted).
    [[nodiscard]] bool Running() const { return running_ && !live_; }
    [[nodiscard]] bool LiveRunning() const { return running_ && live_; }
    // The run that ended last was a live one.
    [[nodiscard]] bool LastWasLive() const { return lastLive_; }
    // Why the last run found no circle, in one line: the checks' first fault,
    // the conversion's error or the no-circle message (empty when it found
    // one, was stopped or its question answered No).
    [[nodiscard]] const QString& LastRefusal() const { return refusal_; }
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
    void Launch(bool live);
    // The run wrote its results; they become the application's.
    static bool Written(const TJob& job);
    void Keep(TJob& job);
    void OnFinished();
    void OnLiveFinished(TJob& job, bool discarded);
    void OnFrame();

    TAppState& context_;
    TDesignWindow& designWindow_;
    QFutureWatcher<void> watcher_;
    std::unique_ptr<TJob> job_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    bool running_ = false;
    bool live_ = false;        // the run under way is a live one
    bool lastLive_ = false;    // the run that ended last was
    bool liveAgain_ = false;   // a live run follows the one being stopped
    bool startAfter_ = false;  // a "計算開始" run follows the live one being stopped
    bool discard_ = false;     // the live run being stopped writes nothing
    QString refusal_;
    TRunResult last_;
    TTrialCircleFeed feed_;
    TChartModel frameChart_;
    QTimer frameTimer_;
};

}  // namespace sorvanta::gui
