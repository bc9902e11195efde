#pragma once
// The words for the verdicts of the engine and for the arbitrary point's
// circle status, as its judgement panel and the batch tool show them.

#include <string>

#include "engine/Geometry.h"
#include "run/ArbitraryPoint.h"

namespace sorvanta {

// The text of a circle's verdict; `crossings` is the count of
// TCircleVerdict::Crossings ("円弧不当(地形と" n "点交差)"). NotTried has
// none (empty).
[[nodiscard]] std::string CircleVerdictText(TCircleVerdict verdict, int crossings = 0);

// The circle status of an arbitrary point: its verdict's text, or
// "該当する滑り方向の円弧は有りません。" for NoCircleInDirection.
[[nodiscard]] std::string ArbitraryStatusText(const TArbitraryOutcome& outcome);

}  // namespace sorvanta
