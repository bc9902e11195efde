#include "design/DesignConditions.h"

#include <string>

#include "text/Conversion.h"
#include "text/NumberFormat.h"

namespace sorvanta {

TCoordinateTable* FigureTable(TDesignConditions& design, TFigureKind kind) {
    return const_cast<TCoordinateTable*>(
        FigureTable(static_cast<const TDesignConditions&>(design), kind));
}

const TCoordinateTable* FigureTable(const TDesignConditions& design, TFigureKind kind) {
    switch (kind) {
        case fkLayer1:
        case fkLayer2:
        case fkLayer3:
        case fkLayer4:
        case fkLayer5:
            return &design.Layers[static_cast<std::size_t>(kind - fkLayer1)].Boundary;
        case fkMustCutPoint:
            return &design.MustCutPoint;
        case fkNeverCutLine:
            return &design.NeverCutLine;
        case fkWater:
            return &design.WaterTable;
        case fkLoad:
        case fkNeverCutElevation:
            break;
    }
    return nullptr;
}

TPolyline ReadPolyline(const TCoordinateTable& table) {
    TPolyline line;
    for (const TCoordinateRow& row : table.Rows) {
        const std::optional<double> x = TryStrToFloat(row.X);
        const std::optional<double> y = TryStrToFloat(row.Y);
        if (!x || !y) break;
        line.push_back({*x, *y});
    }
    return line;
}

namespace {

TCoordinateRow PointRow(int no, double x, double y) {
    return {std::to_string(no), FormatFloat("0.00", x), FormatFloat("0.00", y)};
}

}  // namespace

void LoadSampleDesign(TDesignConditions& design) {
    for (TSoilLayer& layer : design.Layers) {
        layer.GammaT = "18.0";
        layer.GammaS = "9.0";
        layer.Phi = "25";
        layer.Cohesion = "20";
    }
    design.LoadEnabled = false;
    design.MustCutPointEnabled = false;
    design.NeverCutLineEnabled = false;
    design.WaterEnabled = false;
    design.GammaW = GammaWOffText;
    design.LayerCount = "5";

    constexpr double sampleX[] = {0, 20, 40, 70};
    constexpr double sampleY[] = {5, 5, 15, 15};
    for (int k = 0; k < MaxLayers; ++k) {
        TCoordinateTable& table = design.Layers[static_cast<std::size_t>(k)].Boundary;
        table.Rows.clear();
        for (int i = 0; i < 4; ++i) table.Rows.push_back(PointRow(i, sampleX[i], sampleY[i] - k));
    }

    design.MustCutPoint = TCoordinateTable::Placeholder();
    design.NeverCutLine = TCoordinateTable::Placeholder();
    design.NeverCutElevation = "0.00";

    constexpr double waterY[] = {1.5, 2, 11, 13};
    design.WaterTable.Rows.clear();
    for (int i = 0; i < 4; ++i)
        design.WaterTable.Rows.push_back(PointRow(i, sampleX[i], waterY[i]));
}

bool DeriveGammaS(TDesignConditions& design, int layerIndex) {
    if (layerIndex < 0 || layerIndex >= MaxLayers) return false;
    TSoilLayer& layer = design.Layers[static_cast<std::size_t>(layerIndex)];
    const std::optional<double> gammaT = TryStrToFloat(layer.GammaT);
    if (!gammaT) return false;
    layer.GammaS = FormatFloat("0.0", *gammaT - 9.0);
    return true;
}

int NormaliseLayerCount(TDesignConditions& design) {
    const std::optional<int> count = TryStrToInt(design.LayerCount);
    if (!count) return 0;
    if (*count > MaxLayers) {
        design.LayerCount = std::to_string(MaxLayers);
        return MaxLayers;
    }
    if (*count <= 0) {
        design.LayerCount = "1";
        return 1;
    }
    return *count;
}

TPreviewAxes ComputePreviewAxes(const TDesignConditions& design) {
    const std::vector<TCoordinateRow>& ground = design.Layers[0].Boundary.Rows;
    // A table is never empty; should one be, it reads like the placeholder row.
    const TCoordinateRow placeholder = TCoordinateTable::PlaceholderRow();
    const double x1 = StrToFloat(ground.empty() ? placeholder.X : ground.front().X);
    const double xn = StrToFloat(ground.empty() ? placeholder.X : ground.back().X);
    const double e = StrToFloat(design.NeverCutElevation);
    // Both axes span the same length so the section is drawn undistorted.
    return {{x1 - 2, xn + 2}, {e - 2, e - 2 + (xn - x1 + 4)}};
}

}  // namespace sorvanta
