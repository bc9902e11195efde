#include "engine/CircleCache.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace sorvanta {

namespace {

bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool Same(const TPolyline& a, const TPolyline& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](TPoint p, TPoint q) { return Same(p.X, q.X) && Same(p.Y, q.Y); });
}

bool Same(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](double p, double q) { return Same(p, q); });
}

bool Same(const TLinePiece& a, const TLinePiece& b) {
    return Same(a.X0, b.X0) && Same(a.Y0, b.Y0) && Same(a.Slope, b.Slope) && a.Flat == b.Flat;
}

// Everything of the two models but the layers' c, φ and tanφ.
bool SameButStrength(const TAnalysisModel& a, const TAnalysisModel& b) {
    if (a.WaterOn != b.WaterOn || !Same(a.GammaWater, b.GammaWater) ||
        !Same(a.NclElevation, b.NclElevation) || !Same(a.SliceWidthLimit, b.SliceWidthLimit) ||
        a.NumLayers != b.NumLayers || !Same(a.RequiredFs, b.RequiredFs) ||
        a.DisplayForm != b.DisplayForm || a.Direction != b.Direction ||
        a.StrengthMode != b.StrengthMode || a.FigureCount != b.FigureCount ||
        !Same(a.BreakX, b.BreakX) || a.CentreMeshCount != b.CentreMeshCount ||
        !Same(a.CentreMeshPitch, b.CentreMeshPitch) || !Same(a.Surface, b.Surface) ||
        a.MustCutOn != b.MustCutOn || a.NeverCutLineOn != b.NeverCutLineOn ||
        !(a.Loads == b.Loads) || !Same(a.PlannedFs, b.PlannedFs) || a.Method != b.Method ||
        a.PoreForm != b.PoreForm)
        return false;
    for (std::size_t k = 0; k < MaxLayers; ++k) {
        const TSoilValues& s = a.Soil[k];
        const TSoilValues& t = b.Soil[k];
        if (!Same(s.GammaT, t.GammaT) || !Same(s.GammaS, t.GammaS) || !Same(s.GammaSat, t.GammaSat))
            return false;
    }
    for (std::size_t k = 0; k < FigureKindCount; ++k)
        if (!Same(a.Figures[k], b.Figures[k])) return false;
    const TModelLookups& p = a.Lookups;
    const TModelLookups& q = b.Lookups;
    return p.Ready == q.Ready && p.Monotone == q.Monotone && Same(p.SortedBreakX, q.SortedBreakX) &&
           p.Tabled == q.Tabled && p.WaterAboveGround == q.WaterAboveGround &&
           p.Pieces.size() == q.Pieces.size() &&
           std::equal(p.Pieces.begin(), p.Pieces.end(), q.Pieces.begin(),
                      [](const TLinePiece& u, const TLinePiece& v) { return Same(u, v); });
}

std::size_t Hash(std::uint64_t xo, std::uint64_t yo, std::uint64_t r) {
    std::uint64_t h = xo * 0x9E3779B97F4A7C15ULL;
    h ^= yo + 0x632BE59BD9B4E019ULL + (h << 6) + (h >> 2);
    h ^= r * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 29;
    return static_cast<std::size_t>(h);
}

constexpr std::uint32_t IndexMask = 0x00FFFFFF;

std::uint32_t Tag(std::size_t hash) {
    return static_cast<std::uint32_t>(hash >> 32) & ~IndexMask;
}

}  // namespace

TCircleCache::TCircleCache(const TAnalysisModel& base, std::size_t bytes) : base_(base) {
    seen_.assign(std::size_t{1} << SeenBits, 0);
    // Two generations; in each a fifth of the memory for the circles and
    // their table, the rest for their slices.
    constexpr std::size_t sliceBytes = 2 * sizeof(double) + sizeof(std::uint8_t);
    constexpr std::size_t circleBytes = sizeof(TCircleRecord) + 2 * sizeof(std::uint32_t);
    const std::size_t half = bytes > seen_.size() ? (bytes - seen_.size()) / 2 : 0;
    maxCircles_ = std::clamp<std::size_t>(half / 5 / circleBytes, 1, IndexMask - 1);
    maxSlices_ = std::min<std::size_t>(
        (half - std::min(half, maxCircles_ * circleBytes)) / sliceBytes, UINT32_MAX);
    for (TGeneration& g : generations_) {
        g.Table.assign(std::bit_ceil(2 * maxCircles_), 0);
        g.Circles.reserve(maxCircles_);
        g.Slices.Normal.reserve(maxSlices_);
        g.Slices.L.reserve(maxSlices_);
        g.Slices.Layer.reserve(maxSlices_);
    }
}

bool TCircleCache::Applies(const TAnalysisModel& model) {
    return model.Method == TSliceMethodKind::Ordinary && model.PoreForm == TPoreForm::Modified &&
           model.Loads == TCaseLoads{};
}

bool TCircleCache::Serves(const TAnalysisModel& model) const {
    return Applies(model) && SameButStrength(base_, model);
}

const TCircleCache::TCircleRecord* TCircleCache::TGeneration::Find(const TCircleRecord& key,
                                                                   std::size_t hash) const {
    const std::size_t mask = Table.size() - 1;
    const std::uint32_t tag = Tag(hash);
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const std::uint32_t slot = Table[at];
        if (slot == 0) return nullptr;
        if ((slot & ~IndexMask) != tag) continue;
        const TCircleRecord& record = Circles[(slot & IndexMask) - 1];
        if (record.Xo == key.Xo && record.Yo == key.Yo && record.R == key.R) return &record;
    }
}

void TCircleCache::TGeneration::Add(const TCircleRecord& record, const TSliceArrays& from,
                                    std::size_t first, std::size_t hash) {
    TCircleRecord& added = Circles.emplace_back(record);
    added.First = static_cast<std::uint32_t>(Slices.Normal.size());
    const auto begin = static_cast<std::ptrdiff_t>(first);
    const auto end = static_cast<std::ptrdiff_t>(first + record.Count);
    Slices.Normal.insert(Slices.Normal.end(), from.Normal.begin() + begin,
                         from.Normal.begin() + end);
    Slices.L.insert(Slices.L.end(), from.L.begin() + begin, from.L.begin() + end);
    Slices.Layer.insert(Slices.Layer.end(), from.Layer.begin() + begin, from.Layer.begin() + end);
    const std::size_t mask = Table.size() - 1;
    std::size_t at = hash & mask;
    while (Table[at] != 0) at = (at + 1) & mask;
    Table[at] = Tag(hash) | static_cast<std::uint32_t>(Circles.size());
}

void TCircleCache::TGeneration::Clear() {
    std::fill(Table.begin(), Table.end(), 0);
    Circles.clear();
    Slices.Normal.clear();
    Slices.L.clear();
    Slices.Layer.clear();
}

bool TCircleCache::HasRoom(const TGeneration& g, std::size_t slices) const {
    return g.Circles.size() < maxCircles_ && slices <= maxSlices_ - g.Slices.Normal.size();
}

void TCircleCache::Age() {
    young_ ^= 1;
    generations_[young_].Clear();
    for (std::uint8_t& seen : seen_) seen = static_cast<std::uint8_t>(seen / 2);
}

TCircleResult TCircleCache::Finish(const TCircleResult& sums, const TCircleRecord& record) {
    TCircleResult result = sums;
    result.Crossings = record.Crossings;
    result.Fs = 0;
    if (std::fabs(result.Driving) > 0) result.Fs = result.Resisting / result.Driving;
    if (!std::isfinite(result.Resisting) || !std::isfinite(result.Driving) ||
        !std::isfinite(result.Fs)) {
        TCircleResult refused;
        refused.Verdict = TCircleVerdict::NotFinite;
        refused.Crossings = record.Crossings;
        return refused;
    }
    result.Verdict = record.Level ? TCircleVerdict::LevelGround : TCircleVerdict::Valid;
    return result;
}

TCircleResult TCircleCache::Evaluate(const TAnalysisModel& model, const TSlipCircle& circle,
                                     TEngineScratch& scratch) {
    TCircleRecord key;
    key.Xo = std::bit_cast<std::uint64_t>(circle.Xo);
    key.Yo = std::bit_cast<std::uint64_t>(circle.Yo);
    key.R = std::bit_cast<std::uint64_t>(circle.R);
    const std::size_t hash = Hash(key.Xo, key.Yo, key.R);
    TGeneration& young = generations_[young_];
    if (const TCircleRecord* known = young.Find(key, hash)) {
        ++hits_;
        return Replay(model, circle, *known, young.Slices);
    }
    const TGeneration& old = generations_[young_ ^ 1];
    if (const TCircleRecord* known = old.Find(key, hash)) {
        ++hits_;
        const TCircleResult result = Replay(model, circle, *known, old.Slices);
        if (HasRoom(young, known->Count)) young.Add(*known, old.Slices, known->First, hash);
        return result;
    }
    ++misses_;
    std::uint8_t& seen = seen_[hash >> (64 - SeenBits)];
    if (seen < AdmitAfter) {
        ++seen;
        return sorvanta::Evaluate(model, circle, scratch);
    }
    TCircleRecord record = key;
    const TCircleResult result = EvaluateRecording(model, circle, scratch, record, staging_);
    if (record.Count > maxSlices_) return result;
    if (!HasRoom(generations_[young_], record.Count)) Age();
    generations_[young_].Add(record, staging_, 0, hash);
    return result;
}

TCircleResult TCircleCache::Replay(const TAnalysisModel& model, const TSlipCircle& circle,
                                   const TCircleRecord& record, const TSliceArrays& slices) const {
    if (!record.Summed) {
        TCircleResult refused;
        refused.Verdict = record.Verdict;
        refused.Crossings = record.Crossings;
        return refused;
    }
    // Each slice's term as SliceCore forms it, summed slice by slice. By the
    // layer at the base (0: none, no strength): c, tanφ, R·c (moment form)
    // or c, and for the inner slices, which have no crack face, the crack
    // term (0·c)·0 or c·0.
    std::array<double, MaxLayers + 1> c{}, tanPhi{}, first{}, noCrack{};
    const bool moment = model.DisplayForm == TFsForm::Moment;
    const double R = circle.R;
    const int layers = model.LayersInUse();
    for (int k = 0; k < layers; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        c[kk + 1] = model.Soil[kk].C;
        tanPhi[kk + 1] =
            model.Lookups.Ready ? model.Lookups.TanPhi[kk] : std::tan(model.Soil[kk].Phi);
    }
    for (std::size_t k = 0; k <= MaxLayers; ++k) {
        first[k] = moment ? R * c[k] : c[k];
        noCrack[k] = moment ? 0.0 * c[k] * 0.0 : c[k] * 0.0;
    }
    const double* normal = slices.Normal.data() + record.First;
    const double* L = slices.L.data() + record.First;
    const std::uint8_t* layer = slices.Layer.data() + record.First;
    const std::uint32_t n = record.Count;
    auto crack = [&](std::size_t k, double h, double lever) {
        return moment ? lever * c[k] * h : c[k] * h;
    };
    double resisting = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::size_t k = layer[i];
        double term = normal[i] * tanPhi[k] + first[k] * L[i];
        if (i == 0) {
            term += crack(k, record.FirstH, record.FirstLever);
        } else if (i == n - 1) {
            term += crack(k, record.LastH, record.LastLever);
        } else {
            term += noCrack[k];
        }
        resisting += term;
    }
    TCircleResult sums;
    sums.Resisting = resisting;
    sums.Driving = record.Driving;
    sums.WidthSum = record.WidthSum;
    sums.WeightSum = record.WeightSum;
    return Finish(sums, record);
}

}  // namespace sorvanta
