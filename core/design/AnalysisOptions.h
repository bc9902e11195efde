#pragma once
// The choices of a run that the design file does not store, and the switches
// of the drawings. Each option knows its key and its default, so that a file
// can one day keep the options that differ from their defaults as
// "key=value" lines after the design's own.

#include <string>
#include <string_view>

#include "design/AnalysisChoices.h"
#include "design/DesignConditions.h"

namespace sorvanta {

template <class T>
struct TOptionKey {
    std::string_view Key;
    T Default;
};

struct TAnalysisOptions {
    static constexpr TOptionKey<TFsForm> FormKey{"form", TFsForm::Moment};
    static constexpr TOptionKey<TSlipDirection> DirectionKey{"direction",
                                                             TSlipDirection::Clockwise};
    static constexpr TOptionKey<bool> GridFsKey{"grid-points", false};
    static constexpr TOptionKey<std::string_view> GridFsMeshCountKey{"grid-points-mesh", "20"};
    static constexpr TOptionKey<bool> ContourKey{"contours", false};
    static constexpr TOptionKey<std::string_view> ContourMeshCountKey{"contours-mesh", "20"};

    TFsForm Form = FormKey.Default;  // 応力計算表示
    TSlipDirection Direction = DirectionKey.Default;
    bool GridFsEnabled = GridFsKey.Default;
    std::string GridFsMeshCount{GridFsMeshCountKey.Default};  // the text as picked or typed
    bool ContourEnabled = ContourKey.Default;
    // Offered by the window beside the contours; no run reads it.
    std::string ContourMeshCount{ContourMeshCountKey.Default};

    // The earthquake case and the countermeasure. The design file keeps these
    // (StoredOptions.h) when they differ from their defaults. Numbers are
    // held as typed, so a file reads back byte for byte; an empty text is off.
    static constexpr TOptionKey<std::string_view> KhKey{"kh", "0"};
    static constexpr TOptionKey<TDesignCase> CaseKey{"case", TDesignCase::Normal};
    static constexpr TOptionKey<std::string_view> RequiredFsSeismicKey{"required-fs-seismic",
                                                                       "1.00"};
    static constexpr TOptionKey<std::string_view> PlannedFsKey{"planned-fs", ""};
    static constexpr TOptionKey<std::string_view> AnchorAngleKey{"anchor-angle", ""};
    static constexpr TOptionKey<std::string_view> PilePitchKey{"pile-pitch", ""};
    static constexpr TOptionKey<std::string_view> AnchorXKey{"anchor-x", ""};
    static constexpr TOptionKey<bool> LoadInAnalysisKey{"load-in-analysis", false};
    static constexpr TOptionKey<TSliceMethodKind> MethodKey{"method", TSliceMethodKind::Ordinary};
    static constexpr TOptionKey<TPoreForm> PoreFormKey{"pore-pressure", TPoreForm::Modified};
    static constexpr TOptionKey<std::string_view> VariationsKey{"vary", ""};

    std::string Kh{KhKey.Default};  // design horizontal seismic coefficient; 0: no earthquake
    TDesignCase Case = CaseKey.Default;
    // The 常時 factor is the design's own SafetyFactor.
    std::string RequiredFsSeismic{RequiredFsSeismicKey.Default};
    std::string PlannedFs{PlannedFsKey.Default};      // 計画安全率 PFs
    std::string AnchorAngle{AnchorAngleKey.Default};  // degrees below horizontal
    std::string PilePitch{PilePitchKey.Default};      // m
    // X where the anchor crosses the slip surface: α there enters the anchor force.
    std::string AnchorX{AnchorXKey.Default};
    bool LoadInAnalysis = LoadInAnalysisKey.Default;  // the surcharge counts in Fs
    // The method of slices and the pore pressure's form (kept like the above).
    TSliceMethodKind Method = MethodKey.Default;
    TPoreForm PoreForm = PoreFormKey.Default;
    // The uncertain inputs of a probability study, in their list form
    // ("c1=normal(20,4);rho1=-0.5"); empty: the study's defaults.
    std::string Variations{VariationsKey.Default};

    bool operator==(const TAnalysisOptions&) const = default;
};

struct TDrawingOptions {
    bool ShowSliceLines = true;
    bool ShowSliceNumbers = true;
    int PrintMode = 0;  // the radio group's index: 0 colour, 1 black and white
    bool operator==(const TDrawingOptions&) const = default;
};

}  // namespace sorvanta
