#include "report/RunReport.h"

#include <cmath>

#include "design/StoredOptions.h"
#include "engine/Progress.h"
#include "report/GridCharts.h"
#include "report/MethodTexts.h"
#include "report/ReportTexts.h"
#include "text/NumberFormat.h"
#include "views/CircleDrawing.h"

namespace sorvanta {

namespace {

void ClearAllSeries(TChartModel& chart) {
    for (TChartSeries& series : chart.Series) series.Clear();
}

// No qualifying circle: the centre table, load table and charts cleared.
// Everything else keeps the previous run's content.
void WriteFailure(const TRunContext& context) {
    TCalculationReport& report = context.Report;
    TCellTable& centre = report.Results.CentreTable;
    centre.SetRowCount(2);
    centre.SetRowCommaList(1, "-,-,-,-,-,-,-");
    TCellTable& load = report.Results.Circle.LoadTable;
    load.SetRowCount(2);
    load.SetRowCommaList(1, "-,-,-,-,-,-,-,-,-,-,-,-,-");
    report.Results.Circle.MethodHeadingList.clear();
    report.Results.Circle.MethodTable = {};
    ClearAllSeries(report.ResultChart);
    RemoveMostForceCircle(report.ResultChart);
    ClearAllSeries(report.ArbitraryChart);
}

void WriteCritical(const TRunResult& run, const TRunContext& context) {
    const TDesignConditions& design = context.Design;
    const TCriticalCircle& c = run.Critical;
    const int form = run.Form;
    const TAnalysisModel& model = *run.Model;

    TCalculationReport& report = context.Report;
    TResultTables& tables = report.Results;
    tables.FormulaList = CaseFormulaLines(run);
    for (std::string& line : CaseResultLines(run, context.Options))
        tables.FormulaList.push_back(std::move(line));
    tables.ResultList = ResultLines(c, form);
    // In the blank line below the sums.
    PutMethodLine(tables.ResultList, 5, model.Method, run.Circle.Sums);
    TCircleReport& circle = tables.Circle;
    circle.SliceHeadingList = SliceHeadingLines(c);
    circle.LoadHeadingList = LoadHeadingLines(c);
    circle.LoadLegendList = LoadLegendLines();
    circle.LoadFormulaList = LoadFormulaLines(form);
    circle.JudgementList = JudgementLines(c, form);
    // In the blank line below the factor.
    PutMethodLine(circle.JudgementList, 1, model.Method, run.Circle.Sums);
    // The arbitrary point shows the critical circle until a centre is picked.
    TCircleReport& arbitrary = report.Arbitrary.Circle;
    arbitrary.SliceHeadingList = circle.SliceHeadingList;
    arbitrary.LoadHeadingList = circle.LoadHeadingList;
    arbitrary.LoadLegendList = circle.LoadLegendList;
    arbitrary.LoadFormulaList = circle.LoadFormulaList;
    arbitrary.JudgementList = circle.JudgementList;

    const std::string verdict = VerdictText(run.Judgement.Verdict);
    if (run.Judgement.Verdict == TVerdict::Within) {
        tables.ResultCaption = {"計算結果(" + verdict + ")", ColourMaroon};
        circle.JudgementLabel = {verdict, ColourBlue};
    } else {
        tables.ResultCaption = {"計算結果(" + verdict + ")", ColourRed};
        circle.JudgementLabel = {verdict, ColourRed};
    }

    TCellTable& centreTable = tables.CentreTable;
    centreTable.SetRowCommaList(0, form == 1 ? CentreHeaderForce : CentreHeaderMoment);
    report.ResultChart.Series.at(rsSafetyFactor).Clear();
    report.ArbitraryChart.Series.at(rsSafetyFactor).Clear();
    centreTable.SetRowCount(static_cast<int>(run.CentreRows.size()) + 1);
    const double criticalAbsFs = std::fabs(c.Fs);
    for (std::size_t k = 0; k < run.CentreRows.size(); ++k) {
        const TCentreRow& r = run.CentreRows[k];
        centreTable.Rows[k + 1] = CentreTableRow(static_cast<int>(k + 1), r.X, r.Y, r.Status,
                                                 r.Driving, r.Resisting, r.R, r.Fs, criticalAbsFs);
        if (design.ShowSafetyFactors && r.Status == 1) {
            report.ResultChart.Series.at(rsSafetyFactor)
                .Add(r.X, r.Y, FormatFloat("0.00", r.Fs),
                     JudgeFactor(r.Fs, run.Judgement.Required).Verdict == TVerdict::Within
                         ? ColourBlue
                         : ColourRed);
        }
    }

    const TCircleRecord& critical = run.Circle;
    WriteCircleTables(circle, critical.Rows, critical.Sums, form);
    WriteCircleTables(arbitrary, critical.Rows, critical.Sums, form);
    WriteMethodTables(circle, model.Method, critical);
    WriteMethodTables(arbitrary, model.Method, critical);
    DrawCircle(report.ResultChart, model, critical.Circle, critical.Sums, design, context.Drawing,
               true);
    DrawCircle(report.ArbitraryChart, model, critical.Circle, critical.Sums, design,
               context.Drawing, true);
    const TForceCircle& most = run.MostForce;
    DrawMostForceCircle(report.ResultChart, model,
                        model.PlannedFs > 0 && most.Found && most.Force > 0
                            ? std::optional(TSlipCircle{most.Xo, most.Yo, most.R})
                            : std::nullopt);

    DrawGridFactors(run.Grid, report.ResultChart, report.ArbitraryChart);
    if (run.Contours) DrawContours(*run.Contours, report.ResultChart, report.ArbitraryChart);

    WriteDesignListing(tables, design, model);
}

}  // namespace

TRunContext RunContextOf(TAppState& app, TUserDialogs& dialogs, TProgress* progress) {
    return TRunContext{app.Design, app.Options,  app.Report, dialogs,
                       progress,   app.Settings, app.Drawing};
}

void WriteRunReport(const TRunResult& run, const TRunContext& context) {
    if (run.HasCritical && run.Model) {
        WriteCritical(run, context);
    } else if (run.Outcome == TRunOutcome::NoCircle) {
        WriteFailure(context);
    } else {
        return;
    }
    context.Report.Run = run;
    // The arbitrary-point tables show the critical circle again.
    if (run.HasCritical) context.Report.ArbitraryPoint.reset();
}

TRunResult StartCalculation(TAppState& app, TUserDialogs& dialogs, TProgress* progress) {
    return StartCalculation(RunContextOf(app, dialogs, progress));
}

namespace {

// 検討ケース 両方: the 地震時 search follows the 常時 one on the same model.
void CalculateSecondCase(const TRunResult& run, const TRunContext& context) {
    context.Report.SeismicCase.reset();
    const TAnalysisOptionsReading reading = ReadAnalysisOptions(context.Options);
    if (!reading || reading.Values.Case != TDesignCase::Both || !run.Model) return;
    if (context.Progress && context.Progress->Cancelled()) return;
    auto seismic = std::make_shared<TCalculationReport>();
    const TRunContext second{context.Design,   context.Options,  *seismic,       context.Dialogs,
                             context.Progress, context.Settings, context.Drawing};
    const TRunResult run2 = CalculateSeismicCase(
        run, TRunInputs{context.Design, context.Options, context.Dialogs, context.Progress, nullptr,
                        context.Settings, context.Drawing});
    WriteRunReport(run2, second);
    seismic->Run = run2;
    context.Report.SeismicCase = std::move(seismic);
}

}  // namespace

TRunResult StartCalculation(const TRunContext& context) {
    TRunResult run =
        CalculateRun(TRunInputs{context.Design, context.Options, context.Dialogs, context.Progress,
                                &context.Report.ResultChart, context.Settings, context.Drawing});
    WriteRunReport(run, context);
    CalculateSecondCase(run, context);
    return run;
}

TRunResult RunCalculation(std::shared_ptr<const TAnalysisModel> model, const TRunContext& context) {
    TRunResult run =
        CalculateRun(std::move(model),
                     TRunInputs{context.Design, context.Options, context.Dialogs, context.Progress,
                                &context.Report.ResultChart, context.Settings, context.Drawing});
    WriteRunReport(run, context);
    CalculateSecondCase(run, context);
    return run;
}

}  // namespace sorvanta
