#pragma once
// The back-calculation report (逆算法): on one circle, the c–tanφ pairs of one
// layer that give the factor Fs0, as the lines, table and chart the command
// line, its PDF page and the back-calculation window all show.

#include <optional>
#include <string>

#include "engine/AnalysisModel.h"
#include "engine/BackCalculation.h"
#include "engine/Geometry.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta {

enum class TBackcalcGiven : std::uint8_t { Cohesion, Phi };

struct TBackcalcInputs {
    double Fs0 = 0;
    int Layer = 1;  // from 1
    TBackcalcGiven Given = TBackcalcGiven::Cohesion;
    double Value = 0;  // c (kN/m²) or φ (degrees)
};

// Why there is no report; the texts are the messages a user reads.
enum class TBackcalcProblem : std::uint8_t {
    None,
    Fs0NotPositive,
    NoSuchLayer,
    NegativeCohesion,
    PhiOutOfRange,
    NoCircle,     // no circle about the centre, or no critical circle
    NotOnCircle,  // the layer's strength does not enter the circle
    NoSolution,   // no positive partner for the given value
};
[[nodiscard]] std::string BackcalcProblemText(TBackcalcProblem problem, int layersInUse);

// The inputs a user can get wrong before anything is calculated.
[[nodiscard]] TBackcalcProblem CheckBackcalcInputs(const TBackcalcInputs& inputs, int layersInUse);

// The circle of least factor about a typed centre on the model; none when
// no valid circle slides about it.
[[nodiscard]] std::optional<TSlipCircle> CircleAboutCentre(const TAnalysisModel& model, double xo,
                                                           double yo);

struct TBackcalcReport {
    TBackcalcInputs Inputs;
    TSlipCircle Circle;
    TStrengthLine Line;
    // φ (degrees) when c is given, c when φ is; none: no positive partner.
    std::optional<double> Answer;
    TLineList Lines;   // the inputs, the line's equation, the answer
    TCellTable Table;  // φ, tanφ, c every 5 degrees
    // c on the bottom axis, tanφ on the left: the line over c, tanφ ≥ 0, and
    // a point series marking φ every 10 degrees on it and, in red, the given
    // value with its partner.
    TChartModel Chart;
};

// Checks the inputs, then the line on the circle. With NoSolution or
// NotOnCircle the report holds everything but the answer; with another
// problem nothing.
struct TBackcalcOutcome {
    TBackcalcProblem Problem = TBackcalcProblem::None;
    TBackcalcReport Report;
};
[[nodiscard]] TBackcalcOutcome BackcalcOn(const TAnalysisModel& model, const TSlipCircle& circle,
                                          const TBackcalcInputs& inputs);

}  // namespace sorvanta
