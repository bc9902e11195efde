#pragma once
// The analysis model: the numeric snapshot of the design conditions on which
// the engine works. Built once from the design and the options of the run
// (BuildAnalysisModel) and read
// through const references from then on: the search's workers share it, each
// with scratch space of its own (TEngineScratch).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "design/AnalysisChoices.h"
#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"

namespace sorvanta {

// One layer's soil values; angles in radians.
struct TSoilValues {
    double GammaT = 0;
    double GammaS = 0;
    double GammaSat = 0;  // GammaS + GammaWater
    double Phi = 0;
    double C = 0;
    bool operator==(const TSoilValues&) const = default;
};

// What a design case adds to the soil's own weight. A new object adds
// nothing, and a model without additions computes exactly as before them.
struct TCaseLoads {
    // Horizontal seismic coefficient kh (seismic coefficient method): a
    // horizontal force kh·W at each slice's centre of gravity, in the
    // direction the circle slides. 0: none.
    double Kh = 0;
    // The surcharge load q (kN/m2) over [SurchargeX0, SurchargeX1] counts as
    // weight on the slices beneath it. It takes no kh.
    bool Surcharge = false;
    double SurchargeQ = 0;
    double SurchargeX0 = 0;
    double SurchargeX1 = 0;
    bool operator==(const TCaseLoads&) const = default;
};

// Points a list of Figures holds at most, by TFigureKind.
inline constexpr std::array<int, FigureKindCount> FigureCapacity{51, 51, 51, 51, 51,
                                                                 51, 3,  2,  6,  51};

// The part of a line that PolylineYAt uses over one interval of the break
// points: Y0 + Slope * (x - X0), or Y0 itself where the line is held flat.
// Slope is the segment's (Y1 - Y0) / (X1 - X0), divided once here.
struct TLinePiece {
    double X0 = 0;
    double Y0 = 0;
    double Slope = 0;
    bool Flat = false;

    // Bit for bit what PolylineYAt gives for an x of the piece's interval.
    [[nodiscard]] double YAt(double x) const { return Flat ? Y0 : Y0 + Slope * (x - X0); }
};

// Lines the slices read: the five layer boundaries, then the water line.
inline constexpr int SliceLineSlots = MaxLayers + 1;
inline constexpr int WaterSlot = MaxLayers;

// Derived look-up data that keeps the inner loop from rescanning polylines and
// resorting the break points for every slice. BuildAnalysisModel fills it;
// code that edits Figures or BreakX by hand calls RefreshLookups() afterwards
// (without it the slow but equivalent paths are taken).
struct TModelLookups {
    bool Ready = false;
    // Per figure kind: X never decreases along the line, so the segment at x is
    // found by bisection.
    std::array<bool, FigureKindCount> Monotone{};
    // BreakX without its two reserved entries, sorted, exact repeats dropped.
    std::vector<double> SortedBreakX;
    // tan φ of each layer.
    std::array<double, MaxLayers> TanPhi{};
    // Interval m (0 .. SortedBreakX.size()) is [b(m-1), b(m)) of the sorted
    // break points b, unbounded at both ends. A line whose points are all
    // break points and whose X never decreases is one piece over each
    // interval: Pieces[m * SliceLineSlots + slot] when Tabled[slot].
    std::array<bool, SliceLineSlots> Tabled{};
    std::vector<TLinePiece> Pieces;
    // Groundwater is on and its line lies above the ground surface somewhere
    // (ponded water, a river against a levee): only then do the slices carry
    // the water standing on them.
    bool WaterAboveGround = false;
};

// The numeric design. Lengths in m, unit weights kN/m3, cohesion
// kN/m2, angles in radians. A new object is all zeros, falses and empties.
class TAnalysisModel {
  public:
    bool WaterOn = false;
    double GammaWater = 0;
    double NclElevation = 0;
    double SliceWidthLimit = 0;
    // As converted from LayerCount, even when it lies outside 1..5 (the checks
    // refuse that); the engine itself uses LayersInUse().
    int NumLayers = 0;
    double RequiredFs = 0;
    // Of the run's options: what the engine and the search read of them.
    TFsForm DisplayForm = TFsForm::Moment;
    TSlipDirection Direction = TSlipDirection::Clockwise;
    TStrengthMode StrengthMode = TStrengthMode::Total;
    std::array<TSoilValues, MaxLayers> Soil{};  // Soil[0] is layer 1
    // One list per TFigureKind; Figures[k].size() == FigureCount[k] always.
    std::array<TPolyline, FigureKindCount> Figures;
    std::array<int, FigureKindCount> FigureCount{};
    // X of the layer points (layers 1..NumLayers), then of the water points
    // when WaterOn, then two reserved entries (0) that stand for a circle's
    // start and end X.
    std::vector<double> BreakX;
    int CentreMeshCount = 0;
    double CentreMeshPitch = 0;

    // The ground surface as the engine works on it, when that is not the line
    // as drawn: a ground running left to right on the whole but turning back
    // somewhere (an overhang) is taken as seen from above, the upper envelope
    // of the drawn line, its steps vertical. A vertical slice has one top, so
    // the soil under an overhang's lip counts down to the slip surface; and
    // the circles the classification accepts are those the slices can cut, so
    // that Fs changes continuously as an overhanging face tilts back through
    // the vertical. Empty for every other ground: Ground() is then the drawn
    // line. Drawings and listings keep the drawn line.
    TPolyline Surface;

    // Switches of the design conditions the search reads (MustCutPointEnabled,
    // NeverCutLineEnabled), kept here so that a copy of the model carries
    // everything a worker thread needs.
    bool MustCutOn = false;
    bool NeverCutLineOn = false;

    TCaseLoads Loads;
    // The planned safety factor of a countermeasure; 0: none. The search
    // then also finds the circle needing the largest restraining force.
    double PlannedFs = 0;
    TSliceMethodKind Method = TSliceMethodKind::Ordinary;
    TPoreForm PoreForm = TPoreForm::Modified;

    TModelLookups Lookups;

    // Fills the model from the design and the run's options, step by step;
    // later steps read what earlier ones set (the layer count before the
    // layers, the ground before the never-cut elevation).
    // Throws ConversionError (text/Conversion.h) when the aborting conversion
    // fails; the steps after it are not performed. Starts from a new object's
    // state, so the model depends on the design and the options alone, never
    // on what was built into the object before. A γw text that does not
    // convert gives 0.
    void BuildAnalysisModel(const TDesignConditions& design, const TAnalysisOptions& options);

    // Elevation of Figures[kind] at x: the first segment in point order with
    // start X <= x < end X is interpolated; segments whose X decreases never
    // qualify. Where no segment qualifies (x outside the line's X range, or x
    // equal to its last X) the elevation is that of the end point nearer to x
    // in X (the first point when equally near), i.e. the line is held flat
    // beyond its ends. A line with no point gives -infinity: nothing of it lies
    // above any slip surface.
    [[nodiscard]] double PolylineYAt(TFigureKind kind, double x) const;
    [[nodiscard]] double WaterYAt(double x) const { return PolylineYAt(fkWater, x); }
    // The ground surface the engine works on: Surface, or the drawn line.
    [[nodiscard]] const TPolyline& Ground() const {
        return Surface.empty() ? Figures[fkLayer1] : Surface;
    }
    // The line PolylineYAt reads for a kind: Ground() for the ground surface.
    [[nodiscard]] const TPolyline& LineOf(TFigureKind kind) const {
        return kind == fkLayer1 ? Ground() : Figures[static_cast<std::size_t>(kind)];
    }
    // Smallest Y of the ground surface points; +infinity with no point.
    [[nodiscard]] double LowestGroundY() const;

    // min(max(NumLayers, 0), 5): the layers the engine evaluates.
    [[nodiscard]] int LayersInUse() const;
    // Recomputes Lookups from Figures, BreakX and Soil.
    void RefreshLookups();
    // The elevation of a slice line (slot 0..4: layer boundary, WaterSlot:
    // water) at x, bit for bit PolylineYAt; `interval` is IntervalOf(x).
    [[nodiscard]] double SliceLineY(int slot, std::size_t interval, double x) const {
        if (Lookups.Ready && Lookups.Tabled[static_cast<std::size_t>(slot)] &&
            interval != NoInterval) {
            return Lookups.Pieces[interval * SliceLineSlots + static_cast<std::size_t>(slot)].YAt(
                x);
        }
        return PolylineYAt(static_cast<TFigureKind>(slot == WaterSlot ? fkWater : fkLayer1 + slot),
                           x);
    }
    // The interval of Lookups.SortedBreakX holding x, walking on from `hint`
    // (the interval of an earlier, usually smaller x); NoInterval for NaN or
    // without lookups.
    static constexpr std::size_t NoInterval = static_cast<std::size_t>(-1);
    [[nodiscard]] std::size_t IntervalOf(double x, std::size_t hint) const {
        const std::vector<double>& b = Lookups.SortedBreakX;
        // A hint of 0 or NoInterval, or one beyond x, starts afresh.
        if (hint - 1 < b.size() && b[hint - 1] <= x) {
            while (hint < b.size() && b[hint] <= x) ++hint;
            return hint;
        }
        return FindInterval(x);
    }
    // The water line lies above the ground surface somewhere (WaterOn aside).
    [[nodiscard]] bool WaterAnywhereAboveGround() const;
    // Sets the case's loads; the surcharge's ends become break points, so
    // that no slice is partly loaded.
    void SetCaseLoads(const TCaseLoads& loads);
    // Replaces a figure list (truncated to its capacity) and its count; for
    // the ground surface, rebuilds Surface.
    void SetFigure(TFigureKind kind, TPolyline points);

  private:
    void RefreshPieces();
    [[nodiscard]] std::size_t FindInterval(double x) const;
};

// The upper envelope of a polyline, left to right, as a polyline whose X
// never decreases: over each stretch the highest segment, with a vertical
// step wherever the envelope jumps (and up to the top of a vertical segment
// standing above both sides).
[[nodiscard]] TPolyline UpperEnvelope(const TPolyline& line);

// Every number the engine computes with is finite (soil values, unit
// weights, elevations, slice width, required safety factor, the points of
// the lines). The checks refuse a design for which this is false.
[[nodiscard]] bool ModelValuesFinite(const TAnalysisModel& model);

// The model of a design run with the options (TAnalysisModel::BuildAnalysisModel
// on a new object).
[[nodiscard]] TAnalysisModel BuildAnalysisModel(const TDesignConditions& design,
                                                const TAnalysisOptions& options);

// The 地震時 case of a model: the same section with the seismic coefficient
// kh and the case's required factor.
[[nodiscard]] TAnalysisModel SeismicCaseOf(TAnalysisModel model, double kh, double requiredFs);

// The model of the same design under other loads.
[[nodiscard]] TAnalysisModel WithCaseLoads(TAnalysisModel model, const TCaseLoads& loads);

// The slice lists of a circle, one entry per slice in increasing X.
struct TSliceList {
    std::vector<double> CentreX;
    std::vector<double> GroundYCentre;  // ground surface at the centre line
    std::vector<double> ArcYCentre;     // slip surface at the centre line
    std::vector<double> Width;
    std::vector<double> LeftX;        // left edge
    std::vector<double> GroundYLeft;  // ground surface at the left edge
    std::vector<double> ArcYLeft;     // slip surface at the left edge

    [[nodiscard]] int Count() const { return static_cast<int>(CentreX.size()); }
    void Clear();
    void Resize(int n);
};

// Scratch space of the evaluation, reused from circle to circle so that the
// inner loop does not allocate. What it holds between calls means nothing:
// every result is returned as a value.
// What the methods of slices beyond the ordinary one need of a slice, in
// the units of the model's form (moments over R in force form).
struct TSliceForces {
    double W = 0;      // everything the slice carries, as in its row
    double SoilW = 0;  // the soil alone, which takes the seismic force
    double B = 0;
    double L = 0;
    double Sin = 0, Cos = 0;
    double C = 0;
    double TanPhi = 0;
    double Pore = 0;          // vertical pore force on the width b (u·b)
    double Crack = 0;         // resisting term of the cohesion on a crack face
    double Thrust = 0;        // driving term of ponded water's thrust
    double GravityLever = 0;  // Yo − yG
};

class TCircleCache;

struct TEngineScratch {
    std::vector<double> Breaks;
    // Per slice: the break-point interval of its centre X (IntervalOf).
    std::vector<std::size_t> CentreInterval;
    TSliceList Slices;
    std::vector<double> MeetX;
    std::vector<TSliceForces> Forces;
    // The circles of a study, when the search takes them from one (the
    // results are the same either way); not owned.
    TCircleCache* Cache = nullptr;
};

}  // namespace sorvanta
