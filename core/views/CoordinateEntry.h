#pragma once
// What the coordinate entry windows do to the design, kept free of widgets.

#include <array>
#include <string>

#include "design/DesignConditions.h"
#include "views/ChartModel.h"

namespace sorvanta {

// The tables the coordinate entry window edits, in the order of their titles.
inline constexpr std::array<TFigureKind, 8> EntryKinds = TableKinds;
inline constexpr std::array<const char*, 8> EntryTitles{
    "1層目", "2層目", "3層目", "4層目", "5層目", "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ", "ﾈﾊﾞｰｶｯﾄﾗｲﾝ", "地下水位"};

// The title of a kind's table; the kind of a title (an unknown title is layer 1).
std::string EntryTitle(TFigureKind kind);
TFigureKind EntryKindOfTitle(const std::string& title);

// Range of the up-down position (rows less one) for a kind's table.
struct TRowRange {
    int Min = 0;
    int Max = 0;
};
TRowRange EntryRowRange(TFigureKind kind);

// Renumbers the No. column 0, 1, 2 ...
void RenumberRows(TCoordinateTable& table);

// "地層座標転記": layer 1, must-cut point and never-cut line take the leading
// usable rows (unchanged when the first row is not usable); lower layers and
// the water line are merged with the line above. Returns a Japanese message
// when a merge is refused, the design then unchanged.
[[nodiscard]] std::string WriteBackEntry(TDesignConditions& design, TFigureKind kind,
                                         const TCoordinateTable& entry);

// "地形設定": the four rows of a simple slope across 0..xr (xr: the preview's
// vertical axis maximum), toe at y0, gradient 1:n, height h; the layer 1
// series is replaced by the same points.
void SetSimpleGround(TDesignConditions& design, TChartModel& preview, double y0, double n, double h,
                     double xr);

}  // namespace sorvanta
