#include "gui/ArbitraryDiagramWindow.h"

#include "gui/TChartView.h"

namespace sorvanta::gui {

TArbitraryDiagramWindow::TArbitraryDiagramWindow(QWidget* parent)
    : TSeparateChartWindow(MakeSeparateArbitraryChart(), parent) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("任意点円弧滑り"));
    chart_->setObjectName(QStringLiteral("Chart1"));
    connect(chart_, &TChartView::Clicked, this, [this](double x, double y, Qt::MouseButton button) {
        if (button == Qt::LeftButton) emit PointClicked(x, y);
    });
}

}  // namespace sorvanta::gui
