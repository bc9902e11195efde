#pragma once
// The words for the verdicts of the engine, as the arbitrary point and the
// listings show them.

#include <string>

#include "engine/Geometry.h"

namespace sorvanta {

// The text of a circle's verdict; `crossings` is the count of
// TCircleVerdict::Crossings ("円弧不当(地形と" n "点交差)"). NotTried has
// none (empty).
[[nodiscard]] std::string CircleVerdictText(TCircleVerdict verdict, int crossings = 0);

}  // namespace sorvanta
