#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "design/LineMerging.h"

namespace sorvanta {
namespace {

using test::TextTable;

const TCoordinateTable Ground = test::SampleDesign().Layers[0].Boundary;

TEST(MergeLowerBoundary, TakesTheBoundaryAboveOutsideTheNewLine) {
    struct Case {
        const char* name;
        TCoordinateTable newLine;
        TCoordinateTable expected;
    };
    const Case cases[] = {
        {"inside: one pass", TextTable({{"10", "2"}, {"30", "3"}, {"50", "8"}}),
         TextTable({{"0.00", "5.00"},
                    {"10.00", "2.00"},
                    {"30.00", "3.00"},
                    {"50.00", "8.00"},
                    {"70.00", "15.00"}})},
        {"beyond both ends: two passes", TextTable({{"-10", "2"}, {"30", "3"}, {"80", "8"}}),
         TextTable({{"0.00", "5.00"},
                    {"20.00", "5.00"},
                    {"30.00", "3.00"},
                    {"40.00", "15.00"},
                    {"70.00", "15.00"}})},
        {"beyond the right end only", TextTable({{"10", "2"}, {"30", "3"}, {"80", "8"}}),
         TextTable({{"0.00", "5.00"},
                    {"10.00", "2.00"},
                    {"30.00", "3.00"},
                    {"40.00", "15.00"},
                    {"70.00", "15.00"}})},
        {"the same ends as the line above", TextTable({{"0", "4"}, {"70", "14"}}),
         TextTable({{"0.00", "4.00"}, {"70.00", "14.00"}})},
        {"unusable rows in between are skipped",
         TextTable({{"10", "2"}, {"-", "-"}, {"30", "3"}, {"abc", "1"}, {"50", "8"}}),
         TextTable({{"0.00", "5.00"},
                    {"10.00", "2.00"},
                    {"30.00", "3.00"},
                    {"50.00", "8.00"},
                    {"70.00", "15.00"}})},
    };
    for (const Case& c : cases) {
        const TMergeResult r = MergeLowerBoundary(Ground, c.newLine);
        ASSERT_TRUE(r.Ok()) << c.name << ": " << r.Error;
        EXPECT_EQ(r.Table, c.expected) << c.name;
    }
}

TEST(MergeLowerBoundary, SkipsUnusableRowsOfTheLineAbove) {
    TCoordinateTable upper = TextTable({{"0", "5"}, {"x", "1"}, {"20", "5"}, {"70", "15"}});
    const TMergeResult r = MergeLowerBoundary(upper, TextTable({{"10", "2"}, {"30", "3"}}));
    ASSERT_TRUE(r.Ok()) << r.Error;
    EXPECT_EQ(
        r.Table,
        TextTable({{"0.00", "5.00"}, {"10.00", "2.00"}, {"30.00", "3.00"}, {"70.00", "15.00"}}));
}

TEST(MergeLowerBoundary, RefusesWhatCannotBeJoined) {
    struct Case {
        const char* name;
        TCoordinateTable upper;
        TCoordinateTable newLine;
        const char* messagePart;
    };
    const Case cases[] = {
        {"wholly left", Ground, TextTable({{"-30", "2"}, {"-10", "3"}}),
         "X座標の範囲（0.00～70.00）"},
        {"wholly right", Ground, TextTable({{"80", "2"}, {"90", "3"}}), "にある点がない"},
        {"spanning with no point inside", Ground, TextTable({{"-10", "2"}, {"80", "3"}}),
         "にある点がない"},
        {"no line above", TCoordinateTable::Placeholder(), TextTable({{"10", "2"}}),
         "上の層の地層線の座標データが未定義"},
    };
    for (const Case& c : cases) {
        const TMergeResult r = MergeLowerBoundary(c.upper, c.newLine);
        EXPECT_FALSE(r.Ok()) << c.name;
        EXPECT_NE(r.Error.find(c.messagePart), std::string::npos) << c.name << ": " << r.Error;
    }
}

TEST(MergeLowerBoundary, RefusesAResultLongerThanTheTableHolds) {
    // 40 points above (X 0 to 39), 20 new ones from X 10 to 14.75:
    // 10 above on the left + 20 + 25 above on the right.
    TCoordinateTable upper;
    upper.Rows.clear();
    for (int i = 0; i < 40; ++i) upper.Rows.push_back({"", std::to_string(i), "5"});
    TCoordinateTable newLine;
    newLine.Rows.clear();
    for (int i = 0; i < 20; ++i) newLine.Rows.push_back({"", std::to_string(10 + i * 0.25), "1"});

    const TMergeResult r = MergeLowerBoundary(upper, newLine);
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(r.Error.find("（55点）が上限の51点"), std::string::npos) << r.Error;

    newLine.Rows.resize(15);  // 10 + 15 + 26 = 51 fits
    EXPECT_TRUE(MergeLowerBoundary(upper, newLine).Ok());
}

TEST(MergeLowerBoundary, LeavesALineWithoutPointsAsEntered) {
    const TCoordinateTable entered = TextTable({{"abc", "-"}});
    const TMergeResult r = MergeLowerBoundary(Ground, entered);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Table, entered);
}

TEST(MergeWaterLine, KeepsTheDepthBelowGroundWhereItIsExtended) {
    struct Case {
        const char* name;
        TCoordinateTable water;
        TCoordinateTable expected;
    };
    const Case cases[] = {
        {"inside, below ground at both ends", TextTable({{"10", "1"}, {"60", "12"}}),
         TextTable({{"0.00", "1.00"}, {"10.00", "1.00"}, {"60.00", "12.00"}, {"70.00", "12.00"}})},
        {"interpolated ground, above ground at the left end",
         TextTable({{"30", "12"}, {"50", "14"}}),
         // Ground at 30 is 10: the line is 2 above it and keeps its elevation.
         // Ground at 50 is 15: 1 below it, so 14 at X 70.
         TextTable(
             {{"0.00", "12.00"}, {"30.00", "12.00"}, {"50.00", "14.00"}, {"70.00", "14.00"}})},
        {"first point on a ground vertex adds no point", TextTable({{"20", "5"}, {"60", "12"}}),
         TextTable({{"20.00", "5.00"}, {"60.00", "12.00"}, {"70.00", "12.00"}})},
        {"beyond the left end: two passes", TextTable({{"-10", "1"}, {"60", "12"}}),
         TextTable({{"0.00", "2.00"}, {"60.00", "12.00"}, {"70.00", "12.00"}})},
        {"the ground's span exactly", TextTable({{"0", "1"}, {"70", "13"}}),
         TextTable({{"0.00", "1.00"}, {"70.00", "13.00"}})},
        {"unusable rows in between are skipped", TextTable({{"10", "1"}, {"", ""}, {"60", "12"}}),
         TextTable({{"0.00", "1.00"}, {"10.00", "1.00"}, {"60.00", "12.00"}, {"70.00", "12.00"}})},
    };
    for (const Case& c : cases) {
        const TMergeResult r = MergeWaterLine(Ground, c.water);
        ASSERT_TRUE(r.Ok()) << c.name << ": " << r.Error;
        EXPECT_EQ(r.Table, c.expected) << c.name;
    }
}

TEST(LineMerging, ALineEnteredFromRightToLeftMergesAsTheSameLine) {
    const TCoordinateTable expectedLayer = TextTable({{"0.00", "5.00"},
                                                      {"10.00", "2.00"},
                                                      {"30.00", "3.00"},
                                                      {"50.00", "8.00"},
                                                      {"70.00", "15.00"}});
    const TMergeResult layer =
        MergeLowerBoundary(Ground, TextTable({{"50", "8"}, {"30", "3"}, {"10", "2"}}));
    ASSERT_TRUE(layer.Ok()) << layer.Error;
    EXPECT_EQ(layer.Table, expectedLayer);

    const TMergeResult water = MergeWaterLine(Ground, TextTable({{"60", "12"}, {"10", "1"}}));
    ASSERT_TRUE(water.Ok()) << water.Error;
    EXPECT_EQ(
        water.Table,
        TextTable({{"0.00", "1.00"}, {"10.00", "1.00"}, {"60.00", "12.00"}, {"70.00", "12.00"}}));
}

TEST(MergeWaterLine, RefusesWhatCannotBeJoined) {
    EXPECT_NE(MergeWaterLine(Ground, TextTable({{"71", "1"}, {"90", "3"}}))
                  .Error.find("地表面のX座標の範囲"),
              std::string::npos);
    EXPECT_NE(MergeWaterLine(TCoordinateTable::Placeholder(), TextTable({{"10", "1"}}))
                  .Error.find("地表面の座標データが未定義"),
              std::string::npos);
    const TCoordinateTable empty = TCoordinateTable::Placeholder();
    const TMergeResult r = MergeWaterLine(Ground, empty);
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.Table, empty);
}

}  // namespace
}  // namespace sorvanta
