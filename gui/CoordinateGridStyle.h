#pragma once
// The look of the narrow coordinate grids (columns of 18 or 35 and 37 pixels).

class QTableWidget;

namespace sorvanta::gui {

// A face small enough for "70.00" in a 37-pixel column, no eliding, and
// header sections without padding so that "No." fits 18 pixels.
void StyleCoordinateGrid(QTableWidget* grid);

}  // namespace sorvanta::gui
