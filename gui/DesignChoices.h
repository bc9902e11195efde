#pragma once
// The suggested items of the design window's editable choice lists and the
// captions of its radio groups. The record keeps whatever text was typed;
// these lists only offer the usual values.

#include <string>
#include <vector>

namespace sorvanta::gui {

// Suggested items of the editable choice lists, in list order.
namespace Choices {
inline const std::vector<std::string> LayerCount{"1", "2", "3", "4", "5"};
inline const std::vector<std::string> GammaW{"10.3", "10.0", "9.8"};
inline const std::vector<std::string> GammaT{"20.0", "19.0", "18.0", "17.0",
                                             "16.0", "15.0", "14.0"};
inline const std::vector<std::string> GammaS{"11.0", "10.0", "9.0", "8.0", "7.0", "6.0", "5.0"};
inline const std::vector<std::string> PhiLayer1{"35", "30", "25", "20", "15", "5", "0"};
inline const std::vector<std::string> PhiLower{"35", "30", "25", "20", "0"};
inline const std::vector<std::string> CohesionLayer1{"40", "30", "20", "10", "0"};
inline const std::vector<std::string> CohesionLower{"30", "20", "10", "0"};
inline const std::vector<std::string> SafetyFactor{"1.10", "1.15", "1.20", "1.25"};
inline const std::vector<std::string> MaxSliceWidth{"3.0", "2.5", "2.0", "1.5", "1.0", "0.5"};
inline const std::vector<std::string> MeshCount{"2", "3", "4", "5"};
inline const std::vector<std::string> GridMeshCount{"0", "10", "15", "20", "25", "30"};
inline const std::vector<std::string> StressType{"全応力", "有効応力"};
inline const std::vector<std::string> StressDisplay{"ﾓｰﾒﾝﾄ", "荷重"};
inline const std::vector<std::string> SlipDirection{"　時計回り最少Fs", "反時計回り最少Fs",
                                                    "最少Fsを探索"};
inline const std::vector<std::string> PrintMode{"ｶﾗｰ", "白黒"};
inline const std::vector<std::string> DesignCase{"常時", "地震時", "両方"};  // TDesignCase
inline const std::vector<std::string> RequiredFsSeismic{"1.00", "1.05", "1.10", "1.20"};
inline const std::vector<std::string> SliceMethod{
    "修正フェレニウス法", "簡便ビショップ法", "簡便ヤンブ法", "スペンサー法",
    "モルゲンシュテルン・プライス法"};                                         // TSliceMethodKind
inline const std::vector<std::string> PoreForm{"(W−u·b)·cosα", "W·cosα−u·l"};  // TPoreForm

}  // namespace Choices

// The presets of "設計指針": each fills the values it names (nullptr leaves
// one as it is). Only the values are stored, never the preset.
struct TDesignGuide {
    const char* Name;
    const char* SafetyFactor;  // 常時 (the design's own)
    const char* RequiredFsSeismic;
    const char* Kh;
    const char* PlannedFs;
};
inline constexpr TDesignGuide DesignGuides[] = {
    {"道路盛土・切土", "1.20", "1.00", nullptr, nullptr},
    {"宅地盛土", "1.50", "1.00", "0.25", nullptr},
    {"地すべり", nullptr, nullptr, nullptr, "1.20"},
    {"任意", nullptr, nullptr, nullptr, nullptr},
};
inline constexpr int FreeDesignGuide = 3;  // "任意": what the window shows until one is picked

// The layer's choice lists differ between layer 1 and the layers below.
inline const std::vector<std::string>& PhiChoices(int layerIndex) {
    return layerIndex == 0 ? Choices::PhiLayer1 : Choices::PhiLower;
}
inline const std::vector<std::string>& CohesionChoices(int layerIndex) {
    return layerIndex == 0 ? Choices::CohesionLayer1 : Choices::CohesionLower;
}

}  // namespace sorvanta::gui
