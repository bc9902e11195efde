#pragma once
// The figure files: the terrain chart of the design window, the result chart
// and the arbitrary-point chart, each as a placeable Windows metafile (for
// word processors on Windows) and as SVG beside it (for office suites on
// other systems and for web pages).

#include <filesystem>
#include <string>

#include "run/CalculationReport.h"
#include "views/ChartModel.h"
#include "views/ChartPainter.h"

namespace sorvanta {

struct TFigureSize {
    int Width = 0;  // pixels
    int Height = 0;
    bool operator==(const TFigureSize&) const = default;
};

// The chart sizes the windows give them at their default size (the window
// tests hold the windows to these).
struct TFigureSizes {
    TFigureSize Preview{367, 422};    // design window, "地形図"
    TFigureSize Result{596, 549};     // result tables window, tab Ⅴ
    TFigureSize Arbitrary{556, 549};  // arbitrary-point table window, tab Ⅴ
    bool operator==(const TFigureSizes&) const = default;
};

// The fonts and background of each figure, as its window paints the chart.
struct TFigureStyles {
    TChartStyle Preview;
    TChartStyle Result;
    TChartStyle Arbitrary;
};

// A chart painted at its current limits into a picture of `size` pixels.
[[nodiscard]] std::string ChartToWmf(const TChartModel& chart, TFigureSize size,
                                     const TChartStyle& style = {});
[[nodiscard]] std::string ChartToSvg(const TChartModel& chart, TFigureSize size,
                                     const TChartStyle& style = {});

// Base names of the three figures, in the order they are written.
inline constexpr const char* PreviewFigureName = "地形図";
inline constexpr const char* ResultFigureName = "最少すべり円";
inline constexpr const char* ArbitraryFigureName = "任意すべり円";

// Writes 地形図 (the design window's chart `preview`) and the report's
// 最少すべり円 and 任意すべり円 into `dir`, each as .wmf and then .svg,
// replacing files of those names. Every file is written whole or
// not at all; a file that cannot be written throws FileError naming it, the
// files before it written and the ones after it not.
void WriteFigures(const std::filesystem::path& dir, const TChartModel& preview,
                  const TCalculationReport& report, const TFigureSizes& sizes = {},
                  const TFigureStyles& styles = {});

}  // namespace sorvanta
