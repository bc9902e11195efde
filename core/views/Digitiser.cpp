#include "views/Digitiser.h"

#include "design/LineMerging.h"
#include "text/NumberFormat.h"
#include "views/PreviewChart.h"

namespace sorvanta {

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
    return "[" + i + "]層目の座標データが未定義です。\r\r先に、[" + i +
           "]層目の座標データを入力して下さい。";
}

TDigitiser::TStart TDigitiser::Start(TChartModel& preview, TDesignConditions& design,
                                     TFigureKind kind) {
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
    // One kind at a time: one still under way ends with the points it has.
    if (Active()) End(preview, design);
    kind_ = kind;
    active_[static_cast<std::size_t>(kind)] = true;
    fixed_.clear();
    *table = TCoordinateTable::Placeholder();
    ShowPoints(preview);
    result.Started = true;
    return result;
}

void TDigitiser::ShowPoints(TChartModel& preview) const {
    TChartSeries& series = preview.Series.at(static_cast<std::size_t>(kind_));
    const TRgb colour = FigureColours[static_cast<std::size_t>(kind_)];
    series.Clear();
    for (const TPoint& p : fixed_) series.Add(p.X, p.Y, Label(kind_), colour);
    series.Add(pointerX_, pointerY_, Label(kind_), colour);
}

void TDigitiser::Track(TChartModel& preview, double x, double y) {
    pointerX_ = x;
    pointerY_ = y;
    if (Active()) ShowPoints(preview);
}

TDigitiser::TPointResult TDigitiser::Point(TChartModel& preview, TDesignConditions& design,
                                           double x, double y, bool last) {
    TPointResult result;
    if (!Active()) return result;
    result.Accepted = true;
    pointerX_ = x;
    pointerY_ = y;
    fixed_.push_back({x, y});
    ShowPoints(preview);

    TCoordinateTable& table = *FigureTable(design, kind_);
    table.Rows.clear();
    for (std::size_t i = 0; i < fixed_.size(); ++i) {
        table.Rows.push_back(
            {std::to_string(i), FormatFloat("0.0", fixed_[i].X), FormatFloat("0.0", fixed_[i].Y)});
    }

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
    } else if (static_cast<int>(fixed_.size()) >= Limit(kind_)) {
        End(preview, design);
        result.Ended = true;
    }
    return result;
}

void TDigitiser::End(TChartModel& preview, const TDesignConditions& design) {
    active_[static_cast<std::size_t>(kind_)] = false;
    fixed_.clear();
    // The series shows what the table now holds, without the floating point.
    DrawFigure(preview, design, kind_);
}

}  // namespace sorvanta
