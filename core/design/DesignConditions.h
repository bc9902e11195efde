#pragma once
// The one design of a section, as the user entered it. Numeric inputs are kept
// as the text typed, so a design survives saving and loading character for
// character; they are converted where they are used.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "text/Rgb.h"

namespace sorvanta {

// One row of a coordinate grid: No., X, Y as text.
struct TCoordinateRow {
    std::string No;
    std::string X;
    std::string Y;
    bool operator==(const TCoordinateRow&) const = default;
};

// The rows of one coordinate grid. Never empty: an empty table holds the one
// placeholder row "-", "-", "-".
struct TCoordinateTable {
    std::vector<TCoordinateRow> Rows{PlaceholderRow()};

    static TCoordinateRow PlaceholderRow() { return {"-", "-", "-"}; }
    static TCoordinateTable Placeholder() { return {}; }
    bool operator==(const TCoordinateTable&) const = default;
};

struct TPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TPoint&) const = default;
};

using TPolyline = std::vector<TPoint>;

// Index of the lines and points of a section, in drawings, digitising, colours.
enum TFigureKind : std::int8_t {
    fkLayer1 = 0,  // ground surface
    fkLayer2,
    fkLayer3,
    fkLayer4,
    fkLayer5,
    fkLoad,
    fkMustCutPoint,
    fkNeverCutElevation,
    fkNeverCutLine,
    fkWater,
};
inline constexpr int FigureKindCount = 10;

// The kinds that have a coordinate table, in the order the entry window
// lists them (the load and the never-cut elevation have none).
inline constexpr std::array<TFigureKind, 8> TableKinds{
    fkLayer1, fkLayer2, fkLayer3, fkLayer4, fkLayer5, fkMustCutPoint, fkNeverCutLine, fkWater};

// Figure colours by TFigureKind.
inline constexpr std::array<TRgb, FigureKindCount> FigureColours{{
    {128, 128, 0},    // olive
    {0, 128, 128},    // teal
    {128, 0, 0},      // maroon
    {0, 128, 0},      // green
    {128, 0, 128},    // purple
    {255, 0, 0},      // red
    {0, 0, 255},      // blue
    {0, 0, 128},      // navy
    {192, 192, 192},  // silver
    {0, 255, 255},    // aqua
}};

inline constexpr int MaxLayers = 5;
// Row limits of the tables, as the entry means enforce them.
inline constexpr int MaxBoundaryPoints = 51;
inline constexpr int MaxWaterPoints = 51;
inline constexpr int MaxNeverCutLinePoints = 6;
inline constexpr int MaxMustCutPoints = 1;

struct TSoilLayer {
    std::string GammaT = "18.0";
    std::string GammaS = "9.0";
    std::string Phi = "25";
    std::string Cohesion = "20";
    TCoordinateTable Boundary;
    bool operator==(const TSoilLayer&) const = default;
};

struct TDesignConditions {
    // Stored in the design conditions file, in file order (DesignFields()).
    std::string LayerCount = "5";
    bool WaterEnabled = false;
    std::string GammaW = "10.0";
    std::array<TSoilLayer, MaxLayers> Layers;
    TCoordinateTable WaterTable;
    int StressType = 0;  // 0 全応力, 1 有効応力
    std::string SafetyFactor = "1.20";
    std::string MaxSliceWidth = "1.0";
    std::string MeshPitch = "1.0";
    std::string MeshCount = "5";
    bool ShowSafetyFactors = false;
    bool ShowCalculationProcess = false;
    std::string NeverCutElevation = "0.00";
    bool NeverCutLineEnabled = false;
    TCoordinateTable NeverCutLine;
    bool MustCutPointEnabled = false;
    TCoordinateTable MustCutPoint;
    bool LoadEnabled = false;
    std::string LoadIntensity = "10.0";
    std::string LoadStartX = "0.0";
    std::string LoadEndX = "0.0";

    // Not stored in the file: the name of the file last saved or loaded.
    std::string DesignName;

    bool operator==(const TDesignConditions&) const = default;
};

// While groundwater is off γw shows this text.
inline constexpr const char* GammaWOffText = "---";

// The surcharge load is drawn and checked but enters no safety factor; the
// design window says so beside the load, the command line warns.
inline constexpr const char* LoadOutsideCalculationNote =
    "載荷重は図に描き、データを点検しますが、安全率の計算には含めません。";

// The table of a figure kind that has one (layers, must-cut point, never-cut
// line, water); nullptr for the load and the never-cut elevation line.
TCoordinateTable* FigureTable(TDesignConditions& design, TFigureKind kind);
const TCoordinateTable* FigureTable(const TDesignConditions& design, TFigureKind kind);

// Reads rows from the first until the first row whose X or Y fails the strict
// conversion; the usable point count of a table is the length of the result.
TPolyline ReadPolyline(const TCoordinateTable& table);

// Puts the sample design into the record (fields it does not name keep their
// values). The window sets its preview axes to 0..70 afterwards.
void LoadSampleDesign(TDesignConditions& design);

// γt edit of layer `layerIndex` (0-based): γs := γt − 9.0 in "0.0" when γt
// converts; unchanged otherwise. Returns whether γs was set.
bool DeriveGammaS(TDesignConditions& design, int layerIndex);

// Layer count edit: > 5 -> "5", <= 0 -> "1"; a text that is not an integer is
// left alone. Returns the layer count in use afterwards, or 0 when unchanged
// because it did not convert.
int NormaliseLayerCount(TDesignConditions& design);

// Horizontal and vertical ranges of the design preview after a load.
struct TAxisRange {
    double Min = 0;
    double Max = 0;
    bool operator==(const TAxisRange&) const = default;
};
struct TPreviewAxes {
    TAxisRange Bottom;
    TAxisRange Left;
    bool operator==(const TPreviewAxes&) const = default;
};
inline constexpr TPreviewAxes SamplePreviewAxes{{0, 70}, {0, 70}};

// From the first and last rows of the ground surface and the never-cut
// elevation (aborting conversion: throws ConversionError).
TPreviewAxes ComputePreviewAxes(const TDesignConditions& design);

}  // namespace sorvanta
