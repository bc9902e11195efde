#include "cli/CaseJson.h"

#include "design/StoredOptions.h"

namespace sorvanta::cli {

namespace {

std::string ChoiceKey(const TAnalysisOptions& options, std::string_view key) {
    const TStoredOption* option = FindStoredOption(key);
    return option ? StoredOptionText(options, *option) : std::string();
}

TJsonValue ForceJson(const TRunResult& run, const TAnalysisOptions& options) {
    if (!run.Model || !(run.Model->PlannedFs > 0)) return nullptr;
    TJsonObject force{{"planned_fs", run.Model->PlannedFs}};
    const auto critical = CriticalRestrainingForce(run);
    force.emplace_back("critical", critical ? TJsonValue(*critical) : TJsonValue(nullptr));
    const TForceCircle& m = run.MostForce;
    force.emplace_back("most", m.Found ? TJsonValue(TJsonObject{{"Xo", m.Xo},
                                                                {"Yo", m.Yo},
                                                                {"R", m.R},
                                                                {"Fs", m.Fs},
                                                                {"Resisting", m.Resisting},
                                                                {"Driving", m.Driving},
                                                                {"Pr", m.Force}})
                                       : TJsonValue(nullptr));
    const TTypedAnalysisOptions o = ReadAnalysisOptions(options).Values;
    if (o.AnchorAngle) {
        const auto anchor =
            o.AnchorX ? CriticalAnchorForce(run, *o.AnchorAngle, *o.AnchorX) : std::nullopt;
        force.emplace_back("anchor", anchor ? TJsonValue(TJsonObject{{"x", anchor->X},
                                                                     {"theta", anchor->Theta},
                                                                     {"alpha", anchor->Alpha},
                                                                     {"phi", anchor->Phi},
                                                                     {"Td", anchor->Force}})
                                            : TJsonValue(nullptr));
    }
    if (o.PilePitch && critical)
        force.emplace_back(
            "per_pile", TJsonObject{{"pitch", *o.PilePitch}, {"force", *critical * *o.PilePitch}});
    return force;
}

}  // namespace

bool ReportsCases(const TAnalysisOptions& options) {
    const TAnalysisOptionsReading reading = ReadAnalysisOptions(options);
    const TTypedAnalysisOptions& o = reading.Values;
    return o.Case != TDesignCase::Normal || o.Kh != 0 || o.PlannedFs || o.LoadInAnalysis ||
           options.Method != TSliceMethodKind::Ordinary || options.PoreForm != TPoreForm::Modified;
}

TJsonValue CasesJson(const std::vector<const TRunResult*>& runs, const TAnalysisOptions& options) {
    TJsonArray cases;
    for (const TRunResult* run : runs) {
        const bool seismic = run->Case == TDesignCase::Seismic;
        TJsonValue critical = nullptr;
        if (run->HasCritical) {
            const TCriticalCircle& c = run->Critical;
            critical = TJsonObject{{"Xo", c.Xo},
                                   {"Yo", c.Yo},
                                   {"R", c.R},
                                   {"Fs", c.Fs},
                                   {"Resisting", c.Resisting},
                                   {"Driving", c.Driving}};
        }
        cases.push_back(TJsonObject{
            {"case", seismic ? "seismic" : "normal"},
            {"kh", run->Model ? run->Model->Loads.Kh : 0.0},
            {"method", ChoiceKey(options, "method")},
            {"pore_pressure", ChoiceKey(options, "pore-pressure")},
            {"load_in_analysis", run->Model && run->Model->Loads.Surcharge},
            {"outcome", OutcomeName(run->Outcome)},
            {"required_fs", run->Model ? TJsonValue(run->Model->RequiredFs) : TJsonValue(nullptr)},
            {"critical", std::move(critical)},
            {"verdict", VerdictName(run->Judgement.Verdict)},
            {"restraining_force", ForceJson(*run, options)}});
    }
    return cases;
}

}  // namespace sorvanta::cli
