#include "report/StudyCharts.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

// Distinct line colours for up to 16 inputs.
constexpr TRgb Palette[] = {{0, 0, 255},   {255, 0, 0},   {0, 128, 0},   {128, 0, 128},
                            {255, 128, 0}, {0, 128, 128}, {128, 128, 0}, {128, 0, 0},
                            {0, 0, 128},   {255, 0, 255}, {0, 192, 192}, {96, 96, 96},
                            {192, 96, 0},  {0, 96, 192},  {96, 192, 0},  {192, 0, 96}};

TChartSeries Line(std::string title, TRgb colour, int width = 2) {
    TChartSeries s;
    s.Title = std::move(title);
    s.Kind = TSeriesKind::Line;
    s.Colour = colour;
    s.LineWidth = width;
    s.ShowInLegend = true;
    s.Order = TValueOrder::None;
    return s;
}

}  // namespace

std::string VariationName(const TVariation& v) {
    const std::string layer = std::to_string(v.Layer + 1) + "層目 ";
    switch (v.Input) {
        case TVariedInput::Cohesion:
            return layer + "c";
        case TVariedInput::Phi:
            return layer + "φ";
        case TVariedInput::TanPhi:
            return layer + "tanφ";
        case TVariedInput::GammaT:
            return layer + "γt";
        case TVariedInput::WaterLevel:
            return "地下水位";
    }
    return {};
}

TChartModel SensitivitySpider(const TSensitivityResult& result) {
    TChartModel chart;
    chart.Title = "安全率の感度";
    chart.BottomTitle = "入力値の変化 (%)";
    chart.LeftTitle = "Fs";
    for (std::size_t i = 0; i < result.Lines.size(); ++i) {
        const TSensitivityLine& line = result.Lines[i];
        TChartSeries s = Line(VariationName(line.Input), Palette[i % std::size(Palette)]);
        s.Marker = TMarkerStyle::Circle;
        for (std::size_t k = 0; k < line.Fs.size(); ++k)
            if (line.Fs[k]) s.Points.push_back({line.Change[k] * 100, *line.Fs[k]});
        chart.Series.push_back(std::move(s));
    }
    return chart;
}

TChartModel SensitivityTornado(const TSensitivityResult& result) {
    struct TBar {
        std::string Name;
        double Low, High;
    };
    std::vector<TBar> bars;
    for (const TSensitivityLine& line : result.Lines) {
        double low = INFINITY, high = -INFINITY;
        for (const auto& fs : line.Fs) {
            if (!fs) continue;
            low = std::min(low, *fs);
            high = std::max(high, *fs);
        }
        if (low <= high) bars.push_back({VariationName(line.Input), low, high});
    }
    std::stable_sort(bars.begin(), bars.end(),
                     [](const TBar& a, const TBar& b) { return a.High - a.Low > b.High - b.Low; });
    TChartModel chart;
    chart.Title = "安全率の幅（トルネード図）";
    chart.BottomTitle = "Fs";
    chart.ShowLegend = false;
    const int n = static_cast<int>(bars.size());
    for (int i = 0; i < n; ++i) {
        const TBar& bar = bars[static_cast<std::size_t>(i)];
        TChartSeries s =
            Line(bar.Name, Palette[static_cast<std::size_t>(i) % std::size(Palette)], 8);
        s.ShowInLegend = false;
        s.LabelsShown = true;
        s.LabelOffset = 6;  // just clear of the bar, under the next one
        const double y = n - i;
        s.Points.push_back({bar.Low, y});
        s.Points.push_back({(bar.Low + bar.High) / 2, y,
                            bar.Name + "  " + FormatFloat("0.000", bar.Low) + "～" +
                                FormatFloat("0.000", bar.High)});
        s.Points.push_back({bar.High, y});
        chart.Series.push_back(std::move(s));
    }
    if (result.BaseFs) {
        TChartSeries base = Line("設計値の Fs", {0, 0, 0}, 1);
        base.LineStyle = TLineStyle::Dash;
        base.Points = {{*result.BaseFs, 0}, {*result.BaseFs, n + 1.0}};
        chart.Series.push_back(std::move(base));
    }
    chart.Left = TAxisRange{0, n + 1.0};
    // Room for the labels of the widest bars.
    if (!bars.empty()) {
        double low = bars.front().Low, high = bars.front().High;
        for (const TBar& bar : bars) {
            low = std::min(low, bar.Low);
            high = std::max(high, bar.High);
        }
        const double pad = std::max(high - low, 1e-3) * 0.25;
        chart.Bottom = TAxisRange{low - pad, high + pad};
    }
    return chart;
}

TChartModel FsHistogram(const TProbabilityResult& result) {
    TChartModel chart;
    chart.Title = "安全率の分布";
    chart.BottomTitle = "Fs";
    const long long total = std::accumulate(result.Histogram.begin(), result.Histogram.end(), 0LL);
    TChartSeries bars = Line("度数（割合）", {0, 0, 255}, 1);
    bars.Kind = TSeriesKind::Area;
    TChartSeries cumulative = Line("累積", {255, 0, 0}, 2);
    long long sum = 0;
    // The bins that hold samples, with one empty bin either side.
    std::size_t first = result.Histogram.size(), last = 0;
    for (std::size_t k = 0; k < result.Histogram.size(); ++k) {
        if (result.Histogram[k] == 0) continue;
        first = std::min(first, k);
        last = k;
    }
    if (total > 0) {
        // About 30 bars over the bins that hold samples.
        const std::size_t merge = std::max<std::size_t>(1, (last - first + 1 + 29) / 30);
        const double width = result.HistogramWidth * static_cast<double>(merge);
        first -= first % merge;
        cumulative.Points.push_back({static_cast<double>(first) * result.HistogramWidth, 0});
        for (std::size_t k = first; k <= last; k += merge) {
            long long count = 0;
            for (std::size_t j = k; j < std::min(k + merge, result.Histogram.size()); ++j)
                count += result.Histogram[j];
            const double left = static_cast<double>(k) * result.HistogramWidth;
            const double share = static_cast<double>(count) / static_cast<double>(total);
            bars.Points.push_back({left, 0});
            bars.Points.push_back({left, share});
            bars.Points.push_back({left + width, share});
            bars.Points.push_back({left + width, 0});
            sum += count;
            cumulative.Points.push_back(
                {left + width, static_cast<double>(sum) / static_cast<double>(total)});
        }
    }
    chart.Series.push_back(std::move(bars));
    chart.Series.push_back(std::move(cumulative));
    chart.Left = TAxisRange{0, 1};
    return chart;
}

TChartModel PfConvergence(const TProbabilityResult& result) {
    TChartModel chart;
    chart.Title = "破壊確率の収束";
    chart.BottomTitle = "試行数";
    TChartSeries pf = Line("Pf", {0, 0, 255});
    pf.Marker = TMarkerStyle::Circle;
    for (const auto& [n, p] : result.Convergence) pf.Points.push_back({static_cast<double>(n), p});
    chart.Series.push_back(std::move(pf));
    return chart;
}

namespace {

std::string FsText(const std::optional<double>& fs) {
    return fs ? FormatFloat("0.000", *fs) : std::string("―");
}

}  // namespace

std::vector<std::string> SensitivitySummaryLines(const TSensitivityResult& result, double range) {
    std::vector<std::string> lines{"設計値の安全率 Fs=" + FsText(result.BaseFs) + "  変化幅 ±" +
                                   FormatFloat("0.#", range * 100) + "%"};
    for (const TSensitivityLine& line : result.Lines) {
        lines.push_back(VariationName(line.Input) + ": Fs " + FsText(line.Fs.front()) + " ～ " +
                        FsText(line.Fs.back()));
    }
    return lines;
}

std::vector<std::string> ProbabilitySummaryLines(const TProbabilityResult& r,
                                                 const std::optional<TFosmResult>& fosm, bool latin,
                                                 int samples, std::uint64_t seed) {
    auto fixed = [](double v, const char* pattern = "0.000") { return FormatFloat(pattern, v); };
    return {
        std::string(latin ? "ラテン超方格法" : "モンテカルロ法") + " 試行 " +
            std::to_string(samples) + " 回（乱数の種 " + std::to_string(seed) +
            "）、円弧の無い試行 " + std::to_string(r.NoCircle) + " 回",
        "安全率の平均 " + fixed(r.Mean) + "  標準偏差 " + fixed(r.StandardDeviation),
        "破壊確率 Pf=P(Fs<1)=" + fixed(r.Pf, "0.0000") + "（95%信頼区間 " +
            fixed(r.PfLow, "0.0000") + "～" + fixed(r.PfHigh, "0.0000") + "）",
        "信頼性指標 β（正規）=" + fixed(r.BetaNormal) + "  β（対数正規）=" +
            fixed(r.BetaLognormal) + (fosm ? "  β（FOSM）=" + fixed(fosm->Beta) : std::string()),
    };
}

}  // namespace sorvanta
