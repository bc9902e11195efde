#pragma once
// The design read once into numbers and choices, by the rules a run converts
// its texts with: the texts a run must have as numbers (aborting rule) are
// numbers here or the reading fails with the error a run gives; the texts the
// checks judge (strict rule) are optional. Lines are read as ReadPolyline
// reads them.

#include <array>
#include <optional>

#include "design/AnalysisChoices.h"
#include "design/DesignConditions.h"

namespace sorvanta {

struct TTypedLayer {
    double GammaT = 0;
    double GammaS = 0;
    double Phi = 0;  // degrees, as entered
    double Cohesion = 0;
};

struct TTypedDesign {
    int LayerCount = 0;   // as entered; the checks refuse a count outside 1 to 5
    int LayersInUse = 0;  // LayerCount within 0 to 5: the layers read below
    bool WaterEnabled = false;
    std::optional<double> GammaW;                 // "---" while groundwater is off
    std::array<TTypedLayer, MaxLayers> Layers{};  // the first LayersInUse are read
    std::array<TPolyline, MaxLayers> Boundaries;  // every layer's line
    TPolyline WaterTable;
    TStrengthMode Strength = TStrengthMode::Total;
    double SafetyFactor = 0;
    double MaxSliceWidth = 0;
    double MeshPitch = 0;
    int MeshCount = 0;
    bool ShowSafetyFactors = false;
    bool ShowCalculationProcess = false;
    // Converted with the aborting rule when the ground surface's first or
    // last row is a point (the model spans the line between them), else
    // with the strict rule.
    std::optional<double> NeverCutElevation;
    bool NeverCutLineEnabled = false;
    TPolyline NeverCutLine;
    bool MustCutPointEnabled = false;
    TPolyline MustCutPoint;
    bool LoadEnabled = false;
    std::optional<double> LoadIntensity;
    std::optional<double> LoadStartX;
    std::optional<double> LoadEndX;
};

// Reads the design in the order a run converts it (layer count; γt, γs, φ,
// C layer by layer; mesh pitch, mesh count, slice width, safety factor;
// never-cut elevation). Throws the first failure as ConversionError located
// at its field and file line (LocateConversionError), as a run reports it.
[[nodiscard]] TTypedDesign ReadDesign(const TDesignConditions& design);

}  // namespace sorvanta
