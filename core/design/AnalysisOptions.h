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

    bool operator==(const TAnalysisOptions&) const = default;
};

struct TDrawingOptions {
    bool ShowSliceLines = true;
    bool ShowSliceNumbers = true;
    int PrintMode = 0;  // the radio group's index: 0 colour, 1 black and white
    bool operator==(const TDrawingOptions&) const = default;
};

}  // namespace sorvanta
