#include "views/PreviewChart.h"

#include <algorithm>
#include <cmath>

#include "design/DesignFields.h"
#include "text/Conversion.h"

namespace sorvanta {

namespace {

TChartSeries& SeriesOf(TChartModel& preview, TFigureKind kind) {
    return preview.Series.at(static_cast<std::size_t>(kind));
}

// Rows whose X and Y both convert, in table order.
TPolyline ConvertibleRows(const TCoordinateTable& table) {
    TPolyline points;
    for (const auto& row : table.Rows) {
        auto x = TryStrToFloat(row.X);
        auto y = TryStrToFloat(row.Y);
        if (x && y) points.push_back({*x, *y});
    }
    return points;
}

int LayersInUse(const TDesignConditions& design) {
    auto n = StrictInteger(design, TFieldId::LayerCount);
    if (!n) return MaxLayers;
    return std::clamp(*n, 1, MaxLayers);
}

}  // namespace

void DrawFigure(TChartModel& preview, const TDesignConditions& design, TFigureKind kind) {
    if (kind == fkLoad) return DrawLoadOutline(preview, design);
    if (kind == fkNeverCutElevation) return DrawNeverCutElevation(preview, design);
    auto& series = SeriesOf(preview, kind);
    series.Clear();
    const TCoordinateTable* table = FigureTable(design, kind);
    if (!table) return;
    const TRgb colour = FigureColours[static_cast<std::size_t>(kind)];
    for (const auto& p : ConvertibleRows(*table)) {
        if (kind == fkMustCutPoint)
            series.Add(p.X, p.Y, "M.C.P", colour);
        else
            series.Add(p.X, p.Y, std::nullopt, colour);
    }
}

void DrawNeverCutElevation(TChartModel& preview, const TDesignConditions& design) {
    auto& series = SeriesOf(preview, fkNeverCutElevation);
    series.Clear();
    auto elevation = StrictNumber(design, TFieldId::NeverCutElevation);
    if (!elevation) return;
    const auto& rows = design.Layers[0].Boundary.Rows;
    const TRgb colour = FigureColours[fkNeverCutElevation];
    if (auto x = TryStrToFloat(rows.front().X)) series.Add(*x, *elevation, std::nullopt, colour);
    if (auto x = TryStrToFloat(rows.back().X)) series.Add(*x, *elevation, std::nullopt, colour);
}

void DrawLoadOutline(TChartModel& preview, const TDesignConditions& design) {
    auto& series = SeriesOf(preview, fkLoad);
    series.Clear();
    auto q = StrictNumber(design, TFieldId::LoadIntensity);
    auto a = StrictNumber(design, TFieldId::LoadStartX);
    auto b = StrictNumber(design, TFieldId::LoadEndX);
    if (!q || !a || !b) return;
    const double intensity = StrToFloat(design.LoadIntensity);
    const double gammaT = StrToFloat(design.Layers[0].GammaT);
    if (gammaT == 0) throw DivisionByZeroError();
    const double h = intensity / gammaT;

    const TPolyline ground = ConvertibleRows(design.Layers[0].Boundary);
    if (ground.empty() || !(*a < *b)) return;
    // The range runs from the X of the first row to the X of the last row that
    // holds one, whether or not their Y converts.
    const auto& rows = design.Layers[0].Boundary.Rows;
    const auto firstX = TryStrToFloat(rows.front().X);
    if (!firstX) return;
    double last = *firstX;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (auto x = TryStrToFloat(row->X)) {
            last = *x;
            break;
        }
    }
    const double first = *firstX;
    if (*a < first || *a > last || *b < first || *b > last) return;

    auto groundYAt = [&](double x) {
        for (std::size_t i = 0; i + 1 < ground.size(); ++i) {
            const auto& p0 = ground[i];
            const auto& p1 = ground[i + 1];
            if (p0.X <= x && x <= p1.X) {
                if (p1.X == p0.X) return p0.Y;
                return p0.Y + (p1.Y - p0.Y) / (p1.X - p0.X) * (x - p0.X);
            }
        }
        // A ground surface whose X runs backwards somewhere: the nearest point.
        const TPoint* nearest = &ground.front();
        for (const auto& p : ground)
            if (std::abs(p.X - x) < std::abs(nearest->X - x)) nearest = &p;
        return nearest->Y;
    };

    const TRgb colour = FigureColours[fkLoad];
    const double yA = groundYAt(*a);
    const double yB = groundYAt(*b);
    series.Add(*a, yA, std::nullopt, colour);
    series.Add(*a, yA + h, std::nullopt, colour);
    for (const auto& p : ground)
        if (*a < p.X && p.X < *b) series.Add(p.X, p.Y + h, std::nullopt, colour);
    series.Add(*b, yB + h, std::nullopt, colour);
    series.Add(*b, yB, std::nullopt, colour);
}

void DrawPreview(TChartModel& preview, const TDesignConditions& design) {
    const int n = LayersInUse(design);
    for (int k = 0; k < MaxLayers; ++k) {
        auto kind = static_cast<TFigureKind>(k);
        if (k < n)
            DrawFigure(preview, design, kind);
        else
            SeriesOf(preview, kind).Clear();
    }
    auto drawIf = [&](bool on, TFigureKind kind) {
        if (on)
            DrawFigure(preview, design, kind);
        else
            SeriesOf(preview, kind).Clear();
    };
    drawIf(design.WaterEnabled, fkWater);
    drawIf(design.NeverCutLineEnabled, fkNeverCutLine);
    drawIf(design.MustCutPointEnabled, fkMustCutPoint);
    DrawNeverCutElevation(preview, design);
    SeriesOf(preview, fkLoad).Clear();
    if (design.LoadEnabled) DrawLoadOutline(preview, design);
}

void ClearLayers(TChartModel& preview, TDesignConditions& design) {
    for (int k = 0; k < MaxLayers; ++k) {
        auto& series = SeriesOf(preview, static_cast<TFigureKind>(k));
        series.Clear();
        series.Add(0, 0, std::nullopt, TRgb{128, 128, 128});
        design.Layers[static_cast<std::size_t>(k)].Boundary = TCoordinateTable::Placeholder();
    }
}

}  // namespace sorvanta
