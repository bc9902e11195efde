#pragma once
// The drawing routines of the PDF calculation document: page frame, headings,
// footers with the page counter, line lists, ruled tables with continuation
// pages, and charts painted by the chart painter on the page (PdfCanvas.h).
// Positions are points from the lower-left corner of the A4 page; plan
// offsets (X, Y) are measured from the frame's upper-left corner (45, 817).

#include <string_view>

#include "pdf/PDFMaker.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"
#include "views/ChartPainter.h"

namespace sorvanta {

// The document's figures: line drawings in ＭＳ 明朝 8 points, the plot filling
// the figure's box, a dashed grid at the tenths of the axes over the series.
[[nodiscard]] TChartStyle PdfChartStyle();

class TPdfDocumentDrawer {
  public:
    static constexpr double FrameLeft = 45;
    static constexpr double FrameTop = 817;
    static constexpr double FrameRight = 571;
    static constexpr double FrameBottom = 28;
    static constexpr int DocumentFont = 6;  // ＭＳ 明朝

    explicit TPdfDocumentDrawer(TPDFMaker& maker) : maker_(maker) {}

    // Counts the pages as they are begun; a footer shows PageCounter - 1.
    int PageCounter = 0;

    void PdfBeginPage();
    void PdfPageFrame();
    void PdfHeading(std::string_view text, double size);
    // "Page: n" centred under the frame; nothing for n < 1 (the contents page).
    void PdfPageNumber();
    void PdfNextPage();
    void PdfLines(double x, double y, const TLineList& list, double size);
    // A ruled grid, header rows first, continued on further pages under the
    // heading "前ページつづき" when the data rows do not fit.
    void PdfTable(double x, double y, std::string_view title, const TCellTable& table, double size,
                  int shrink, int headerRows, int maxRows);
    // The chart's plot in the box at plan offset (x, y), at its current limits.
    void PdfChart(const TChartModel& chart, double x, double y, double width, double height);

  private:
    TPDFContents& C() { return maker_.Contents(); }

    TPDFMaker& maker_;
};

}  // namespace sorvanta
