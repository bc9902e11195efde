#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EngineTestSupport.h"
#include "engine/Geometry.h"

namespace sorvanta {
namespace {

TEC Ground(const TPolyline& ground) {
    TEC e;
    e.NumLayers = 1;
    e.SetFigure(fkLayer1, ground);
    e.RefreshLookups();
    return e;
}

TEST(Geometry, HorizontalGroundCircle) {
    TEC e = Ground({{0, 0}, {100, 0}});
    const TSlipCircle c{50, 10, 20};
    ASSERT_TRUE(ClassifyCircle(e, c));
    EXPECT_EQ(e.CircleStatus, "エラーなし");
    ASSERT_EQ(e.MeetX.size(), 2u);
    EXPECT_NEAR(e.Xb, 50 - std::sqrt(300.0), 1e-12);
    EXPECT_NEAR(e.Xe, 50 + std::sqrt(300.0), 1e-12);
    EXPECT_NEAR(e.Xb, 32.679, 5e-4);
    EXPECT_NEAR(e.Xe, 67.321, 5e-4);
    EXPECT_EQ(e.Yb, 0);
    EXPECT_EQ(e.Ye, 0);

    const double theta = OpeningAngle(e.Xb, e.Yb, e.Xe, e.Ye, c.Xo, c.Yo);
    const double beta = ChordInclination(e.Xb, e.Yb, e.Xe, e.Ye);
    const double delta = CentreInclination(e.Xb, e.Yb, c.Xo, c.Yo);
    EXPECT_NEAR(theta, 120, 1e-9);
    EXPECT_NEAR(beta, 0, 1e-12);
    EXPECT_NEAR(delta, -60, 1e-9);
    EXPECT_NEAR(2 * (beta - delta), theta, 1e-9);

    EXPECT_DOUBLE_EQ(ArcYAt(c, 50), -10);
    EXPECT_DOUBLE_EQ(ArcYAt(c, 80), 10);  // beyond the circle: the centre's level
}

struct TStatusCase {
    const char* Name;
    TPolyline Ground;
    TSlipCircle Circle;
    std::string Status;
};

TEST(Geometry, StatusTexts) {
    const TPolyline flat{{0, 0}, {100, 0}};
    const TPolyline peak{{0, 0}, {50, 10}, {100, 0}};
    // A trough that dips below the lower arc of (50, 30, 25) between its ends.
    const TPolyline trough{{0, 20}, {40, 20}, {50, -5}, {60, 20}, {100, 20}};
    // A valley under the arc of (50, 10, 10) whose two flanks each dip into the
    // circle, every ground point outside it: two sliding masses, not one.
    const TPolyline valley{{0, 10.5}, {39, 10.5}, {50, -0.5}, {61, 10.5}, {100, 10.5}};
    const TStatusCase cases[] = {
        {"centre above the first point", flat, {0, 10, 5}, "円弧中心が地形定義幅外"},
        {"centre above the last point", flat, {100, 10, 5}, "円弧中心が地形定義幅外"},
        {"centre left of the ground", flat, {-5, 10, 5}, "円弧中心が地形定義幅外"},
        {"centre on the ground", flat, {50, 0, 5}, "円弧中心が地層内"},
        {"centre below the ground", flat, {50, -1, 5}, "円弧中心が地層内"},
        {"beyond the first point", flat, {30, 10, 31.7}, "円弧が地形と交差しない"},
        {"above the ground", flat, {50, 10, 9}, "円弧が地形と交差しない"},
        {"zero radius", flat, {50, 10, 0}, "円弧が地形と交差しない"},
        {"negative radius", flat, {50, 10, -20}, "円弧が地形と交差しない"},
        {"touching the peak", peak, {50, 20, 10}, "円弧不当(地形と1点交差)"},
        {"trough", trough, {50, 30, 25}, "円弧不当(地形と4点交差)"},
        {"dipping under two segments", valley, {50, 10, 10}, "円弧不当(地形と4点交差)"},
        {"valid", flat, {50, 10, 20}, "エラーなし"},
    };
    for (const TStatusCase& c : cases) {
        TEC e = Ground(c.Ground);
        EXPECT_EQ(ClassifyCircle(e, c.Circle), c.Status == "エラーなし") << c.Name;
        EXPECT_EQ(e.CircleStatus, c.Status) << c.Name;
    }
    EXPECT_EQ(CircleStatusCrossings(0), "円弧不当(地形と0点交差)");
    EXPECT_EQ(CircleStatusCrossings(12), "円弧不当(地形と12点交差)");
}

TEST(Geometry, RadiusEqualToTheDistanceOfTheFirstPoint) {
    // The first point lies on the circle (distance exactly 50): it passes the
    // reach test and the intersection there is counted once, at its X.
    TEC e = Ground({{0, 0}, {30, -10}, {100, -10}});
    ASSERT_TRUE(ClassifyCircle(e, {40, 30, 50})) << e.CircleStatus;
    EXPECT_EQ(e.MeetX, (std::vector<double>{0, 70}));
    EXPECT_EQ(e.Yb, 0);
    EXPECT_EQ(e.Ye, -10);

    // Within 1e-5 m of the point it is still taken at the point's X.
    ASSERT_TRUE(ClassifyCircle(e, {40, 30, 50 - 4e-6}));
    EXPECT_EQ(e.Xb, 0);
}

TEST(Geometry, LastGroundPointOnTheCircleReadsNoSegmentBeyondIt) {
    // Both end points lie on the circle; the right scan stops at the last
    // point, which starts no segment. The exit at the last point is not
    // counted (half-open intervals), so the circle meets the ground once.
    TEC e = Ground({{0, 0}, {20, -10}, {60, -10}, {80, 0}});
    EXPECT_FALSE(ClassifyCircle(e, {40, 30, 50}));
    EXPECT_EQ(e.CircleStatus, "円弧不当(地形と1点交差)");
    EXPECT_EQ(e.MeetX, std::vector<double>{0});
}

TEST(Geometry, EndPointOnAVerticalSegmentTakesTheIntersectionsElevation) {
    // A cliff at X 10 from 0 up to 10; the circle enters it at (10, 5).
    TEC e = Ground({{0, 0}, {10, 0}, {10, 10}, {40, 10}});
    const TSlipCircle c{20, 20, std::sqrt(325.0)};
    e.Yb = 1234;  // an earlier circle's value must not survive
    ASSERT_TRUE(ClassifyCircle(e, c)) << e.CircleStatus;
    EXPECT_EQ(e.Xb, 10);
    EXPECT_DOUBLE_EQ(e.Yb, 5);
    EXPECT_DOUBLE_EQ(e.Xe, 35);
    EXPECT_DOUBLE_EQ(e.Ye, 10);
}

TEST(Geometry, CircleThroughTheFootOfAVerticalSegment) {
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
            TEC e = Ground(c.Ground);
            TSlipCircle circle = c.Circle;
            circle.Xo += shift;  // nudges the rounding both ways
            circle.R = std::hypot(c.FootX - circle.Xo, circle.Yo) +
                       (c.Circle.R - std::hypot(c.FootX - c.Circle.Xo, c.Circle.Yo));
            ASSERT_TRUE(ClassifyCircle(e, circle))
                << c.Name << " " << shift << " " << e.CircleStatus;
            const bool footFirst = c.FootX == 30;
            EXPECT_EQ(footFirst ? e.Xb : e.Xe, c.FootX) << c.Name;
            EXPECT_NEAR(footFirst ? e.Yb : e.Ye, 0, 1e-5) << c.Name;
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
