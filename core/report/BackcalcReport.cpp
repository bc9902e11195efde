#include "report/BackcalcReport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/Search.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

constexpr double Degree = std::numbers::pi / 180;
constexpr TRgb Blue{0, 0, 255};
constexpr TRgb Red{255, 0, 0};
constexpr TRgb Black{0, 0, 0};

std::string F2(double v) {
    return FormatFloat("0.00;-0.00", v);
}
std::string F3(double v) {
    return FormatFloat("0.000;-0.000", v);
}

TChartSeries Series(std::string title, TSeriesKind kind, TRgb colour) {
    TChartSeries s;
    s.Title = std::move(title);
    s.Kind = kind;
    s.Colour = colour;
    s.Order = TValueOrder::None;
    s.ShowInLegend = true;
    if (kind == TSeriesKind::Point) s.Marker = TMarkerStyle::Circle;
    return s;
}

TCellTable StrengthTable(const TStrengthLine& line) {
    constexpr int step = 5, last = 45;
    TCellTable table(3, {64, 72, 96}, 17, "φ(度),tanφ,c(kN/m2)", last / step + 2);
    for (int k = 0; k <= last / step; ++k) {
        const double phi = k * step;
        const double tanPhi = std::tan(phi * Degree);
        const auto c = CohesionFor(line, tanPhi);
        auto& row = table.Rows[static_cast<std::size_t>(k + 1)];
        row = {FormatFloat("0.0", phi), FormatFloat("0.0000", tanPhi), c ? F2(*c) : "-"};
    }
    return table;
}

TChartModel StrengthChart(const TStrengthLine& line, const TBackcalcInputs& inputs,
                          const std::optional<double>& answer) {
    TChartModel chart;
    chart.Title =
        "c と tanφ の関係 (Fs0=" + F3(inputs.Fs0) + ", " + std::to_string(inputs.Layer) + "層目)";
    chart.BottomTitle = "c (kN/m2)";
    chart.LeftTitle = "tanφ";

    // The part of the line with c ≥ 0 and tanφ ≥ 0, from its ends; a line
    // parallel to an axis (the layer carries no cohesion or no friction on
    // the circle) is drawn up to φ = 45° or to the given c.
    const auto c0 = CohesionFor(line, 0);
    const auto t0 = TanPhiFor(line, 0);
    double cMax = c0.value_or(0);
    double tMax = t0.value_or(0);
    TChartSeries strength = Series("Fs0･ΣMo=ΣMr", TSeriesKind::Line, Blue);
    strength.LineWidth = 2;
    if (c0 && t0) {
        strength.Add(0, *t0);
        strength.Add(*c0, 0);
    } else if (c0) {
        strength.Add(*c0, 0);
        strength.Add(*c0, 1);
        tMax = 1;
    } else if (t0) {
        cMax = std::max(100.0, inputs.Given == TBackcalcGiven::Cohesion ? inputs.Value : 0.0);
        strength.Add(0, *t0);
        strength.Add(cMax, *t0);
    }

    // φ marked every 10 degrees on the line and, in red, the given value
    // with its partner (a mark that close to it left out, its label would
    // cover the answer), in one series: a document figure leaves out a
    // series of one point.
    const bool cohesionGiven = inputs.Given == TBackcalcGiven::Cohesion;
    std::optional<double> answerPhi;
    if (answer) answerPhi = cohesionGiven ? *answer : inputs.Value;
    TChartSeries phis = Series("φ", TSeriesKind::Point, Black);
    phis.ShowInLegend = false;
    phis.MarkerWidth = phis.MarkerHeight = 3;
    phis.LabelsShown = true;
    phis.LabelOffset = 2;
    for (int phi = 0; phi < 90 && !strength.Points.empty(); phi += 10) {
        if (answerPhi && std::fabs(*answerPhi - phi) < 3) continue;
        const double t = std::tan(phi * Degree);
        if (const auto c = CohesionFor(line, t)) phis.Add(*c, t, "φ=" + std::to_string(phi) + "°");
    }
    if (answerPhi) {
        const double c = cohesionGiven ? inputs.Value : *answer;
        const double t = std::tan(*answerPhi * Degree);
        phis.Add(c, t, "c=" + F2(c) + ", φ=" + F2(*answerPhi) + "°", Red);
        cMax = std::max(cMax, c);
        tMax = std::max(tMax, t);
    }

    chart.Series.push_back(std::move(strength));
    chart.Series.push_back(std::move(phis));
    if (cMax > 0) chart.Bottom = chart.HomeBottom = TAxisRange{0, cMax * 1.1};
    if (tMax > 0) chart.Left = chart.HomeLeft = TAxisRange{0, tMax * 1.1};
    return chart;
}

}  // namespace

std::string BackcalcProblemText(TBackcalcProblem problem, int layersInUse) {
    switch (problem) {
        case TBackcalcProblem::None:
            return {};
        case TBackcalcProblem::Fs0NotPositive:
            return "安全率 Fs0 には 0 より大きい値を入力して下さい。";
        case TBackcalcProblem::NoSuchLayer:
            return "その層は有りません。層番号は 1～" + std::to_string(layersInUse) +
                   " で入力して下さい。";
        case TBackcalcProblem::NegativeCohesion:
            return "粘着力 c には 0 以上の値を入力して下さい。";
        case TBackcalcProblem::PhiOutOfRange:
            return "内部摩擦角 φ には 0 以上 90 未満の角度を入力して下さい。";
        case TBackcalcProblem::NoCircle:
            return "逆算する円弧が有りません。";
        case TBackcalcProblem::NotOnCircle:
            return "この円弧はその層を通らないため逆算できません。";
        case TBackcalcProblem::NoSolution:
            return "正の解が有りません。与えた値では安全率 Fs0 になりません。";
    }
    return {};
}

TBackcalcProblem CheckBackcalcInputs(const TBackcalcInputs& inputs, int layersInUse) {
    if (!(inputs.Fs0 > 0) || !std::isfinite(inputs.Fs0)) return TBackcalcProblem::Fs0NotPositive;
    if (inputs.Layer < 1 || inputs.Layer > layersInUse) return TBackcalcProblem::NoSuchLayer;
    if (inputs.Given == TBackcalcGiven::Cohesion &&
        !(inputs.Value >= 0 && std::isfinite(inputs.Value)))
        return TBackcalcProblem::NegativeCohesion;
    if (inputs.Given == TBackcalcGiven::Phi && !(inputs.Value >= 0 && inputs.Value < 90))
        return TBackcalcProblem::PhiOutOfRange;
    return TBackcalcProblem::None;
}

std::optional<TSlipCircle> CircleAboutCentre(const TAnalysisModel& model, double xo, double yo) {
    TEngineScratch scratch;
    const TSearchResult best = SearchRadius(model, scratch, TPoint{xo, yo});
    if (best.R == 0 || best.Verdict != TCircleVerdict::Valid) return std::nullopt;
    return TSlipCircle{xo, yo, best.R};
}

TBackcalcOutcome BackcalcOn(const TAnalysisModel& model, const TSlipCircle& circle,
                            const TBackcalcInputs& inputs) {
    TBackcalcOutcome out;
    out.Problem = CheckBackcalcInputs(inputs, model.LayersInUse());
    if (out.Problem != TBackcalcProblem::None) return out;
    const auto line = BackCalculate(model, circle, inputs.Layer - 1, inputs.Fs0);
    if (!line) {
        out.Problem = TBackcalcProblem::NoCircle;
        return out;
    }

    TBackcalcReport& r = out.Report;
    r.Inputs = inputs;
    r.Circle = circle;
    r.Line = *line;
    const bool cohesionGiven = inputs.Given == TBackcalcGiven::Cohesion;
    if (cohesionGiven) {
        if (const auto t = TanPhiFor(*line, inputs.Value)) r.Answer = std::atan(*t) / Degree;
    } else if (const auto c = CohesionFor(*line, std::tan(inputs.Value * Degree))) {
        r.Answer = *c;
    }

    const std::string layer = std::to_string(inputs.Layer) + "層目";
    r.Lines = {
        "逆算法  Fs0=" + F3(inputs.Fs0) + "  " + layer,
        "円弧  Xo=" + F2(circle.Xo) + "  Yo=" + F2(circle.Yo) + "  R=" + F2(circle.R),
        "Fs0･ΣMo = ΣMr:",
        "  " + F2(line->Fs0 * line->Driving) + " = " + F2(line->Fixed) + " + " +
            F3(line->PerCohesion) + "･c + " + F2(line->PerTanPhi) + "･tanφ",
    };
    const std::string given =
        cohesionGiven ? "c=" + F2(inputs.Value) + " kN/m2" : "φ=" + F2(inputs.Value) + "°";
    if (r.Answer) {
        r.Lines.push_back(
            given + " のとき " +
            (cohesionGiven ? "φ=" + F2(*r.Answer) + "°" : "c=" + F2(*r.Answer) + " kN/m2"));
    } else {
        r.Lines.push_back(given + " では正の " + (cohesionGiven ? "φ" : "c") + " が有りません。");
        out.Problem = line->PerCohesion > 0 || line->PerTanPhi > 0 ? TBackcalcProblem::NoSolution
                                                                   : TBackcalcProblem::NotOnCircle;
    }
    r.Table = StrengthTable(*line);
    r.Chart = StrengthChart(*line, inputs, r.Answer);
    return out;
}

}  // namespace sorvanta
