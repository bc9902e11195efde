#include "documents/PdfDrawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "documents/PdfCanvas.h"
#include "views/ChartPainter.h"

namespace sorvanta {

namespace {

constexpr int MaxTableColumns = 21;
constexpr TRgb Black{0, 0, 0};

}  // namespace

TChartStyle PdfChartStyle() {
    TCanvasFont font;
    font.Face = "ＭＳ 明朝";
    font.Size = 8;
    TChartStyle style;
    style.AxisFont = font;
    style.TitleFont = font;
    style.Background.reset();
    style.Fit = TChartFit::Plot;
    style.Grid = TChartGrid::Tenths;
    style.FrameWidth = 0.75;
    style.FrameUnderSeries = true;
    style.LineDrawing = TLineDrawing{};
    return style;
}

void TPdfDocumentDrawer::PdfBeginPage() {
    C().FontNumber = DocumentFont;
    ++PageCounter;
}

void TPdfDocumentDrawer::PdfPageFrame() {
    C().LineWidth = 1;
    C().DrawRect(false, FrameLeft, FrameTop, FrameRight, FrameBottom);
    C().DrawLine(FrameLeft, 797, FrameRight, 797);
}

void TPdfDocumentDrawer::PdfHeading(std::string_view text, double size) {
    C().FontSize = size;
    C().TextOut(50, 802, text);
}

void TPdfDocumentDrawer::PdfPageNumber() {
    C().FontNumber = DocumentFont;
    C().FontSize = 10;
    const int number = PageCounter - 1;
    if (number < 1) return;
    const std::string text = "Page: " + std::to_string(number);
    const double width = FrameRight - FrameLeft;
    C().TextOut(FrameLeft + (width - C().TextWidth(text)) / 2, FrameBottom - 10 - 2, text);
}

void TPdfDocumentDrawer::PdfNextPage() {
    PdfPageNumber();
    maker_.NewPage();
    PdfBeginPage();
}

void TPdfDocumentDrawer::PdfLines(double x, double y, const TLineList& list, double size) {
    C().FontSize = size;
    C().Leading = size + 2;
    for (std::size_t k = 0; k < list.size(); ++k) {
        C().TextOut(FrameLeft + x, FrameTop - y - static_cast<double>(k) * (size + 2), list[k]);
    }
}

void TPdfDocumentDrawer::PdfTable(double x, double y, std::string_view title,
                                  const TCellTable& table, double size, int shrink, int headerRows,
                                  int maxRows) {
    const int columns =
        std::min({table.ColCount, MaxTableColumns, static_cast<int>(table.ColWidths.size())});
    std::vector<double> w(static_cast<std::size_t>(std::max(columns, 0)));
    double totalWidth = 0;
    for (int c = 0; c < columns; ++c) {
        w[static_cast<std::size_t>(c)] = table.ColWidths[static_cast<std::size_t>(c)] - shrink;
        totalWidth += w[static_cast<std::size_t>(c)];
    }
    const double h = table.DefaultRowHeight - shrink;
    const int rowCount = table.RowCount();
    int n = std::min(rowCount, maxRows);
    // Rows ruled below the frame would be lost from the page: a table that
    // does not fit continues on the next page instead.
    if (h > 0) {
        const int fit = static_cast<int>(std::floor((FrameTop - y - FrameBottom) / h));
        n = std::min(n, std::max(fit, headerRows + 1));
    }
    const double ruledHeight = n * h;
    const int dataPerPage = n - headerRows;
    const int dataRows = std::max(rowCount - headerRows, 0);
    const int pages = dataPerPage > 0 ? std::max(1, (dataRows + dataPerPage - 1) / dataPerPage) : 1;

    auto drawCentred = [&](int row, double baseline) {
        double left = FrameLeft + x;
        for (int c = 0; c < columns; ++c) {
            const std::string& cell = table.Cell(row, c);
            const double wc = w[static_cast<std::size_t>(c)];
            C().TextOut(left + wc / 2 - C().TextWidth(cell) / 2, baseline, cell);
            left += wc;
        }
    };

    int nextRow = headerRows;
    for (int page = 0; page < pages; ++page) {
        const double xL = FrameLeft + x;
        const double yT = FrameTop - y;
        C().LineColor = Black;
        C().LineWidth = 1;
        C().DrawLine(xL, yT - h * headerRows, xL + totalWidth, yT - h * headerRows);
        C().LineWidth = 0.75;
        for (int j = 0; j <= n; ++j) C().DrawLine(xL, yT - h * j, xL + totalWidth, yT - h * j);
        if (columns > 0) {
            C().LineWidth = 1;
            C().DrawLine(xL + w[0], yT, xL + w[0], yT - ruledHeight);
        }
        C().LineWidth = 0.75;
        C().DrawLine(xL, yT, xL, yT - ruledHeight);
        double right = xL;
        for (int c = 0; c < columns; ++c) {
            right += w[static_cast<std::size_t>(c)];
            C().DrawLine(right, yT, right, yT - ruledHeight);
        }
        C().FontSize = size;
        C().TextOut(xL, yT + 3, title);
        for (int r = 1; r <= headerRows && r - 1 < rowCount; ++r)
            drawCentred(r - 1, yT - h * r + 3);
        for (int j = 1; j <= dataPerPage && nextRow < rowCount; ++j, ++nextRow) {
            drawCentred(nextRow, yT - h * (headerRows + j) + 3);
        }
        if (page + 1 < pages) {
            PdfNextPage();
            PdfPageFrame();
            PdfHeading("前ページつづき", 9);
            y = 40;
        }
    }
}

void TPdfDocumentDrawer::PdfChart(const TChartModel& chart, double x, double y, double width,
                                  double height) {
    const double bottom = FrameTop - y - height;
    // The canvas's y is the page's negated: the box's top edge at -(its PDF y).
    TPdfCanvas canvas(C());
    PaintChart(chart, canvas, {FrameLeft + x, -(bottom + height), width, height}, PdfChartStyle());
}

}  // namespace sorvanta
