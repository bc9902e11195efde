#include <gtest/gtest.h>

#include <cmath>

#include "views/Contours.h"

using namespace sorvanta;

TEST(BandColour, SinglePrecisionDecidesTheBandAtItsLimits) {
    const TRgb aqua{0, 255, 255}, fuchsia{255, 0, 255}, red{255, 0, 0}, green{0, 128, 0},
        teal{0, 128, 128}, lime{0, 255, 0}, blue{0, 0, 255}, olive{128, 128, 0},
        purple{128, 0, 128}, navy{0, 0, 128};
    struct Case {
        double fs;
        TRgb colour;
    };
    const Case cases[] = {
        {0.0, aqua},     {0.79, aqua},     {0.80, fuchsia},  // 0.8f lies above 0.8
        {1.00, fuchsia}, {1.01, red},      {1.20, green},    // 1.2f lies above 1.2
        {1.40, green},   {1.41, teal},     {1.60, lime},    {1.80, lime},   {1.81, blue},
        {2.00, blue},    {2.19, olive},    {2.20, purple},  {2.39, purple}, {2.40, navy},
        {10000, navy},   {-1.00, fuchsia}, {-1.15, red},    {-0.5, aqua},   {1e300, navy},
    };
    for (const auto& c : cases) EXPECT_EQ(BandColour(c.fs), c.colour) << c.fs;
}

TEST(Contours, CaseTableByTheSignsOfCornerCentreCorner) {
    // Rows s_a, groups s_0, entries s_b, each -1, 0, +1.
    const int expected[3][3][3] = {
        {{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
        {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
        {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}},
    };
    for (int a = -1; a <= 1; ++a)
        for (int o = -1; o <= 1; ++o)
            for (int b = -1; b <= 1; ++b)
                EXPECT_EQ(ContourCase(a, o, b), expected[a + 1][o + 1][b + 1]);
}

TEST(Contours, LinearCellGivesStraightIsoLinesAtTheInterpolatedPlace) {
    // Values grow from 0.5 on the left edge to 1.5 on the right one: levels
    // 0.8, 1.0, 1.2 and 1.4 cross the cell as vertical lines.
    std::vector<TContourSegment> segs;
    ContourCell(10, 12, 0, 3, {0.5, 1.5, 1.5, 0.5}, segs);
    ASSERT_FALSE(segs.empty());
    double length[ContourLevelCount] = {};
    for (const auto& s : segs) {
        const double x = 10 + (ContourLevels[static_cast<std::size_t>(s.Level)] - 0.5) * 2;
        EXPECT_NEAR(s.X1, x, 1e-12);
        EXPECT_NEAR(s.X2, x, 1e-12);
        length[s.Level] += std::abs(s.Y2 - s.Y1);
    }
    for (int k = 0; k < ContourLevelCount; ++k)
        EXPECT_NEAR(length[k], k <= 3 ? 3.0 : 0.0, 1e-12) << k;
    // Levels come in increasing order.
    for (std::size_t i = 1; i < segs.size(); ++i) EXPECT_LE(segs[i - 1].Level, segs[i].Level);
}

TEST(Contours, LevelOnTheSmallestCornerIsSkippedAndOnTheLargestDrawn) {
    // Right edge exactly at 1.2, left edge at 1.0: only 1.2 is drawn, along
    // the right edge from vertex 3 to vertex 2 (case 3 of triangle (2, 3)).
    std::vector<TContourSegment> segs;
    ContourCell(0, 1, 0, 1, {1.0, 1.2, 1.2, 1.0}, segs);
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0], (TContourSegment{1, 1, 1, 0, 2}));
}

TEST(Contours, LevelThroughTwoCornersAndTheCentreRunsAlongTheDiagonal) {
    std::vector<TContourSegment> segs;
    // 2.1 - 2 and 1.9 - 2 cancel exactly, so the centre lies on level 2.0.
    ContourCell(0, 2, 0, 2, {2.0, 2.1, 2.0, 1.9}, segs);
    // Cases 1, 2, 1, 2 in triangle order.
    const std::vector<TContourSegment> expected{
        {0, 0, 1, 1, 6}, {1, 1, 2, 2, 6}, {2, 2, 1, 1, 6}, {1, 1, 0, 0, 6}};
    EXPECT_EQ(segs, expected);
}

TEST(Contours, CellsOutsideTheLevelsDrawNothing) {
    for (const auto& d :
         {std::array<double, 4>{0.1, 0.5, 0.79, 0.3}, std::array<double, 4>{2.7, 3, 9999, 9999},
          std::array<double, 4>{9999, 9999, 9999, 9999},
          std::array<double, 4>{1.1, 1.1, 1.1, 1.1}}) {
        std::vector<TContourSegment> segs;
        ContourCell(0, 1, 0, 1, d, segs);
        EXPECT_TRUE(segs.empty()) << d[0];
    }
}

TEST(Contours, InvalidNodePullsAllHigherLevelsIntoTheBorderingCell) {
    std::vector<TContourSegment> segs;
    ContourCell(0, 1, 0, 1, {1.3, 9999, 9999, 1.3}, segs);
    std::vector<bool> seen(ContourLevelCount, false);
    for (const auto& s : segs) seen[static_cast<std::size_t>(s.Level)] = true;
    for (int k = 0; k < ContourLevelCount; ++k)
        EXPECT_EQ(seen[static_cast<std::size_t>(k)], k >= 3) << k;
}

TEST(Contours, MeshVisitsRowsFromTheTopDown) {
    // A 3 × 3 mesh whose values rise along X: the left cells hold the 1.0
    // line, the right ones the 1.2 line; the cells of the upper row come first.
    const std::vector<double> xs{0, 1, 2}, ys{0, 1, 2};
    const std::vector<std::vector<double>> v{{0.9, 0.9, 0.9}, {1.1, 1.1, 1.1}, {1.3, 1.3, 1.3}};
    const auto segs = ContourMesh(xs, ys, v);
    ASSERT_FALSE(segs.empty());
    EXPECT_GE(std::min(segs.front().Y1, segs.front().Y2), 1.0);
    EXPECT_LE(std::max(segs.back().Y1, segs.back().Y2), 1.0);
    EXPECT_TRUE(ContourMesh({0}, {0}, {{1.0}}).empty());
}
