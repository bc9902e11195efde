#pragma once
// TForm14: the separate arbitrary-point chart ("任意点円弧滑り"). A left click
// on its chart evaluates that centre like a click on the table window's chart.

#include "SeparateChartWindow.h"

namespace sorvanta::gui {

class TForm14 : public TSeparateChartWindow {
    Q_OBJECT
  public:
    explicit TForm14(QWidget* parent = nullptr);

  signals:
    void PointClicked(double x, double y);
};

}  // namespace sorvanta::gui
