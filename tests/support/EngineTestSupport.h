#pragma once
// Small sections built directly as analysis models, and designs as the user
// would enter them.

#include <charconv>
#include <initializer_list>
#include <string>

#include "TestSupport.h"
#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "engine/SliceMethod.h"
#include "text/NumberFormat.h"

namespace sorvanta::test {

inline TCoordinateTable Table(std::initializer_list<TPoint> points) {
    TCoordinateTable table;
    table.Rows.clear();
    int no = 0;
    for (const TPoint& p : points)
        table.Rows.push_back(
            {std::to_string(no++), FormatFloat("0.00", p.X), FormatFloat("0.00", p.Y)});
    if (table.Rows.empty()) table.Rows.push_back(TCoordinateTable::PlaceholderRow());
    return table;
}

// The same with every coordinate written in full (shortest round trip), for
// points that two decimals would move.
inline std::string ExactText(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

inline TCoordinateTable ExactTable(const TPolyline& points) {
    TCoordinateTable table;
    table.Rows.clear();
    int no = 0;
    for (const TPoint& p : points)
        table.Rows.push_back({std::to_string(no++), ExactText(p.X), ExactText(p.Y)});
    if (table.Rows.empty()) table.Rows.push_back(TCoordinateTable::PlaceholderRow());
    return table;
}

// One homogeneous layer under `ground`, no water, no constraints.
inline TAnalysisModel OneLayerModel(const TPolyline& ground, double gamma, double phiDeg, double c,
                                    double sliceWidth, int form = 0) {
    TAnalysisModel e;
    e.NumLayers = 1;
    e.Soil[0] = {gamma, gamma - 9, gamma - 9, phiDeg * 3.141592653589793 / 180, c};
    e.SliceWidthLimit = sliceWidth;
    e.DisplayForm = static_cast<TFsForm>(form);
    e.RequiredFs = 1.2;
    e.SetFigure(fkLayer1, ground);
    e.SetFigure(fkNeverCutElevation, {{ground.front().X, -1000}, {ground.back().X, -1000}});
    e.NclElevation = -1000;
    for (const TPoint& p : ground) e.BreakX.push_back(p.X);
    e.BreakX.push_back(0);
    e.BreakX.push_back(0);
    e.RefreshLookups();
    return e;
}

// The line mirrored about X = 0, points in increasing X again: the same
// section sliding the other way.
inline TPolyline Mirrored(const TPolyline& line) {
    TPolyline out;
    for (auto it = line.rbegin(); it != line.rend(); ++it) out.push_back({-it->X, it->Y});
    return out;
}

// A circle's evaluation with everything a test looks at (crossings, slices,
// rows), on scratch space of its own.
inline TCircleEvaluation EvaluateAll(const TAnalysisModel& model, const TSlipCircle& circle) {
    TEngineScratch scratch;
    return Evaluate(model, circle, scratch, {.MeetX = true, .Slices = true, .Rows = true});
}

// Scratch space for the searches of a test thread.
inline TEngineScratch& Scratch() {
    thread_local TEngineScratch scratch;
    return scratch;
}

}  // namespace sorvanta::test
