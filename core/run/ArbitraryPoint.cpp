#include "run/ArbitraryPoint.h"

#include <cmath>

#include "engine/Geometry.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {

namespace {

// Valid circles about the centre, none in the slip direction asked for.
constexpr std::string_view NoCircleInDirection = "該当する滑り方向の円弧は有りません。";

// Why the search at the centre found no circle: the status the last circle
// tried left, unless that says nothing about it (circles were valid but none
// qualified for the direction) or no circle was tried at all.
std::string NoCircleReason(TEC& engine, const TSearchResult& best, TPoint centre) {
    if (best.Status == 1) return std::string(NoCircleInDirection);
    if (!engine.CircleStatus.empty()) return engine.CircleStatus;
    // Nothing tried: the centre lies where no radius is allowed.
    ClassifyCircle(engine, {centre.X, centre.Y, 0});
    if (engine.CircleStatus == CircleStatusText::CentreOutsideWidth ||
        engine.CircleStatus == CircleStatusText::CentreInGround)
        return engine.CircleStatus;
    if (!engine.MustCutOn && centre.Y < engine.NclElevation)
        return std::string(CircleStatusText::CentreBelowNeverCut);
    return std::string(CircleStatusText::NoCrossing);
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

TArbitraryPoint CalculateArbitraryPoint(const TDesignConditions& design, double xo, double yo) {
    auto shared = std::make_shared<TEC>();
    TEC& engine = *shared;
    engine.BuildAnalysisModel(design);

    TArbitraryPoint point;
    point.Form = engine.DisplayForm;
    TArbitraryOutcome& o = point.Outcome;
    o.Xo = xo;
    o.Yo = yo;
    const TSearchResult best = SearchRadius(engine, TPoint{xo, yo});
    o.Status = best.R == 0 ? 0 : best.Status;
    o.CircleStatus =
        o.Status == 0 ? NoCircleReason(engine, best, TPoint{xo, yo}) : engine.CircleStatus;

    if (o.Status != 0) {
        TCircleRecord record = EvaluateCircleRecord(engine, TSlipCircle{xo, yo, best.R});
        const TCircleResult& r = record.Sums;
        if (r.Status == 0) {
            // Cannot follow a valid search; kept safe all the same.
            o.Status = 0;
            o.CircleStatus = engine.CircleStatus;
        } else {
            // A driving sum of exactly 0 is level ground to the search too.
            o.Status = (r.Status == 1 && r.Driving == 0) ? 2 : r.Status;
            o.R = best.R;
            o.Fs = r.Fs;
            o.Resisting = r.Resisting;
            o.Driving = r.Driving;
            o.Xb = engine.Xb;
            o.Yb = engine.Yb;
            o.Xe = engine.Xe;
            o.Ye = engine.Ye;
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
