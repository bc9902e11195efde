#include "documents/PdfDocument.h"

#include <sstream>

#include "documents/PdfDrawing.h"
#include "report/CaseDocument.h"
#include "text/TextFile.h"

namespace sorvanta {

namespace {

struct TDocumentPlan {
    const TResultTables& Tables;
    const TCircleReport& Circle;  // Ⅲ to Ⅴ: the critical circle or the arbitrary point
    const TChartModel& GroundChart;
    const TChartModel& Figure;
    bool Arbitrary;
    // The critical circle's document: its cases (常時, 地震時 or both) and,
    // with both, their summary after them.
    const TCalculationReport* Cases = nullptr;
};

// Ⅱ to Ⅴ of a case, and Ⅵ for a method other than the ordinary one, its
// titles marked with the case; its page numbers start `first` after those of
// a single case.
void WriteCaseSections(TPdfDocumentDrawer& d, const TDocumentPlan& plan, const TResultTables& t,
                       const TCircleReport& s, const TChartModel& figure, std::string_view mark,
                       int first) {
    auto beginSection = [&](std::string_view heading) {
        d.PdfNextPage();
        d.PdfPageFrame();
        d.PdfHeading(CaseTitle(heading, mark), 12);
    };
    d.PageCounter = 2 + first;

    // 3: Ⅱ safety factor
    beginSection("Ⅱ.安全率の計算");
    d.PdfLines(20, 40, t.FormulaList, 8);
    d.PdfLines(290, 40, t.ResultList, 8);
    d.PdfTable(20, 260, "表1：滑り円中心座標と安全率", t.CentreTable, 8, 4, 1, 37);

    // 4: Ⅲ slice loads
    beginSection(plan.Arbitrary ? "Ⅲ.滑り円弧スライス荷重(任意点)" : "Ⅲ.滑り円弧スライス荷重");
    d.PdfLines(20, 40, s.SliceHeadingList, 8);
    d.PdfLines(200, 40, s.SliceLegendList, 8);
    d.PdfLines(380, 40, s.SliceNoteList, 8);
    d.PdfTable(20, 110, "", s.SliceTable, 8, 1, 1, 40);

    // The footers of the last pages read 3, 4 and 5 (7, 8 and 9 for the
    // second case) whatever the continuation pages before them, as the
    // contents page lists them.
    d.PageCounter = 4 + first;
    // 5: Ⅳ loads
    beginSection(plan.Arbitrary ? "Ⅳ.滑り円弧荷重(任意点)" : "Ⅳ.滑り円弧荷重");
    d.PdfLines(20, 40, s.LoadHeadingList, 8);
    d.PdfLines(200, 40, s.LoadLegendList, 8);
    d.PdfLines(380, 40, s.LoadFormulaList, 8);
    d.PdfTable(10, 140, "", s.LoadTable, 8, 6, 1, 56);

    d.PageCounter = 5 + first;
    // 6: Ⅴ figure
    beginSection(plan.Arbitrary ? "Ⅴ.滑り円弧図(任意点)" : "Ⅴ.滑り円弧図(最少安全率)");
    d.PdfLines(20, 40, s.JudgementList, 9);
    d.PdfChart(figure, 40, 310, 420, 420);

    // 7: Ⅵ the method's values
    if (s.MethodTable.RowCount() > 0) {
        beginSection(plan.Arbitrary ? "Ⅵ.分割法の計算値(任意点)" : "Ⅵ.分割法の計算値");
        d.PdfLines(20, 40, s.MethodHeadingList, 8);
        d.PdfTable(20, 170, "表4：滑り円弧の分割法の値一覧", s.MethodTable, 8, 1, 1, 40);
    }
}

void WritePlan(TPDFMaker& maker, std::ostream& out, const TDocumentPlan& plan,
               std::string_view designName) {
    maker.Title = designName;
    maker.Subject = PdfDocumentFileName;
    maker.Author = plan.Arbitrary ? "Vexlo" : "Sorvanta";
    maker.Creator = "円弧滑り検討システム Ver3.5";
    maker.BeginDoc(&out);

    TPdfDocumentDrawer d(maker);
    const TResultTables& t = plan.Tables;
    const TCircleReport& s = plan.Circle;
    maker.Contents().FontNumber = TPdfDocumentDrawer::DocumentFont;
    d.PageCounter = 0;
    d.PdfBeginPage();
    d.PdfPageFrame();

    // 1: contents
    maker.Contents().FontSize = 12;
    maker.Contents().TextOut(285, 802, "目　　次");
    d.PdfLines(140, 60, plan.Cases ? CaseContentsLines(*plan.Cases) : t.ContentsList, 12);

    auto beginSection = [&](std::string_view heading) {
        d.PdfNextPage();
        d.PdfPageFrame();
        d.PdfHeading(heading, 12);
    };

    // 2: Ⅰ design conditions
    beginSection("Ⅰ.設計条件");
    d.PdfLines(20, 40, t.LayerSettingsList, 10);
    d.PdfTable(20, 100, "2.土質データ", t.SoilDataTable, 10, 0, 1, 100);
    d.PdfLines(20, 220, t.SoilLegendList, 10);
    d.PdfLines(20, 300, plan.Cases ? CaseConditionLines(*plan.Cases) : t.CalculationConditionsList,
               10);
    d.PdfChart(plan.GroundChart, 30, 520, 230, 230);
    d.PdfTable(270, 40, "4.地形座標データ", t.CoordinateTable1, 10, 0, 1, 100);
    d.PdfTable(400, 40, "", t.CoordinateTable2, 10, 0, 1, 100);

    if (!plan.Cases) {
        WriteCaseSections(d, plan, t, s, plan.Figure, "", 0);
    } else {
        const std::vector<TDocumentCase> cases = DocumentCases(*plan.Cases);
        const int perCase = HasMethodSection(*plan.Cases) ? 5 : 4;
        for (std::size_t k = 0; k < cases.size(); ++k) {
            const TCalculationReport& r = *cases[k].Report;
            WriteCaseSections(d, plan, r.Results, r.Results.Circle, r.ResultChart, cases[k].Mark,
                              perCase * static_cast<int>(k));
        }
        if (ShowsBothCases(*plan.Cases)) {
            d.PageCounter = 2 + perCase * static_cast<int>(cases.size());
            beginSection(CaseSummaryTitle(*plan.Cases));
            d.PdfTable(20, 40, "", CaseSummaryTable(*plan.Cases), 10, 0, 1, 10);
        }
    }

    d.PdfPageNumber();
    maker.EndDoc();
}

}  // namespace

void PdfMinimumDocument(TPDFMaker& maker, std::ostream& out, const TCalculationReport& report,
                        const TChartModel& groundChart, std::string_view designName) {
    WritePlan(
        maker, out,
        {report.Results, report.Results.Circle, groundChart, report.ResultChart, false, &report},
        designName);
}

void PdfArbitraryDocument(TPDFMaker& maker, std::ostream& out, const TCalculationReport& report,
                          const TChartModel& groundChart, std::string_view designName) {
    WritePlan(maker, out,
              {report.Results, report.Arbitrary.Circle, groundChart, report.ArbitraryChart, true},
              designName);
}

void WritePdfMinimumDocument(const std::filesystem::path& path, const TCalculationReport& report,
                             const TChartModel& groundChart, std::string_view designName) {
    TPDFMaker maker;
    std::ostringstream out;
    PdfMinimumDocument(maker, out, report, groundChart, designName);
    // Built in memory first and replaced whole: a failure while drawing or
    // writing leaves the old file intact.
    WriteFileAtomically(path, out.str());
}

void WritePdfArbitraryDocument(const std::filesystem::path& path, const TCalculationReport& report,
                               const TChartModel& groundChart, std::string_view designName) {
    TPDFMaker maker;
    std::ostringstream out;
    PdfArbitraryDocument(maker, out, report, groundChart, designName);
    // Built in memory first and replaced whole: a failure while drawing or
    // writing leaves the old file intact.
    WriteFileAtomically(path, out.str());
}

}  // namespace sorvanta
