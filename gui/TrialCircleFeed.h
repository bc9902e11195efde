#pragma once
// The trial circles of 計算過程表示 on their way from the search thread to the
// window: the search publishes the result chart after each circle, the window
// takes the latest one when it paints. Circles the window had no frame for are
// simply replaced.

#include <mutex>

#include "views/ChartModel.h"

namespace sorvanta::gui {

class TTrialCircleFeed {
  public:
    // Search thread.
    void Publish(const TChartModel& chart) {
        const std::lock_guard lock(mutex_);
        latest_ = chart;
        fresh_ = true;
    }
    // Window thread: the chart published last, if it has not been taken yet.
    bool Take(TChartModel& chart) {
        const std::lock_guard lock(mutex_);
        if (!fresh_) return false;
        std::swap(chart, latest_);
        fresh_ = false;
        return true;
    }
    void Reset() {
        const std::lock_guard lock(mutex_);
        latest_ = {};
        fresh_ = false;
    }

  private:
    std::mutex mutex_;
    TChartModel latest_;
    bool fresh_ = false;
};

}  // namespace sorvanta::gui
