#pragma once
// "2.各図ﾒﾀﾌｧｲﾙ出力..." / "各図出力": the three charts as figure files in the
// current directory, each a Windows metafile with an SVG beside it.

class QWidget;

namespace sorvanta {
struct TAppState;
}  // namespace sorvanta

namespace sorvanta::gui {

class TChartView;

// Asks first (at screen position (0, 80)), and again before replacing any of
// the files; on Yes writes 地形図, 最少すべり円 and 任意すべり円 (.wmf and
// .svg) and reports completion. Each chart is
// taken as it stands: its limits (zoom and pan kept), and the size and fonts
// of the view that shows it; a chart whose view has never been shown takes
// the size its window gives it by default (TFigureSizes), and a chart without
// a view (null) that size and the default fonts. A file that cannot be written
// ends the command with a message naming it; the files before it stay.
void FigureExportCommand(QWidget* parent, const TAppState& context, const TChartView* preview,
                         const TChartView* result = nullptr, const TChartView* arbitrary = nullptr);

}  // namespace sorvanta::gui
