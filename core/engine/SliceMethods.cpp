#include "engine/SliceMethods.h"

#include <algorithm>
#include <cmath>

namespace sorvanta {

namespace {

// A slice's terms for a trial factor, in force units and in the sense of
// sliding (positive driving).
struct TTerms {
    double Resisting = 0;
    double Driving = 0;
    double MAlpha = 1;
};

// The soil's weight less the pore force on the width, never below zero, as
// in the ordinary method.
double Effective(const TSliceForces& f) {
    return std::max(f.W - f.Pore, 0.0);
}

double SeismicDriving(const TAnalysisModel& model, const TSliceForces& f, double R, bool moment) {
    const double kh = model.Loads.Kh;
    if (kh == 0) return 0;
    return kh * f.SoilW * (moment ? f.GravityLever / R : f.Cos);
}

TTerms Conventional(const TAnalysisModel& model, const TSliceForces& f, double sense, double R) {
    const double sin = sense * f.Sin;
    const double normal =
        f.W * f.Cos - f.Pore / f.Cos - model.Loads.Kh * f.SoilW * sin;
    const bool moment = model.DisplayForm == TFsForm::Moment;
    return {f.C * f.L + std::max(normal, 0.0) * f.TanPhi + f.Crack,
            f.W * sin + sense * f.Thrust + SeismicDriving(model, f, R, moment), 1};
}

TTerms Bishop(const TAnalysisModel& model, const TSliceForces& f, double sense, double R,
              double fs) {
    const double sin = sense * f.Sin;
    const double mAlpha = f.Cos + sin * f.TanPhi / fs;
    return {(f.C * f.B + Effective(f) * f.TanPhi) / mAlpha + f.Crack,
            f.W * sin + sense * f.Thrust + SeismicDriving(model, f, R, true), mAlpha};
}

TTerms Janbu(const TAnalysisModel& model, const TSliceForces& f, double sense, double fs) {
    const double sin = sense * f.Sin;
    const double mAlpha = f.Cos + sin * f.TanPhi / fs;
    return {(f.C * f.B + Effective(f) * f.TanPhi) / (f.Cos * mAlpha) + f.Crack,
            f.W * sin / f.Cos + sense * f.Thrust + model.Loads.Kh * f.SoilW, mAlpha};
}

}  // namespace

double JanbuCorrection(double depthRatio, bool cohesion, bool friction) {
    const double b1 = cohesion && friction ? 0.50 : cohesion ? 0.69 : 0.31;
    return 1 + b1 * (depthRatio - 1.4 * depthRatio * depthRatio);
}

TCircleVerdict SolveMethod(const TAnalysisModel& model, const TSlipCircle& circle,
                           const std::vector<TSliceForces>& forces, TCircleEvaluation& result) {
    if (result.Driving == 0) return TCircleVerdict::Valid;  // level: no slip to solve
    const double sense = result.Driving > 0 ? 1.0 : -1.0;
    const double R = circle.R;
    const double scale = model.DisplayForm == TFsForm::Moment ? R : 1.0;
    const std::size_t n = forces.size();

    auto sums = [&](auto&& terms, double& resisting, double& driving, double& smallestM) {
        resisting = driving = 0;
        smallestM = 1;
        for (const TSliceForces& f : forces) {
            const TTerms t = terms(f);
            resisting += t.Resisting;
            driving += t.Driving;
            smallestM = std::min(smallestM, t.MAlpha);
        }
    };

    double resisting = 0, driving = 0, smallestM = 1, correction = 1;
    if (model.Method == TSliceMethodKind::Ordinary) {
        sums([&](const TSliceForces& f) { return Conventional(model, f, sense, R); }, resisting,
             driving, smallestM);
    } else {
        const bool bishop = model.Method == TSliceMethodKind::Bishop;
        double fs = std::fabs(result.Fs) > 0 ? std::fabs(result.Fs) : 1.0;
        bool settled = false;
        for (int k = 0; k < MethodIterationLimit && !settled; ++k) {
            const auto terms = [&](const TSliceForces& f) {
                return bishop ? Bishop(model, f, sense, R, fs) : Janbu(model, f, sense, fs);
            };
            sums(terms, resisting, driving, smallestM);
            const double next = resisting / driving;
            if (!std::isfinite(next) || !(next > 0)) return TCircleVerdict::NotConverged;
            settled = std::fabs(next - fs) <= 1e-12 * next;
            fs = next;
        }
        if (!settled) return TCircleVerdict::NotConverged;
        // The sums at the settled factor, so that Fs = Resisting / Driving.
        const auto terms = [&](const TSliceForces& f) {
            return bishop ? Bishop(model, f, sense, R, fs) : Janbu(model, f, sense, fs);
        };
        sums(terms, resisting, driving, smallestM);
        if (!(smallestM > SmallestMAlpha)) return TCircleVerdict::SmallMAlpha;
        if (!bishop) {
            // Depth of the mass below the chord between the end points.
            const double dx = result.Xe - result.Xb, dy = result.Ye - result.Yb;
            const double chord = std::hypot(dx, dy);
            const double offset = (dx * (circle.Yo - result.Yb) - dy * (circle.Xo - result.Xb)) /
                                  chord;  // the centre's height above the chord
            const double depth = R - offset;
            bool cohesion = false, friction = false;
            for (const TSliceForces& f : forces) {
                cohesion = cohesion || f.C > 0;
                friction = friction || f.TanPhi > 0;
            }
            correction = JanbuCorrection(depth / chord, cohesion, friction);
            result.UncorrectedFs = sense * resisting / driving;
        }
    }
    if (!std::isfinite(resisting) || !std::isfinite(driving)) return TCircleVerdict::NotFinite;
    result.Resisting = correction * resisting * scale;
    result.Driving = sense * driving * scale;
    result.Fs = result.Resisting / result.Driving;
    result.Correction = correction;
    if (!result.Rows.empty() && result.Rows.size() == n) {
        const double fs = std::fabs(result.Fs) / correction;
        for (std::size_t i = 0; i < n; ++i) {
            TTerms t;
            switch (model.Method) {
                case TSliceMethodKind::Ordinary:
                    t = Conventional(model, forces[i], sense, R);
                    break;
                case TSliceMethodKind::Bishop:
                    t = Bishop(model, forces[i], sense, R, fs);
                    break;
                case TSliceMethodKind::Janbu:
                    t = Janbu(model, forces[i], sense, fs);
                    break;
            }
            result.Rows[i].Resisting = correction * t.Resisting * scale;
            result.Rows[i].Driving = sense * t.Driving * scale;
        }
    }
    return TCircleVerdict::Valid;
}

}  // namespace sorvanta
