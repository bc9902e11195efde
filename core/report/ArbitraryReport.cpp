#include "report/ArbitraryReport.h"

#include <cmath>

#include "report/MethodTexts.h"
#include "report/ReportTexts.h"
#include "report/VerdictTexts.h"
#include "text/NumberFormat.h"
#include "views/ChartNavigation.h"
#include "views/CircleDrawing.h"

namespace sorvanta {

namespace {

std::string F(std::string_view pattern, double value) {
    return FormatFloat(pattern, value);
}

constexpr TRgb Blue{0, 0, 255};
constexpr TRgb Red{255, 0, 0};

TLineList SliceHeading(const TArbitraryOutcome& o) {
    return {"最少安全率の滑り円弧の", "スライス荷重を下記に示す。",
            "  円弧中心X座標(Xo)=" + F("0.00m;-0.00m", o.Xo),
            "  　々　　Y座標(Yo)=" + F("0.00m;-0.00m", o.Yo),
            "  円弧半径     (R )=" + F("0.00m", o.R)};
}

void AppendClosingLines(TLineList& l, const TArbitraryOutcome& o) {
    l.insert(l.end(), {"", "滑り円諸元", "  円弧半径     (R )=" + F("0.00m", o.R)});
    const TLineList angles = CircleAngleLines(o.Theta, o.Beta, o.Delta);
    l.insert(l.end(), angles.begin(), angles.end());
    const TLineList closing{
        "",
        "  円弧中心X座標(Xo)=" + F("0.00m;-0.00m", o.Xo),
        "  　々　　Y座標(Yo)=" + F("0.00m;-0.00m", o.Yo),
        "",
        "  円弧起点X座標(Xb)=" + F("0.00m;-0.00m", o.Xb),
        "  　々　　Y座標(Yb)=" + F("0.00m;-0.00m", o.Yb),
        "",
        "  円弧終点X座標(Xe)=" + F("0.00m;-0.00m", o.Xe),
        "  　々　　Y座標(Ye)=" + F("0.00m;-0.00m", o.Ye),
    };
    l.insert(l.end(), closing.begin(), closing.end());
}

void WriteStatus1(TCircleReport& t, const TArbitraryOutcome& o, bool moment, double requiredFs) {
    t.SliceHeadingList = SliceHeading(o);
    t.LoadHeadingList = {"最少安全率のすべり円弧の", "荷重を下記に示す。",
                         "  Xo(円弧中心X座標)=" + F("0.00m;-0.00m", o.Xo),
                         "  Yo(円弧中心Y座標)=" + F("0.00m;-0.00m", o.Yo),
                         "  R(円弧半径)=" + F("0.00m", o.R)};
    t.LoadLegendList = {"ここに",
                        "  ｽﾗｲｽNo:ｽﾗｲｽ番号(中心座標)",
                        "   b:ｽﾗｲｽの幅(m)",
                        " ΣH:各層の高さの合計(m)",
                        " ΣV:各層の体積の合計(m3)",
                        "  c :粘着力(kN/m2)",
                        "  L :ｽﾗｲｽで区切られた",
                        "     すべり面の長さ(m)",
                        "  W :ｽﾗｲｽで区切られた",
                        "     土塊重量(kN)"};
    t.LoadFormulaList = {"  α:滑り面の傾斜角(度)",      "    (ｽﾗｲｽで区切られた滑り円の",
                         "     中点を結ぶ直線と鉛直線", "     のなす角)",
                         "  φ:剪断抵抗角(度)",          ""};
    if (moment)
        t.LoadFormulaList.insert(t.LoadFormulaList.end(),
                                 {"  Mr:(抵抗ﾓｰﾒﾝﾄ)(kNm)", "    =R･Σ(c･L+W･cosα･tanφ)",
                                  "  Mo:(滑動ﾓｰﾒﾝﾄ)(kNm)", "    =R･Σ(W･sinα)"});
    else
        t.LoadFormulaList.insert(t.LoadFormulaList.end(),
                                 {"  Fr:(抵抗力)(kN)", "    =Σ(c･L+W･cosα･tanφ)",
                                  "  Fo:(滑り力)(kN)", "    =Σ(W･sinα)"});
    if (moment)
        t.JudgementList = {"安全率   (Fs)=Mr/Mo=" + F("0.000;-0.000", o.Fs), "", "ここに",
                           "  抵抗ﾓｰﾒﾝﾄ(Mr)=" + F("#,##0.00kNm", o.Resisting),
                           "  滑動ﾓｰﾒﾝﾄ(Mo)=" + F("#,##0.00kNm;-#,##0.00kNm", o.Driving)};
    else
        t.JudgementList = {"安全率(Fs)=Fr/Fo=" + F("0.000;-0.000", o.Fs), "", "ここに",
                           "  抵抗力(Fr)=" + F("#,##0.00kN", o.Resisting),
                           "  滑り力(Fo)=" + F("#,##0.00kN;-#,##0.00kN", o.Driving)};
    AppendClosingLines(t.JudgementList, o);
    const TVerdict verdict = JudgeFactor(o.Fs, requiredFs).Verdict;
    t.JudgementLabel = {VerdictText(verdict), verdict == TVerdict::Within ? Blue : Red};
}

void WriteStatus2(TCircleReport& t, const TArbitraryOutcome& o, bool moment) {
    t.SliceHeadingList = SliceHeading(o);
    t.SliceHeadingList.insert(t.SliceHeadingList.end(),
                              {"", "ここに", "  ｽﾗｲｽNo:ｽﾗｲｽ番号", "   b   ：ｽﾗｲｽの幅        (m)",
                               " H1～H5：各層の高さ      (m)", " ΣH   ：各層の高さの合計(m)", "",
                               " V1～V5：各層の体積      (m3)", " ΣV   ：各層の体積の合計(m3)"});
    t.LoadHeadingList = {"最少安全率のすべり円弧の",
                         "荷重を下記に示す。",
                         "  円弧中心X座標",
                         "    Xo=" + F("0.00m;-0.00m", o.Xo),
                         "  円弧中心Y座標",
                         "    Yo=" + F("0.00m;-0.00m", o.Yo),
                         "  円弧半径",
                         "    R =" + F("0.00m", o.R),
                         "",
                         "ここに",
                         "  ｽﾗｲｽNo:ｽﾗｲｽ番号(中心座標)",
                         "   b:ｽﾗｲｽの幅      (m)",
                         " ΣH:各層の高さの合計(m)",
                         "     (表２参照)",
                         " ΣV:各層の体積の合計(m3)",
                         "     (表２参照)",
                         "  c :粘着力    (kN/m2)",
                         "  L :ｽﾗｲｽで区切られた",
                         "     すべり面の長さ(m)",
                         "  W :ｽﾗｲｽで区切られた",
                         "     土塊重量(kN)",
                         "  α:滑り面の傾斜角(度)",
                         "    (ｽﾗｲｽで区切られた滑",
                         "     り円の中点を結ぶ直",
                         "     線と鉛直線のなす角)",
                         "  φ:剪断抵抗角(度)",
                         ""};
    if (moment)
        t.LoadHeadingList.insert(t.LoadHeadingList.end(),
                                 {"  Mr:(抵抗ﾓｰﾒﾝﾄ)(kNm)", "    =R･Σ(c･L+W･cosα･tanφ)", "",
                                  "  Mo:(滑動ﾓｰﾒﾝﾄ)(kNm)", "    =R･Σ(W･sinα)"});
    else
        t.LoadHeadingList.insert(t.LoadHeadingList.end(),
                                 {"  Fr:(抵抗力)(kN)", "    =Σ(c･L+W･cosα･tanφ)", "",
                                  "  Fo:(滑り力)(kN)", "    =Σ(W･sinα)"});
    if (moment)
        t.JudgementList = {"安全率   (Fs)=Mr/Mo=∞",
                           "抵抗ﾓｰﾒﾝﾄ(Mr)=" + F("#,##0.00kNm", o.Resisting),
                           "滑動ﾓｰﾒﾝﾄ(Mo)=" + F("#,##0.00kNm;-#,##0.00kNm", o.Driving)};
    else
        t.JudgementList = {"安全率(Fs)=Fr/Fo=∞", "抵抗力(Fr)=" + F("#,##0.00kN", o.Resisting),
                           "滑り力(Fo)=" + F("#,##0.00kN;-#,##0.00kN", o.Driving)};
    AppendClosingLines(t.JudgementList, o);
    t.JudgementLabel = {VerdictText(TVerdict::Infinite), Blue};
}

}  // namespace

void WriteArbitraryTexts(TCircleReport& circle, const TArbitraryOutcome& outcome, int displayForm,
                         double requiredFs) {
    const bool moment = displayForm == 0;
    switch (outcome.Status) {
        case 1:
            WriteStatus1(circle, outcome, moment, requiredFs);
            break;
        case 2:
            WriteStatus2(circle, outcome, moment);
            break;
        default:
            circle.SliceHeadingList.clear();
            circle.LoadHeadingList.clear();
            circle.JudgementList.clear();
            circle.JudgementLabel = {ArbitraryStatusText(outcome), Red};
            break;
    }
}

TArbitraryOutcome WriteArbitraryReport(const TDesignConditions& design,
                                       const TArbitraryPoint& point, TArbitraryTables& tables,
                                       TChartModel& chart, TChartModel* separate,
                                       const TDrawingOptions& drawing) {
    if (point.Outcome.Status != 0) {
        WriteCircleTables(tables.Circle, point.Circle.Rows, point.Circle.Sums, point.Form);
        WriteMethodTables(tables.Circle, point.Model->Method, point.Circle);
        DrawCircle(chart, *point.Model, point.Circle.Circle, point.Circle.Sums, design, drawing,
                   false);
    }
    WriteArbitraryTexts(tables.Circle, point.Outcome, point.Form, point.Judgement.Required);
    if (point.Outcome.Status == 1)
        PutMethodLine(tables.Circle.JudgementList, 1, point.Model->Method, point.Circle.Sums);
    if (separate) CopyChart(chart, *separate);
    return point.Outcome;
}

TArbitraryOutcome WriteArbitraryReport(const TDesignConditions& design, TArbitraryPoint point,
                                       TCalculationReport& report, TChartModel* separate,
                                       const TDrawingOptions& drawing) {
    report.ArbitraryPoint = std::move(point);
    return WriteArbitraryReport(design, *report.ArbitraryPoint, report.Arbitrary,
                                report.ArbitraryChart, separate, drawing);
}

TArbitraryOutcome EvaluateArbitraryPoint(const TDesignConditions& design,
                                         const TAnalysisOptions& options, double xo, double yo,
                                         TArbitraryTables& tables, TChartModel& chart,
                                         TChartModel* separate, const TDrawingOptions& drawing) {
    return WriteArbitraryReport(design, CalculateArbitraryPoint(design, options, xo, yo), tables,
                                chart, separate, drawing);
}

}  // namespace sorvanta
