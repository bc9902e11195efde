#include "run/CalculationRun.h"

#include <cmath>
#include <memory>

#include "design/DesignFile.h"
#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"
#include "engine/Progress.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"
#include "run/GridFs.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"
#include "views/CircleDrawing.h"

namespace sorvanta {

namespace {

// Keeps every message of the run for its result and passes it on.
class TMessageLog : public TUserDialogs {
  public:
    TMessageLog(TUserDialogs& inner, std::vector<std::string>& messages)
        : inner_(inner), messages_(messages) {}
    bool Confirm(std::string_view question) override { return inner_.Confirm(question); }
    void ShowMessage(std::string_view message) override {
        messages_.emplace_back(message);
        inner_.ShowMessage(message);
    }

  private:
    TUserDialogs& inner_;
    std::vector<std::string>& messages_;
};

// The caller's progress, with 計算過程表示 drawing each trial circle into the
// result chart before the caller hears of it (and repaints).
class TRunProgress : public TProgress {
  public:
    TRunProgress(TProgress* inner, TChartModel& chart, const TDesignConditions& design)
        : inner_(inner), chart_(chart), design_(design) {}

    void SetMaximum(int maximum) override {
        if (inner_) inner_->SetMaximum(maximum);
    }
    void SetPosition(int position) override {
        if (inner_) inner_->SetPosition(position);
    }
    void Step() override {
        if (inner_) inner_->Step();
    }
    void SetStatusText(const std::string& text) override {
        if (inner_) inner_->SetStatusText(text);
    }
    bool Cancelled() const override { return inner_ && inner_->Cancelled(); }
    void SearchStarted() override {
        if (inner_) inner_->SearchStarted();
    }
    bool ShowsTrialCircles() const override { return design_.ShowCalculationProcess; }
    void TrialCircle(const TAnalysisModel& model, const TSlipCircle& circle,
                     const TCircleEvaluation& evaluation) override {
        DrawCircle(chart_, model, circle, evaluation, design_, true);
        if (inner_) inner_->TrialCircle(model, circle, evaluation);
    }

  private:
    TProgress* inner_;
    TChartModel& chart_;
    const TDesignConditions& design_;
};

// The centre table's status number: 0 refused, 1 a factor, 2 level ground.
int CentreStatus(TCircleVerdict verdict) {
    return verdict == TCircleVerdict::Valid ? 1 : verdict == TCircleVerdict::LevelGround ? 2 : 0;
}

void ClearAllSeries(TChartModel& chart) {
    for (TChartSeries& series : chart.Series) series.Clear();
}

// No qualifying circle: the message, and the centre table, load table and
// charts cleared. Everything else keeps the previous run's content.
void WriteFailure(const TRunContext& context, TProgress& progress, TUserDialogs& dialogs) {
    progress.SetPosition(0);
    dialogs.ShowMessage(NoCircleMessage);
    TCellTable& centre = context.Tables.CentreTable;
    centre.SetRowCount(2);
    centre.SetRowCommaList(1, "-,-,-,-,-,-,-");
    TCellTable& load = context.Tables.LoadTable;
    load.SetRowCount(2);
    load.SetRowCommaList(1, "-,-,-,-,-,-,-,-,-,-,-,-,-");
    ClearAllSeries(context.ResultChart);
    ClearAllSeries(context.ArbitraryChart);
}

}  // namespace

TRunContext RunContextOf(TAppState& app, TUserDialogs& dialogs, TProgress* progress) {
    return TRunContext{app.Design,         app.Results, app.Arbitrary, app.ResultChart,
                       app.ArbitraryChart, dialogs,     progress,      app.Settings};
}

int RunProgressMaximum(double p0, int directions) {
    const double grids = (std::log10(0.01) - std::log10(p0)) / std::log10(0.02);
    if (!std::isfinite(grids) || grids < 0) return 8;
    return static_cast<int>(std::ceil(grids)) * directions + 8;
}

namespace {

TRunResult CheckAndRun(const TRunContext& context) {
    const auto checks = std::make_unique<TCheckResult>(CheckDesignConditions(context.Design));
    TRunResult result;
    TMessageLog dialogs(context.Dialogs, result.Messages);
    if (PresentCheckResult(*checks, dialogs) == TCheckOutcome::Refuse) {
        result.Outcome = TRunOutcome::Refused;
        return result;
    }
    TRunResult run = RunCalculation(checks->Model, context);
    result.Messages.insert(result.Messages.end(), run.Messages.begin(), run.Messages.end());
    run.Messages = std::move(result.Messages);
    return run;
}

}  // namespace

TCheckResult CheckCalculation(const TDesignConditions& design) {
    try {
        return CheckDesignConditions(design);
    } catch (const ConversionError& e) {
        // Name the field that failed, for the window and the batch tool alike.
        throw LocateConversionError(design, e);
    }
}

TRunResult StartCalculation(const TRunContext& context) {
    try {
        return CheckAndRun(context);
    } catch (const ConversionError& e) {
        throw LocateConversionError(context.Design, e);
    }
}

TRunResult RunCalculation(const TAnalysisModel& engine, const TRunContext& context) {
    TRunResult result;
    TMessageLog dialogs(context.Dialogs, result.Messages);
    const TDesignConditions& design = context.Design;
    TRunProgress progress(context.Progress, context.ResultChart, design);

    const int form = static_cast<int>(engine.DisplayForm);

    progress.SetStatusText(SearchStatusText);
    progress.SetPosition(0);
    progress.SetMaximum(RunProgressMaximum(FirstGridPitch(engine),
                                           engine.Direction == TSlipDirection::Both ? 2 : 1));

    TSearchOptions options;
    options.Threads = context.Settings.Threads;
    options.Progress = &progress;
    progress.SearchStarted();
    const TCriticalSearch search = SearchCriticalCircle(engine, options);
    result.GridCount = search.GridCount;
    if (search.Cancelled) {
        progress.SetPosition(0);
        progress.SetStatusText("");
        result.Outcome = TRunOutcome::Cancelled;
        return result;
    }
    const TSearchResult& best = search.Result;
    if (best.Verdict != TCircleVerdict::Valid || best.R == 0) {
        WriteFailure(context, progress, dialogs);
        progress.SetStatusText("");
        result.Outcome = TRunOutcome::NoCircle;
        return result;
    }

    TCriticalCircle c;
    c.Xo = best.Xo;
    c.Yo = best.Yo;
    c.R = best.R;
    c.Fs = best.Fs;
    c.Resisting = best.Resisting;
    c.Driving = best.Driving;
    const TSlipCircle circle{c.Xo, c.Yo, c.R};
    const TCircleClassification ends = ClassifyCircle(engine, circle);
    c.Xb = ends.Xb;
    c.Yb = ends.Yb;
    c.Xe = ends.Xe;
    c.Ye = ends.Ye;
    c.Theta = OpeningAngle(c.Xb, c.Yb, c.Xe, c.Ye, c.Xo, c.Yo);
    c.Beta = ChordInclination(c.Xb, c.Yb, c.Xe, c.Ye);
    c.Delta = CentreInclination(c.Xb, c.Yb, c.Xo, c.Yo);

    // The centre table's searches come first, so that a run stopped among
    // them leaves the previous result whole.
    const int m = engine.CentreMeshCount;
    const double p = engine.CentreMeshPitch;
    const int h = m / 2;
    const double x0 = c.Xo - h * p;
    const double y0 = c.Yo - h * p;
    std::vector<TPoint> centres;
    centres.reserve(static_cast<std::size_t>((m + 1) * (m + 1)));
    for (int i = 0; i <= m; ++i) {
        for (int j = 0; j <= m; ++j) centres.push_back({x0 + i * p, y0 + j * p});
    }
    std::vector<TSearchResult> mesh;
    if (!SearchRadiusAt(engine, centres, mesh, options)) {
        progress.SetPosition(0);
        progress.SetStatusText("");
        result.Outcome = TRunOutcome::Cancelled;
        return result;
    }

    TResultTables& tables = context.Tables;
    tables.FormulaList = FormulaLines(form);
    tables.ResultList = ResultLines(c, form);
    tables.SliceHeadingList = SliceHeadingLines(c);
    tables.LoadHeadingList = LoadHeadingLines(c);
    tables.LoadLegendList = LoadLegendLines();
    tables.LoadFormulaList = LoadFormulaLines(form);
    tables.JudgementList = JudgementLines(c, form);
    TArbitraryTables& arbitrary = context.Arbitrary;
    arbitrary.SliceHeadingList = tables.SliceHeadingList;
    arbitrary.LoadHeadingList = tables.LoadHeadingList;
    arbitrary.LoadLegendList = tables.LoadLegendList;
    arbitrary.LoadFormulaList = tables.LoadFormulaList;
    arbitrary.JudgementList = tables.JudgementList;

    if (std::fabs(c.Fs) >= engine.RequiredFs) {
        tables.ResultCaption = {"計算結果(安全率以内)", ColourMaroon};
        tables.JudgementLabel = {"安全率以内", ColourBlue};
    } else {
        tables.ResultCaption = {"計算結果(安全率外)", ColourRed};
        tables.JudgementLabel = {"安全率外", ColourRed};
    }

    progress.Step();
    TCellTable& centreTable = tables.CentreTable;
    centreTable.SetRowCommaList(0, form == 1 ? CentreHeaderForce : CentreHeaderMoment);
    context.ResultChart.Series.at(rsSafetyFactor).Clear();
    context.ArbitraryChart.Series.at(rsSafetyFactor).Clear();
    centreTable.SetRowCount((m + 1) * (m + 1) + 1);
    const double criticalAbsFs = std::fabs(c.Fs);
    for (int k = 1; k <= static_cast<int>(mesh.size()); ++k) {
        const TSearchResult& r = mesh[static_cast<std::size_t>(k - 1)];
        const TPoint& at = centres[static_cast<std::size_t>(k - 1)];
        centreTable.Rows[static_cast<std::size_t>(k)] =
            CentreTableRow(k, at.X, at.Y, CentreStatus(r.Verdict), r.Driving, r.Resisting, r.R,
                           r.Fs, criticalAbsFs);
        if (design.ShowSafetyFactors && r.Verdict == TCircleVerdict::Valid) {
            context.ResultChart.Series.at(rsSafetyFactor)
                .Add(at.X, at.Y, FormatFloat("0.00", r.Fs),
                     std::fabs(r.Fs) >= engine.RequiredFs ? ColourBlue : ColourRed);
        }
    }

    progress.Step();
    TEngineScratch scratch;
    const TCircleEvaluation sums =
        Evaluate(engine, circle, scratch, {.Slices = true, .Rows = true});
    const std::vector<TSliceRow>& rows = sums.Rows;
    WriteCircleTables(CircleTablesOf(tables), rows, sums, form);
    WriteCircleTables(CircleTablesOf(arbitrary), rows, sums, form);

    DrawCircle(context.ResultChart, engine, circle, sums, design, true);
    DrawCircle(context.ArbitraryChart, engine, circle, sums, design, true);
    progress.SetPosition(0);

    result.Outcome = TRunOutcome::Ok;
    result.HasCritical = true;
    result.Critical = c;

    const TSearchOptions& stepOptions = options;
    bool cancelled = false;
    if (design.GridFsEnabled) {
        progress.SetStatusText(GridFsStatusText);
        const auto n = GridFsMeshCountOf(design);
        if (n && AppendGridPointFactors(engine, *n, context.ResultChart, context.ArbitraryChart,
                                        stepOptions) == TStepOutcome::Cancelled) {
            cancelled = true;
        }
    }
    if (design.ContourEnabled && !cancelled) {
        progress.SetStatusText(ContourStatusText);
        if (AppendContours(engine, context.ResultChart, context.ArbitraryChart, stepOptions) ==
            TStepOutcome::Cancelled) {
            cancelled = true;
        }
    }
    progress.SetStatusText("");
    if (cancelled) {
        progress.SetPosition(0);
        result.Outcome = TRunOutcome::Cancelled;
    }

    WriteDesignListing(tables, design, engine);
    return result;
}

}  // namespace sorvanta
