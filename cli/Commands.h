#pragma once
// sorvanta-calc: a thin shell over the core. Every command lives in its own
// file and registers itself with one line:
//
//   static const TCommandRegistration registration{
//       {"check", "DESIGN.dat", "設計条件ファイルを読み込み、…", 20, &RunCheck}};
//
// Messages go to stderr one line each, as "sorvanta-calc: エラー: …"; the
// Japanese texts of the core are printed as they are (UTF-8).

#include <string>
#include <string_view>
#include <vector>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "text/Conversion.h"

namespace sorvanta::cli {

// Exit status of every command.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;    // the checks refused the design, or no circle was found
inline constexpr int ExitDataError = 2;  // the design file cannot be read or written, or a value
                                         // cannot be converted
inline constexpr int ExitUsage = 3;      // bad command line

inline constexpr std::string_view ProgramName = "sorvanta-calc";

struct TCommand;
// Runs a command with the arguments after its name; returns the exit status.
using TCommandRun = int (*)(const TCommand& command, const std::vector<std::string>& args);

struct TCommand {
    std::string_view Name;       // "check"
    std::string_view Arguments;  // "DESIGN.dat", for the usage line
    std::string_view Summary;    // one Japanese line for --help
    int Order = 0;               // place in the --help list
    TCommandRun Run = nullptr;
    std::string_view Details;  // further lines for "COMMAND --help"
};

class TCommandRegistration {
  public:
    explicit TCommandRegistration(const TCommand& command);
};

// Registered commands in --help order.
const std::vector<TCommand>& Commands();
const TCommand* FindCommand(std::string_view name);

// "sorvanta-calc check DESIGN.dat"
std::string UsageLine(const TCommand& command);

// Prints "sorvanta-calc: エラー: message" on stderr (a "\r" line break of a
// core message becomes a blank, so every error stays one line; control
// characters and bytes that are not UTF-8 are escaped as "\xNN") and returns
// `exitStatus`.
int ReportError(std::string_view message, int exitStatus);
// Prints "sorvanta-calc: 警告: message" on stderr, one line as ReportError.
void ReportWarning(std::string_view message);
// A usage error of `command`: the problem and the command's usage, one line.
int ReportUsageError(const TCommand& command, std::string_view problem);
// Prints one line on stdout (control characters escaped, line breaks kept).
void PrintLine(std::string_view text);
// Columns a UTF-8 text takes on a terminal: full-width characters count 2.
std::size_t DisplayWidth(std::string_view text);

// The design as the desktop program holds it after start-up: the defaults,
// then the sample design.
TDesignConditions StartupDesign();

// Loads `path` into `design` and `options` (fields not in the file keep their
// values). On failure prints the error naming the file and returns
// ExitDataError, both left as they were; ExitSuccess otherwise.
int LoadDesignForCommand(const std::string& path, TDesignConditions& design,
                         TAnalysisOptions& options, TPreviewAxes* axes = nullptr);
// The same without printing: on failure `message` holds the error.
int LoadDesign(const std::string& path, TDesignConditions& design, TAnalysisOptions& options,
               TPreviewAxes* axes, std::string& message);

// A conversion error of a run on the design loaded from `path`: with the
// field located, "PATH: N行目: FIELD: 'text' は有効な数値ではありません。".
std::string ConversionErrorMessage(const std::string& path, const ConversionError& error);

// "--name": an option, never the value of the option before it (--json --text
// would write a file called "--text").
bool LooksLikeOption(std::string_view value);

// Exactly `count` positional arguments, or a usage error (returns ExitUsage).
// Returns ExitSuccess when the count is right.
int ExpectArguments(const TCommand& command, const std::vector<std::string>& args,
                    std::size_t count);

}  // namespace sorvanta::cli
