#pragma once
// The uncertain inputs of a probability-of-failure study, as the user writes
// them: "c1=normal(20,4)", "phi2=lognormal(30,3)", "gamma1=uniform(17,19)",
// "water=normal(0,0.5)", and "rho1=-0.5" for the correlation of layer 1's
// cohesion and friction. Read into values here; the study applies them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta {

enum class TVariedInput : std::uint8_t {
    Cohesion,    // c of a layer, kN/m2
    Phi,         // φ of a layer, degrees
    TanPhi,      // tanφ of a layer
    GammaT,      // γt of a layer, kN/m3
    WaterLevel,  // a shift of the whole water line, m (mean 0: the line as drawn)
};

enum class TDistributionKind : std::uint8_t { Normal, Lognormal, Uniform };

// Normal and lognormal: A the mean, B the standard deviation (of the value
// itself, not of its logarithm). Uniform: A the low end, B the high one.
struct TDistribution {
    TDistributionKind Kind = TDistributionKind::Normal;
    double A = 0;
    double B = 0;
    bool operator==(const TDistribution&) const = default;
};

struct TVariation {
    TVariedInput Input = TVariedInput::Cohesion;
    int Layer = 0;  // 0-based; unused for the water level
    TDistribution Distribution;
    bool operator==(const TVariation&) const = default;
};

// Correlation of a layer's cohesion with its friction (φ or tanφ), between
// the standard normal variables behind them.
struct TCorrelation {
    int Layer = 0;
    double Rho = 0;
    bool operator==(const TCorrelation&) const = default;
};

struct TVariations {
    std::vector<TVariation> Inputs;
    std::vector<TCorrelation> Correlations;
    bool operator==(const TVariations&) const = default;
};

// Reads one "key=distribution(a,b)" or "rhoN=value" into `into`; a problem
// in Japanese naming the text otherwise. A key given twice is a problem.
[[nodiscard]] std::optional<std::string> AddVariation(TVariations& into, std::string_view spec);

// The specs of a list separated by ';' (the form an options block keeps).
[[nodiscard]] std::optional<std::string> ReadVariations(TVariations& into, std::string_view list);

// The list form of the variations, as ReadVariations reads it back.
[[nodiscard]] std::string VariationsText(const TVariations& variations);

// The key of a variation: "c1", "phi2", "tanphi1", "gamma3", "water".
[[nodiscard]] std::string VariationKey(const TVariation& variation);

}  // namespace sorvanta
