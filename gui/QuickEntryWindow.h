#pragma once
// TQuickEntryWindow: the ground-surface quick entry window ("地表面簡易入力"): a simple
// slope from its toe elevation, gradient and height.

#include <QDialog>

#include "design/DesignConditions.h"
#include "views/ChartModel.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace sorvanta::gui {

class TQuickEntryWindow : public QDialog {
    Q_OBJECT
  public:
    TQuickEntryWindow(TDesignConditions& design, TChartModel& preview, QWidget* parent = nullptr);

    void Open(QPoint position);
    // "地形設定": replaces the ground surface and hides; a text that is not a
    // number stops it with the conversion message, the window staying open.
    void SetGround();

  signals:
    void GroundSet();

  private:
    TDesignConditions& design_;
    TChartModel& preview_;
    QLineEdit* toe_ = nullptr;
    QComboBox* gradient_ = nullptr;
    QComboBox* height_ = nullptr;
};

}  // namespace sorvanta::gui
