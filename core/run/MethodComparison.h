#pragma once
// Every method of slices on one circle, side by side: the design's own
// choice of pore pressure and case loads kept, only the method changed.

#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"

namespace sorvanta {

// One method's factor on the circle.
struct TMethodFs {
    TSliceMethodKind Method = TSliceMethodKind::Ordinary;
    // Valid with a factor, LevelGround (no driving force: ∞), or why the
    // method has no solution on the circle.
    TCircleVerdict Verdict = TCircleVerdict::NotTried;
    double Fs = 0;             // signed as the circle slides
    double UncorrectedFs = 0;  // Janbu's factor before f0
    double Correction = 1;     // Janbu's f0
    double Lambda = 0;         // Spencer's and Morgenstern–Price's λ
    bool operator==(const TMethodFs&) const = default;
};

// The methods in the order of TSliceMethodKind.
[[nodiscard]] std::vector<TMethodFs> CompareMethods(const TAnalysisModel& model,
                                                    const TSlipCircle& circle);

}  // namespace sorvanta
