#include "run/Checks.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "design/DesignFields.h"
#include "design/StoredOptions.h"
#include "design/TypedDesign.h"
#include "engine/AnalysisModel.h"
#include "engine/FactorField.h"
#include "engine/Search.h"
#include "text/Conversion.h"

namespace sorvanta {

bool TRecordingDialogs::Confirm(std::string_view question) {
    Questions.emplace_back(question);
    return Answer;
}

void TRecordingDialogs::ShowMessage(std::string_view message) {
    Messages.emplace_back(message);
}

std::string CircleConditionsQuestion(const TDesignConditions& design) {
    std::string question = "円弧条件は下記で間違いないですか。\r\r";
    question += "(1)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (標高)= " + design.NeverCutElevation + " m\r";
    question += design.NeverCutLineEnabled ? "(2)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (任意):指定有り\r"
                                           : "(2)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (任意):指定なし\r";
    question += design.MustCutPointEnabled ? "(3)ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意):指定有り"
                                           : "(3)ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意):指定なし";
    return question;
}

namespace {

// The grid-point mesh count when the run will map grid points with it.
std::optional<int> AcceptedGridFsMeshCount(const TAnalysisOptions& options) {
    if (!options.GridFsEnabled) return std::nullopt;
    const auto n = TryStrToInt(options.GridFsMeshCount);
    if (!n || *n < 1 || *n > MaxGridFsMeshCount) return std::nullopt;
    return n;
}

// Lines are read from left to right: a segment whose X decreases gives no
// elevation, so a line entered from right to left would silently count as
// flat, and a ground surface so entered has no centre above it at all (each
// centre must lie between its first and its last point).
template <class Refuse>
void CheckLineDirections(const TTypedDesign& design, int layers, Refuse&& refuse) {
    auto reversed = [](const TPolyline& line) {
        return line.size() >= 2 && line.back().X < line.front().X;
    };
    for (int n = 1; n <= layers; ++n) {
        if (!reversed(design.Boundaries[static_cast<std::size_t>(n - 1)])) continue;
        const std::string number = std::to_string(n);
        refuse("[" + number + "]層目の座標データが右から左の順です。\r[" + number +
               "]層目の座標データを左から右の順に入力して下さい。");
    }
    if (design.WaterEnabled && reversed(design.WaterTable)) {
        refuse(
            "地下水の座標データが右から左の順です。\r座標データを左から右の順に入力して下さい。");
    }
}

double SliceEstimate(const TPolyline& ground, double sliceWidth) {
    if (ground.size() < 2 || !(sliceWidth > 0)) return 0;
    const auto [left, right] = std::minmax_element(
        ground.begin(), ground.end(), [](const TPoint& a, const TPoint& b) { return a.X < b.X; });
    return (right->X - left->X) / sliceWidth;
}

// The work estimate over the ground surface as read; `meshCount` is the
// centre table's, as far as it converts.
double WorkEstimate(const TPolyline& ground, std::optional<int> meshCount,
                    const TAnalysisOptions& options, double sliceWidth) {
    const double slices = SliceEstimate(ground, sliceWidth);
    if (ground.size() < 2 || !(slices > 0)) return 0;
    double left = ground.front().X, right = left, low = ground.front().Y, high = low;
    for (const TPoint& g : ground) {
        left = std::min(left, g.X);
        right = std::max(right, g.X);
        low = std::min(low, g.Y);
        high = std::max(high, g.Y);
    }
    const double firstPitch = std::fabs(ground.back().X - ground.front().X) / 10;
    const double directions = options.Direction == TSlipDirection::Both ? 2 : 1;
    double centres = 121 * (RefinementGrids(firstPitch) + RunGridMoveAllowance) * directions;
    if (const auto m = meshCount; m && *m >= 2 && *m <= 10) centres += (*m + 1.0) * (*m + 1);
    if (const auto n = AcceptedGridFsMeshCount(options)) centres += (*n - 1.0) * *n;
    if (options.ContourEnabled) centres += double{ContourMeshNodes} * ContourMeshNodes;
    return slices * centres * CirclesPerCentre(std::max(right - left, high - low), slices);
}

}  // namespace

double SectionSliceEstimate(const TDesignConditions& design, double sliceWidth) {
    return SliceEstimate(ReadPolyline(design.Layers[0].Boundary), sliceWidth);
}

int RefinementGrids(double firstPitch) {
    int grids = 1;
    for (double p = firstPitch; p >= 0.01 && std::isfinite(p) && grids < 1000; p = p / 10 * 2)
        ++grids;
    return grids;
}

double CirclesPerCentre(double extent, double slices) {
    const double allowed = std::clamp(FirstPassSliceBudget / std::max(slices, 1.0),
                                      double{MinFirstPassRadii}, double{MaxFirstPassRadii});
    const double radii = extent / 0.5;
    const double closing = radii > allowed ? std::ceil(std::log2(radii / allowed)) : 0;
    return std::min(radii, allowed) + 9 * closing + 32;
}

double RunWorkEstimate(const TDesignConditions& design, const TAnalysisOptions& options,
                       double sliceWidth) {
    return WorkEstimate(ReadPolyline(design.Layers[0].Boundary),
                        StrictInteger(design, TFieldId::MeshCount), options, sliceWidth);
}

TCheckOutcome PresentCheckResult(const TCheckResult& checks, TUserDialogs& dialogs) {
    TCheckOutcome outcome = TCheckOutcome::Proceed;
    if (!dialogs.Confirm(checks.Question)) outcome = TCheckOutcome::Refuse;
    for (const std::string& fault : checks.Faults) {
        outcome = TCheckOutcome::Refuse;
        dialogs.ShowMessage(fault);
    }
    return outcome;
}

TCheckResult CheckDesignConditions(const TDesignConditions& design,
                                   const TAnalysisOptions& options) {
    TCheckResult checks;
    checks.Model.BuildAnalysisModel(design, options);
    const TAnalysisModel& model = checks.Model;
    // The same conversions as the model's: nothing is left to fail here.
    const TTypedDesign typed = ReadDesign(design);
    checks.Question = CircleConditionsQuestion(design);

    auto refuse = [&](std::string_view message) { checks.Faults.emplace_back(message); };
    auto outside = [](TFieldId id, double value, int layer = -1) {
        return !DesignField(id, layer).Range.Contains(value);
    };
    // The never-cut elevation is judged by the strict rule, also where the
    // model converted it by the aborting one.
    const std::optional<double> elevation = StrictNumber(design, TFieldId::NeverCutElevation);

    // Only layers the model can hold are looked at; a count beyond them is
    // refused below.
    const int layerCount = std::min(typed.LayerCount, MaxLayers);
    for (int n = 1; n <= layerCount; ++n) {
        if (typed.Boundaries[static_cast<std::size_t>(n - 1)].size() <= 1) {
            const std::string number = std::to_string(n);
            refuse("[" + number + "]層目の座標データが未定義です。\r\r[" + number +
                   "]層目の座標データを入力して下さい。");
            break;
        }
    }

    if (typed.WaterEnabled && typed.WaterTable.size() <= 1) {
        refuse("地下水の座標データが未定義です。\r座標データを入力して下さい。");
    }
    if (!elevation) {
        refuse("ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)の座標データが未定義です。\r座標データを入力して下さい。");
    }
    if (typed.NeverCutLineEnabled && typed.MustCutPointEnabled) {
        refuse("[ﾈﾊﾞｰｶｯﾄﾗｲﾝ]と[ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ]は同時に指定できません。\rどちらかを解除して下さい。");
    }
    if (typed.NeverCutLineEnabled && typed.NeverCutLine.size() <= 1) {
        refuse("ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の座標データが未定義です。\r座標データを入力して下さい。");
    }
    if (typed.MustCutPointEnabled && typed.MustCutPoint.empty()) {
        refuse("ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の座標データが未定義です。\r座標データを入力して下さい。");
    }

    if (typed.LoadEnabled) {
        const auto& q = typed.LoadIntensity;
        const auto& xs = typed.LoadStartX;
        const auto& xe = typed.LoadEndX;
        if (q && xs && xe) {
            if (*xs >= *xe) refuse("載荷重の位置データがおかしいです。\rデータを点検して下さい。");
            if (outside(TFieldId::LoadIntensity, *q))
                refuse("載荷重が負です。\rデータを点検して下さい。");
        } else {
            refuse("載荷重のデータがおかしいです。\rデータを点検して下さい。");
        }
    }

    if (outside(TFieldId::MeshPitch, typed.MeshPitch))
        refuse("ﾒｯｼｭﾋﾟｯﾁは0.5以上に設定して下さい。");
    if (outside(TFieldId::MeshCount, typed.MeshCount)) refuse("ﾒｯｼｭ数は2～10に設定して下さい。");

    // Values the engine cannot work with would divide by zero, overrun the
    // layer arrays or never end: refused here, after the checks users know.
    if (outside(TFieldId::LayerCount, typed.LayerCount)) refuse("地層数は1～5に設定して下さい。");
    // With groundwater on, a γw that is not a number would silently weigh the
    // water as nothing.
    if (typed.WaterEnabled) {
        if (!typed.GammaW) {
            refuse("水の単位体積重量(γw)のデータがおかしいです。\rデータを点検して下さい。");
        } else if (outside(TFieldId::GammaW, *typed.GammaW)) {
            // Water of no or negative weight lifts the soil instead of loading it.
            refuse("水の単位体積重量(γw)が0以下です。\r0より大きい値に設定して下さい。");
        }
    }
    // Every |Fs| would pass a required factor of 0 or below.
    if (outside(TFieldId::SafetyFactor, typed.SafetyFactor))
        refuse("必要安全率が0以下です。\r0より大きい値に設定して下さい。");
    // Soil values without physical meaning give factors that look like
    // results (a negative weight, φ of 90° or more, negative cohesion). Each
    // value names the first layer at fault.
    const int layers = typed.LayersInUse;
    auto checkLayers = [&](TFieldId id, double TTypedLayer::*value, std::string_view what,
                           std::string_view fault, std::string_view wanted) {
        for (int n = 1; n <= layers; ++n) {
            if (!outside(id, typed.Layers[static_cast<std::size_t>(n - 1)].*value, n - 1)) continue;
            refuse("[" + std::to_string(n) + "]層目の" + std::string(what) + std::string(fault) +
                   "\r" + std::string(wanted));
            return;
        }
    };
    checkLayers(TFieldId::GammaT, &TTypedLayer::GammaT, "湿潤単位体積重量(γt)", "が0以下です。",
                "0より大きい値に設定して下さい。");
    checkLayers(TFieldId::GammaS, &TTypedLayer::GammaS, "水中単位体積重量(γs)", "が0以下です。",
                "0より大きい値に設定して下さい。");
    checkLayers(TFieldId::Phi, &TTypedLayer::Phi, "剪断抵抗角(φ)", "が範囲外です。",
                "0以上90未満の値に設定して下さい。");
    checkLayers(TFieldId::Cohesion, &TTypedLayer::Cohesion, "粘着力(C)", "が負です。",
                "0以上の値に設定して下さい。");
    CheckLineDirections(typed, layers, refuse);
    // Every circle through a must-cut point below the never-cut elevation
    // passes below that elevation: one of the two must give way.
    if (typed.MustCutPointEnabled) {
        const TPolyline& point = typed.MustCutPoint;
        if (!point.empty() && elevation && point.front().Y < *elevation) {
            refuse(
                "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)がﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)より下です。\r"
                "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄかﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)を修正して下さい。");
        }
    }
    if (!ModelValuesFinite(model)) {
        refuse("数値データに計算できない値があります。\rデータを点検して下さい。");
    }
    const double sliceWidth = typed.MaxSliceWidth;
    const TPolyline& ground = typed.Boundaries[0];
    bool slicesBounded = false;
    if (outside(TFieldId::MaxSliceWidth, sliceWidth)) {
        refuse("土塊分割上限幅は0より大きい値に設定して下さい。");
    } else if (!(SliceEstimate(ground, sliceWidth) <= MaxSlicesPerSection)) {
        refuse("土塊分割上限幅が小さすぎます。\rデータを点検して下さい。");
    } else {
        slicesBounded = true;
    }
    if (options.GridFsEnabled && !AcceptedGridFsMeshCount(options)) {
        refuse("格子点安全率のﾒｯｼｭ数は1～100の整数に設定して下さい。");
    }
    // Grid points multiply the run's work; with contours they are its
    // largest part.
    if (slicesBounded && !(WorkEstimate(ground, StrictInteger(design, TFieldId::MeshCount), options,
                                        sliceWidth) <= MaxRunWork)) {
        refuse(
            "計算量が多すぎます（土塊分割上限幅と格子点安全率のﾒｯｼｭ数）。\r"
            "土塊分割上限幅を大きくするか、格子点安全率のﾒｯｼｭ数を小さくして下さい。");
    }
    // The earthquake case, the countermeasure and the method: at their
    // defaults these find nothing.
    for (const std::string& problem : ReadAnalysisOptions(options).Problems) refuse(problem);
    return checks;
}

}  // namespace sorvanta
