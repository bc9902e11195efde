#include "run/ArbitraryPoint.h"

#include <cmath>

#include "engine/Geometry.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"
#include "run/VerdictTexts.h"

namespace sorvanta {

namespace {

// Valid circles about the centre, none in the slip direction asked for.
constexpr std::string_view NoCircleInDirection = "該当する滑り方向の円弧は有りません。";

// Why the search at the centre found no circle: the verdict of the last
// circle tried, unless that says nothing about it (circles were valid but
// none qualified for the direction) or no circle was tried at all.
std::string NoCircleReason(const TAnalysisModel& engine, const TSearchResult& best, TPoint centre) {
    if (best.Verdict == TCircleVerdict::Valid) return std::string(NoCircleInDirection);
    if (best.LastVerdict != TCircleVerdict::NotTried)
        return CircleVerdictText(best.LastVerdict, best.LastCrossings);
    // Nothing tried: the centre lies where no radius is allowed.
    const TCircleVerdict verdict = ClassifyCircle(engine, {centre.X, centre.Y, 0}).Verdict;
    if (verdict == TCircleVerdict::CentreOutsideWidth || verdict == TCircleVerdict::CentreInGround)
        return CircleVerdictText(verdict);
    if (!engine.MustCutOn && centre.Y < engine.NclElevation)
        return CircleVerdictText(TCircleVerdict::CentreBelowNeverCut);
    return CircleVerdictText(TCircleVerdict::NoCrossing);
}

}  // namespace

TJudgement JudgeArbitrary(const TArbitraryOutcome& o, double required) {
    switch (o.Status) {
        case 1:
            return JudgeFactor(o.Fs, required);
        case 2:
            return {TVerdict::Infinite, required, o.Fs};
        default:
            return {TVerdict::NoCircle, required, 0};
    }
}

TArbitraryPoint CalculateArbitraryPoint(const TDesignConditions& design,
                                        const TAnalysisOptions& options, double xo, double yo) {
    auto shared = std::make_shared<const TAnalysisModel>(BuildAnalysisModel(design, options));
    const TAnalysisModel& engine = *shared;
    TEngineScratch scratch;

    TArbitraryPoint point;
    point.Form = static_cast<int>(engine.DisplayForm);
    TArbitraryOutcome& o = point.Outcome;
    o.Xo = xo;
    o.Yo = yo;
    const TSearchResult best = SearchRadius(engine, scratch, TPoint{xo, yo});
    o.Status = best.R == 0 ? 0 : CentreStatus(best.Verdict);
    o.CircleStatus = o.Status == 0 ? NoCircleReason(engine, best, TPoint{xo, yo})
                                   : CircleVerdictText(best.LastVerdict, best.LastCrossings);

    if (o.Status != 0) {
        TCircleRecord record = EvaluateCircleRecord(engine, TSlipCircle{xo, yo, best.R});
        const TCircleEvaluation& r = record.Sums;
        if (!Accepted(r.Verdict)) {
            // Cannot follow a valid search; kept safe all the same.
            o.Status = 0;
            o.CircleStatus = CircleVerdictText(r.Verdict, r.Crossings);
        } else {
            // A driving sum of exactly 0 is level ground to the search too.
            o.Status = (r.Verdict == TCircleVerdict::Valid && r.Driving == 0)
                           ? 2
                           : CentreStatus(r.Verdict);
            o.R = best.R;
            o.Fs = r.Fs;
            o.Resisting = r.Resisting;
            o.Driving = r.Driving;
            o.Xb = r.Xb;
            o.Yb = r.Yb;
            o.Xe = r.Xe;
            o.Ye = r.Ye;
            o.Theta = OpeningAngle(o.Xb, o.Yb, o.Xe, o.Ye, xo, yo);
            o.Beta = ChordInclination(o.Xb, o.Yb, o.Xe, o.Ye);
            o.Delta = CentreInclination(o.Xb, o.Yb, xo, yo);
            point.Circle = std::move(record);
        }
    }
    point.Judgement = JudgeArbitrary(o, engine.RequiredFs);
    point.Model = std::move(shared);
    return point;
}

}  // namespace sorvanta
