#pragma once
// The look of the narrow coordinate grids (columns of 18 or 35 and 37 pixels).

class QTableWidget;

namespace sorvanta::gui {

// A face small enough for "70.00" in a 37-pixel column, and header sections
// without padding so that "No." fits 18 pixels. A text wider than its column
// even so ends in "…": a cut number never passes for another.
void StyleCoordinateGrid(QTableWidget* grid);

// The grid's columns at their usual widths, widened where a cell needs more
// (up to MaxCoordinateColumnWidth), and the grid as wide as its columns and
// the vertical scroll bar, so that "140.00" shows whole.
inline constexpr int MaxCoordinateColumnWidth = 72;
void SetCoordinateColumnWidths(QTableWidget* grid, int first, int others);
void FitCoordinateColumns(QTableWidget* grid);

}  // namespace sorvanta::gui
