#include "design/Variations.h"

#include <cmath>

#include "design/DesignConditions.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

std::string Problem(std::string_view spec, std::string_view what) {
    return "ばらつきの指定 '" + ShortenForMessage(spec) +
           "' が正しくありません: " + std::string(what);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

struct TKeyName {
    const char* Prefix;
    TVariedInput Input;
};
constexpr TKeyName Keys[] = {{"tanphi", TVariedInput::TanPhi},
                             {"phi", TVariedInput::Phi},
                             {"gamma", TVariedInput::GammaT},
                             {"c", TVariedInput::Cohesion}};

std::string Number(double v) {
    return FormatFloat("0.######;-0.######", v);
}

}  // namespace

std::string VariationKey(const TVariation& v) {
    if (v.Input == TVariedInput::WaterLevel) return "water";
    for (const TKeyName& k : Keys)
        if (k.Input == v.Input) return k.Prefix + std::to_string(v.Layer + 1);
    return {};
}

std::optional<std::string> AddVariation(TVariations& into, std::string_view spec) {
    const std::string_view text = Trim(spec);
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) return Problem(spec, "「キー=分布」の形で書いて下さい。");
    const std::string_view key = Trim(text.substr(0, eq));
    const std::string_view value = Trim(text.substr(eq + 1));

    auto layerOf = [&](std::string_view digits) -> std::optional<int> {
        if (digits.size() != 1 || digits[0] < '1' || digits[0] > '0' + MaxLayers)
            return std::nullopt;
        return digits[0] - '1';
    };

    if (key.starts_with("rho")) {
        const auto layer = layerOf(key.substr(3));
        const auto rho = TryStrToFloat(value);
        if (!layer) return Problem(spec, "層番号は 1～5 です。");
        if (!rho || !(*rho > -1 && *rho < 1))
            return Problem(spec, "相関係数は -1 より大きく 1 より小さい数値です。");
        for (const TCorrelation& c : into.Correlations)
            if (c.Layer == *layer) return Problem(spec, "同じ層の相関が2度指定されています。");
        into.Correlations.push_back({*layer, *rho});
        return std::nullopt;
    }

    TVariation v;
    if (key == "water") {
        v.Input = TVariedInput::WaterLevel;
    } else {
        bool known = false;
        for (const TKeyName& k : Keys) {
            if (!key.starts_with(k.Prefix)) continue;
            const auto layer = layerOf(key.substr(std::string_view(k.Prefix).size()));
            if (!layer) return Problem(spec, "層番号は 1～5 です。");
            v.Input = k.Input;
            v.Layer = *layer;
            known = true;
            break;
        }
        if (!known)
            return Problem(spec, "キーは c1、phi1、tanphi1、gamma1（1～5 層）、water、rho1 です。");
    }

    const auto open = value.find('(');
    if (open == std::string_view::npos || !value.ends_with(")"))
        return Problem(
            spec,
            "分布は normal(平均,標準偏差)、lognormal(平均,標準偏差)、uniform(下限,上限) です。");
    const std::string_view name = Trim(value.substr(0, open));
    const std::string_view args = value.substr(open + 1, value.size() - open - 2);
    const auto comma = args.find(',');
    const auto a =
        comma == std::string_view::npos ? std::nullopt : TryStrToFloat(Trim(args.substr(0, comma)));
    const auto b = comma == std::string_view::npos ? std::nullopt
                                                   : TryStrToFloat(Trim(args.substr(comma + 1)));
    if (!a || !b || !std::isfinite(*a) || !std::isfinite(*b))
        return Problem(spec, "分布の2つの値を数値で書いて下さい。");
    if (name == "normal") {
        v.Distribution = {TDistributionKind::Normal, *a, *b};
        if (!(*b >= 0)) return Problem(spec, "標準偏差は 0 以上です。");
    } else if (name == "lognormal") {
        v.Distribution = {TDistributionKind::Lognormal, *a, *b};
        if (!(*a > 0) || !(*b >= 0))
            return Problem(spec, "対数正規分布の平均は正、標準偏差は 0 以上です。");
    } else if (name == "uniform") {
        v.Distribution = {TDistributionKind::Uniform, *a, *b};
        if (!(*b >= *a)) return Problem(spec, "一様分布は下限 ≦ 上限です。");
    } else {
        return Problem(spec, "分布は normal、lognormal、uniform のどれかです。");
    }
    for (const TVariation& other : into.Inputs)
        if (VariationKey(other) == VariationKey(v))
            return Problem(spec, "同じ値が2度指定されています。");
    into.Inputs.push_back(v);
    return std::nullopt;
}

std::optional<std::string> ReadVariations(TVariations& into, std::string_view list) {
    TVariations read;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto end = std::min(list.find(';', start), list.size());
        const std::string_view one = Trim(list.substr(start, end - start));
        if (!one.empty())
            if (auto problem = AddVariation(read, one)) return problem;
        start = end + 1;
    }
    into = std::move(read);
    return std::nullopt;
}

std::string VariationsText(const TVariations& variations) {
    std::string out;
    auto add = [&](const std::string& s) {
        if (!out.empty()) out += ";";
        out += s;
    };
    for (const TVariation& v : variations.Inputs) {
        const char* name = v.Distribution.Kind == TDistributionKind::Normal      ? "normal"
                           : v.Distribution.Kind == TDistributionKind::Lognormal ? "lognormal"
                                                                                 : "uniform";
        add(VariationKey(v) + "=" + name + "(" + Number(v.Distribution.A) + "," +
            Number(v.Distribution.B) + ")");
    }
    for (const TCorrelation& c : variations.Correlations)
        add("rho" + std::to_string(c.Layer + 1) + "=" + Number(c.Rho));
    return out;
}

}  // namespace sorvanta
