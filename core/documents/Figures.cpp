#include "documents/Figures.h"

#include <algorithm>

#include "documents/SvgCanvas.h"
#include "documents/WmfCanvas.h"
#include "text/TextFile.h"

namespace sorvanta {

namespace {

TRectF Area(TFigureSize size) {
    return {0, 0, static_cast<double>(size.Width), static_cast<double>(size.Height)};
}

TFigureSize Usable(TFigureSize size) {
    return {std::clamp(size.Width, 1, 32767), std::clamp(size.Height, 1, 32767)};
}

}  // namespace

std::string ChartToWmf(const TChartModel& chart, TFigureSize size, const TChartStyle& style) {
    size = Usable(size);
    TWmfCanvas canvas(size.Width, size.Height);
    PaintChart(chart, canvas, Area(size), style);
    return canvas.Finish();
}

std::string ChartToSvg(const TChartModel& chart, TFigureSize size, const TChartStyle& style) {
    size = Usable(size);
    TSvgCanvas canvas(size.Width, size.Height);
    PaintChart(chart, canvas, Area(size), style);
    return canvas.Finish();
}

void WriteFigures(const std::filesystem::path& dir, const TChartModel& preview,
                  const TCalculationReport& report, const TFigureSizes& sizes,
                  const TFigureStyles& styles) {
    const struct {
        const char* Name;
        const TChartModel& Chart;
        TFigureSize Size;
        const TChartStyle& Style;
    } figures[] = {{PreviewFigureName, preview, sizes.Preview, styles.Preview},
                   {ResultFigureName, report.ResultChart, sizes.Result, styles.Result},
                   {ArbitraryFigureName, report.ArbitraryChart, sizes.Arbitrary, styles.Arbitrary}};
    for (const auto& f : figures) {
        const std::string name(f.Name);
        WriteFileAtomically(dir / (name + ".wmf"), ChartToWmf(f.Chart, f.Size, f.Style));
        WriteFileAtomically(dir / (name + ".svg"), ChartToSvg(f.Chart, f.Size, f.Style));
    }
}

}  // namespace sorvanta
