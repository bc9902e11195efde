// The circle cache of a study: a circle met again gives bit for bit what a
// fresh evaluation gives, whatever the strengths, and the cache serves only
// models whose slices it can stand for.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/CircleCache.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

// The base model with each layer's c and φ scaled.
TAnalysisModel WithStrength(const TAnalysisModel& base, double cScale, double phiScale) {
    TAnalysisModel m = base;
    for (int k = 0; k < m.LayersInUse(); ++k) {
        TSoilValues& soil = m.Soil[static_cast<std::size_t>(k)];
        soil.C *= cScale;
        soil.Phi *= phiScale;
    }
    m.RefreshLookups();
    return m;
}

void ExpectSameBits(const TCircleResult& a, const TCircleResult& b, const TSlipCircle& c) {
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    const std::string where =
        std::to_string(c.Xo) + "," + std::to_string(c.Yo) + "," + std::to_string(c.R);
    EXPECT_EQ(a.Verdict, b.Verdict) << where;
    EXPECT_EQ(a.Crossings, b.Crossings) << where;
    EXPECT_EQ(bits(a.Fs), bits(b.Fs)) << where;
    EXPECT_EQ(bits(a.Resisting), bits(b.Resisting)) << where;
    EXPECT_EQ(bits(a.Driving), bits(b.Driving)) << where;
    EXPECT_EQ(bits(a.WidthSum), bits(b.WidthSum)) << where;
    EXPECT_EQ(bits(a.WeightSum), bits(b.WeightSum)) << where;
}

TEST(CircleCache, ReplaysEveryCircleBitForBit) {
    // Both forms, both strength modes; the default memory and one so small
    // that the cache ages many times over.
    for (const TFsForm form : {TFsForm::Moment, TFsForm::Force}) {
        for (const TStrengthMode mode : {TStrengthMode::Total, TStrengthMode::Effective}) {
            for (const std::size_t bytes :
                 {TCircleCache::DefaultBytes, (std::size_t{4} << 20) + (std::size_t{24} << 10)}) {
                TAnalysisModel base = BuildAnalysisModel(test::SampleDesign(), {});
                base.DisplayForm = form;
                base.StrengthMode = mode;
                TCircleCache cache(base, bytes);
                // c and φ unlike the base's, one of them without any cohesion.
                const std::vector<TAnalysisModel> samples{
                    WithStrength(base, 1.3, 0.9), WithStrength(base, 0.0, 1.1),
                    WithStrength(base, 0.7, 1.05), WithStrength(base, 2.0, 0.6),
                    WithStrength(base, 1.0, 1.0)};
                // Circles valid, refused, with crack faces, one slice or many.
                std::vector<TSlipCircle> circles;
                for (double xo = -5; xo <= 45; xo += 6.25)
                    for (double yo = 5; yo <= 40; yo += 5.5)
                        for (double r = 1; r <= 45; r += 3.7) circles.push_back({xo, yo, r});
                TEngineScratch scratch;
                int valid = 0;
                int refused = 0;
                for (const TAnalysisModel& sample : samples) {
                    ASSERT_TRUE(cache.Serves(sample));
                    for (const TSlipCircle& c : circles) {
                        const TCircleResult fresh = Evaluate(sample, c, scratch);
                        ExpectSameBits(cache.Evaluate(sample, c, scratch), fresh, c);
                        (fresh.Verdict == TCircleVerdict::Valid ? valid : refused) += 1;
                    }
                }
                EXPECT_GT(valid, 0);
                EXPECT_GT(refused, 0);
                // Kept from the third sighting on, while there is room.
                const auto kept = bytes == TCircleCache::DefaultBytes ? 2 * circles.size() : 1;
                EXPECT_GE(cache.Hits(), static_cast<long long>(kept));
            }
        }
    }
}

TEST(CircleCache, ServesOnlyModelsDifferingInStrength) {
    const TAnalysisModel base = BuildAnalysisModel(test::SampleDesign(), {});
    const TCircleCache cache(base);
    EXPECT_TRUE(cache.Serves(base));
    EXPECT_TRUE(cache.Serves(WithStrength(base, 1.5, 0.8)));

    struct TCase {
        const char* What;
        void (*Change)(TAnalysisModel&);
    };
    for (const TCase& change : {
             TCase{"unit weight", [](TAnalysisModel& m) { m.Soil[0].GammaT += 1; }},
             TCase{"ground",
                   [](TAnalysisModel& m) {
                       TPolyline ground = m.Figures[fkLayer1];
                       ground.back().Y += 0.5;
                       m.SetFigure(fkLayer1, ground);
                   }},
             TCase{"method", [](TAnalysisModel& m) { m.Method = TSliceMethodKind::Bishop; }},
             TCase{"seismic", [](TAnalysisModel& m) { m = WithCaseLoads(m, {.Kh = 0.1}); }},
             TCase{"form", [](TAnalysisModel& m) { m.DisplayForm = TFsForm::Force; }},
             TCase{"slice width", [](TAnalysisModel& m) { m.SliceWidthLimit /= 2; }},
         }) {
        TAnalysisModel m = base;
        change.Change(m);
        m.RefreshLookups();
        EXPECT_FALSE(cache.Serves(m)) << change.What;
    }
}

}  // namespace
}  // namespace sorvanta
