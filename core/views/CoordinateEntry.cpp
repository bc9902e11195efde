#include "views/CoordinateEntry.h"

#include "design/LineMerging.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"

namespace sorvanta {

std::string EntryTitle(TFigureKind kind) {
    for (std::size_t i = 0; i < EntryKinds.size(); ++i) {
        if (EntryKinds[i] == kind) return EntryTitles[i];
    }
    return EntryTitles[0];
}

TFigureKind EntryKindOfTitle(const std::string& title) {
    for (std::size_t i = 0; i < EntryTitles.size(); ++i) {
        if (title == EntryTitles[i]) return EntryKinds[i];
    }
    return fkLayer1;
}

TRowRange EntryRowRange(TFigureKind kind) {
    switch (kind) {
        case fkMustCutPoint:
            return {0, MaxMustCutPoints - 1};
        case fkNeverCutLine:
            return {0, MaxNeverCutLinePoints - 1};
        case fkWater:
            return {1, MaxWaterPoints - 1};
        default:
            return {1, MaxBoundaryPoints - 1};
    }
}

void RenumberRows(TCoordinateTable& table) {
    for (std::size_t i = 0; i < table.Rows.size(); ++i) table.Rows[i].No = std::to_string(i);
}

std::string WriteBackEntry(TDesignConditions& design, TFigureKind kind,
                           const TCoordinateTable& entry) {
    TCoordinateTable& target = *FigureTable(design, kind);
    if (kind >= fkLayer2 && kind <= fkLayer5) {
        TMergeResult merged = MergeLowerBoundary(
            design.Layers[static_cast<std::size_t>(kind - fkLayer2)].Boundary, entry);
        if (!merged.Ok()) return merged.Error;
        target = std::move(merged.Table);
        return {};
    }
    if (kind == fkWater) {
        TMergeResult merged = MergeWaterLine(design.Layers[0].Boundary, entry);
        if (!merged.Ok()) return merged.Error;
        target = std::move(merged.Table);
        return {};
    }
    const TPolyline points = ReadPolyline(entry);
    if (points.empty()) return {};
    target.Rows.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
        target.Rows.push_back({std::to_string(i), FormatFloat("0.00", points[i].X),
                               FormatFloat("0.00", points[i].Y)});
    }
    return {};
}

void SetSimpleGround(TDesignConditions& design, TChartModel& preview, double y0, double n, double h,
                     double xr) {
    const double w = n * h;
    const TPoint points[] = {{0, y0}, {(xr - w) / 2, y0}, {(xr + w) / 2, y0 + h}, {xr, y0 + h}};
    TCoordinateTable& table = design.Layers[0].Boundary;
    table.Rows.clear();
    TChartSeries& series = preview.Series.at(fkLayer1);
    series.Clear();
    for (int i = 0; i < 4; ++i) {
        table.Rows.push_back({std::to_string(i), FormatFloat("0.00", points[i].X),
                              FormatFloat("0.00", points[i].Y)});
        series.Add(points[i].X, points[i].Y, std::nullopt, FigureColours[fkLayer1]);
    }
}

}  // namespace sorvanta
