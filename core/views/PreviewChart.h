#pragma once
// The design window's live preview of the section ("地形図"), as functions of
// the design conditions, so the window, the printed document and the PDF all
// draw the same ten series (TFigureKind order, see MakePreviewChart).

#include <stdexcept>

#include "design/DesignConditions.h"
#include "views/ChartModel.h"

namespace sorvanta {

// The load outline divides by γt of layer 1; γt = 0 stops it like a failed
// conversion does.
class DivisionByZeroError : public std::runtime_error {
  public:
    DivisionByZeroError() : std::runtime_error("0 による除算が発生しました。") {}
};

// Redraws one kind from its table: every row whose X and Y both pass the strict
// conversion, faulty rows skipped (not ended on, unlike ReadPolyline). Must-cut
// points are labelled "M.C.P". The load and the never-cut elevation line are
// redrawn by their own operations below.
void DrawFigure(TChartModel& preview, const TDesignConditions& design, TFigureKind kind);

// The never-cut elevation line: the X of the first and of the last row (by
// position) of the ground surface table, at the elevation typed. Nothing when
// the elevation does not convert; an end whose X does not convert is left out.
void DrawNeverCutElevation(TChartModel& preview, const TDesignConditions& design);

// The surcharge outline as an equivalent height of soil Q / γt over the loaded
// stretch. Draws nothing when Q, start or end X do not convert (strict) or the
// stretch is not inside the ground's X range. Q and γt of layer 1 then go
// through the aborting conversion: throws ConversionError, or
// DivisionByZeroError for γt = 0, with the series left empty.
void DrawLoadOutline(TChartModel& preview, const TDesignConditions& design);

// Everything the window shows for a design after a load or at start-up:
// layers in use, and the water line, never-cut line, must-cut point and load
// when switched on, the never-cut elevation line always. Series of switched-off
// figures are emptied. A γt of layer 1 that stops DrawLoadOutline leaves the
// load empty and does not stop the rest (the exception is passed on last).
void DrawPreview(TChartModel& preview, const TDesignConditions& design);

// "廃棄": each layer's series holds one grey point at (0, 0) and its table the
// placeholder row; water, never-cut and must-cut tables stay.
void ClearLayers(TChartModel& preview, TDesignConditions& design);

}  // namespace sorvanta
