#pragma once
// The fields of the design conditions file, once: in file order, with the name
// the messages give them, the design window's control, how a run converts
// their text and the range the checks accept. The file's reader and writer
// walk this table; the window and the checks look their fields up in it.
// The suggested items of the choice lists belong to the window, not here.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/DesignConditions.h"

namespace sorvanta {

enum class TFieldId : std::uint8_t {
    LayerCount,
    WaterEnabled,
    GammaW,
    GammaT,  // per layer
    GammaS,
    Phi,
    Cohesion,
    Boundary,  // per layer
    WaterTable,
    StressType,
    SafetyFactor,
    MaxSliceWidth,
    MeshPitch,
    MeshCount,
    ShowSafetyFactors,
    ShowCalculationProcess,
    NeverCutElevation,
    NeverCutLineEnabled,
    NeverCutLine,
    MustCutPointEnabled,
    MustCutPoint,
    LoadEnabled,
    LoadIntensity,
    LoadStartX,
    LoadEndX,
};

// What a field holds, and so how its file lines look.
enum class TFieldValue : std::uint8_t {
    Text,   // one line, the text verbatim
    Flag,   // one line, "TRUE" or "FALSE"
    Index,  // one line, the radio item's index as an integer
    Table,  // the row count R (heading row included), then R - 1 comma-text rows
};

// How a run converts the field's text (text fields only).
enum class TFieldRule : std::uint8_t {
    None,      // never converted (the optional load of the preview aside)
    Strict,    // a failure counts as "not a number", reported by the checks
    Aborting,  // a failure stops the run with ConversionError
};

// Values the checks accept; a bound that is not set is open.
struct TFieldRange {
    double Min = -std::numeric_limits<double>::infinity();
    double Max = std::numeric_limits<double>::infinity();
    bool MinOpen = false;  // Min itself is refused
    bool MaxOpen = false;  // Max itself is refused
    [[nodiscard]] bool Contains(double v) const {
        return (MinOpen ? v > Min : v >= Min) && (MaxOpen ? v < Max : v <= Max);
    }
};

struct TDesignField {
    TFieldId Id = TFieldId::LayerCount;
    int Layer = -1;          // 0-based layer of a per-layer field, -1 otherwise
    std::string Name;        // as the load's and the run's messages name it
    std::string ObjectName;  // the design window's control
    TFieldValue Value = TFieldValue::Text;
    bool Integer = false;  // a text that holds a whole number
    TFieldRule Rule = TFieldRule::None;
    TFieldRange Range;
    int RowLimit = 0;  // tables: rows kept from a file

    // Where the value lives in the record; exactly one applies, by Value.
    std::string TDesignConditions::*Text = nullptr;
    std::string TSoilLayer::*LayerText = nullptr;
    bool TDesignConditions::*Flag = nullptr;
    int TDesignConditions::*Index = nullptr;
    TCoordinateTable TDesignConditions::*Table = nullptr;
    TCoordinateTable TSoilLayer::*LayerTable = nullptr;
};

// Every field of the file, in file order (per-layer fields layer by layer, as
// the file holds them).
[[nodiscard]] const std::vector<TDesignField>& DesignFields();
// The field `id` (of layer `layer` for per-layer fields).
[[nodiscard]] const TDesignField& DesignField(TFieldId id, int layer = -1);

// Access to a field's value in a record; the field must hold that kind.
[[nodiscard]] const std::string& FieldText(const TDesignConditions& design, const TDesignField& f);
[[nodiscard]] std::string& FieldText(TDesignConditions& design, const TDesignField& f);
[[nodiscard]] const TCoordinateTable& FieldTable(const TDesignConditions& design,
                                                 const TDesignField& f);
[[nodiscard]] TCoordinateTable& FieldTable(TDesignConditions& design, const TDesignField& f);

// The strict conversions of a field's text (never throw).
[[nodiscard]] std::optional<double> StrictNumber(const TDesignConditions& design, TFieldId id,
                                                 int layer = -1);
[[nodiscard]] std::optional<int> StrictInteger(const TDesignConditions& design, TFieldId id,
                                               int layer = -1);

// The first line of each field in the file the program writes for `design`,
// by DesignFields() position (tables push the fields after them down).
[[nodiscard]] std::vector<int> DesignFieldLines(const TDesignConditions& design);

}  // namespace sorvanta
