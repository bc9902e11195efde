#pragma once
// TForm13: the separate slip circle diagram ("円弧滑り図（最小安全率）"), a copy of
// the result chart with its own limits.

#include "SeparateChartWindow.h"

namespace sorvanta::gui {

class TForm13 : public TSeparateChartWindow {
    Q_OBJECT
  public:
    explicit TForm13(QWidget* parent = nullptr);
};

}  // namespace sorvanta::gui
