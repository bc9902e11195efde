#include "engine/SliceMethods.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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
    const double normal = f.W * f.Cos - f.Pore / f.Cos - model.Loads.Kh * f.SoilW * sin;
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

// Spencer (f = 1) and Morgenstern–Price (f a half-sine over the mass) by
// the scheme of Zhu, Lee, Qian and Chen (2005): for a given λ, F from the
// force equilibrium of every slice with E = 0 at both ends; then λ from the
// moment equilibrium of every slice about its base's middle, summed (the
// thrust line's heights drop out); until both settle. Worked in the frame in
// which the mass slides towards −X, slices from the toe; E on a slice's right
// side pushes it towards −X, X = λ·f·E acts downwards there.
TCircleVerdict Rigorous(const TAnalysisModel& model, const TSlipCircle& circle,
                        const std::vector<TSliceForces>& forces, TCircleEvaluation& result,
                        double sense, double scale) {
    const std::size_t n = forces.size();
    const double R = circle.R;
    const double kh = model.Loads.Kh;
    const bool halfSine = model.Method == TSliceMethodKind::MorgensternPrice;
    struct TSlice {
        std::size_t Index;
        double Sin, Cos, TanPhi, T, Rr, B, H, Static, Driving, Cohesive;
    };
    std::vector<TSlice> sl(n);
    std::vector<double> f(n + 1), edge(n + 1);
    double x = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = sense > 0 ? k : n - 1 - k;
        const TSliceForces& s = forces[i];
        const double sin = sense * s.Sin;
        const double normal =
            (model.PoreForm == TPoreForm::Modified ? std::max(s.W - s.Pore, 0.0) * s.Cos
                                                   : s.W * s.Cos - s.Pore / s.Cos) -
            kh * s.SoilW * sin;
        const double cohesive = s.C * s.L + s.Crack;
        sl[k] = {i,
                 sin,
                 s.Cos,
                 s.TanPhi,
                 s.W * sin + kh * s.SoilW * s.Cos + sense * s.Thrust,
                 cohesive + normal * s.TanPhi,
                 s.B,
                 R * s.Cos - s.GravityLever,
                 normal,
                 s.W * sin + kh * s.SoilW * s.GravityLever / R + sense * s.Thrust,
                 cohesive};
        edge[k] = x;
        x += s.B;
    }
    edge[n] = x;
    for (std::size_t k = 0; k <= n; ++k)
        f[k] = halfSine ? std::sin(std::numbers::pi * edge[k] / x) : 1.0;

    std::vector<double> E(n + 1);
    double F = std::fabs(result.Fs) > 0 ? std::fabs(result.Fs) : 1.0;
    double lambda = 0;
    auto phi = [&](std::size_t k, double fk) {  // slice k's coefficient of an E beside it
        const TSlice& s = sl[k];
        return F * (s.Cos + lambda * fk * s.Sin) + s.TanPhi * (s.Sin - lambda * fk * s.Cos);
    };
    bool settled = false;
    for (int outer = 0; outer < MethodIterationLimit && !settled; ++outer) {
        // F for this λ.
        int inner = 0;
        for (; inner < MethodIterationLimit; ++inner) {
            double weight = 1 / phi(n - 1, f[n]);
            double resisting = 0, driving = 0;
            for (std::size_t k = n; k-- > 0;) {
                if (k + 1 < n) weight *= phi(k + 1, f[k + 1]) / phi(k, f[k + 1]);
                resisting += sl[k].Rr * weight;
                driving += sl[k].T * weight;
            }
            const double next = resisting / driving;
            if (!std::isfinite(next) || !(next > 0)) return TCircleVerdict::NotConverged;
            const bool same = std::fabs(next - F) <= 1e-12 * next;
            F = next;
            if (same) break;
        }
        if (inner == MethodIterationLimit) return TCircleVerdict::NotConverged;
        // The interslice forces, and λ from the moments.
        E[0] = 0;
        for (std::size_t k = 0; k < n; ++k)
            E[k + 1] = (phi(k, f[k]) * E[k] + sl[k].Rr - F * sl[k].T) / phi(k, f[k + 1]);
        double numerator = 0, denominator = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const TSlice& s = sl[k];
            numerator +=
                s.B * (s.Sin / s.Cos) * (E[k + 1] + E[k]) + 2 * kh * forces[s.Index].SoilW * s.H;
            denominator += s.B * (f[k + 1] * E[k + 1] + f[k] * E[k]);
        }
        const double next = numerator / denominator;
        if (!std::isfinite(next)) return TCircleVerdict::NotConverged;
        settled = inner == 0 && std::fabs(next - lambda) <= 1e-10 * (1 + std::fabs(lambda));
        lambda = next;
    }
    if (!settled) return TCircleVerdict::NotConverged;

    double resisting = 0, driving = 0;
    const bool rows = result.Rows.size() == n;
    for (std::size_t k = 0; k < n; ++k) {
        const TSlice& s = sl[k];
        if (!(phi(k, f[k + 1]) / F > SmallestMAlpha)) return TCircleVerdict::SmallMAlpha;
        // N' = N − U from the slice's normal equilibrium. It may come out
        // negative at the head of a cohesive mass (tension, as published
        // solutions show); like them the method keeps it.
        const double effective = s.Static + s.Sin * (E[k] - E[k + 1]) -
                                 s.Cos * lambda * (f[k] * E[k] - f[k + 1] * E[k + 1]);
        const double strength = s.Cohesive + effective * forces[s.Index].TanPhi;
        resisting += strength;
        driving += s.Driving;
        if (rows) {
            TSliceRow& row = result.Rows[s.Index];
            row.Resisting = strength * scale;
            row.Driving = sense * s.Driving * scale;
            row.InterE = E[k + 1];
            row.InterX = lambda * f[k + 1] * E[k + 1];
        }
    }
    if (!std::isfinite(resisting) || !std::isfinite(driving)) return TCircleVerdict::NotFinite;
    result.Resisting = resisting * scale;
    result.Driving = sense * resisting / F * scale;
    result.Fs = sense * F;
    result.Lambda = lambda;
    return TCircleVerdict::Valid;
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

    if (model.Method == TSliceMethodKind::Spencer ||
        model.Method == TSliceMethodKind::MorgensternPrice)
        return Rigorous(model, circle, forces, result, sense, scale);

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
                case TSliceMethodKind::Spencer:
                case TSliceMethodKind::MorgensternPrice:
                    break;
            }
            result.Rows[i].Resisting = correction * t.Resisting * scale;
            result.Rows[i].Driving = sense * t.Driving * scale;
            if (model.Method != TSliceMethodKind::Ordinary) result.Rows[i].MAlpha = t.MAlpha;
        }
    }
    return TCircleVerdict::Valid;
}

}  // namespace sorvanta
