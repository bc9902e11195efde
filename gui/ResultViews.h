#pragma once
// Pieces shared by the result windows: list boxes and string grids that show
// the result records exactly as written (with Ctrl+C copying them as
// tab-separated text), the pointer position display, the six navigation
// buttons and the label font-size slider of a slip circle chart.

#include <QGroupBox>
#include <QString>

#include "run/ResultTables.h"
#include "views/ChartNavigation.h"

class QLabel;
class QListWidget;
class QAbstractItemView;
class QSlider;
class QTableWidget;

namespace sorvanta::gui {

QListWidget* MakeResultList(QWidget* parent, const QString& name);
// The header row of the table is the grid's column header.
QTableWidget* MakeResultGrid(QWidget* parent, const QString& name);
// A tab page of a heading list, 330 pixels wide, beside a result grid.
QWidget* MakeListAndGridPage(QWidget* parent, QListWidget*& list, const QString& listName,
                             QTableWidget*& grid, const QString& gridName);
void ShowLines(QListWidget* list, const TLineList& lines);
// Column count, widths, row height, header row and cells of the table.
void ShowCells(QTableWidget* grid, const TCellTable& table);

// What Ctrl+C puts on the clipboard: the selected cells or lines (the whole
// grid or list when nothing is selected), a grid's always under its column
// headings; cells separated by tabs, rows by line breaks. A marked value
// ("1.774 [解]") is copied as the number with its mark in a column "備考".
QString CopyText(const QAbstractItemView* view);

// "X=1.50m", "X=-1.50m".
QString PointerText(const char* axis, double value);

// A caption in its font colour; no colour: the palette's.
void SetCaptionColour(QWidget* widget, const TColouredText& caption);
// The children of a coloured caption keep the ordinary text colour.
void KeepOwnTextColour(QWidget* widget);

// Group "座標" with the labels "X=000.00m" and "Y=000.00m".
class TPointerDisplay : public QGroupBox {
    Q_OBJECT
  public:
    explicit TPointerDisplay(QWidget* parent);
    void Show(double x, double y);
    [[nodiscard]] QString XText() const;
    [[nodiscard]] QString YText() const;

  private:
    QLabel* x_;
    QLabel* y_;
};

// The six navigation buttons: "上へ移動", "下へ移動", "左へ移動", "右へ移動",
// "１．２倍拡大", "０．８倍縮小".
class TNavigationButtons : public QGroupBox {
    Q_OBJECT
  public:
    explicit TNavigationButtons(QWidget* parent);

  signals:
    void Command(sorvanta::TChartCommand command);
};

// Font size of the point labels: 5 to 13, 9 at the start.
QSlider* MakeFontSizeSlider(QWidget* parent);

}  // namespace sorvanta::gui
