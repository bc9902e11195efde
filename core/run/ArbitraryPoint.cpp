#include "run/ArbitraryPoint.h"

#include <cmath>

#include "engine/Geometry.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {

namespace {

// Why the search at the centre found no circle: the verdict of the last
// circle tried, unless that says nothing about it (circles were valid but
// none qualified for the direction) or no circle was tried at all.
void SetNoCircleReason(TArbitraryOutcome& o, const TAnalysisModel& engine,
                       const TSearchResult& best, TPoint centre) {
    if (best.Verdict == TCircleVerdict::Valid) {
        o.Reason = TArbitraryReason::NoCircleInDirection;
        return;
    }
    if (best.LastVerdict != TCircleVerdict::NotTried) {
        o.Verdict = best.LastVerdict;
        o.Crossings = best.LastCrossings;
        return;
    }
    // Nothing tried: the centre lies where no radius is allowed.
    const TCircleVerdict verdict = ClassifyCircle(engine, {centre.X, centre.Y, 0}).Verdict;
    if (verdict == TCircleVerdict::CentreOutsideWidth || verdict == TCircleVerdict::CentreInGround)
        o.Verdict = verdict;
    else if (!engine.MustCutOn && centre.Y < engine.NclElevation)
        o.Verdict = TCircleVerdict::CentreBelowNeverCut;
    else
        o.Verdict = TCircleVerdict::NoCrossing;
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
    if (o.Status == 0) {
        SetNoCircleReason(o, engine, best, TPoint{xo, yo});
    } else {
        o.Verdict = best.LastVerdict;
        o.Crossings = best.LastCrossings;
    }

    if (o.Status != 0) {
        TCircleRecord record = EvaluateCircleRecord(engine, TSlipCircle{xo, yo, best.R});
        const TCircleEvaluation& r = record.Sums;
        if (!Accepted(r.Verdict)) {
            // Cannot follow a valid search; kept safe all the same.
            o.Status = 0;
            o.Verdict = r.Verdict;
            o.Crossings = r.Crossings;
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
