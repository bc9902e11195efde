#pragma once
// The figures of the printed calculation document: a cell table drawn as a
// ruled grid, and a chart copied into a figure of the page's own appearance
// and painted into a box. Page painting uses units of 1/100 mm.

#include <QFont>
#include <QRectF>
#include <vector>

#include "run/ResultTables.h"
#include "views/ChartModel.h"

class QPainter;

namespace sorvanta::gui {

// Painter units of the pages.
inline constexpr double kUnitsPerMm = 100;
// A pixel of the screen tables and charts (1/96 inch) in page units.
inline constexpr double kUnitsPerPixel = kUnitsPerMm * 25.4 / 96;

// The figures' own series settings: the screen chart's layout with hatched
// areas. The ground figure follows the design window's "地形図", the circle
// figure the result chart.
[[nodiscard]] TChartModel MakeGroundFigure();
[[nodiscard]] TChartModel MakeCircleFigure();

// The transfer operations of one page: line lists into text blocks, cell
// tables into grid figures, screen charts into chart figures. The painter
// works in page units with its origin at the paper's corner; positions are
// millimetres.
class TPagePainter {
  public:
    explicit TPagePainter(QPainter& painter) : painter_(painter) {}

    // Every line of list in order from (x, y) down, one face height apart,
    // in ＭＳ 明朝 of the given size; the block grows to hold them.
    void FillTextBlock(const TLineList& list, double x, double y, double points = 10);

    // A table as its grid figure sees it, in the table's own pixels.
    struct TGridMeasure {
        int ColCount = 0;
        int RowCount = 0;
        std::vector<int> ColWidths;
        int RowHeight = 0;     // the default row height less 3
        int ControlWidth = 0;  // the sum of the column widths
        int GridHeight = 0;    // RowHeight x RowCount
    };
    [[nodiscard]] static TGridMeasure MeasureGrid(const TCellTable& table);
    // The figure's box in page units: ControlWidth plus 15 pixels a column
    // wide, RowCount x (RowHeight + 5) high.
    [[nodiscard]] static QSizeF GridFigureSize(const TCellTable& table);
    // Draws the whole table as one ruled grid scaled into box (page units): a
    // double rule under the header row and right of the first column, every
    // cell centred in its column just above its row's bottom rule in
    // ＭＳ Ｐ明朝 12 pixels (smaller when the box is squeezed below the
    // table's own height).
    void DrawGridFigure(const TCellTable& table, const QRectF& box);

    // Copies the points and limits of a screen chart into a figure of the
    // same series layout (mono: the PrintMode of the drawing options, 1
    // black and white). A figure axis takes the screen axis' range unless both its ends
    // are 0, in which case it scales itself.
    static void CopyChartFigure(const TChartModel& chart, TChartModel& figure, int mono);
    // Paints the figure into box (page units) as the chart draws itself at
    // the box's size in screen pixels, with a frame around it.
    void PaintChartFigure(const QRectF& box, const TChartModel& figure);

  private:
    QPainter& painter_;
};

// The line pitch of a text block in page units: the height of the face in
// screen pixels.
[[nodiscard]] double LinePitch(double points);

// A font of the given face whose size in points is right on the painter's
// device while the painter works in page units.
[[nodiscard]] QFont PageFont(const QPainter& painter, const QString& family, double points);

}  // namespace sorvanta::gui
