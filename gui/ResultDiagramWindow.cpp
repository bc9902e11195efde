#include "gui/ResultDiagramWindow.h"

#include "gui/TChartView.h"

namespace sorvanta::gui {

TResultDiagramWindow::TResultDiagramWindow(QWidget* parent)
    : TSeparateChartWindow(MakeResultChart(), parent) {
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("円弧滑り図（最小安全率）"));
    chart_->setObjectName(QStringLiteral("Chart1"));
}

}  // namespace sorvanta::gui
