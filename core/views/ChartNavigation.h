#pragma once
// The six navigation buttons of the chart windows and the copy of a chart into
// its separate window.

#include <cstdint>

#include "views/ChartModel.h"

namespace sorvanta {

enum class TChartCommand : std::uint8_t {
    MoveUp,     // "上へ移動"
    MoveDown,   // "下へ移動"
    MoveLeft,   // "左へ移動"
    MoveRight,  // "右へ移動"
    ZoomIn,     // "１．２倍拡大": each axis narrows to 60 % of its span
    ZoomOut,    // "０．８倍縮小": each axis widens to 140 %
};

// Changes the axis limits; an axis still scaling itself starts from the
// range it shows (EffectiveRange) and is fixed afterwards. Panning moves the
// axis by a fifth of its span: "右へ移動" lowers the bottom axis (the drawing
// moves right), "下へ移動" raises the left axis (the drawing moves down).
// The design preview's "拡大" and "縮小" are ZoomIn and ZoomOut.
void NavigateChart(TChartModel& chart, TChartCommand command);

// Copies the points of every series into the series at the same position of a
// target with the same layout, in the target's own colours: line series with
// labels (insertion order), area series without labels, point series with
// labels in black; each series takes the source's title and legend entry. An
// axis is copied unless the source's limits are both exactly 0; an axis the
// source scales itself makes the target's scale itself. The target's first
// view (where its restore gesture returns) is the source's.
void CopyChart(const TChartModel& source, TChartModel& target);

}  // namespace sorvanta
