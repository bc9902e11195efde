#include <gtest/gtest.h>

#include "engine/Geometry.h"
#include "engine/Search.h"
#include "report/ArbitraryReport.h"
#include "report/ReportTexts.h"
#include "report/VerdictTexts.h"
#include "views/CircleDrawing.h"

using namespace sorvanta;

namespace {

TArbitraryOutcome Example(int status, double fs) {
    TArbitraryOutcome o;
    o.Status = status;
    o.Xo = 20;
    o.Yo = -3.456;
    o.R = 12.5;
    o.Fs = fs;
    o.Resisting = 12345.678;
    o.Driving = -2345.5;
    o.Xb = 10;
    o.Yb = 5;
    o.Xe = 30;
    o.Ye = 15;
    o.Theta = 75.26;
    o.Beta = 26.565;
    o.Delta = -10;
    return o;
}

TDesignConditions Sample() {
    TDesignConditions d;
    LoadSampleDesign(d);
    return d;
}

}  // namespace

TEST(ArbitraryTexts, FactorInMomentForm) {
    TCircleReport t;
    WriteArbitraryTexts(t, Example(1, -1.2345), 0, 1.2);
    EXPECT_EQ(t.SliceHeadingList,
              (TLineList{"最少安全率の滑り円弧の", "スライス荷重を下記に示す。",
                         "  円弧中心X座標(Xo)=20.00m", "  　々　　Y座標(Yo)=-3.46m",
                         "  円弧半径     (R )=12.50m"}));
    EXPECT_EQ(t.LoadHeadingList, (TLineList{"最少安全率のすべり円弧の", "荷重を下記に示す。",
                                            "  Xo(円弧中心X座標)=20.00m",
                                            "  Yo(円弧中心Y座標)=-3.46m", "  R(円弧半径)=12.50m"}));
    ASSERT_EQ(t.LoadLegendList.size(), 10u);
    EXPECT_EQ(t.LoadLegendList.back(), "     土塊重量(kN)");
    ASSERT_EQ(t.LoadFormulaList.size(), 10u);
    EXPECT_EQ(t.LoadFormulaList[5], "");
    EXPECT_EQ(t.LoadFormulaList[6], "  Mr:(抵抗ﾓｰﾒﾝﾄ)(kNm)");
    const TLineList judgement{"安全率   (Fs)=Mr/Mo=-1.235",
                              "",
                              "ここに",
                              "  抵抗ﾓｰﾒﾝﾄ(Mr)=12,345.68kNm",
                              "  滑動ﾓｰﾒﾝﾄ(Mo)=-2,345.50kNm",
                              "",
                              "滑り円諸元",
                              "  円弧半径     (R )=12.50m",
                              "  円弧開き角度 (Θ)=75.26度",
                              "  円弧傾き     (β)=26.57度",
                              "  円弧中心傾き (δ)=-10.00度",
                              "    (β:円弧起点と円弧終点を結ぶ線が水平線と成す角)",
                              "    (δ:円弧起点と円弧中心を結ぶ線が鉛直線と成す角)",
                              "  Check:Θ=2(β-δ)=73.13度",
                              "",
                              "  円弧中心X座標(Xo)=20.00m",
                              "  　々　　Y座標(Yo)=-3.46m",
                              "",
                              "  円弧起点X座標(Xb)=10.00m",
                              "  　々　　Y座標(Yb)=5.00m",
                              "",
                              "  円弧終点X座標(Xe)=30.00m",
                              "  　々　　Y座標(Ye)=15.00m"};
    EXPECT_EQ(t.JudgementList, judgement);
    // |Fs| is judged: 1.2345 ≥ 1.2.
    EXPECT_EQ(t.JudgementLabel, (TColouredText{"安全率以内", TRgb{0, 0, 255}}));

    WriteArbitraryTexts(t, Example(1, 1.19), 0, 1.2);
    EXPECT_EQ(t.JudgementLabel, (TColouredText{"安全率外", TRgb{255, 0, 0}}));
    WriteArbitraryTexts(t, Example(1, 1.2), 0, 1.2);
    EXPECT_EQ(t.JudgementLabel.Text, "安全率以内");
}

TEST(ArbitraryTexts, ForceFormAndLevelGround) {
    TCircleReport t;
    WriteArbitraryTexts(t, Example(1, 1.5), 1, 1.2);
    EXPECT_EQ(t.JudgementList[0], "安全率(Fs)=Fr/Fo=1.500");
    EXPECT_EQ(t.JudgementList[3], "  抵抗力(Fr)=12,345.68kN");
    EXPECT_EQ(t.JudgementList[4], "  滑り力(Fo)=-2,345.50kN");
    EXPECT_EQ(t.LoadFormulaList[6], "  Fr:(抵抗力)(kN)");
    const TLineList legend = t.LoadLegendList;
    const TLineList formula = t.LoadFormulaList;

    // Status 2 keeps the load legend and formula lists.
    WriteArbitraryTexts(t, Example(2, 0), 0, 1.2);
    EXPECT_EQ(t.LoadLegendList, legend);
    EXPECT_EQ(t.LoadFormulaList, formula);
    ASSERT_EQ(t.SliceHeadingList.size(), 14u);
    EXPECT_EQ(t.SliceHeadingList[9], " H1～H5：各層の高さ      (m)");
    ASSERT_EQ(t.LoadHeadingList.size(), 32u);
    EXPECT_EQ(t.LoadHeadingList[3], "    Xo=20.00m");
    EXPECT_EQ(t.LoadHeadingList[7], "    R =12.50m");
    EXPECT_EQ(t.LoadHeadingList[27], "  Mr:(抵抗ﾓｰﾒﾝﾄ)(kNm)");
    EXPECT_EQ(t.LoadHeadingList[29], "");
    EXPECT_EQ(t.JudgementList[0], "安全率   (Fs)=Mr/Mo=∞");
    EXPECT_EQ(t.JudgementList[1], "抵抗ﾓｰﾒﾝﾄ(Mr)=12,345.68kNm");
    EXPECT_EQ(t.JudgementList[2], "滑動ﾓｰﾒﾝﾄ(Mo)=-2,345.50kNm");
    EXPECT_EQ(t.JudgementList[3], "");
    EXPECT_EQ(t.JudgementList[4], "滑り円諸元");
    EXPECT_EQ(t.JudgementList.size(), 3u + 18u);
    EXPECT_EQ(t.JudgementLabel, (TColouredText{"Fs=∞", TRgb{0, 0, 255}}));

    WriteArbitraryTexts(t, Example(2, 0), 1, 1.2);
    EXPECT_EQ(t.JudgementList[0], "安全率(Fs)=Fr/Fo=∞");
    EXPECT_EQ(t.LoadHeadingList[27], "  Fr:(抵抗力)(kN)");
}

TEST(ArbitraryTexts, NoCircleEmptiesTheHeadingsAndJudgementOnly) {
    TCircleReport t;
    WriteArbitraryTexts(t, Example(1, 1.5), 0, 1.2);
    const TLineList legend = t.LoadLegendList;
    TArbitraryOutcome none;
    none.Verdict = TCircleVerdict::CentreOutsideWidth;
    WriteArbitraryTexts(t, none, 0, 1.2);
    EXPECT_TRUE(t.SliceHeadingList.empty());
    EXPECT_TRUE(t.LoadHeadingList.empty());
    EXPECT_TRUE(t.JudgementList.empty());
    EXPECT_EQ(t.LoadLegendList, legend);
    EXPECT_EQ(t.JudgementLabel, (TColouredText{"円弧中心が地形定義幅外", TRgb{255, 0, 0}}));
}

TEST(ArbitraryPoint, EvaluatesTheBestCircleAboutTheCentre) {
    const TDesignConditions d = Sample();
    TArbitraryTables t;
    TChartModel chart = MakeArbitraryChart();
    TChartModel separate = MakeSeparateArbitraryChart();
    const TArbitraryOutcome o = EvaluateArbitraryPoint(d, {}, 30, 25, t, chart, &separate);
    ASSERT_EQ(o.Status, 1) << ArbitraryStatusText(o);

    const TAnalysisModel engine = BuildAnalysisModel(d, {});
    TEngineScratch scratch;
    const TSearchResult best = SearchRadius(engine, scratch, {30, 25});
    EXPECT_EQ(o.R, best.R);
    EXPECT_EQ(o.Fs, best.Fs);
    EXPECT_DOUBLE_EQ(o.Theta, OpeningAngle(o.Xb, o.Yb, o.Xe, o.Ye, 30, 25));

    const int n = t.Circle.SliceTable.RowCount() - 1;
    ASSERT_GT(n, 0);
    EXPECT_EQ(t.Circle.LoadTable.RowCount(), n + 2);
    EXPECT_EQ(t.Circle.LoadTable.Cell(n + 1, 0), "合計");
    EXPECT_EQ(t.Circle.SliceHeadingList[2], "  円弧中心X座標(Xo)=30.00m");
    EXPECT_FALSE(t.Circle.JudgementLabel.Text.empty());

    // Drawn without framing; the separate chart is a copy.
    EXPECT_EQ(chart.Series[rsRadii].Points.size(), 3u);
    EXPECT_FALSE(chart.Bottom);
    EXPECT_EQ(separate.Series[rsSlipSurface].Points.size(),
              chart.Series[rsSlipSurface].Points.size());
}

TEST(ArbitraryPoint, CentreWithoutACircleKeepsTablesAndChart) {
    const TDesignConditions d = Sample();
    TArbitraryTables t;
    TChartModel chart = MakeArbitraryChart();
    chart.Bottom = TAxisRange{0, 10};
    ASSERT_EQ(EvaluateArbitraryPoint(d, {}, 30, 25, t, chart).Status, 1);
    const TArbitraryTables before = t;
    const TChartModel drawn = chart;

    TChartModel separate = MakeSeparateArbitraryChart();
    const TArbitraryOutcome o = EvaluateArbitraryPoint(d, {}, 100, 25, t, chart, &separate);
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(t.Circle.JudgementLabel, (TColouredText{"円弧中心が地形定義幅外", TRgb{255, 0, 0}}));
    EXPECT_EQ(t.Circle.SliceTable, before.Circle.SliceTable);
    EXPECT_EQ(t.Circle.LoadTable, before.Circle.LoadTable);
    EXPECT_EQ(t.Circle.LoadLegendList, before.Circle.LoadLegendList);
    EXPECT_TRUE(t.Circle.JudgementList.empty());
    EXPECT_EQ(chart, drawn);
    // The copy into the separate chart happens whatever the status.
    EXPECT_EQ(separate.Series[rsRadii].Points.size(), 3u);
    EXPECT_EQ(separate.Bottom, (TAxisRange{0, 10}));
}

TEST(ArbitraryPoint, DisplayFormChangesTheTextsNotTheCircle) {
    const TDesignConditions d = Sample();
    TArbitraryTables moment, force;
    TChartModel c1 = MakeArbitraryChart(), c2 = MakeArbitraryChart();
    const TArbitraryOutcome a = EvaluateArbitraryPoint(d, {}, 30, 25, moment, c1);
    const TArbitraryOutcome b =
        EvaluateArbitraryPoint(d, {.Form = TFsForm::Force}, 30, 25, force, c2);
    EXPECT_EQ(a.R, b.R);
    EXPECT_EQ(a.Xb, b.Xb);
    EXPECT_EQ(c1.Series[rsSlipSurface], c2.Series[rsSlipSurface]);
    EXPECT_NE(moment.Circle.JudgementList[0], force.Circle.JudgementList[0]);
    EXPECT_EQ(force.Circle.LoadTable.Cell(0, 12), "Fr(kN)");
}

TEST(ArbitraryPoint, CentreWithoutACircleAlwaysSaysWhy) {
    // Below the never-cut elevation no radius is allowed, so no circle was
    // tried and the reason used to be empty; with valid circles only in the
    // other direction it was whatever the last circle tried said.
    using V = TCircleVerdict;
    using R = TArbitraryReason;
    struct TCase {
        const char* Name;
        double Xo, Yo;
        const char* NeverCutElevation;
        int Direction;
        R Reason;
        V Verdict;
        const char* Words;
    };
    const TCase cases[] = {
        {"below the elevation, in the ground", 30, -1, "0.00", 0, R::CircleVerdict,
         V::CentreInGround, "円弧中心が地層内"},
        {"below the elevation, outside", -5, -1, "0.00", 0, R::CircleVerdict, V::CentreOutsideWidth,
         "円弧中心が地形定義幅外"},
        {"below the elevation, above the ground", 10, 8, "12.00", 0, R::CircleVerdict,
         V::CentreBelowNeverCut, "円弧中心がﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)より下"},
        // Just above the toe every pass finds valid clockwise circles: no
        // circle's verdict, the search's own finding.
        {"only the other direction", 20, 5.04, "0.00", 1, R::NoCircleInDirection, V::NotTried,
         "該当する滑り方向の円弧は有りません。"},
    };
    for (const TCase& c : cases) {
        TDesignConditions d = Sample();
        d.NeverCutElevation = c.NeverCutElevation;
        const TAnalysisOptions options{.Direction = static_cast<TSlipDirection>(c.Direction)};
        const TArbitraryPoint point = CalculateArbitraryPoint(d, options, c.Xo, c.Yo);
        const TArbitraryOutcome& o = point.Outcome;
        EXPECT_EQ(o.Status, 0) << c.Name;
        EXPECT_EQ(o.Reason, c.Reason) << c.Name;
        EXPECT_EQ(o.Verdict, c.Verdict) << c.Name;
        // The report names it on the judgement panel.
        TArbitraryTables t;
        TChartModel chart = MakeArbitraryChart();
        WriteArbitraryReport(d, point, t, chart);
        EXPECT_EQ(t.Circle.JudgementLabel, (TColouredText{c.Words, TRgb{255, 0, 0}})) << c.Name;
    }
}
