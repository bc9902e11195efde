#include "run/CalculationRun.h"

#include <cmath>
#include <memory>
#include <numbers>

#include "design/DesignFile.h"
#include "design/StoredOptions.h"
#include "engine/Parallel.h"
#include "engine/Progress.h"
#include "text/Conversion.h"
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
// trial chart before the caller hears of it (and repaints).
class TRunProgress : public TProgress {
  public:
    TRunProgress(TProgress* inner, TChartModel* chart, const TDesignConditions& design,
                 const TDrawingOptions& drawing)
        : inner_(inner), chart_(chart), design_(design), drawing_(drawing) {}

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
        if (chart_) DrawCircle(*chart_, model, circle, evaluation, design_, drawing_, true);
        if (inner_) inner_->TrialCircle(model, circle, evaluation);
    }

  private:
    TProgress* inner_;
    TChartModel* chart_;
    const TDesignConditions& design_;
    const TDrawingOptions& drawing_;
};

}  // namespace

TJudgement JudgeFactor(double fs, double required) {
    return {std::fabs(fs) >= required ? TVerdict::Within : TVerdict::Outside, required, fs};
}

int RunProgressMaximum(double p0, int directions) {
    const double grids = (std::log10(0.01) - std::log10(p0)) / std::log10(0.02);
    if (!std::isfinite(grids) || grids < 0) return 8;
    return static_cast<int>(std::ceil(grids)) * directions + 8;
}

int CentreStatus(TCircleVerdict verdict) {
    return verdict == TCircleVerdict::Valid ? 1 : verdict == TCircleVerdict::LevelGround ? 2 : 0;
}

TCircleRecord EvaluateCircleRecord(const TAnalysisModel& model, const TSlipCircle& circle) {
    TCircleRecord record;
    record.Circle = circle;
    TEngineScratch scratch;
    record.Sums = Evaluate(model, circle, scratch, {.Slices = true, .Rows = true});
    record.Rows = std::move(record.Sums.Rows);
    return record;
}

std::optional<int> GridFsMeshCountOf(const TAnalysisOptions& options) {
    auto n = TryStrToInt(options.GridFsMeshCount);
    if (!n || *n < 1) return std::nullopt;
    return n;
}

TGridStep GridPointStep(const TAnalysisModel& model, int meshCount, const TSearchOptions& options) {
    TGridStep step;
    if (meshCount < 1 || !CentreFieldOf(model)) return step;
    step.Ran = true;
    step.Factors = ComputeGridFactors(model, meshCount, options);
    return step;
}

TGridStep GridPointStep(const TDesignConditions& design, const TAnalysisOptions& analysis,
                        const TSearchOptions& options) {
    const auto n = GridFsMeshCountOf(analysis);
    if (!n) return {};
    return GridPointStep(BuildAnalysisModel(design, analysis), *n, options);
}

TContourStep ContourStep(const TAnalysisModel& model, const TSearchOptions& options) {
    TContourStep step;
    const auto field = ComputeContourField(model, options);
    if (!field) return step;
    if (field->Cancelled) {
        step.Cancelled = true;
        return step;
    }
    step.Segments = ContourMesh(field->Xs, field->Ys, field->Values);
    return step;
}

TCheckResult CheckCalculation(const TDesignConditions& design, const TAnalysisOptions& options) {
    try {
        return CheckDesignConditions(design, options);
    } catch (const ConversionError& e) {
        // Name the field that failed, for the window and the batch tool alike.
        throw LocateConversionError(design, e);
    }
}

TRunResult CalculateRun(const TRunInputs& inputs) {
    TRunResult result;
    TMessageLog dialogs(inputs.Dialogs, result.Messages);
    PrepareWorkers(inputs.Settings.Threads);
    auto checks = std::make_shared<TCheckResult>(CheckCalculation(inputs.Design, inputs.Options));
    if (PresentCheckResult(*checks, dialogs) == TCheckOutcome::Refuse) {
        result.Outcome = TRunOutcome::Refused;
        return result;
    }
    // The result shares the checks' model; nothing copies it.
    TRunResult run =
        CalculateRun(std::shared_ptr<const TAnalysisModel>(checks, &checks->Model), inputs);
    result.Messages.insert(result.Messages.end(), run.Messages.begin(), run.Messages.end());
    run.Messages = std::move(result.Messages);
    return run;
}

TRunResult CalculateRun(std::shared_ptr<const TAnalysisModel> shared, const TRunInputs& inputs) {
    TRunResult result;
    TMessageLog dialogs(inputs.Dialogs, result.Messages);
    const TDesignConditions& design = inputs.Design;
    const TAnalysisOptions& choices = inputs.Options;
    TRunProgress progress(inputs.Progress, inputs.TrialChart, design, inputs.Drawing);
    const TAnalysisModel& engine = *shared;
    result.Form = static_cast<int>(engine.DisplayForm);

    progress.SetStatusText(SearchStatusText);
    progress.SetPosition(0);
    progress.SetMaximum(RunProgressMaximum(FirstGridPitch(engine),
                                           engine.Direction == TSlipDirection::Both ? 2 : 1));

    TSearchOptions options;
    options.Threads = inputs.Settings.Threads;
    options.Progress = &progress;
    progress.SearchStarted();
    const TCriticalSearch search = SearchCriticalCircle(engine, options);
    result.GridCount = search.GridCount;
    result.Case = engine.Loads.Kh != 0 ? TDesignCase::Seismic : TDesignCase::Normal;
    result.MostForce = search.MostForce;
    if (search.Cancelled) {
        progress.SetPosition(0);
        progress.SetStatusText("");
        result.Outcome = TRunOutcome::Cancelled;
        return result;
    }
    const TSearchResult& best = search.Result;
    if (best.Verdict != TCircleVerdict::Valid || best.R == 0) {
        progress.SetPosition(0);
        dialogs.ShowMessage(NoCircleMessage);
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

    result.Judgement = JudgeFactor(c.Fs, engine.RequiredFs);
    progress.Step();
    result.CentreRows.reserve(mesh.size());
    for (std::size_t k = 0; k < mesh.size(); ++k) {
        const TSearchResult& r = mesh[k];
        result.CentreRows.push_back({centres[k].X, centres[k].Y, CentreStatus(r.Verdict), r.Driving,
                                     r.Resisting, r.R, r.Fs});
    }

    progress.Step();
    result.Circle = EvaluateCircleRecord(engine, circle);
    progress.SetPosition(0);

    result.Outcome = TRunOutcome::Ok;
    result.HasCritical = true;
    result.Critical = c;
    result.Model = shared;

    bool cancelled = false;
    if (choices.GridFsEnabled) {
        progress.SetStatusText(GridFsStatusText);
        if (const auto n = GridFsMeshCountOf(choices)) {
            result.Grid = GridPointStep(engine, *n, options);
            cancelled = result.Grid.Factors && result.Grid.Factors->Cancelled;
        }
    }
    if (choices.ContourEnabled && !cancelled) {
        progress.SetStatusText(ContourStatusText);
        TContourStep contours = ContourStep(engine, options);
        cancelled = contours.Cancelled;
        result.Contours = std::move(contours.Segments);
    }
    progress.SetStatusText("");
    if (cancelled) {
        progress.SetPosition(0);
        result.Outcome = TRunOutcome::Cancelled;
    }
    return result;
}

std::optional<double> CriticalRestrainingForce(const TRunResult& run) {
    if (!run.HasCritical || !run.Model || !(run.Model->PlannedFs > 0)) return std::nullopt;
    return RestrainingForce(*run.Model, run.Critical.R, run.Critical.Resisting,
                            run.Critical.Driving);
}

std::optional<TAnchorForce> CriticalAnchorForce(const TRunResult& run, double thetaDegrees,
                                                double x) {
    const auto force = CriticalRestrainingForce(run);
    if (!force) return std::nullopt;
    // Positive where the slip surface dips in the sense the circle slides.
    const double sense = run.Critical.Driving < 0 ? -1.0 : 1.0;
    for (const TSliceRow& row : run.Circle.Rows) {
        if (!(std::fabs(x - row.CentreX) <= row.B / 2)) continue;
        constexpr double degree = std::numbers::pi / 180;
        const double alpha = sense * row.Alpha;
        const double angle = alpha + thetaDegrees * degree;
        const double effect = std::cos(angle) + std::sin(angle) * std::tan(row.Phi);
        if (!(effect > 0)) return std::nullopt;  // an anchor pulling the mass out of the slope
        TAnchorForce a;
        a.X = x;
        a.Theta = thetaDegrees;
        a.Alpha = alpha / degree;
        a.Phi = row.Phi / degree;
        a.Force = *force / effect;
        return a;
    }
    return std::nullopt;
}

TRunResult CalculateSeismicCase(const TRunResult& normal, const TRunInputs& inputs) {
    const TAnalysisOptionsReading reading = ReadAnalysisOptions(inputs.Options);
    if (!normal.Model || !reading) return {};
    auto seismic = std::make_shared<const TAnalysisModel>(
        SeismicCaseOf(*normal.Model, reading.Values.Kh, reading.Values.RequiredFsSeismic));
    return CalculateRun(std::move(seismic), inputs);
}

}  // namespace sorvanta
