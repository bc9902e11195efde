#pragma once
// How a long engine operation reports progress and learns that it should stop.
// The window adapts it to its progress bar and status box; the batch tool and
// tests use the do-nothing defaults.

#include <string>

namespace sorvanta {

class TAnalysisModel;
struct TSlipCircle;
struct TCircleEvaluation;

class TProgress {
  public:
    virtual ~TProgress() = default;

    // Progress bar: maximum, position, one step. Called on the thread that
    // started the operation.
    virtual void SetMaximum(int /*maximum*/) {}
    virtual void SetPosition(int /*position*/) {}
    virtual void Step() {}
    virtual void SetStatusText(const std::string& /*text*/) {}

    // Polled by the search between circles, from any of its worker threads:
    // keep it cheap and thread-safe (an atomic flag). Once true, the search
    // stops as soon as it can and reports Cancelled.
    [[nodiscard]] virtual bool Cancelled() const { return false; }

    // A run's checks have passed and its search begins (on the thread that
    // started the run).
    virtual void SearchStarted() {}

    // 計算過程表示: when true, the grid search re-evaluates the circle of every
    // centre with a valid result, in the search order, and calls TrialCircle
    // with its evaluation (end points and slices), on the thread that started
    // the search.
    [[nodiscard]] virtual bool ShowsTrialCircles() const { return false; }
    virtual void TrialCircle(const TAnalysisModel& /*model*/, const TSlipCircle& /*circle*/,
                             const TCircleEvaluation& /*evaluation*/) {}
};

}  // namespace sorvanta
