// sorvanta-calc arbitrary DESIGN.dat X Y [options]: a calculation run, then the
// arbitrary-point evaluation about the centre (X, Y).

#include <string>

#include "cli/RunSupport.h"
#include "design/DesignFile.h"
#include "report/ArbitraryReport.h"
#include "report/ReportTexts.h"
#include "report/VerdictTexts.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/NumberFormat.h"

namespace sorvanta::cli {
namespace {

void PrintSummary(const TAppState& app, const TArbitraryPoint& point) {
    const TArbitraryOutcome& o = point.Outcome;
    PrintLine("任意点 Xo=" + FormatFloat("0.00m;-0.00m", o.Xo) +
              " Yo=" + FormatFloat("0.00m;-0.00m", o.Yo));
    if (o.Status == 0) return;
    const TLineList& judgement = app.Report.Arbitrary.Circle.JudgementList;
    PrintLine(judgement.at(0));
    // A method other than the ordinary one is named below the factor.
    if (judgement.size() > 1 && judgement[1].starts_with("  分割法:"))
        PrintLine(judgement[1].substr(2));
    PrintLine("円弧半径 R=" + FormatFloat("0.00m", o.R) + "  円弧起点 (" +
              FormatFloat("0.00;-0.00", o.Xb) + ", " + FormatFloat("0.00;-0.00", o.Yb) +
              ")  円弧終点 (" + FormatFloat("0.00;-0.00", o.Xe) + ", " +
              FormatFloat("0.00;-0.00", o.Ye) + ")");
    PrintLine("判定: " + VerdictText(point.Judgement.Verdict) + "（必要安全率 " +
              (point.Model && point.Model->Loads.Kh != 0 ? app.Options.RequiredFsSeismic
                                                         : app.Design.SafetyFactor) +
              "）");
}

int RunArbitrary(const TCommand& command, const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    TRunCommandOptions options;
    options.AllMethods = TakeAllMethodsFlag(args);
    if (const int status = ParseRunOptions(command, args, options); status != ExitSuccess)
        return status;
    if (const int status = ExpectArguments(command, options.Positionals, 3); status != ExitSuccess)
        return status;
    const auto x = TryStrToFloat(options.Positionals[1]);
    const auto y = TryStrToFloat(options.Positionals[2]);
    if (!x || !y) {
        return ReportUsageError(command, "円弧中心の座標が数値ではありません: '" +
                                             ShortenForMessage(options.Positionals[1]) + "', '" +
                                             ShortenForMessage(options.Positionals[2]) + "'");
    }

    TAppState app = StartupState();
    TRunResult run;
    if (const int status = LoadAndRunCalculation(options, app, run); status != ExitSuccess)
        return status;
    if (run.Outcome != TRunOutcome::Ok) {
        const int status = WriteRunOutputs(app, run, options, true);
        return status != ExitSuccess ? status : ExitRefused;
    }

    TArbitraryPoint evaluated;
    try {
        evaluated = CalculateArbitraryPoint(app.Design, app.Options, *x, *y);
    } catch (const ConversionError& e) {
        return ReportError(
            ConversionErrorMessage(options.Positionals[0], LocateConversionError(app.Design, e)),
            ExitDataError);
    }
    WriteArbitraryReport(app.Design, std::move(evaluated), app.Report, nullptr, app.Drawing);
    const TArbitraryPoint& point = *app.Report.ArbitraryPoint;
    if (const int status = WriteRunOutputs(app, run, options, true); status != ExitSuccess)
        return status;
    const TArbitraryOutcome& outcome = point.Outcome;
    if (outcome.Status == 0) {
        // The window shows the reason in its judgement panel.
        PrintMessage(ArbitraryStatusText(outcome));
    }
    if (!options.TextFile && !options.JsonFile) PrintSummary(app, point);
    if (options.AllMethods) PrintMethodComparison(app, run, true);
    return outcome.Status == 0 ? ExitRefused : ExitSuccess;
}

const TCommandRegistration registration{
    {"arbitrary", "DESIGN.dat X Y [オプション]",
     "計算の後、円弧中心 (X, Y) の任意点円弧滑りを計算します。オプションは run と同じです。"
     "--all-methods でその円弧の安全率を全分割法で比較します。",
     40, &RunArbitrary, RunOptionsHelp}};

}  // namespace
}  // namespace sorvanta::cli
