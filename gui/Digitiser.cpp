#include "Digitiser.h"

#include "design/LineMerging.h"
#include "text/NumberFormat.h"
#include "views/PreviewChart.h"

namespace sorvanta::gui {

namespace {

std::optional<std::string> Label(TFigureKind kind) {
    if (kind == fkMustCutPoint) return std::string("M.C.P");
    return std::nullopt;
}

}  // namespace

int TDigitiser::Limit(TFigureKind kind) {
    switch (kind) {
        case fkNeverCutLine:
            return MaxNeverCutLinePoints;
        case fkMustCutPoint:
            return MaxMustCutPoints;
        case fkWater:
            return MaxWaterPoints;
        default:
            return MaxBoundaryPoints;
    }
}

std::string TDigitiser::MissingLayerMessage(int n) {
    const std::string i = std::to_string(n);
    return "[" + i + "]層目の座標データが未定義です。\r\r先に、[" + i + "]層目の座標データを入力して下さい。";
}

TDigitiser::TStart TDigitiser::Start(TChartModel& preview, TDesignConditions& design, TFigureKind kind) {
    TStart result;
    if (kind >= fkLayer2 && kind <= fkLayer5) {
        for (int i = 0; i < kind - fkLayer1; ++i) {
            if (ReadPolyline(design.Layers[static_cast<std::size_t>(i)].Boundary).size() < 2) {
                result.MissingLayer = i;
                result.Message = MissingLayerMessage(i + 1);
                return result;
            }
        }
    }
    TCoordinateTable* table = FigureTable(design, kind);
    if (!table) return result;
    kind_ = kind;
    active_[static_cast<std::size_t>(kind)] = true;
    TChartSeries& series = preview.Series.at(static_cast<std::size_t>(kind));
    series.Clear();
    series.Add(pointerX_, pointerY_, Label(kind), FigureColours[static_cast<std::size_t>(kind)]);
    *table = TCoordinateTable::Placeholder();
    result.Started = true;
    return result;
}

void TDigitiser::Track(TChartModel& preview, double x, double y) {
    pointerX_ = x;
    pointerY_ = y;
    if (!Active()) return;
    TChartSeries& series = preview.Series.at(static_cast<std::size_t>(kind_));
    if (series.Points.empty()) return;
    series.Points.back().X = x;
    series.Points.back().Y = y;
}

TDigitiser::TPointResult TDigitiser::Point(TChartModel& preview, TDesignConditions& design, double x, double y,
                                           bool last) {
    TPointResult result;
    if (!Active()) return result;
    result.Accepted = true;
    pointerX_ = x;
    pointerY_ = y;
    TChartSeries& series = preview.Series.at(static_cast<std::size_t>(kind_));
    const TRgb colour = FigureColours[static_cast<std::size_t>(kind_)];
    if (series.Points.empty()) series.Add(x, y, Label(kind_), colour);
    series.Points.back().X = x;
    series.Points.back().Y = y;
    series.Add(x, y, Label(kind_), colour);

    // The table holds the fixed points: all but the floating one.
    const std::size_t fixed = series.Points.size() - 1;
    TCoordinateTable& table = *FigureTable(design, kind_);
    table.Rows.clear();
    for (std::size_t i = 0; i < fixed; ++i) {
        table.Rows.push_back({std::to_string(i), FormatFloat("0.0", series.Points[i].X),
                              FormatFloat("0.0", series.Points[i].Y)});
    }
    if (table.Rows.empty()) table = TCoordinateTable::Placeholder();

    if (last) {
        if (kind_ >= fkLayer2 && kind_ <= fkLayer5) {
            const auto& upper = design.Layers[static_cast<std::size_t>(kind_ - fkLayer2)].Boundary;
            TMergeResult merged = MergeLowerBoundary(upper, table);
            if (merged.Ok()) {
                table = std::move(merged.Table);
            } else {
                result.Message = merged.Error;
            }
        } else if (kind_ == fkWater) {
            TMergeResult merged = MergeWaterLine(design.Layers[0].Boundary, table);
            if (merged.Ok()) {
                table = std::move(merged.Table);
            } else {
                result.Message = merged.Error;
            }
        }
        End(preview, design);
        result.Ended = true;
    } else if (static_cast<int>(fixed) >= Limit(kind_)) {
        End(preview, design);
        result.Ended = true;
    }
    return result;
}

void TDigitiser::End(TChartModel& preview, const TDesignConditions& design) {
    active_[static_cast<std::size_t>(kind_)] = false;
    // The series shows what the table now holds, without the floating point.
    DrawFigure(preview, design, kind_);
}

}  // namespace sorvanta::gui
