#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EngineTestSupport.h"
#include "engine/Geometry.h"

namespace sorvanta {
namespace {

TAnalysisModel Ground(const TPolyline& ground) {
    TAnalysisModel e;
    e.NumLayers = 1;
    e.SetFigure(fkLayer1, ground);
    e.RefreshLookups();
    return e;
}

// A classification with where the circle met the ground.
struct TClassified : TCircleClassification {
    std::vector<double> MeetX;
};

// Classifies into `k`; true when the circle is valid.
bool Classified(TClassified& k, const TAnalysisModel& e, const TSlipCircle& c) {
    static_cast<TCircleClassification&>(k) = ClassifyCircle(e, c, &k.MeetX);
    return k.Verdict == TCircleVerdict::Valid;
}

// The verdict, with the count of Crossings, for the failure messages.
std::string Text(const TCircleClassification& k) {
    return std::to_string(static_cast<int>(k.Verdict)) + "/" + std::to_string(k.Crossings);
}

TEST(Geometry, HorizontalGroundCircle) {
    TClassified k;
    const TAnalysisModel e = Ground({{0, 0}, {100, 0}});
    const TSlipCircle c{50, 10, 20};
    ASSERT_TRUE(Classified(k, e, c));
    EXPECT_EQ(k.Verdict, TCircleVerdict::Valid);
    ASSERT_EQ(k.MeetX.size(), 2u);
    EXPECT_NEAR(k.Xb, 50 - std::sqrt(300.0), 1e-12);
    EXPECT_NEAR(k.Xe, 50 + std::sqrt(300.0), 1e-12);
    EXPECT_NEAR(k.Xb, 32.679, 5e-4);
    EXPECT_NEAR(k.Xe, 67.321, 5e-4);
    EXPECT_EQ(k.Yb, 0);
    EXPECT_EQ(k.Ye, 0);

    const double theta = OpeningAngle(k.Xb, k.Yb, k.Xe, k.Ye, c.Xo, c.Yo);
    const double beta = ChordInclination(k.Xb, k.Yb, k.Xe, k.Ye);
    const double delta = CentreInclination(k.Xb, k.Yb, c.Xo, c.Yo);
    EXPECT_NEAR(theta, 120, 1e-9);
    EXPECT_NEAR(beta, 0, 1e-12);
    EXPECT_NEAR(delta, -60, 1e-9);
    EXPECT_NEAR(2 * (beta - delta), theta, 1e-9);

    EXPECT_DOUBLE_EQ(ArcYAt(c, 50), -10);
    EXPECT_DOUBLE_EQ(ArcYAt(c, 80), 10);  // beyond the circle: the centre's level
}

struct TVerdictCase {
    const char* Name;
    TPolyline Ground;
    TSlipCircle Circle;
    TCircleVerdict Verdict;
    int Crossings = 0;
};

TEST(Geometry, Verdicts) {
    using V = TCircleVerdict;
    const TPolyline flat{{0, 0}, {100, 0}};
    const TPolyline peak{{0, 0}, {50, 10}, {100, 0}};
    // A trough that dips below the lower arc of (50, 30, 25) between its ends.
    const TPolyline trough{{0, 20}, {40, 20}, {50, -5}, {60, 20}, {100, 20}};
    // A valley under the arc of (50, 10, 10) whose two flanks each dip into the
    // circle, every ground point outside it: two sliding masses, not one.
    const TPolyline valley{{0, 10.5}, {39, 10.5}, {50, -0.5}, {61, 10.5}, {100, 10.5}};
    const TVerdictCase cases[] = {
        {"centre above the first point", flat, {0, 10, 5}, V::CentreOutsideWidth},
        {"centre above the last point", flat, {100, 10, 5}, V::CentreOutsideWidth},
        {"centre left of the ground", flat, {-5, 10, 5}, V::CentreOutsideWidth},
        {"centre on the ground", flat, {50, 0, 5}, V::CentreInGround},
        {"centre below the ground", flat, {50, -1, 5}, V::CentreInGround},
        {"beyond the first point", flat, {30, 10, 31.7}, V::NoCrossing},
        {"above the ground", flat, {50, 10, 9}, V::NoCrossing},
        {"zero radius", flat, {50, 10, 0}, V::NoCrossing},
        {"negative radius", flat, {50, 10, -20}, V::NoCrossing},
        {"touching the peak", peak, {50, 20, 10}, V::OneCrossing, 1},
        {"trough", trough, {50, 30, 25}, V::Crossings, 4},
        {"dipping under two segments", valley, {50, 10, 10}, V::Crossings, 4},
        {"valid", flat, {50, 10, 20}, V::Valid, 2},
    };
    for (const TVerdictCase& c : cases) {
        TClassified k;
        const TAnalysisModel e = Ground(c.Ground);
        EXPECT_EQ(Classified(k, e, c.Circle), c.Verdict == V::Valid) << c.Name;
        EXPECT_EQ(k.Verdict, c.Verdict) << c.Name;
        if (c.Verdict == V::OneCrossing || c.Verdict == V::Crossings || c.Verdict == V::Valid) {
            EXPECT_EQ(k.Crossings, c.Crossings) << c.Name;
        }
    }
}

TEST(Geometry, RadiusEqualToTheDistanceOfTheFirstPoint) {
    TClassified k;
    // The first point lies on the circle (distance exactly 50): it passes the
    // reach test and the intersection there is counted once, at its X.
    const TAnalysisModel e = Ground({{0, 0}, {30, -10}, {100, -10}});
    ASSERT_TRUE(Classified(k, e, {40, 30, 50})) << Text(k);
    EXPECT_EQ(k.MeetX, (std::vector<double>{0, 70}));
    EXPECT_EQ(k.Yb, 0);
    EXPECT_EQ(k.Ye, -10);

    // Within 1e-5 m of the point it is still taken at the point's X.
    ASSERT_TRUE(Classified(k, e, {40, 30, 50 - 4e-6}));
    EXPECT_EQ(k.Xb, 0);
}

TEST(Geometry, LastGroundPointOnTheCircleReadsNoSegmentBeyondIt) {
    TClassified k;
    // Both end points lie on the circle; the right scan stops at the last
    // point, which starts no segment. The exit at the last point is not
    // counted (half-open intervals), so the circle meets the ground once.
    const TAnalysisModel e = Ground({{0, 0}, {20, -10}, {60, -10}, {80, 0}});
    EXPECT_FALSE(Classified(k, e, {40, 30, 50}));
    EXPECT_EQ(k.Verdict, TCircleVerdict::OneCrossing);
    EXPECT_EQ(k.MeetX, std::vector<double>{0});
}

TEST(Geometry, EndPointOnAVerticalSegmentTakesTheIntersectionsElevation) {
    TClassified k;
    // A cliff at X 10 from 0 up to 10; the circle enters it at (10, 5).
    const TAnalysisModel e = Ground({{0, 0}, {10, 0}, {10, 10}, {40, 10}});
    const TSlipCircle c{20, 20, std::sqrt(325.0)};
    ASSERT_TRUE(Classified(k, e, c)) << Text(k);
    EXPECT_EQ(k.Xb, 10);
    EXPECT_DOUBLE_EQ(k.Yb, 5);
    EXPECT_DOUBLE_EQ(k.Xe, 35);
    EXPECT_DOUBLE_EQ(k.Ye, 10);
}

TEST(Geometry, CircleThroughTheFootOfAVerticalSegment) {
    TClassified k;
    // A toe circle of a vertical cut: rounding of the intersection with the
    // wall must neither lose the foot (one crossing) nor count it twice.
    struct TCase {
        const char* Name;
        TPolyline Ground;
        TSlipCircle Circle;
        double FootX;
    };
    const TPolyline riseRight{{0, 0}, {30, 0}, {30, 10}, {70, 10}};
    const TPolyline fallRight{{0, 10}, {40, 10}, {40, 0}, {70, 0}};
    const TCase cases[] = {
        {"foot starts the wall", riseRight, {30.1, 11.8, std::hypot(0.1, 11.8)}, 30},
        {"foot within 1e-5", riseRight, {30.1, 11.8, std::hypot(0.1, 11.8) + 4e-6}, 30},
        {"foot ends the wall", fallRight, {39.9, 11.8, std::hypot(0.1, 11.8)}, 40},
        {"foot ends the wall, within 1e-5",
         fallRight,
         {39.9, 11.8, std::hypot(0.1, 11.8) - 4e-6},
         40},
    };
    for (const TCase& c : cases) {
        for (double shift : {0.0, 1e-9, 3e-7}) {
            const TAnalysisModel e = Ground(c.Ground);
            TSlipCircle circle = c.Circle;
            circle.Xo += shift;  // nudges the rounding both ways
            circle.R = std::hypot(c.FootX - circle.Xo, circle.Yo) +
                       (c.Circle.R - std::hypot(c.FootX - c.Circle.Xo, c.Circle.Yo));
            ASSERT_TRUE(Classified(k, e, circle)) << c.Name << " " << shift << " " << Text(k);
            const bool footFirst = c.FootX == 30;
            EXPECT_EQ(footFirst ? k.Xb : k.Xe, c.FootX) << c.Name;
            EXPECT_NEAR(footFirst ? k.Yb : k.Ye, 0, 1e-5) << c.Name;
        }
    }
}

TEST(Geometry, AnglesOfAnOrdinaryCircle) {
    // Start (0, 0), end (10, 10), centre (10, 0): a quarter circle.
    EXPECT_NEAR(OpeningAngle(0, 0, 10, 10, 10, 0), 90, 1e-12);
    EXPECT_NEAR(ChordInclination(0, 0, 10, 10), 45, 1e-12);
    EXPECT_NEAR(ChordInclination(10, 10, 0, 0), -135, 1e-12);
    EXPECT_NEAR(CentreInclination(0, -10, 10, 0), -45, 1e-12);
    // A diameter as chord: rounding must not push asin beyond its domain.
    EXPECT_NEAR(OpeningAngle(-0.1, 0, 0.2, 0, 0.05, 0), 180, 1e-9);
}

}  // namespace
}  // namespace sorvanta
