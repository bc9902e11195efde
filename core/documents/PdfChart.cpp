// Charts redrawn as vector graphics from their data: clipped series, frame,
// dashed grid with value labels.

#include <cmath>
#include <string>

#include "documents/PdfDrawing.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

constexpr TRgb Black{0, 0, 0};

std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

std::string GridLabel(double value) {
    return FormatFloat(value >= 100 ? "#,0" : "#,0.00", value);
}

// A point without a label of its own shows an empty one: it still sets the
// label size and colour that the grid labels after it are written with.
std::string LabelOf(const TChartPoint& point) {
    return point.Label.value_or(std::string());
}

bool UsableRange(const TAxisRange& range) {
    return std::isfinite(range.Min) && std::isfinite(range.Max) && range.Max > range.Min;
}

}  // namespace

void TPdfDocumentDrawer::PdfChart(const TChartModel& chart, double x, double y, double width,
                                  double height) {
    const double xL = FrameLeft + x;
    const double xR = xL + width;
    const double yB = FrameTop - y - height;
    const double yT = yB + height;
    const TAxisRange bottom = EffectiveRange(chart, TChartAxisId::Bottom);
    const TAxisRange left = EffectiveRange(chart, TChartAxisId::Left);
    // Limits that span nothing have no scale; the frame and titles still show.
    const bool scaled = UsableRange(bottom) && UsableRange(left);
    const double sx = scaled ? width / (bottom.Max - bottom.Min) : 0;
    const double sy = scaled ? height / (left.Max - left.Min) : 0;
    auto px = [&](double vx) { return (vx - bottom.Min) * sx + xL; };
    auto py = [&](double vy) { return (vy - left.Min) * sy + yB; };

    C().FontSize = 8;
    C().LineWidth = 0.75;
    const std::string_view title = FirstLine(chart.Title);
    C().TextOut((xL + xR) / 2 - C().TextWidth(title) / 2, yT + 3, title);
    C().TextOut((xL + xR) / 2 - C().TextWidth(chart.BottomTitle) / 2, yB - 20, chart.BottomTitle);
    C().TextOut(xR + 2, (yB + yT) / 2, chart.LeftTitle);

    C().LineColor = Black;
    C().DrawRect(true, xL, yT, xR, yB);
    C().LineWidth = 0.2;

    if (scaled) {
        for (const TChartSeries& series : chart.Series) {
            const auto& points = series.Points;
            if (points.size() < 2) continue;
            switch (series.Kind) {
                case TSeriesKind::Line:
                case TSeriesKind::FastLine:
                case TSeriesKind::Area:
                    C().LineColor = series.PointColour(0);
                    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
                        C().DrawLine(px(points[i].X), py(points[i].Y), px(points[i + 1].X),
                                     py(points[i + 1].Y));
                    }
                    if (series.LabelsShown) {
                        for (const TChartPoint& p : points) {
                            const std::string label = LabelOf(p);
                            C().TextOut(px(p.X) - C().TextWidth(label) / 2, py(p.Y) + 2, label);
                        }
                    }
                    break;
                case TSeriesKind::Point:
                    for (std::size_t i = 0; i < points.size(); ++i) {
                        const TChartPoint& p = points[i];
                        C().TextColor = series.PointColour(i);
                        C().FontSize = 2;
                        C().TextOut(px(p.X), py(p.Y), "●");
                        if (series.LabelsShown) {
                            const std::string label = LabelOf(p);
                            C().TextColor = series.LabelColour;
                            C().FontSize = 8;
                            C().TextOut(px(p.X) - C().TextWidth(label) / 2, py(p.Y) + 2, label);
                        }
                    }
                    break;
            }
        }
    }

    C().GRestore();
    C().LineColor = Black;
    C().DrawRect(false, xL, yT, xR, yB);
    C().SetDash(3, 0, 0);
    if (scaled) {
        for (int i = 1; i <= 9; ++i) {
            const double v = i * (bottom.Max - bottom.Min) / 10;
            const double gx = xL + v * sx;
            C().DrawLine(gx, yB, gx, yT);
            const std::string label = GridLabel(v + bottom.Min);
            C().TextOut(gx - C().TextWidth(label) / 2, yB - 8, label);
        }
        for (int i = 1; i <= 9; ++i) {
            const double v = i * (left.Max - left.Min) / 10;
            const double gy = yB + v * sy;
            C().DrawLine(xL, gy, xR, gy);
            const std::string label = GridLabel(v + left.Min);
            C().TextOut(xL - C().TextWidth(label) - 2, gy + 2, label);
        }
    }
    C().SetDash(0, 0, 0);
    C().GRestore();
}

}  // namespace sorvanta
