#pragma once
// TEntryWindow: the coordinate entry window ("座標入力"), where one coordinate table
// of the design is typed and written back with "地層座標転記".

#include <QDialog>

#include "design/DesignConditions.h"

class QGroupBox;
class QLineEdit;
class QTableWidget;
class QToolButton;
class QPushButton;

namespace sorvanta::gui {

class TEntryWindow : public QDialog {
    Q_OBJECT
  public:
    TEntryWindow(TDesignConditions& design, QWidget* parent = nullptr);

    // Shows a copy of the kind's table with its top-left corner at `position`.
    void OpenFor(TFigureKind kind, QPoint position);
    // The up-down control: a row more or less, within the table's range.
    void StepUp();
    void StepDown();
    // "地層座標転記": writes the table back (merging lower lines) and hides.
    void WriteBack();

    [[nodiscard]] QTableWidget* EntryGrid() const { return grid_; }

  signals:
    // The design's table of this kind was rewritten.
    void TableWritten(sorvanta::TFigureKind kind);

  private:
    [[nodiscard]] TFigureKind CurrentKind() const;
    void Renumber();
    void ShowPosition();
    void SetColumnWidths();

    TDesignConditions& design_;
    QGroupBox* group_ = nullptr;
    QLineEdit* position_ = nullptr;
    QToolButton* down_ = nullptr;
    QToolButton* up_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* write_ = nullptr;
};

}  // namespace sorvanta::gui
