// sorvanta-calc run DESIGN.dat [options]: a calculation run as a user who
// answers Yes, with the text, JSON and PDF outputs or a short summary.

#include <string>

#include "cli/RunSupport.h"
#include "report/ReportTexts.h"
#include "text/NumberFormat.h"

namespace sorvanta::cli {
namespace {

void PrintSummary(const TAppState& app, const TRunResult& run) {
    const TCriticalCircle& c = run.Critical;
    const TLineList& result = app.Report.Results.ResultList;
    PrintLine(result.at(2));
    // A method other than the ordinary one is named below the sums.
    if (result.size() > 5 && result[5].starts_with("  分割法:")) PrintLine(result[5].substr(2));
    PrintLine("円弧中心 Xo=" + FormatFloat("0.00m;-0.00m", c.Xo) + " Yo=" +
              FormatFloat("0.00m;-0.00m", c.Yo) + "  円弧半径 R=" + FormatFloat("0.00m", c.R));
    PrintLine("円弧起点 (" + FormatFloat("0.00;-0.00", c.Xb) + ", " +
              FormatFloat("0.00;-0.00", c.Yb) + ")  円弧終点 (" + FormatFloat("0.00;-0.00", c.Xe) +
              ", " + FormatFloat("0.00;-0.00", c.Ye) + ")");
    PrintLine("判定: " + VerdictText(run.Judgement.Verdict) + "（必要安全率 " +
              RequiredFsText(app, run) + "）");
}

int RunRun(const TCommand& command, const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    TRunCommandOptions options;
    options.AllMethods = TakeAllMethodsFlag(args);
    if (const int status = ParseRunOptions(command, args, options); status != ExitSuccess)
        return status;
    if (const int status = ExpectArguments(command, options.Positionals, 1); status != ExitSuccess)
        return status;

    TAppState app = StartupState();
    TRunResult run;
    if (const int status = LoadAndRunCalculation(options, app, run); status != ExitSuccess)
        return status;
    if (const int status = WriteRunOutputs(app, run, options, false); status != ExitSuccess)
        return status;
    if (run.Outcome != TRunOutcome::Ok) return ExitRefused;
    if (!options.TextFile && !options.JsonFile) PrintSummary(app, run);
    if (options.AllMethods) PrintMethodComparison(app, run, false);
    return ExitSuccess;
}

const TCommandRegistration registration{
    {"run", "DESIGN.dat [オプション]",
     "計算を実行します（確認には「はい」で答えます）。--text FILE、--json FILE、--pdf FILE "
     "で結果を、--figures DIR で図を書きます。--all-methods "
     "で最少安全率の円弧の安全率を全分割法で比較します。",
     30, &RunRun, RunOptionsHelp}};

}  // namespace
}  // namespace sorvanta::cli
