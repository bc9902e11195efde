#pragma once
// Mouse digitising on the design preview, kept free of widgets: the kind being
// digitised, whether it is active, and the floating point that follows the
// pointer as the last point of the kind's series.

#include <array>
#include <optional>
#include <string>

#include "design/DesignConditions.h"
#include "views/ChartModel.h"

namespace sorvanta {

class TDigitiser {
  public:
    struct TStart {
        bool Started = false;
        // Refused: the layer (0-based) whose data is missing, and the message.
        int MissingLayer = -1;
        std::string Message;
    };
    struct TPointResult {
        bool Accepted = false;  // digitising was active for the kind
        bool Ended = false;     // digitising ended with this point
        std::string Message;    // a refused merge ("\r" is a line break)
    };

    // StartDigitising: for layers 2 to 5 every layer above needs two usable
    // points. Resets the kind's table to the placeholder row and gives its
    // series one floating point.
    TStart Start(TChartModel& preview, TDesignConditions& design, TFigureKind kind);
    // TrackPointer: the floating point follows the pointer.
    void Track(TChartModel& preview, double x, double y);
    // DigitisePoint: fixes the floating point at (x, y) and rewrites the table
    // in "0.0"; ends at the kind's limit or with the last point (right button),
    // which merges lower boundaries and the water line with the line above.
    TPointResult Point(TChartModel& preview, TDesignConditions& design, double x, double y,
                       bool last);
    void Stop(TFigureKind kind) { active_[static_cast<std::size_t>(kind)] = false; }
    // Every kind inactive (a run that starts).
    void StopAll() { active_.fill(false); }

    [[nodiscard]] TFigureKind Kind() const { return kind_; }
    [[nodiscard]] bool Active() const { return active_[static_cast<std::size_t>(kind_)]; }
    [[nodiscard]] bool Active(TFigureKind kind) const {
        return active_[static_cast<std::size_t>(kind)];
    }

    // Points a kind takes at most.
    [[nodiscard]] static int Limit(TFigureKind kind);
    // "[2]層目の座標データが未定義です。\r\r先に、[2]層目の座標データを入力して下さい。"
    [[nodiscard]] static std::string MissingLayerMessage(int layerNumber);

  private:
    void End(TChartModel& preview, const TDesignConditions& design);
    // The kind's series: the fixed points and the floating one. Rebuilt each
    // time, so a redraw of the preview meanwhile loses nothing.
    void ShowPoints(TChartModel& preview) const;

    TFigureKind kind_ = fkLayer1;
    std::array<bool, FigureKindCount> active_{};
    TPolyline fixed_;  // points fixed so far for kind_
    double pointerX_ = 0;
    double pointerY_ = 0;
};

}  // namespace sorvanta
