#pragma once
// What `run`, `arbitrary` and `check` share: the run options, the state a run
// writes (as the desktop program holds it), the run as a user who answers Yes,
// and the outputs.

#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "engine/CalculationRun.h"
#include "engine/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta::cli {

struct TRunCommandOptions {
    std::vector<std::string> Positionals;
    int Direction = 0;  // SlipDirection
    int Form = 0;       // StressDisplay
    std::optional<std::string> GridPoints;
    bool Contours = false;
    bool NoSliceLines = false;
    bool NoSliceNumbers = false;
    int Threads = 0;  // 0: all cores
    std::optional<std::string> TextFile;
    std::optional<std::string> JsonFile;
    std::optional<std::string> PdfFile;
};

// "[--direction cw|ccw|both] [--form moment|force] …" for the usage lines.
extern const char* const RunOptionsUsage;
// The options, one per line, for "run --help" and "arbitrary --help".
extern const char* const RunOptionsHelp;

// Parses options anywhere among the positional arguments. On a bad option
// prints the usage error and returns ExitUsage.
int ParseRunOptions(const TCommand& command, const std::vector<std::string>& args,
                    TRunCommandOptions& options);
// One run option at args[i] (advancing i past its value): --direction,
// --form, --grid-points, --threads, the switches, and with `outputFiles` the
// --text/--json/--pdf FILE options. A bad value sets `problem`.
enum class TOptionParse { NotRunOption, Parsed, Bad };
TOptionParse ParseRunOption(const std::vector<std::string>& args, std::size_t& i,
                            TRunCommandOptions& options, bool outputFiles, std::string& problem);
void ApplyRunOptions(const TRunCommandOptions& options, TDesignConditions& design);

// The application's one design, result tables and charts.
struct TBatchApp {
    TDesignConditions Design = StartupDesign();
    TPreviewAxes Axes = SamplePreviewAxes;
    TResultTables Tables;
    TArbitraryTables Arbitrary;
    TChartModel ResultChart = MakeResultChart();
    TChartModel ArbitraryChart = MakeArbitraryChart();
};

// Answers Yes and prints every message on stderr as it comes, its CR line
// breaks as line breaks.
class TStderrDialogs : public TUserDialogs {
public:
    bool Confirm(std::string_view question) override;
    void ShowMessage(std::string_view message) override;
};

// Prints a core message on stderr, CR as a line break.
void PrintMessage(std::string_view message);

// StartCalculation on the app with the given dialogs and progress (may be
// null). A conversion error gives ExitDataError with its text in `message`.
int RunAppCalculation(TBatchApp& app, const TRunCommandOptions& options, TUserDialogs& dialogs,
                      TProgress* progress, TRunResult& result, std::string& message);

// StartCalculation on the app. A conversion error is reported and gives
// ExitDataError with `result` unset.
int RunCalculationForCommand(TBatchApp& app, const TRunCommandOptions& options, TRunResult& result);

// Loads the design named by the first positional argument, applies the
// options and runs the calculation. Returns ExitSuccess or the failure status.
int LoadAndRunCalculation(const TRunCommandOptions& options, TBatchApp& app, TRunResult& result);

// The requested outputs: JSON whatever the outcome; the text file and the PDF
// only when the run found a circle (`arbitraryPdf` picks the arbitrary-point
// document). Returns ExitSuccess or ExitDataError.
int WriteRunOutputs(const TBatchApp& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf);
// The same without printing: on failure `message` holds the error.
int WriteRunOutputs(const TBatchApp& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf, std::string& message);

// The pre-calculation checks of the design, answered Yes, messages on stderr.
// ExitSuccess when the run may proceed, ExitRefused when refused,
// ExitDataError when a value does not convert.
int RunPreCalculationChecks(const TDesignConditions& design);

}  // namespace sorvanta::cli
