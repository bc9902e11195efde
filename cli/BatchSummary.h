#pragma once
// The summary of `batch`: one row per design, as RFC 4180 CSV (UTF-8 with a
// byte order mark, CR LF, for a Japanese spreadsheet program) and as JSON
// Lines. Rows are appended one whole line at a time and flushed, so a file cut
// short by an interruption still ends with a complete row.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/CalculationReport.h"
#include "run/CalculationRun.h"

namespace sorvanta::cli {

enum class TBatchOutcome : std::uint8_t {
    Ok,
    Refused,      // the checks refused the design
    NoCircle,     // no qualifying circle
    Unreadable,   // the file cannot be read or a value does not convert
    OutputError,  // the run succeeded, an output could not be written
    Cancelled,    // stopped by an interruption while it ran
};

// "ok", "refused", "no_circle", "unreadable", "output_error", "cancelled".
const char* BatchOutcomeName(TBatchOutcome outcome);

// The columns a batch adds on its command line's asking: the 地震時 case's
// (--case both or seismic), the restraining forces (--planned-fs), and the
// method of slices with the pore pressure's form (--method or
// --pore-pressure other than the default). A batch that asks for none
// writes the summary it always has.
struct TSummaryColumns {
    bool Seismic = false;
    bool Force = false;
    bool Method = false;
    [[nodiscard]] bool Any() const { return Seismic || Force || Method; }
};

// One case's figures for those columns.
struct TCaseFigures {
    double Kh = 0;
    std::optional<double> Fs;  // unset without a critical circle
    std::optional<double> RequiredFs;
    TVerdict Verdict = TVerdict::NoCircle;
    std::optional<double> Pr;      // of the critical circle
    std::optional<double> PrMost;  // the largest of the search
};

[[nodiscard]] TCaseFigures CaseFiguresOf(const TRunResult& run);

struct TBatchRow {
    std::size_t Position = 0;  // in the sorted list of every design, from 0
    std::string Path;
    TBatchOutcome Outcome = TBatchOutcome::Unreadable;
    // The critical circle and its judgement; unset without one.
    std::optional<TCriticalCircle> Circle;
    TVerdict Verdict = TVerdict::NoCircle;
    std::string Message;  // the run's messages or the error, on one line
    double Seconds = 0;
    bool LoadOn = false;  // the design's load is on (not a summary column)
    TSummaryColumns Columns;
    // The method and pore-pressure form each design ran with (its own block
    // under the command line's options); unset when it could not be read.
    std::optional<TSliceMethodKind> Method;
    std::optional<TPoreForm> PoreForm;
    // The run's own case (that of the columns above) and the 地震時 case,
    // set by SetCircle.
    std::optional<TCaseFigures> Main, Seismic;
};

// The critical circle and its judgement from the report of a run that found
// a circle, with the figures of its cases.
void SetCircle(TBatchRow& row, const TCalculationReport& report);

// Messages joined on one line: CR and LF runs become one blank, messages are
// separated by " / ".
std::string OneLine(const std::vector<std::string>& messages);

// Column captions; `form` 0 moment (Mr, Mo), 1 force (Fr, Fo). The asked-for
// columns follow the ordinary ones.
std::vector<std::string> SummaryHeader(int form, TSummaryColumns columns = {});
std::vector<std::string> SummaryCells(const TBatchRow& row);

// One CSV record with CR LF; a cell holding a comma, a double quote, CR or LF
// is quoted, inner quotes doubled.
std::string CsvRecord(const std::vector<std::string>& cells);
// One JSON Lines record with LF: the same values, numbers as numbers (rounded
// as the CSV shows them), empty cells as null.
std::string JsonLinesRecord(const TBatchRow& row);

// A summary file written line by line. Opening truncates it.
class TSummaryFile {
  public:
    TSummaryFile() = default;
    TSummaryFile(const TSummaryFile&) = delete;
    TSummaryFile& operator=(const TSummaryFile&) = delete;
    ~TSummaryFile();

    // Takes the file for this batch alone (a lock held until Close: a second
    // batch given the same summary is refused, never lets the two tear each
    // other's rows), then empties it. False with `problem` set when the file
    // cannot be created or another batch holds it; the file is then untouched.
    bool Open(const std::filesystem::path& path, std::string& problem);
    // Writes the whole line and flushes it. False (and the file is not
    // written any further) once a write has failed.
    bool Append(std::string_view line);
    // False when the file was not written completely.
    bool Close();
    [[nodiscard]] bool IsOpen() const { return file_ != nullptr; }

  private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace sorvanta::cli
