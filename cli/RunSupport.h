#pragma once
// What `run`, `arbitrary` and `check` share: the run options, the state a run
// writes (as the desktop program holds it), the run as a user who answers Yes,
// and the outputs.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "report/RunReport.h"
#include "run/AppState.h"
#include "run/MethodComparison.h"
#include "run/ResultTables.h"
#include "run/RunSettings.h"
#include "text/TextFile.h"
#include "views/ChartModel.h"

namespace sorvanta::cli {

// The options' settings before any option is read: clockwise, moment form,
// no grid points or contours, slice lines and numbers drawn, every core.
[[nodiscard]] TRunSettings DefaultRunSettings();

struct TRunCommandOptions {
    std::vector<std::string> Positionals;
    // Every design setting the options name is set, to its option's default
    // when not given, so a run never depends on what the design held.
    TRunSettings Settings = DefaultRunSettings();
    std::optional<std::string> TextFile;
    std::optional<std::string> JsonFile;
    std::optional<std::string> PdfFile;
    std::optional<std::string> FiguresDir;
    // The analysis options the flags give (--kh, --case, …, each named as
    // its key in the design file), as (key, text) in the order given. They
    // override the design file's options for the run.
    std::vector<std::pair<std::string, std::string>> OptionFlags;
    // --required-fs-normal: the design's SafetyFactor for the run.
    std::optional<std::string> RequiredFsNormal;
    // --all-methods (run and arbitrary): every method's factor on the
    // reported circle, on stdout and as the JSON's "methods".
    bool AllMethods = false;
};

// Takes --all-methods out of the arguments of run and arbitrary, before the
// options every run command shares are read; true when it was there.
bool TakeAllMethodsFlag(std::vector<std::string>& args);
// Every method on the circle the command reports: the arbitrary point's
// circle, or the run's critical circle; none without a circle.
[[nodiscard]] std::optional<std::vector<TMethodFs>> CompareReportedMethods(const TAppState& app,
                                                                           const TRunResult& run,
                                                                           bool arbitrary);
// The comparison as a small table on stdout, under the circle it was made on.
void PrintMethodComparison(const TAppState& app, const TRunResult& run, bool arbitrary);

// The required factor the run was judged against, as typed: the design's
// 安全率, or in the 地震時 case the options' one.
[[nodiscard]] std::string RequiredFsText(const TAppState& app, const TRunResult& run);

// Writes the flags' options over those the design file gave.
void ApplyOptionFlags(const TRunCommandOptions& options, TAppState& app);

// "[--direction cw|ccw|both] [--form moment|force] …" for the usage lines.
extern const char* const RunOptionsUsage;
// The options, one per line, for "run --help" and "arbitrary --help".
extern const char* const RunOptionsHelp;

// The usage problem of an option whose value looks like an option.
std::string OptionValueProblem(const std::string& option, const std::string& value);

// Parses options anywhere among the positional arguments. On a bad option
// prints the usage error and returns ExitUsage.
int ParseRunOptions(const TCommand& command, const std::vector<std::string>& args,
                    TRunCommandOptions& options);
// One run option at args[i] (advancing i past its value): --direction,
// --form, --grid-points, --threads, the analysis option flags, the
// switches, and with `outputFiles` the
// --text/--json/--pdf FILE and --figures DIR options. A bad value sets
// `problem`.
enum class TOptionParse { NotRunOption, Parsed, Bad };
TOptionParse ParseRunOption(const std::vector<std::string>& args, std::size_t& i,
                            TRunCommandOptions& options, bool outputFiles, std::string& problem);

// args[i] as ParseRunOptions reads it: a run option (with output files) or a
// positional argument; for commands with options of their own. A bad or
// unknown option prints the usage error and gives ExitUsage.
int ParseOtherArgument(const TCommand& command, const std::vector<std::string>& args,
                       std::size_t& i, TRunCommandOptions& options);

// The application's state as the tool starts: the design of the program's
// start-up, nothing computed.
[[nodiscard]] TAppState StartupState();

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
// `designPath` names the file in a conversion error.
int RunAppCalculation(TAppState& app, const std::string& designPath, TUserDialogs& dialogs,
                      TProgress* progress, TRunResult& result, std::string& message);

// StartCalculation on the app. A conversion error is reported and gives
// ExitDataError with `result` unset.
int RunCalculationForCommand(TAppState& app, const std::string& designPath, TRunResult& result);

// Loads the design named by the first positional argument, applies the
// options and runs the calculation. A design whose load is on gets one warning
// line first: the load enters no calculation. Returns ExitSuccess or the failure status.
int LoadAndRunCalculation(const TRunCommandOptions& options, TAppState& app, TRunResult& result);

// The bytes of the requested JSON, text and PDF outputs (not the figures), as
// WriteRunOutputs writes them. Throws FileError naming the output that cannot
// be made.
std::vector<TFileContents> RunOutputFiles(const TAppState& app, const TRunResult& run,
                                          const TRunCommandOptions& options, bool arbitraryPdf);

// The requested outputs: JSON and the figures whatever the outcome (the
// figures show the charts as they stand); the text file and the PDF only when
// the run found a circle (`arbitraryPdf` picks the arbitrary-point document).
// Returns ExitSuccess or ExitDataError.
int WriteRunOutputs(const TAppState& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf);
// The same without printing: on failure `message` holds the error.
int WriteRunOutputs(const TAppState& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf, std::string& message);

// The pre-calculation checks of the design run with the options, answered
// Yes, messages on stderr. ExitSuccess when the run may proceed, ExitRefused
// when refused, ExitDataError when a value does not convert.
int RunPreCalculationChecks(const TDesignConditions& design, const TAnalysisOptions& options,
                            const std::string& designPath);

}  // namespace sorvanta::cli
