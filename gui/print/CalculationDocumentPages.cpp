#include "gui/print/CalculationDocumentPages.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "gui/print/PageFigures.h"
#include "report/CaseDocument.h"

namespace sorvanta::gui {

namespace {

const QString kMincho = QStringLiteral("ＭＳ 明朝");

struct TMargins {
    double Top, Bottom, Left, Right;
};

struct TPaper {
    double Width, Height;
    QPageLayout::Orientation Orientation;
};

constexpr TPaper kPortrait{210, 297, QPageLayout::Portrait};
constexpr TPaper kLandscape{297, 210, QPageLayout::Landscape};

// Millimetres to page units.
constexpr double U(double mm) {
    return mm * kUnitsPerMm;
}
QPointF At(double x, double y) {
    return {U(x), U(y)};
}
QRectF Box(double x, double y, double w, double h) {
    return {U(x), U(y), U(w), U(h)};
}

const QPen& ThinPen() {
    static const QPen pen(Qt::black, kUnitsPerPixel);
    return pen;
}
const QPen& WidePen() {
    static const QPen pen(Qt::black, 2 * kUnitsPerPixel);
    return pen;
}

void DrawText(QPainter& p, double x, double y, const QString& text, double points = 10) {
    p.setFont(PageFont(p, kMincho, points));
    p.setPen(Qt::black);
    p.drawText(QRectF(U(x), U(y), U(400), LinePitch(points)),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
}

void DrawText(QPainter& p, double x, double y, const char* text, double points = 10) {
    DrawText(p, x, y, QString::fromUtf8(text), points);
}

TLineList Fixed(std::initializer_list<const char*> lines) {
    TLineList list;
    for (const char* l : lines) list.emplace_back(l);
    return list;
}

struct TLayout {
    TPaper Paper;
    TMargins Margins;
    [[nodiscard]] double Left() const { return Margins.Left; }
    [[nodiscard]] double Top() const { return Margins.Top; }
    [[nodiscard]] double Width() const { return Paper.Width - Margins.Left - Margins.Right; }
    [[nodiscard]] double Bottom() const { return Paper.Height - Margins.Bottom; }
    [[nodiscard]] double Height() const { return Bottom() - Margins.Top; }
};

constexpr TLayout kSingleLayout{kPortrait, {10, 15, 20, 10}};
constexpr TLayout kSliceLayout{kPortrait, {10, 15, 15, 10}};
constexpr TLayout kLoadLayout{kLandscape, {15, 10, 10, 10}};

const TLayout& LayoutOf(TDocumentPage page) {
    switch (page) {
        case TDocumentPage::SliceLoads:
            return kSliceLayout;
        case TDocumentPage::Loads:
            return kLoadLayout;
        default:
            return kSingleLayout;
    }
}

// A banded report: its title band, the vertical rules of its header and
// detail bands, the fields of its detail cells and its page mark.
struct TBandLayout {
    double TitleHeight;
    std::array<double, 13> Rules;  // from the band's left edge
    double HeaderFirstRule;
    double FirstFieldWidth;
    std::array<double, 14> FieldWidths;  // right-aligned fields 1 to 13
    double MarkX, MarkY;                 // the page mark in the footer band
};

constexpr double kHeaderHeight = 6.6;
constexpr double kDetailHeight = 5.8;
constexpr double kFooterHeight = 10.6;
constexpr double kFieldLeft = 1.6;
constexpr double kFieldGap = 0.8;  // between a right-aligned field and its rule

constexpr TBandLayout kSliceBands{
    36.8,
    {14.8, 25.4, 38.6, 51.9, 65.1, 78.3, 91.5, 104.8, 118.0, 131.2, 144.5, 157.7, 170.9},
    14.8,
    10.8,
    {0, 8.7, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9, 11.9},
    82.5,
    5.8};

constexpr TBandLayout kLoadBands{
    39.7,
    {25.4, 42.3, 60.9, 79.4, 97.9, 119.1, 137.6, 156.1, 174.6, 193.1, 211.7, 230.2, 253.5},
    25.1,
    22.5,
    {0, 15.9, 15.9, 15.9, 15.9, 15.9, 15.9, 15.9, 15.9, 15.9, 15.9, 15.9, 18.5, 19.3},
    129.1,
    4.2};

const QStringList& SliceHeadings() {
    static const QStringList h{"ｽﾗｲｽNo", "b(m)",  "H1(m)",  "V1(m3)", "H2(m)",  "V2(m3)", "H3(m)",
                               "V3(m3)", "H4(m)", "V4(m3)", "H5(m)",  "V5(m3)", "ΣH(m)",  "ΣV(m3)"};
    return h;
}

QStringList LoadHeadings(int stressDisplay) {
    QStringList h{"ｽﾗｲｽNo(座標)", "b(m)",  "ΣH(m)", "ΣV(m3)", "c(kN)", "L(m)",
                  "W(kN)",        "α(度)", "cosα",  "sinα",   "φ(度)", "tanφ"};
    if (stressDisplay == 1) {
        h << QStringLiteral("Fr(kN)") << QStringLiteral("Fo(kN)");
    } else {
        h << QStringLiteral("Mr(kNm)") << QStringLiteral("Mo(kNm)");
    }
    return h;
}

// The single-page frame and title band with its heading.
void PaintSingleFrame(QPainter& p, double headingX, const QString& heading, double points) {
    const TLayout& l = kSingleLayout;
    p.setPen(ThinPen());
    p.setBrush(Qt::NoBrush);
    p.drawRect(Box(l.Left(), l.Top(), l.Width(), l.Height()));
    p.drawLine(At(l.Left(), l.Top() + 10.6), At(l.Left() + l.Width(), l.Top() + 10.6));
    DrawText(p, l.Left() + headingX, l.Top() + 3.2, heading, points);
}

}  // namespace

TDocumentPages::TDocumentPages(const TCalculationReport& report, const TChartModel& groundChart,
                               const TAnalysisOptions& options, const TDrawingOptions& drawing,
                               TDocumentPage page, TReportSource source)
    : page_(page), source_(source), stressDisplay_(static_cast<int>(options.Form)) {
    const bool arbitrary = source == TReportSource::Arbitrary;
    const TResultTables& results = report.Results;
    const TCircleReport& circle = arbitrary ? report.Arbitrary.Circle : results.Circle;
    switch (page) {
        case TDocumentPage::Contents:
            contents_ = CaseContentsLines(report);
            break;
        case TDocumentPage::DesignConditions:
            layerSettings_ = results.LayerSettingsList;
            soilData_ = results.SoilDataTable;
            calculationConditions_ = CaseConditionLines(report);
            coordinates1_ = results.CoordinateTable1;
            coordinates2_ = results.CoordinateTable2;
            figure_ = MakeGroundFigure();
            TPagePainter::CopyChartFigure(groundChart, figure_, drawing.PrintMode);
            break;
        case TDocumentPage::SafetyFactor:
            formula_ = results.FormulaList;
            result_ = results.ResultList;
            centre_ = results.CentreTable;
            break;
        case TDocumentPage::SliceLoads:
            sliceHeading_ = circle.SliceHeadingList;
            bandTable_ = circle.SliceTable;
            break;
        case TDocumentPage::Loads:
            loadHeading_ = circle.LoadHeadingList;
            loadLegend_ = circle.LoadLegendList;
            loadFormula_ = circle.LoadFormulaList;
            bandTable_ = circle.LoadTable;
            break;
        case TDocumentPage::SlipCircle:
            judgement_ = circle.JudgementList;
            figure_ = MakeCircleFigure();
            TPagePainter::CopyChartFigure(arbitrary ? report.ArbitraryChart : report.ResultChart,
                                          figure_, drawing.PrintMode);
            break;
        case TDocumentPage::CaseSummary:
            summary_ = CaseSummaryTable(report);
            summaryTitle_ = HasMethodSection(report) ? QStringLiteral("Ⅶ．検討ケースのまとめ")
                                                     : QStringLiteral("Ⅵ．検討ケースのまとめ");
            break;
        case TDocumentPage::Methods:
            methodHeading_ = circle.MethodHeadingList;
            bandTable_ = circle.MethodTable;
            break;
    }
    Paginate();
}

void TDocumentPages::MarkCase(const std::string& mark, int pageShift) {
    caseMark_ = mark;
    pageShift_ = pageShift;
}

QString TDocumentPages::Title(const char* title) const {
    return QString::fromStdString(CaseTitle(title, caseMark_));
}

QString TDocumentPages::PageMark(const char* before, int page, const char* after) const {
    return QString::fromUtf8(before) + QString::number(page + pageShift_) +
           QString::fromUtf8(after);
}
namespace {

// Ⅵ: where the table starts on the first sheet and on the next ones (mm),
// and the room a row takes (page units).
constexpr double kMethodTableTop = 85.0;
constexpr double kMethodTableNextTop = 23.3;
constexpr double kMethodTableBottom = 270.0;
constexpr double kMethodRow = (17 + 5) * kUnitsPerPixel;

}  // namespace

void TDocumentPages::Paginate() {
    sheets_.clear();
    if (page_ == TDocumentPage::Methods) {
        const auto fits = [](double top) {
            return std::max(
                1, static_cast<int>(std::floor((U(kMethodTableBottom - top)) / kMethodRow)) -
                       1);  // the header row
        };
        const int rows = bandTable_.RowCount();
        int row = 1;
        do {
            const int end =
                std::min(rows, row + fits(sheets_.empty() ? kMethodTableTop : kMethodTableNextTop));
            sheets_.push_back({row, std::max(row, end)});
            row = end;
        } while (row < rows);
        return;
    }
    if (page_ != TDocumentPage::SliceLoads && page_ != TDocumentPage::Loads) {
        sheets_.push_back({});
        return;
    }
    const TLayout& l = LayoutOf(page_);
    const TBandLayout& b = page_ == TDocumentPage::SliceLoads ? kSliceBands : kLoadBands;
    // Whole detail bands only; the title band takes room on the first sheet.
    auto fits = [](double room) {
        return std::max(1, static_cast<int>(std::floor(room / kDetailHeight + 1e-9)));
    };
    const int first = fits(l.Height() - b.TitleHeight - kHeaderHeight - kFooterHeight);
    const int next = fits(l.Height() - kHeaderHeight - kFooterHeight);
    const int rows = bandTable_.RowCount();
    int row = 1;
    do {
        const int take = sheets_.empty() ? first : next;
        const int end = std::min(rows, row + take);
        sheets_.push_back({row, std::max(row, end)});
        row = end;
    } while (row < rows);
}

QPageLayout TDocumentPages::Layout() const {
    const TLayout& l = LayoutOf(page_);
    QPageLayout layout(QPageSize(QPageSize::A4), l.Paper.Orientation,
                       QMarginsF(l.Margins.Left, l.Margins.Top, l.Margins.Right, l.Margins.Bottom),
                       QPageLayout::Millimeter);
    // The sheets are painted from the paper's corner; the margins only tell
    // where the frame stands.
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void TDocumentPages::PaintSheet(QPainter& p, int sheet) const {
    if (sheet < 0 || sheet >= SheetCount()) return;
    p.save();
    const QPaintDevice* device = p.device();
    const double dpiX = device ? device->logicalDpiX() : 96;
    const double dpiY = device ? device->logicalDpiY() : 96;
    p.scale(dpiX / (25.4 * kUnitsPerMm), dpiY / (25.4 * kUnitsPerMm));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    switch (page_) {
        case TDocumentPage::Contents:
            PaintContents(p);
            break;
        case TDocumentPage::DesignConditions:
            PaintDesignConditions(p);
            break;
        case TDocumentPage::SafetyFactor:
            PaintSafetyFactor(p);
            break;
        case TDocumentPage::SliceLoads:
        case TDocumentPage::Loads:
            PaintBanded(p, sheet);
            break;
        case TDocumentPage::SlipCircle:
            PaintSlipCircle(p);
            break;
        case TDocumentPage::CaseSummary:
            PaintCaseSummary(p);
            break;
        case TDocumentPage::Methods:
            PaintMethods(p, sheet);
            break;
    }
    p.restore();
}

void TDocumentPages::PaintContents(QPainter& p) const {
    TPagePainter kekka(p);
    PaintSingleFrame(p, 80.4, QStringLiteral("目　　次"), 14);
    kekka.FillTextBlock(contents_, 72.0, 44.5, 12);
}

void TDocumentPages::PaintDesignConditions(QPainter& p) const {
    TPagePainter kekka(p);
    PaintSingleFrame(p, 6.3, QStringLiteral("Ⅰ．設計条件"), 12);
    kekka.FillTextBlock(layerSettings_, 27.5, 23.8);
    DrawText(p, 27.5, 48.7, "2.土質データ");
    QSizeF size = TPagePainter::GridFigureSize(soilData_);
    kekka.DrawGridFigure(soilData_, QRectF(At(29.6, 55.0), size));
    kekka.FillTextBlock(Fixed({"ここに", "　γt:土の湿潤単位体積重量(kN/m3)",
                               "　φ :せん断抵抗角(度)", "　 C :粘着力(kN/m2)", ""}),
                        27.5, 88.9);
    kekka.FillTextBlock(calculationConditions_, 27.5, 118.5);
    kekka.PaintChartFigure(Box(23.3, 184.2, 82.8, 87.0), figure_);
    DrawText(p, 110.1, 23.8, "4.地形座標データ");
    // A table longer than the page is squeezed into the room above the
    // frame's bottom edge.
    const double bottom = U(kSingleLayout.Bottom() - 1);
    for (const auto& [table, x, y] :
         {std::tuple{&coordinates1_, 111.1, 29.6}, std::tuple{&coordinates2_, 155.6, 30.2}}) {
        size = TPagePainter::GridFigureSize(*table);
        size.setHeight(std::min(size.height(), bottom - U(y)));
        kekka.DrawGridFigure(*table, QRectF(At(x, y), size));
    }
    DrawText(p, 103.7, 277.8, "P-1");
}

void TDocumentPages::PaintSafetyFactor(QPainter& p) const {
    TPagePainter kekka(p);
    PaintSingleFrame(p, 4.2, Title("Ⅱ．安全率の計算"), 12);
    kekka.FillTextBlock(formula_, 25.4, 23.3);
    kekka.FillTextBlock(result_, 105.3, 23.3);
    DrawText(p, 25.4, 93.1, "表1：滑り円中心座標と安全率", 11);
    QSizeF size = TPagePainter::GridFigureSize(centre_);
    size.setHeight(std::min(size.height(), U(kSingleLayout.Bottom() - 6) - U(97.9)));
    kekka.DrawGridFigure(centre_, QRectF(At(40.2, 97.9), size));
    DrawText(p, 101.6, 277.3, PageMark("P-", 2, ""));
}

void TDocumentPages::PaintSlipCircle(QPainter& p) const {
    TPagePainter kekka(p);
    const bool arbitrary = source_ == TReportSource::Arbitrary;
    PaintSingleFrame(p, 4.2, Title(arbitrary ? "Ⅴ．滑り円弧図(任意点)" : "Ⅴ．滑り円弧図"), 12);
    DrawText(p, 25.4, 25.4, "滑り円弧を下記に示す。", 11);
    kekka.FillTextBlock(judgement_, 29.1, 33.9);
    kekka.PaintChartFigure(Box(25.4, 118.5, 169.6, 156.9), figure_);
    DrawText(p, 103.7, 276.5, PageMark("P-", 5, ""));
}

void TDocumentPages::PaintMethods(QPainter& p, int sheet) const {
    TPagePainter kekka(p);
    const bool arbitrary = source_ == TReportSource::Arbitrary;
    PaintSingleFrame(
        p, 4.2,
        arbitrary ? QStringLiteral("Ⅵ．分割法の計算値(任意点)") : Title("Ⅵ．分割法の計算値"), 12);
    double top = kMethodTableNextTop;
    if (sheet == 0) {
        kekka.FillTextBlock(methodHeading_, 25.4, 23.3);
        top = kMethodTableTop;
        DrawText(p, 25.4, top - 6.0, "表4：滑り円弧の分割法の値一覧", 11);
    }
    // The header row and this sheet's rows.
    const TSheet& s = sheets_[static_cast<std::size_t>(sheet)];
    TCellTable part = bandTable_;
    part.Rows.assign(bandTable_.Rows.begin(), bandTable_.Rows.begin() + 1);
    part.Rows.insert(part.Rows.end(), bandTable_.Rows.begin() + s.FirstRow,
                     bandTable_.Rows.begin() + s.EndRow);
    kekka.DrawGridFigure(part, QRectF(At(40.2, top), TPagePainter::GridFigureSize(part)));
    DrawText(p, 101.6, 277.3, PageMark("P-", 6, " - ") + QString::number(sheet + 1));
}

void TDocumentPages::PaintBanded(QPainter& p, int sheet) const {
    TPagePainter kekka(p);
    const bool slices = page_ == TDocumentPage::SliceLoads;
    const bool arbitrary = source_ == TReportSource::Arbitrary;
    const TLayout& l = LayoutOf(page_);
    const TBandLayout& b = slices ? kSliceBands : kLoadBands;
    const double left = l.Left();
    const double width = l.Width();
    double y = l.Top();

    p.setPen(ThinPen());
    p.setBrush(Qt::NoBrush);
    p.drawRect(Box(left, l.Top(), width, l.Height()));

    if (sheet == 0) {
        p.setPen(WidePen());
        p.drawLine(At(left, y), At(left + width, y));
        p.drawLine(At(left, y), At(left, y + b.TitleHeight));
        p.drawLine(At(left + width, y), At(left + width, y + b.TitleHeight));
        if (slices) {
            DrawText(
                p, left + 4.2, y + 3.7,
                Title(arbitrary ? "Ⅲ．滑り円弧スライス荷重(任意点)" : "Ⅲ．滑り円弧スライス荷重"),
                12);
            kekka.FillTextBlock(sliceHeading_, left + 10.6, y + 10.6);
            kekka.FillTextBlock(Fixed({"ここに", "　ｽﾗｲｽNo：ｽﾗｲｽ番号", "　b 　　：ｽﾗｲｽの幅(m)",
                                       "　H1～H5：各層の高さ(m)", "　ΣH   ：各層の高さの合計(m)"}),
                                left + 67.7, y + 10.6);
            kekka.FillTextBlock(
                Fixed({"V1～V5：各層の体積 (m3)", "　 ΣV：各層の体積の合計(m3)", " (注)",
                       "　V(体積)は、スライス下面を円弧", "　として、厳密に計算している。",
                       "　従って、V=b･Hとは若干異なる。"}),
                left + 124.9, y + 10.6);
            DrawText(p, left + 2.1, y + 31.8, "表:滑り円弧のスライス荷重一覧");
        } else {
            DrawText(p, left + 4.2, y + 3.7,
                     Title(arbitrary ? "Ⅳ．滑り円弧荷重(任意点)" : "Ⅳ．滑り円弧荷重"), 12);
            kekka.FillTextBlock(loadHeading_, left + 78.3, y + 4.8);
            kekka.FillTextBlock(loadLegend_, left + 148.2, y + 4.8);
            kekka.FillTextBlock(loadFormula_, left + 211.7, y + 4.8);
            DrawText(p, left + 2.1, y + 34.4, "表:滑り円弧のスライス荷重一覧");
        }
        y += b.TitleHeight;
    }

    // Column header band, framed on all sides.
    const QStringList headings = slices ? SliceHeadings() : LoadHeadings(stressDisplay_);
    p.setFont(PageFont(p, kMincho, 10));
    p.setPen(ThinPen());
    for (int c = 0; c < 14; ++c) {
        const double from =
            c == 0 ? 0 : (c == 1 ? b.HeaderFirstRule : b.Rules[static_cast<std::size_t>(c - 1)]);
        const double to =
            c < 13 ? (c == 0 ? b.HeaderFirstRule : b.Rules[static_cast<std::size_t>(c)]) : width;
        if (c < 13) p.drawLine(At(left + to, y), At(left + to, y + kHeaderHeight));
        p.drawText(Box(left + from, y, to - from, kHeaderHeight),
                   Qt::AlignCenter | Qt::TextDontClip, headings[c]);
    }
    p.setPen(WidePen());
    p.drawRect(Box(left, y, width, kHeaderHeight));
    y += kHeaderHeight;

    // Detail bands: lines at the bottom, left and right, and the rules.
    const TSheet& s = sheets_[static_cast<std::size_t>(sheet)];
    for (int r = s.FirstRow; r < s.EndRow; ++r) {
        p.setPen(ThinPen());
        p.drawLine(At(left, y + kDetailHeight), At(left + width, y + kDetailHeight));
        p.drawLine(At(left, y), At(left, y + kDetailHeight));
        p.drawLine(At(left + width, y), At(left + width, y + kDetailHeight));
        for (double rule : b.Rules)
            p.drawLine(At(left + rule, y), At(left + rule, y + kDetailHeight));
        for (int c = 0; c < 14 && c < bandTable_.ColCount; ++c) {
            const QString text = QString::fromStdString(bandTable_.Cell(r, c));
            if (c == 0) {
                p.drawText(Box(left + kFieldLeft, y, b.FirstFieldWidth, kDetailHeight),
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
                continue;
            }
            const double end = (c < 13 ? b.Rules[static_cast<std::size_t>(c)] : width) - kFieldGap;
            const double w = b.FieldWidths[static_cast<std::size_t>(c)];
            p.drawText(Box(left + end - w, y, w, kDetailHeight),
                       Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, text);
        }
        y += kDetailHeight;
    }

    // Page footer with the running page mark of the report.
    const double footer = l.Bottom() - kFooterHeight;
    DrawText(p, left + b.MarkX, footer + b.MarkY,
             PageMark("P", slices ? 3 : 4, " - ") + QString::number(sheet + 1));
}

void TDocumentPages::PaintCaseSummary(QPainter& p) const {
    TPagePainter kekka(p);
    PaintSingleFrame(p, 4.2, summaryTitle_, 12);
    kekka.DrawGridFigure(summary_, QRectF(At(40.2, 29.6), TPagePainter::GridFigureSize(summary_)));
    DrawText(p, 101.6, 277.3, PageMark("P-", 6, ""));
}

std::vector<TDocumentPages> CalculationDocumentLayouts(const TCalculationReport& report,
                                                       const TChartModel& groundChart,
                                                       const TAnalysisOptions& options,
                                                       const TDrawingOptions& drawing) {
    std::vector<TDocumentPages> layouts;
    for (TDocumentPage page : {TDocumentPage::Contents, TDocumentPage::DesignConditions})
        layouts.emplace_back(report, groundChart, options, drawing, page);
    // Ⅱ to Ⅴ for each design case, from its own report, and Ⅵ for a method
    // other than the ordinary one.
    const std::vector<TDocumentCase> cases = DocumentCases(report);
    const bool methods = report.Results.Circle.MethodTable.RowCount() > 0;
    const int perCase = methods ? 5 : 4;
    for (std::size_t k = 0; k < cases.size(); ++k) {
        std::vector<TDocumentPage> pages{TDocumentPage::SafetyFactor, TDocumentPage::SliceLoads,
                                         TDocumentPage::Loads, TDocumentPage::SlipCircle};
        if (cases[k].Report->Results.Circle.MethodTable.RowCount() > 0)
            pages.push_back(TDocumentPage::Methods);
        for (TDocumentPage page : pages) {
            layouts.emplace_back(*cases[k].Report, groundChart, options, drawing, page);
            layouts.back().MarkCase(cases[k].Mark, perCase * static_cast<int>(k));
        }
    }
    if (ShowsBothCases(report)) {
        layouts.emplace_back(report, groundChart, options, drawing, TDocumentPage::CaseSummary);
        // Numbered after the last case's pages (its own mark is P-6 plus the shift).
        layouts.back().MarkCase("", perCase * static_cast<int>(cases.size()) - 4);
    }
    return layouts;
}

void PreparePrinter(QPrinter& printer, const TDocumentPages& pages) {
    printer.setResolution(96);
    printer.setPageLayout(pages.Layout());
    printer.setFullPage(true);
}

int DocumentSheetCount(const std::vector<TDocumentPages>& layouts) {
    int sheets = 0;
    for (const TDocumentPages& pages : layouts) sheets += pages.SheetCount();
    return sheets;
}

bool PrintDocumentPages(QPrinter& printer, const std::vector<TDocumentPages>& layouts) {
    if (layouts.empty()) return true;
    PreparePrinter(printer, layouts.front());
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    bool first = true;
    for (const TDocumentPages& pages : layouts) {
        for (int i = 0; i < pages.SheetCount(); ++i) {
            if (!first) {
                // A new layout takes effect with the next sheet.
                if (i == 0) printer.setPageLayout(pages.Layout());
                printer.newPage();
            }
            first = false;
            pages.PaintSheet(painter, i);
        }
    }
    return painter.end();
}

}  // namespace sorvanta::gui
