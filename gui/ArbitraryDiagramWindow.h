#pragma once
// TArbitraryDiagramWindow: the separate arbitrary-point chart ("任意点円弧滑り"). A left click
// on its chart evaluates that centre like a click on the table window's chart.

#include "gui/SeparateChartWindow.h"

namespace sorvanta::gui {

class TArbitraryDiagramWindow : public TSeparateChartWindow {
    Q_OBJECT
  public:
    explicit TArbitraryDiagramWindow(QWidget* parent = nullptr);

  signals:
    void PointClicked(double x, double y);
};

}  // namespace sorvanta::gui
