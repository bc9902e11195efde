#include "engine/AnalysisModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

#include "design/StoredOptions.h"
#include "text/Conversion.h"

namespace sorvanta {

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// Reads a table into a figure list; a table without a point leaves the list
// as it was.
void ReadFigure(TAnalysisModel& model, TFigureKind kind, const TCoordinateTable& table) {
    TPolyline points = ReadPolyline(table);
    if (points.empty()) return;
    model.SetFigure(kind, std::move(points));
}

std::optional<TPoint> RowPoint(const TCoordinateRow& row) {
    const std::optional<double> x = TryStrToFloat(row.X);
    const std::optional<double> y = TryStrToFloat(row.Y);
    if (!x || !y) return std::nullopt;
    return TPoint{*x, *y};
}

}  // namespace

int TAnalysisModel::LayersInUse() const {
    return std::clamp(NumLayers, 0, MaxLayers);
}

void TAnalysisModel::SetFigure(TFigureKind kind, TPolyline points) {
    const auto k = static_cast<std::size_t>(kind);
    if (points.size() > static_cast<std::size_t>(FigureCapacity[k]))
        points.resize(static_cast<std::size_t>(FigureCapacity[k]));
    FigureCount[k] = static_cast<int>(points.size());
    Figures[k] = std::move(points);
    Lookups.Ready = false;
    if (kind == fkLayer1) {
        const TPolyline& g = Figures[k];
        const bool turnsBack =
            std::adjacent_find(g.begin(), g.end(), [](const TPoint& a, const TPoint& b) {
                return b.X < a.X;
            }) != g.end();
        Surface = turnsBack && g.front().X < g.back().X ? UpperEnvelope(g) : TPolyline{};
    }
}

TPolyline UpperEnvelope(const TPolyline& line) {
    struct TSegment {
        TPoint A, B;  // A.X < B.X
        [[nodiscard]] double YAt(double x) const {
            return A.Y + (B.Y - A.Y) / (B.X - A.X) * (x - A.X);
        }
    };
    std::vector<TSegment> slanted;
    std::vector<double> xs;
    for (const TPoint& p : line) xs.push_back(p.X);
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        TPoint a = line[i], b = line[i + 1];
        if (a.X == b.X) continue;
        if (b.X < a.X) std::swap(a, b);
        slanted.push_back({a, b});
    }
    // Where two segments cross the highest one may change.
    for (std::size_t i = 0; i < slanted.size(); ++i) {
        for (std::size_t j = i + 1; j < slanted.size(); ++j) {
            const TSegment& s = slanted[i];
            const TSegment& t = slanted[j];
            const double lo = std::max(s.A.X, t.A.X);
            const double hi = std::min(s.B.X, t.B.X);
            if (!(lo < hi)) continue;
            const double d0 = s.YAt(lo) - t.YAt(lo);
            const double d1 = s.YAt(hi) - t.YAt(hi);
            if ((d0 < 0 && d1 > 0) || (d0 > 0 && d1 < 0))
                xs.push_back(lo + (hi - lo) * d0 / (d0 - d1));
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    // Highest slanted segment over (a, b), as its elevations at a and b.
    auto over = [&](double a, double b, double& ya, double& yb) {
        bool found = false;
        const double m = a + (b - a) / 2;
        double best = -Infinity;
        for (const TSegment& s : slanted) {
            if (!(s.A.X <= a && b <= s.B.X)) continue;
            const double y = s.YAt(m);
            if (!found || y > best) {
                best = y;
                ya = s.YAt(a);
                yb = s.YAt(b);
                found = true;
            }
        }
        return found;
    };
    // Highest point of the drawn line at x itself (a vertical segment's top).
    auto atPoint = [&](double x) {
        double top = -Infinity;
        for (const TPoint& p : line)
            if (p.X == x) top = std::max(top, p.Y);
        for (const TSegment& s : slanted)
            if (s.A.X < x && x < s.B.X) top = std::max(top, s.YAt(x));
        return top;
    };

    TPolyline out;
    auto add = [&](double x, double y) {
        if (!out.empty() && out.back().X == x && out.back().Y == y) return;
        out.push_back({x, y});
    };
    bool hasLeft = false;
    double leftY = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const double x = xs[i];
        double ya = 0, yb = 0;
        const bool hasRight = i + 1 < xs.size() && over(x, xs[i + 1], ya, yb);
        const double top = atPoint(x);
        if (hasLeft) add(x, leftY);
        if (top > std::max(hasLeft ? leftY : -Infinity, hasRight ? ya : -Infinity)) add(x, top);
        if (hasRight) add(x, ya);
        hasLeft = hasRight;
        leftY = yb;
    }
    return out;
}

void TAnalysisModel::BuildAnalysisModel(const TDesignConditions& design,
                                        const TAnalysisOptions& options) {
    // Start from a new object's state, so that the model is a function of the
    // design and the options alone, whatever was built into this object before.
    *this = TAnalysisModel{};

    // 1.
    NumLayers = StrToInt(design.LayerCount);
    WaterOn = design.WaterEnabled;
    // "---" while groundwater is off; any text that does not convert gives 0.
    GammaWater = TryStrToFloat(design.GammaW).value_or(0.0);

    // 2.
    const int layers = LayersInUse();
    for (int k = 0; k < layers; ++k) {
        const TSoilLayer& layer = design.Layers[static_cast<std::size_t>(k)];
        TSoilValues& soil = Soil[static_cast<std::size_t>(k)];
        soil.GammaT = StrToFloat(layer.GammaT);
        soil.GammaS = StrToFloat(layer.GammaS);
        soil.GammaSat = soil.GammaS + GammaWater;
        soil.Phi = StrToFloat(layer.Phi) * std::numbers::pi / 180;
        soil.C = StrToFloat(layer.Cohesion);
    }

    // 3.
    CentreMeshPitch = StrToFloat(design.MeshPitch);
    CentreMeshCount = StrToInt(design.MeshCount);
    SliceWidthLimit = StrToFloat(design.MaxSliceWidth);
    RequiredFs = StrToFloat(design.SafetyFactor);
    DisplayForm = options.Form;
    Direction = options.Direction;
    StrengthMode = static_cast<TStrengthMode>(design.StressType);

    // 4. and 5.
    for (int k = 0; k < layers; ++k)
        ReadFigure(*this, static_cast<TFigureKind>(fkLayer1 + k),
                   design.Layers[static_cast<std::size_t>(k)].Boundary);
    ReadFigure(*this, fkMustCutPoint, design.MustCutPoint);

    // 6. and 7. The never-cut elevation line spans the ground surface table's
    // first and last rows.
    {
        TPolyline ncl(2);
        const std::vector<TCoordinateRow>& rows = design.Layers[0].Boundary.Rows;
        if (!rows.empty()) {
            if (const auto first = RowPoint(rows.front()))
                ncl[0] = {first->X, StrToFloat(design.NeverCutElevation)};
            if (const auto last = RowPoint(rows.back()))
                ncl[1] = {last->X, StrToFloat(design.NeverCutElevation)};
        }
        SetFigure(fkNeverCutElevation, std::move(ncl));
        NclElevation = Figures[fkNeverCutElevation][0].Y;
    }

    // 8.
    ReadFigure(*this, fkNeverCutLine, design.NeverCutLine);
    ReadFigure(*this, fkWater, design.WaterTable);

    // 9.
    BreakX.clear();
    for (int k = 0; k < layers; ++k)
        for (const TPoint& p : Figures[static_cast<std::size_t>(k)]) BreakX.push_back(p.X);
    if (WaterOn)
        for (const TPoint& p : Figures[fkWater]) BreakX.push_back(p.X);
    // Where an overhang's envelope has corners of its own.
    for (const TPoint& p : Surface) BreakX.push_back(p.X);
    BreakX.push_back(0);
    BreakX.push_back(0);

    MustCutOn = design.MustCutPointEnabled;
    NeverCutLineOn = design.NeverCutLineEnabled;
    RefreshLookups();

    // The options beyond the design's own. Options the checks refuse leave
    // the model as the design alone gives it; so do options at their
    // defaults, bit for bit.
    const TAnalysisOptionsReading reading = ReadAnalysisOptions(options);
    if (!reading) return;
    const TTypedAnalysisOptions& o = reading.Values;
    PlannedFs = o.PlannedFs.value_or(0.0);
    Method = options.Method;
    PoreForm = options.PoreForm;
    TCaseLoads loads;
    if (o.LoadInAnalysis && design.LoadEnabled) {
        loads.Surcharge = true;
        loads.SurchargeQ = TryStrToFloat(design.LoadIntensity).value_or(0.0);
        loads.SurchargeX0 = TryStrToFloat(design.LoadStartX).value_or(0.0);
        loads.SurchargeX1 = TryStrToFloat(design.LoadEndX).value_or(0.0);
    }
    if (o.Case == TDesignCase::Seismic) {
        loads.Kh = o.Kh;
        RequiredFs = o.RequiredFsSeismic;
    }
    if (loads != TCaseLoads{}) SetCaseLoads(loads);
}

void TAnalysisModel::SetCaseLoads(const TCaseLoads& loads) {
    Loads = loads;
    if (loads.Surcharge && BreakX.size() >= 2) {
        // Before the two reserved entries, which stand for a circle's ends.
        const auto at = BreakX.end() - 2;
        BreakX.insert(at, {loads.SurchargeX0, loads.SurchargeX1});
    }
    RefreshLookups();
}

TAnalysisModel SeismicCaseOf(TAnalysisModel model, double kh, double requiredFs) {
    model.Loads.Kh = kh;
    model.RequiredFs = requiredFs;
    return model;
}

TAnalysisModel WithCaseLoads(TAnalysisModel model, const TCaseLoads& loads) {
    model.SetCaseLoads(loads);
    return model;
}

void TAnalysisModel::RefreshLookups() {
    for (int k = 0; k < FigureKindCount; ++k) {
        const TPolyline& line = LineOf(static_cast<TFigureKind>(k));
        Lookups.Monotone[static_cast<std::size_t>(k)] = std::is_sorted(
            line.begin(), line.end(), [](const TPoint& a, const TPoint& b) { return a.X < b.X; });
    }
    Lookups.SortedBreakX.clear();
    if (BreakX.size() >= 2) {
        Lookups.SortedBreakX.assign(BreakX.begin(), BreakX.end() - 2);
        std::sort(Lookups.SortedBreakX.begin(), Lookups.SortedBreakX.end());
        Lookups.SortedBreakX.erase(
            std::unique(Lookups.SortedBreakX.begin(), Lookups.SortedBreakX.end()),
            Lookups.SortedBreakX.end());
    }
    for (int k = 0; k < MaxLayers; ++k)
        Lookups.TanPhi[static_cast<std::size_t>(k)] =
            std::tan(Soil[static_cast<std::size_t>(k)].Phi);
    RefreshPieces();
    Lookups.Ready = true;
    Lookups.WaterAboveGround = WaterOn && WaterAnywhereAboveGround();
}

bool TAnalysisModel::WaterAnywhereAboveGround() const {
    // Both lines are straight between neighbouring break points and held flat
    // beyond them, so their difference is greatest at a break point or just
    // beside one (where a vertical segment steps).
    const TPolyline& ground = Ground();
    if (ground.empty() || Figures[fkWater].empty()) return false;
    auto above = [&](double x) { return WaterYAt(x) > PolylineYAt(fkLayer1, x); };
    std::vector<double> xs = Lookups.SortedBreakX;
    for (const TPoint& p : ground) xs.push_back(p.X);
    for (const TPoint& p : Figures[fkWater]) xs.push_back(p.X);
    for (double x : xs) {
        if (above(x) || above(std::nextafter(x, -Infinity)) || above(std::nextafter(x, Infinity)))
            return true;
    }
    return false;
}

void TAnalysisModel::RefreshPieces() {
    const std::vector<double>& b = Lookups.SortedBreakX;
    const std::size_t intervals = b.size() + 1;
    Lookups.Pieces.assign(intervals * SliceLineSlots, TLinePiece{});
    for (int slot = 0; slot < SliceLineSlots; ++slot) {
        const auto kind = static_cast<TFigureKind>(slot == WaterSlot ? fkWater : fkLayer1 + slot);
        const TPolyline& line = LineOf(kind);
        const auto s = static_cast<std::size_t>(slot);
        // Only where the line's points are all break points is its segment the
        // same for every x of an interval; the others are looked up per x.
        bool tabled = !line.empty() && Lookups.Monotone[static_cast<std::size_t>(kind)];
        for (const TPoint& p : line) {
            if (!tabled) break;
            tabled = std::binary_search(b.begin(), b.end(), p.X);
        }
        Lookups.Tabled[s] = tabled;
        if (!tabled) continue;
        const std::size_t n = line.size();
        for (std::size_t m = 0; m < intervals; ++m) {
            // The points with X <= x are the same for every x of the interval:
            // those up to its lower end (none for the first interval).
            std::size_t after = 0;
            if (m > 0) {
                const double lower = b[m - 1];
                after = static_cast<std::size_t>(
                    std::upper_bound(line.begin(), line.end(), lower,
                                     [](double v, const TPoint& p) { return v < p.X; }) -
                    line.begin());
            }
            TLinePiece& piece = Lookups.Pieces[m * SliceLineSlots + s];
            if (after > 0 && after < n) {
                const TPoint& p0 = line[after - 1];
                const TPoint& p1 = line[after];
                piece = {p0.X, p0.Y, (p1.Y - p0.Y) / (p1.X - p0.X), false};
            } else {
                // Held flat: before the first point the first is the nearer
                // end; after the last, the last unless both ends share one X.
                const TPoint& first = line.front();
                const TPoint& last = line.back();
                const bool useFirst = after == 0 || first.X == last.X;
                piece = {0, useFirst ? first.Y : last.Y, 0, true};
            }
        }
    }
}

double TAnalysisModel::PolylineYAt(TFigureKind kind, double x) const {
    const TPolyline& line = LineOf(kind);
    const std::size_t n = line.size();
    if (n == 0) return -Infinity;

    std::size_t segment = n;  // none
    if (Lookups.Ready && Lookups.Monotone[static_cast<std::size_t>(kind)]) {
        // With X never decreasing, the only candidate is the segment that
        // starts at the last point with X <= x.
        const auto after = std::upper_bound(line.begin(), line.end(), x,
                                            [](double v, const TPoint& p) { return v < p.X; });
        const auto i = static_cast<std::size_t>(after - line.begin());
        if (i > 0 && i < n) segment = i - 1;
    } else {
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (line[i].X <= x && x < line[i + 1].X) {
                segment = i;
                break;
            }
        }
    }
    if (segment < n) {
        const TPoint& p0 = line[segment];
        const TPoint& p1 = line[segment + 1];
        return p0.Y + (p1.Y - p0.Y) / (p1.X - p0.X) * (x - p0.X);
    }
    // Held flat beyond the ends.
    const TPoint& first = line.front();
    const TPoint& last = line.back();
    return std::fabs(x - first.X) <= std::fabs(x - last.X) ? first.Y : last.Y;
}

std::size_t TAnalysisModel::FindInterval(double x) const {
    if (!Lookups.Ready || x != x) return NoInterval;
    const std::vector<double>& b = Lookups.SortedBreakX;
    return static_cast<std::size_t>(std::upper_bound(b.begin(), b.end(), x) - b.begin());
}

double TAnalysisModel::LowestGroundY() const {
    double lowest = Infinity;
    for (const TPoint& p : Ground()) lowest = std::min(lowest, p.Y);
    return lowest;
}

bool ModelValuesFinite(const TAnalysisModel& model) {
    auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(model.GammaWater) || !finite(model.NclElevation) ||
        !finite(model.SliceWidthLimit) || !finite(model.RequiredFs) ||
        !finite(model.CentreMeshPitch))
        return false;
    for (int k = 0; k < model.LayersInUse(); ++k) {
        const TSoilValues& s = model.Soil[static_cast<std::size_t>(k)];
        if (!finite(s.GammaT) || !finite(s.GammaS) || !finite(s.GammaSat) || !finite(s.Phi) ||
            !finite(s.C))
            return false;
    }
    for (const TPolyline& line : model.Figures)
        for (const TPoint& p : line)
            if (!finite(p.X) || !finite(p.Y)) return false;
    return true;
}

void TSliceList::Clear() {
    Resize(0);
}

void TSliceList::Resize(int n) {
    const auto size = static_cast<std::size_t>(n);
    for (std::vector<double>* list :
         {&CentreX, &GroundYCentre, &ArcYCentre, &Width, &LeftX, &GroundYLeft, &ArcYLeft})
        list->resize(size);
}

TAnalysisModel BuildAnalysisModel(const TDesignConditions& design,
                                  const TAnalysisOptions& options) {
    TAnalysisModel model;
    model.BuildAnalysisModel(design, options);
    return model;
}

}  // namespace sorvanta
