#include "TForm14.h"

#include "TChartView.h"

namespace sorvanta::gui {

TForm14::TForm14(QWidget* parent) : TSeparateChartWindow(MakeSeparateArbitraryChart(), parent) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("任意点円弧滑り"));
    chart_->setObjectName(QStringLiteral("Chart1"));
    connect(chart_, &TChartView::Clicked, this, [this](double x, double y, Qt::MouseButton button) {
        if (button == Qt::LeftButton) emit PointClicked(x, y);
    });
}

}  // namespace sorvanta::gui
