#include "gui/SeparateChartWindow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/ResultViews.h"
#include "gui/TChartView.h"

namespace sorvanta::gui {

TSeparateChartWindow::TSeparateChartWindow(TChartModel model, QWidget* parent)
    : QWidget(parent, Qt::Tool), model_(std::move(model)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    chart_ = new TChartView(this);
    QFont chartFont(QStringLiteral("ＭＳ Ｐ明朝"));
    chartFont.setPixelSize(12);
    chart_->SetAxisFont(chartFont);
    chart_->SetRestoreMode(TChartView::TRestoreMode::Home);
    chart_->SetModel(&model_);
    layout->addWidget(chart_, 1);

    auto* bottom = new QHBoxLayout;
    auto* navigation = new TNavigationButtons(this);
    bottom->addWidget(navigation);
    bottom->addStretch(1);
    pointer_ = new TPointerDisplay(this);
    bottom->addWidget(pointer_);
    layout->addLayout(bottom);

    connect(navigation, &TNavigationButtons::Command, this,
            &TSeparateChartWindow::NavigationRequested);
    connect(chart_, &TChartView::PointerMoved, pointer_, &TPointerDisplay::Show);
    resize(600, 640);
}

void TSeparateChartWindow::CopyFrom(const TChartModel& source) {
    CopyChart(source, model_);
    chart_->SetModel(&model_);
}

void TSeparateChartWindow::ShowCopyOf(const TChartModel& source) {
    CopyFrom(source);
    move(0, 80);
    resize(600, 640);
    show();
    raise();
}

void TSeparateChartWindow::NavigateOwnChart(TChartCommand command) {
    NavigateChart(model_, command);
    chart_->update();
}

}  // namespace sorvanta::gui
