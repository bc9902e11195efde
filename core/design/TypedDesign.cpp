#include "design/TypedDesign.h"

#include <algorithm>

#include "design/DesignFields.h"
#include "design/DesignFile.h"
#include "text/Conversion.h"

namespace sorvanta {

namespace {

bool IsPoint(const TCoordinateRow& row) {
    return TryStrToFloat(row.X) && TryStrToFloat(row.Y);
}

TTypedDesign Read(const TDesignConditions& d) {
    TTypedDesign t;
    t.LayerCount = StrToInt(d.LayerCount);
    t.LayersInUse = std::clamp(t.LayerCount, 0, MaxLayers);
    t.WaterEnabled = d.WaterEnabled;
    t.GammaW = TryStrToFloat(d.GammaW);
    for (int k = 0; k < t.LayersInUse; ++k) {
        const TSoilLayer& in = d.Layers[static_cast<std::size_t>(k)];
        TTypedLayer& out = t.Layers[static_cast<std::size_t>(k)];
        out.GammaT = StrToFloat(in.GammaT);
        out.GammaS = StrToFloat(in.GammaS);
        out.Phi = StrToFloat(in.Phi);
        out.Cohesion = StrToFloat(in.Cohesion);
    }
    t.MeshPitch = StrToFloat(d.MeshPitch);
    t.MeshCount = StrToInt(d.MeshCount);
    t.MaxSliceWidth = StrToFloat(d.MaxSliceWidth);
    t.SafetyFactor = StrToFloat(d.SafetyFactor);
    const std::vector<TCoordinateRow>& ground = d.Layers[0].Boundary.Rows;
    const bool spanned = !ground.empty() && (IsPoint(ground.front()) || IsPoint(ground.back()));
    t.NeverCutElevation = spanned ? std::optional(StrToFloat(d.NeverCutElevation))
                                  : TryStrToFloat(d.NeverCutElevation);

    for (int k = 0; k < MaxLayers; ++k) {
        t.Boundaries[static_cast<std::size_t>(k)] =
            ReadPolyline(d.Layers[static_cast<std::size_t>(k)].Boundary);
    }
    t.WaterTable = ReadPolyline(d.WaterTable);
    t.Strength = static_cast<TStrengthMode>(d.StressType);
    t.ShowSafetyFactors = d.ShowSafetyFactors;
    t.ShowCalculationProcess = d.ShowCalculationProcess;
    t.NeverCutLineEnabled = d.NeverCutLineEnabled;
    t.NeverCutLine = ReadPolyline(d.NeverCutLine);
    t.MustCutPointEnabled = d.MustCutPointEnabled;
    t.MustCutPoint = ReadPolyline(d.MustCutPoint);
    t.LoadEnabled = d.LoadEnabled;
    t.LoadIntensity = TryStrToFloat(d.LoadIntensity);
    t.LoadStartX = TryStrToFloat(d.LoadStartX);
    t.LoadEndX = TryStrToFloat(d.LoadEndX);
    return t;
}

}  // namespace

TTypedDesign ReadDesign(const TDesignConditions& design) {
    try {
        return Read(design);
    } catch (const ConversionError& e) {
        throw LocateConversionError(design, e);
    }
}

}  // namespace sorvanta
