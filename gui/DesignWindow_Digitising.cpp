// Mouse digitising on the preview and the commands of the right panel.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

#include "gui/DesignWindow.h"
#include "gui/OutputMessages.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "text/NumberFormat.h"
#include "views/PreviewChart.h"

namespace sorvanta::gui {

void TDesignWindow::SetDigitiseStop() {
    digitiseButtons_[0]->setChecked(true);
}

void TDesignWindow::StartDigitising(TFigureKind kind) {
    if (running_) return;
    const TDigitiser::TStart start = digitiser_.Start(previewModel_, design_, kind);
    if (!start.Started) {
        SetDigitiseStop();
        if (start.MissingLayer >= 0) {
            ShowMessage(Q(start.Message));
            ShowLayerPage(start.MissingLayer);
        }
        return;
    }
    ShowTable(kind);
    if (kind == fkLayer1) RedrawOnGround();
    emit DesignEdited();
    switch (kind) {
        case fkWater:
            ShowLayerPage(-1);
            break;
        case fkNeverCutLine:
        case fkMustCutPoint:
            ShowCircleConditionsPage();
            break;
        default:
            ShowLayerPage(kind - fkLayer1);
            break;
    }
    chart_->update();
}

void TDesignWindow::TrackPointer(double x, double y) {
    pointerX_->setText(Q(FormatFloat("X=0.00m;X=-0.00m", x)));
    pointerY_->setText(Q(FormatFloat("Y=0.00m;Y=-0.00m", y)));
    const bool follows = digitiser_.Active();
    digitiser_.Track(previewModel_, x, y);
    if (follows) chart_->update();
}

void TDesignWindow::DigitisePoint(double x, double y, bool last) {
    if (running_) return;
    const TDigitiser::TPointResult result = digitiser_.Point(previewModel_, design_, x, y, last);
    if (!result.Accepted) return;
    ShowTable(digitiser_.Kind());
    if (digitiser_.Kind() == fkLayer1) RedrawOnGround();
    chart_->update();
    if (result.Ended) SetDigitiseStop();
    if (!result.Message.empty()) ShowMessage(Q(result.Message));
    emit DesignEdited();
}

void TDesignWindow::ClearLayers() {
    if (!AskYesNo(this, QMessageBox::Question, QStringLiteral("地層データをクリアしますか"),
                  QStringLiteral("ClearQuestion")))
        return;
    SetDigitiseStop();
    for (int k = 0; k < MaxLayers; ++k) digitiser_.Stop(static_cast<TFigureKind>(fkLayer1 + k));
    sorvanta::ClearLayers(previewModel_, design_);
    for (int k = 0; k < MaxLayers; ++k) ShowTable(static_cast<TFigureKind>(fkLayer1 + k));
    RedrawOnGround();
    chart_->update();
    emit DesignEdited();
}

}  // namespace sorvanta::gui
