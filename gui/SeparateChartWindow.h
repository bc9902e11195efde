#pragma once
// The frame of the two separate chart windows: a slip circle chart that is a
// copy of a window's chart, with its own limits, a pointer position display
// and the six navigation buttons.

#include <QWidget>

#include "views/ChartNavigation.h"

namespace sorvanta::gui {

class TChartView;
class TPointerDisplay;

class TSeparateChartWindow : public QWidget {
    Q_OBJECT
  public:
    TSeparateChartWindow(TChartModel model, QWidget* parent);

    // Copies the source into this window's chart, places the window at
    // (0, 80) with 600 by 640 pixels and shows it.
    void ShowCopyOf(const TChartModel& source);
    // Copies without showing (an evaluation refreshes the copy).
    void CopyFrom(const TChartModel& source);
    void NavigateOwnChart(TChartCommand command);

    [[nodiscard]] TChartModel& Model() { return model_; }
    [[nodiscard]] TChartView* Chart() const { return chart_; }
    [[nodiscard]] TPointerDisplay* Pointer() const { return pointer_; }

  signals:
    // A navigation button: the owner moves its own chart, then this one.
    void NavigationRequested(sorvanta::TChartCommand command);

  protected:
    TChartModel model_;
    TChartView* chart_ = nullptr;
    TPointerDisplay* pointer_ = nullptr;
};

}  // namespace sorvanta::gui
