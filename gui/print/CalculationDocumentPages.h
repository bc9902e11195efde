#pragma once
// The printed calculation document (円弧すべり計算書): its six page layouts
// on A4, painted onto any paint device, so that the preview, the printer, a
// PDF file and a test image all come from here. The contents page and the
// sections Ⅰ, Ⅱ and Ⅴ are single sheets; Ⅲ and Ⅳ are banded reports whose
// table rows run over as many sheets as they need.

#include <QPageLayout>
#include <cstdint>
#include <string>
#include <vector>

#include "design/AnalysisOptions.h"
#include "run/CalculationReport.h"
#include "views/ChartModel.h"

class QPainter;
class QPrinter;

namespace sorvanta::gui {

enum class TDocumentPage : std::uint8_t {
    Contents,          // 目次
    DesignConditions,  // Ⅰ
    SafetyFactor,      // Ⅱ
    SliceLoads,        // Ⅲ, banded
    Loads,             // Ⅳ, banded, landscape
    SlipCircle,        // Ⅴ
    CaseSummary,       // Ⅵ, with both design cases
    Methods,           // Ⅵ, a method other than the ordinary one: its table over sheets
};

// Which record feeds the tables of Ⅲ to Ⅴ: the run's (minimum safety factor)
// or the arbitrary point's.
enum class TReportSource : std::uint8_t { Results = 0, Arbitrary = 1 };

class TDocumentPages {
  public:
    // Fills the page's elements from the report, the design window's
    // "地形図" (groundChart), the form of Fs of the options and the print
    // colour of the drawing options; the page keeps its own copies, so they
    // may change while it is shown.
    TDocumentPages(const TCalculationReport& report, const TChartModel& groundChart,
                   const TAnalysisOptions& options, const TDrawingOptions& drawing,
                   TDocumentPage page, TReportSource source = TReportSource::Results);

    // Marks the titles of Ⅱ to Ⅵ with the design case (CaseTitle) and adds
    // `pageShift` to their page numbers (the pages of the cases before).
    void MarkCase(const std::string& mark, int pageShift);

    [[nodiscard]] TDocumentPage Page() const { return page_; }
    [[nodiscard]] TReportSource Source() const { return source_; }
    // A4, portrait or landscape, with the layout's margins.
    [[nodiscard]] QPageLayout Layout() const;
    [[nodiscard]] int SheetCount() const { return static_cast<int>(sheets_.size()); }
    // Paints sheet `sheet` (from 0) with the painter's origin at the paper's
    // top-left corner and its units the device's own dots.
    void PaintSheet(QPainter& painter, int sheet) const;

  private:
    struct TSheet {
        int FirstRow = 1;  // table rows [FirstRow, EndRow) of a banded report
        int EndRow = 1;
    };
    void Paginate();
    void PaintContents(QPainter& p) const;
    void PaintDesignConditions(QPainter& p) const;
    void PaintSafetyFactor(QPainter& p) const;
    void PaintSlipCircle(QPainter& p) const;
    void PaintBanded(QPainter& p, int sheet) const;
    void PaintCaseSummary(QPainter& p) const;
    [[nodiscard]] QString Title(const char* title) const;
    [[nodiscard]] QString PageMark(const char* before, int page, const char* after) const;
    void PaintMethods(QPainter& p, int sheet) const;

    TDocumentPage page_;
    TReportSource source_;
    int stressDisplay_ = 0;
    TLineList contents_, layerSettings_, calculationConditions_, formula_, result_, judgement_;
    TLineList sliceHeading_, loadHeading_, loadLegend_, loadFormula_, methodHeading_;
    TCellTable soilData_, coordinates1_, coordinates2_, centre_, bandTable_, summary_;
    QString summaryTitle_;
    TChartModel figure_;
    std::vector<TSheet> sheets_;
    std::string caseMark_;
    int pageShift_ = 0;
};

// The whole printed document: contents, Ⅰ, Ⅱ to Ⅴ of each design case the
// report holds (DocumentCases), and with both cases their summary.
[[nodiscard]] std::vector<TDocumentPages> CalculationDocumentLayouts(
    const TCalculationReport& report, const TChartModel& groundChart,
    const TAnalysisOptions& options, const TDrawingOptions& drawing);

// The printer set up for a layout: A4 with its orientation, painting from the
// paper's corner at 96 dots an inch, where the hatch of the figures is as
// wide as on the screen.
void PreparePrinter(QPrinter& printer, const TDocumentPages& pages);

// The sheets PrintDocumentPages prints for these layouts.
[[nodiscard]] int DocumentSheetCount(const std::vector<TDocumentPages>& layouts);

// Prints the sheets of every layout in order as one job. False when the
// printer cannot be opened.
bool PrintDocumentPages(QPrinter& printer, const std::vector<TDocumentPages>& layouts);

}  // namespace sorvanta::gui
