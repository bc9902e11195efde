#pragma once
// TResultDiagramWindow: the separate slip circle diagram ("円弧滑り図（最小安全率）"), a copy of
// the result chart with its own limits.

#include "gui/SeparateChartWindow.h"

namespace sorvanta::gui {

class TResultDiagramWindow : public TSeparateChartWindow {
    Q_OBJECT
  public:
    explicit TResultDiagramWindow(QWidget* parent = nullptr);
};

}  // namespace sorvanta::gui
