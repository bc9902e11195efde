#pragma once
// The analysis options that the design file keeps, once: key, name in the
// messages, window control, how the text is read and what it may hold. The
// file's options block, the command line's flags and the window walk this
// table. An option joins the file by a row here and never changes a file
// that leaves it at its default.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/AnalysisOptions.h"
#include "design/DesignFields.h"

namespace sorvanta {

// What an option holds, and so how its value is written.
enum class TOptionValue : std::uint8_t {
    Number,  // the text as typed; an optional one may be empty (off)
    Choice,  // one of Items, by index
    Flag,    // "true" or "false"
    List,    // a text of its own syntax, read by Check; empty is off
};

struct TStoredOption {
    std::string_view Key;    // as the file and the command line ("--" + Key) name it
    std::string Name;        // as the messages name it
    std::string ObjectName;  // the design window's control
    TOptionValue Value = TOptionValue::Number;

    // Number
    std::string TAnalysisOptions::*Text = nullptr;
    bool Optional = false;  // the empty text is allowed and means off
    TFieldRange Range;
    std::string RangeText;  // the range in words, for the messages

    // Choice: the items' keys by index; the record holds an enum.
    std::vector<std::string_view> Items;
    int (*GetIndex)(const TAnalysisOptions&) = nullptr;
    void (*SetIndex)(TAnalysisOptions&, int) = nullptr;

    // Flag
    bool TAnalysisOptions::*Flag = nullptr;

    // List (the text in Text): the problem of a text, or none.
    std::optional<std::string> (*Check)(std::string_view) = nullptr;
};

// Every stored option, in the order the file writes them.
[[nodiscard]] const std::vector<TStoredOption>& StoredOptions();
[[nodiscard]] const TStoredOption* FindStoredOption(std::string_view key);

// The option's value as the file writes it.
[[nodiscard]] std::string StoredOptionText(const TAnalysisOptions& options,
                                           const TStoredOption& option);
[[nodiscard]] bool IsDefault(const TAnalysisOptions& options, const TStoredOption& option);

// Sets the option from its written text. A text it may not hold leaves the
// options alone and gives the problem, one Japanese sentence naming the
// option and quoting the text.
[[nodiscard]] std::optional<std::string> SetStoredOption(TAnalysisOptions& options,
                                                         const TStoredOption& option,
                                                         std::string_view text);
// The problem of the value the option holds, as SetStoredOption would see it.
[[nodiscard]] std::optional<std::string> StoredOptionProblem(const TAnalysisOptions& options,
                                                             const TStoredOption& option);

// Every stored option back to its default; the others keep their values.
void ResetStoredOptions(TAnalysisOptions& options);

// The marker line that opens the block after the design's own lines.
inline constexpr std::string_view OptionsBlockMarker = "[sorvanta options]";

// The block: the marker and one "key=value" line per option that differs
// from its default; no line at all when none does.
[[nodiscard]] std::vector<std::string> OptionsBlockLines(const TAnalysisOptions& options);

// The stored options as numbers and choices, for a run. Off values are unset.
struct TTypedAnalysisOptions {
    double Kh = 0;
    TDesignCase Case = TDesignCase::Normal;
    double RequiredFsSeismic = 1.0;
    std::optional<double> PlannedFs;
    std::optional<double> AnchorAngle;  // degrees below horizontal
    std::optional<double> PilePitch;    // m
    std::optional<double> AnchorX;      // where the anchor crosses the slip surface
    bool LoadInAnalysis = false;
};

struct TAnalysisOptionsReading {
    TTypedAnalysisOptions Values;  // meaningful when Problems is empty
    // One Japanese message per fault, in table order, then the faults of
    // options taken together.
    std::vector<std::string> Problems;
    explicit operator bool() const { return Problems.empty(); }
};

[[nodiscard]] TAnalysisOptionsReading ReadAnalysisOptions(const TAnalysisOptions& options);

}  // namespace sorvanta
