#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/SliceMethod.h"
#include "report/ReportTexts.h"
#include "run/ResultTables.h"

namespace sorvanta {
namespace {

using Cells = std::vector<std::string>;

// Characters, not bytes: each code point counted once.
std::size_t CodePoints(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
    return n;
}

TEST(ResultTablesTest, StructuresAndInitialTexts) {
    const TResultTables t;
    EXPECT_EQ(t.SoilDataTable.RowCount(), 6);
    EXPECT_EQ(t.SoilDataTable.Rows[0], (Cells{"No.", "γt", "φ", "C"}));
    EXPECT_EQ(t.SoilDataTable.ColWidths, (std::vector<int>{50, 37, 37, 37}));
    EXPECT_EQ(t.CoordinateTable1.ColWidths, (std::vector<int>{40, 40, 40}));
    EXPECT_EQ(t.CoordinateTable1.DefaultRowHeight, 15);
    EXPECT_EQ(t.CoordinateTable2.DefaultRowHeight, 15);
    EXPECT_EQ(t.CentreTable.DefaultRowHeight, 17);
    EXPECT_EQ(t.CentreTable.ColWidths, (std::vector<int>{25, 45, 45, 70, 70, 70, 65}));
    EXPECT_EQ(t.CentreTable.Rows[0][6], "安全率(Fs)");
    EXPECT_EQ(t.Circle.SliceTable.ColWidths,
              (std::vector<int>{38, 28, 35, 35, 35, 35, 35, 35, 35, 35, 33, 33, 35, 35}));
    EXPECT_EQ(t.Circle.SliceTable.Rows[0][13], "ΣV(m3)");
    EXPECT_EQ(t.Circle.LoadTable.ColWidths,
              (std::vector<int>{75, 35, 35, 35, 35, 35, 55, 35, 35, 35, 30, 35, 55, 65}));
    EXPECT_EQ(t.Circle.LoadTable.Rows[0][12], "Mr(kNm)");
    for (const TCellTable* table : {&t.SoilDataTable, &t.CoordinateTable1, &t.CentreTable,
                                    &t.Circle.SliceTable, &t.Circle.LoadTable}) {
        for (std::size_t r = 1; r < table->Rows.size(); ++r) {
            for (const std::string& cell : table->Rows[r]) EXPECT_EQ(cell, "");
        }
    }
    EXPECT_EQ(t.ContentsList, (TLineList{"目次"}));
    EXPECT_EQ(t.ResultCaption.Text, "計算結果");
    EXPECT_FALSE(t.ResultCaption.Colour.has_value());
    EXPECT_EQ(t.Circle.JudgementLabel.Text, "判定");
    EXPECT_EQ(t.FormulaList.size(), 13u);
    EXPECT_EQ(t.CalculationConditionsList.size(), 9u);
    EXPECT_EQ(t.Circle.SliceLegendList.size(), 7u);
    EXPECT_EQ(t.Circle.SliceNoteList[3], "　従って、V=b･Hとは若干異なる。");
    EXPECT_TRUE(t.Circle.SliceHeadingList.empty());

    const TArbitraryTables a;
    EXPECT_EQ(a.Circle.SliceTable, t.Circle.SliceTable);
    EXPECT_EQ(a.Circle.LoadTable, t.Circle.LoadTable);
    EXPECT_EQ(a.Circle.SliceLegendList, t.Circle.SliceLegendList);
    EXPECT_EQ(a.Circle.SliceNoteList, t.Circle.SliceNoteList);
}

TEST(ResultTablesTest, CommaListFillsNamedCellsAndEmptiesTheRest) {
    TCellTable table = MakeLoadTable();
    table.SetRowCount(2);
    table.Rows[1].assign(14, "x");
    table.SetRowCommaList(1, "-,-,-,-,-,-,-,-,-,-,-,-,-");
    EXPECT_EQ(table.Rows[1][12], "-");
    EXPECT_EQ(table.Rows[1][13], "");
}

TSliceRow ExampleSlice() {
    TSliceRow s;
    s.No = 3;
    s.CentreX = 12.5;
    s.B = 0.8333333;
    s.H = {1.234, 0.5, 0, 2.0, 0};
    s.VWet = {1.0, 0.4, 0, 1.5, 0};
    s.GroundHeight = 3.734;
    s.SumV = 2.9;
    s.C = 20;
    s.L = 0.9;
    s.W = 52.2;
    s.Alpha = -12.34 * std::numbers::pi / 180;
    s.Phi = 25 * std::numbers::pi / 180;
    s.Resisting = 1234.567;
    s.Driving = -99.994;
    return s;
}

TEST(ResultTablesTest, SliceRowsInBothTables) {
    TResultTables t;
    PrepareCircleTables(t.Circle, 4);
    ASSERT_EQ(t.Circle.SliceTable.RowCount(), 5);
    ASSERT_EQ(t.Circle.LoadTable.RowCount(), 5);
    WriteSliceRows(t.Circle, 3, ExampleSlice());
    EXPECT_EQ(t.Circle.SliceTable.Rows[3],
              (Cells{"No.03", "0.83", "1.23", "1.00", "0.50", "0.40", "-", "-", "2.00", "1.50", "-",
                     "-", "3.73", "2.90"}));
    EXPECT_EQ(t.Circle.LoadTable.Rows[3],
              (Cells{"No.03(12.50)", "0.83", "3.73", "2.90", "20.00", "0.90", "52.20", "-12.3",
                     "0.977", "-0.214", "25.0", "0.466", "1,234.57", "-99.99"}));
    TSliceRow positive = ExampleSlice();
    positive.Alpha = 5 * std::numbers::pi / 180;
    positive.Driving = 1234.5;
    WriteSliceRows(t.Circle, 1, positive);
    EXPECT_EQ(t.Circle.LoadTable.Rows[1][7], " 5.0");
    EXPECT_EQ(t.Circle.LoadTable.Rows[1][13], " 1,234.50");
}

TEST(ResultTablesTest, LoadTotalsRewriteHeaderAndAppendRow) {
    TArbitraryTables t;
    PrepareCircleTables(t.Circle, 1);
    TCircleResult sums;
    sums.WidthSum = 34.641;
    sums.WeightSum = 12345.678;
    sums.Resisting = 1000;
    sums.Driving = -2500.5;
    WriteLoadTotals(t.Circle, sums, 1);
    ASSERT_EQ(t.Circle.LoadTable.RowCount(), 3);
    EXPECT_EQ(t.Circle.LoadTable.Rows[0][12], "Fr(kN)");
    EXPECT_EQ(t.Circle.LoadTable.Rows[0][13], "Fo(kN)");
    EXPECT_EQ(t.Circle.LoadTable.Rows[2],
              (Cells{"合計", "34.64", "-", "-", "-", "-", "12,345.68", "-", "-", "-", "-", "-",
                     "1,000.00", "-2,500.50"}));
    WriteLoadTotals(t.Circle, sums, 0);
    EXPECT_EQ(t.Circle.LoadTable.Rows[0][13], "Mo(kNm)");
}

TDesignConditions OneLayerDesign() {
    TDesignConditions d;
    LoadSampleDesign(d);
    d.LayerCount = "1";
    d.SafetyFactor = "1.2";
    return d;
}

TEST(ResultTablesTest, DesignListingOneLayer) {
    const TDesignConditions d = OneLayerDesign();
    TAnalysisModel model;
    model.BuildAnalysisModel(d, {});
    TResultTables t;
    WriteDesignListing(t, d, model);

    ASSERT_EQ(t.ContentsList.size(), 21u);
    EXPECT_EQ(t.ContentsList[2], "件　名：");
    EXPECT_EQ(t.ContentsList[5], "　　　　　　　円弧すべり計算書");
    for (std::size_t i : {8u, 11u, 14u, 17u, 20u})
        EXPECT_EQ(CodePoints(t.ContentsList[i]), 22u) << i;
    EXPECT_EQ(t.ContentsList[20], "　Ⅴ.滑り円弧図　　　　　　　　・・・・P5");

    EXPECT_EQ(t.LayerSettingsList, (TLineList{"1.地層設定", "  1)地層数=1層", "  2)地下水：無し"}));
    EXPECT_EQ(t.SoilDataTable.Rows[1], (Cells{"1層目", "18.0", "25.0", "20.0"}));
    EXPECT_EQ(t.SoilDataTable.Rows[2], (Cells{"2層目", "-", "-", "-"}));
    EXPECT_EQ(t.SoilDataTable.Rows[5], (Cells{"5層目", "-", "-", "-"}));
    EXPECT_EQ(t.SoilLegendList[2], "   φ:せん断抵抗角(度)");
    ASSERT_EQ(t.CalculationConditionsList.size(), 17u);
    EXPECT_EQ(t.CalculationConditionsList[3], "  (1)必要安全率    =1.2");
    EXPECT_EQ(t.CalculationConditionsList[4], "  (2)土塊分割上限幅=1.0m");
    EXPECT_EQ(t.CalculationConditionsList[10], "  (1)N.C.L(標高)=0.00m");
    EXPECT_EQ(t.CalculationConditionsList[11], "  (2)N.C.L(任意)=指定無し");

    const std::vector<Cells> table1{{"No.", "X座標", "Y座標"}, {"地表面", "-", "-"},
                                    {"0", "0.00", "5.00"},     {"1", "20.00", "5.00"},
                                    {"2", "40.00", "15.00"},   {"3", "70.00", "15.00"}};
    EXPECT_EQ(t.CoordinateTable1.Rows, table1);
    EXPECT_EQ(t.CoordinateTable2.Rows,
              (std::vector<Cells>{{"No.", "X座標", "Y座標"}, {"-", "-", "-"}}));
}

TEST(ResultTablesTest, DesignListingFiveLayersWithEverything) {
    TDesignConditions d;
    LoadSampleDesign(d);
    d.DesignName = "test1";
    d.WaterEnabled = true;
    d.GammaW = "10";
    d.NeverCutLineEnabled = true;
    d.NeverCutLine.Rows = {{"0", "0.00", "2.00"}, {"1", "70.00", "2.00"}};
    d.MustCutPointEnabled = true;
    d.MustCutPoint.Rows = {{"0", "30.00", "6.00"}};
    TAnalysisModel model;
    model.BuildAnalysisModel(d, {});
    TResultTables t;
    WriteDesignListing(t, d, model);

    EXPECT_EQ(t.ContentsList[2], "件　名：test1");
    EXPECT_EQ(t.LayerSettingsList.back(), "  3)水の単位体積重量(kN/m3)=10.00");
    EXPECT_EQ(t.CalculationConditionsList[12], "  (3)M.C.P(任意)=指定有り");
    EXPECT_EQ(t.CoordinateTable1.RowCount(), 1 + 3 * 5);
    std::vector<std::string> labels;
    for (const auto& row : t.CoordinateTable2.Rows) {
        if (row[1] == "-") labels.push_back(row[0]);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"4層目", "5層目", "地下水", "N.C.L", "M.C.P"}));
    EXPECT_EQ(t.CoordinateTable2.RowCount(), 1 + 5 + 5 + 5 + 3 + 2);
    EXPECT_EQ(t.CoordinateTable2.Rows.back(), (Cells{"0", "30.00", "6.00"}));
}

}  // namespace
}  // namespace sorvanta
