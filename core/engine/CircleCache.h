#pragma once
// The circles of a study, kept between its searches. A study runs the
// critical-circle search again and again on one design with other values of
// c and φ; the searches meet many of the same circles, whose slices are the
// same in every run: only the resisting sum changes, and it is linear in c
// and tanφ of the layer at each slice's base. So each circle's strength-free
// slice terms are kept once, and a circle met again replays its resisting
// sum from them in the order and association of a fresh evaluation: the
// result is bit for bit the same, hit or miss, whatever the cache holds.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"
#include "engine/SliceMethod.h"

namespace sorvanta {

class TCircleCache {
  public:
    // Memory one cache takes at most: two generations of circles and the
    // sightings of those not (yet) kept.
    static constexpr std::size_t DefaultBytes = std::size_t{64} << 20;

    // For the searches of models that differ from `base` in the layers' c
    // and φ alone.
    explicit TCircleCache(const TAnalysisModel& base, std::size_t bytes = DefaultBytes);

    // The search of `model` may take its circles from here: the model is
    // evaluated by the ordinary method alone (no case loads, no method of
    // interslice forces) and differs from the base in c and φ (tanφ) of its
    // layers and nothing else.
    [[nodiscard]] bool Serves(const TAnalysisModel& model) const;

    // Whether any cache can serve a model (the first half of Serves).
    [[nodiscard]] static bool Applies(const TAnalysisModel& model);

    // The sums of `circle` on `model` (which the cache serves): bit for bit
    // Evaluate(model, circle, scratch) in every field of TCircleResult.
    [[nodiscard]] TCircleResult Evaluate(const TAnalysisModel& model, const TSlipCircle& circle,
                                         TEngineScratch& scratch);

    // Circles kept, and looked up with and without success.
    [[nodiscard]] std::size_t Circles() const {
        return generations_[0].Circles.size() + generations_[1].Circles.size();
    }
    [[nodiscard]] long long Hits() const { return hits_; }
    [[nodiscard]] long long Misses() const { return misses_; }

    // One circle's strength-free outcome. Summed: its slices are
    // [First, First + Count) of the slice arrays and its resisting sum is
    // replayed; otherwise Verdict is the refusal every model gives it.
    struct TCircleRecord {
        std::uint64_t Xo = 0, Yo = 0, R = 0;  // the circle's bits
        TCircleVerdict Verdict = TCircleVerdict::NotTried;
        int Crossings = 0;
        bool Summed = false;
        bool Level = false;  // level ground over the mass
        std::uint32_t First = 0;
        std::uint32_t Count = 0;
        double Driving = 0, WidthSum = 0, WeightSum = 0;
        // The crack faces of the first and last slices (height, lever).
        double FirstH = 0, FirstLever = 0, LastH = 0, LastLever = 0;
    };
    // Per slice: the normal term (R·N)·cosα (moment form) or N·cosα (force
    // form), the base length, and the layer at the base from 1 (0: none).
    struct TSliceArrays {
        std::vector<double> Normal;
        std::vector<double> L;
        std::vector<std::uint8_t> Layer;
    };

    // The verdict and factor of a circle summed to `sums` (its Resisting,
    // Driving, WidthSum and WeightSum), as Evaluate ends.
    [[nodiscard]] static TCircleResult Finish(const TCircleResult& sums,
                                              const TCircleRecord& record);

  private:
    // The circles kept since the last ageing; the older ones are still
    // looked up, and those met again move over, so that the circles a study
    // keeps meeting stay while the others make room.
    struct TGeneration {
        // Per slot, the hash's top byte over the index + 1 into Circles (0:
        // empty): most probes are rejected without reading a circle.
        std::vector<std::uint32_t> Table;
        std::vector<TCircleRecord> Circles;
        TSliceArrays Slices;
        [[nodiscard]] const TCircleRecord* Find(const TCircleRecord& key, std::size_t hash) const;
        void Add(const TCircleRecord& record, const TSliceArrays& from, std::size_t first,
                 std::size_t hash);
        void Clear();
    };
    [[nodiscard]] bool HasRoom(const TGeneration& g, std::size_t slices) const;
    // Makes room: the older generation is dropped and the younger takes its place.
    void Age();
    [[nodiscard]] TCircleResult Replay(const TAnalysisModel& model, const TSlipCircle& circle,
                                       const TCircleRecord& record,
                                       const TSliceArrays& slices) const;

    TAnalysisModel base_;
    std::size_t maxCircles_ = 0;  // per generation
    std::size_t maxSlices_ = 0;
    TGeneration generations_[2];
    int young_ = 0;
    TSliceArrays staging_;  // the circle being recorded
    // Sightings of the circles not kept, by a hash of the circle (saturating
    // at AdmitAfter, halved as the cache ages; circles sharing a counter only
    // come in sooner).
    static constexpr int SeenBits = 22;
    static constexpr std::uint8_t AdmitAfter = 2;
    std::vector<std::uint8_t> seen_;
    long long hits_ = 0;
    long long misses_ = 0;
};

// Evaluate's plain path (ordinary method, no case loads), keeping in `record`
// and `recorded` what TCircleCache replays; `record` takes all but the
// circle's bits and the place of its slices.
TCircleResult EvaluateRecording(const TAnalysisModel& model, const TSlipCircle& circle,
                                TEngineScratch& scratch, TCircleCache::TCircleRecord& record,
                                TCircleCache::TSliceArrays& recorded);

}  // namespace sorvanta
