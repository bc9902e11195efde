// sorvanta-calc backcalc DESIGN.dat --fs0 F --layer N (--c C | --phi DEG)
// [--centre X Y] [options]: the strengths of one layer that a known slip
// reveals (逆算法), on the critical circle or on the arbitrary point's circle.

#include <cmath>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>

#include "cli/Json.h"
#include "cli/RunSupport.h"
#include "documents/BackcalcPdf.h"
#include "engine/BackCalculation.h"
#include "report/BackcalcReport.h"
#include "run/ArbitraryPoint.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/NumberFormat.h"

namespace sorvanta::cli {
namespace {

constexpr double Degree = std::numbers::pi / 180;

struct TBackcalcOptions {
    TRunCommandOptions Run;
    std::optional<double> Fs0;
    std::optional<int> Layer;
    std::optional<double> Cohesion;
    std::optional<double> Phi;  // degrees
    std::optional<TPoint> Centre;
};

// Own options first; everything else as `run` reads it.
int ParseBackcalcOptions(const TCommand& command, const std::vector<std::string>& args,
                         TBackcalcOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto number = [&](std::optional<double>& into) {
            if (i + 1 >= args.size()) return false;
            into = TryStrToFloat(args[++i]);
            return into && std::isfinite(*into);
        };
        if (arg == "--fs0" || arg == "--c" || arg == "--phi") {
            std::optional<double>& into = arg == "--fs0" ? options.Fs0
                                          : arg == "--c" ? options.Cohesion
                                                         : options.Phi;
            if (!number(into)) return ReportUsageError(command, arg + " の値が数値ではありません");
        } else if (arg == "--layer") {
            std::optional<double> n;
            if (!number(n) || *n != std::floor(*n) || *n < 1 || *n > MaxLayers)
                return ReportUsageError(command, "--layer は 1～5 の層番号で指定して下さい");
            options.Layer = static_cast<int>(*n);
        } else if (arg == "--centre") {
            std::optional<double> x, y;
            if (!number(x) || !number(y))
                return ReportUsageError(command, "--centre X Y の座標が数値ではありません");
            options.Centre = TPoint{*x, *y};
        } else if (const int status = ParseOtherArgument(command, args, i, options.Run);
                   status != ExitSuccess) {
            return status;
        }
    }
    if (const int status = ExpectArguments(command, options.Run.Positionals, 1);
        status != ExitSuccess)
        return status;
    if (!options.Fs0 || !(*options.Fs0 > 0))
        return ReportUsageError(command, "--fs0 に 0 より大きい安全率を指定して下さい");
    if (!options.Layer) return ReportUsageError(command, "--layer に層番号を指定して下さい");
    if (options.Cohesion.has_value() == options.Phi.has_value())
        return ReportUsageError(command, "--c と --phi のどちらか一方を指定して下さい");
    if (options.Cohesion && *options.Cohesion < 0)
        return ReportUsageError(command, "--c は 0 以上の数値で指定して下さい");
    if (options.Phi && !(*options.Phi >= 0 && *options.Phi < 90))
        return ReportUsageError(command, "--phi は 0 以上 90 未満の角度で指定して下さい");
    if (options.Run.TextFile || options.Run.FiguresDir)
        return ReportUsageError(command, "backcalc が書けるのは --json と --pdf だけです");
    return ExitSuccess;
}

std::string Fixed(double v, int decimals) {
    return FormatFloat(decimals == 2 ? "0.00;-0.00" : "0.000;-0.000", v);
}

int RunBackcalc(const TCommand& command, const std::vector<std::string>& args) {
    TBackcalcOptions options;
    if (const int status = ParseBackcalcOptions(command, args, options); status != ExitSuccess)
        return status;

    // The circle: the critical one, or the arbitrary point's.
    TAppState app = StartupState();
    TRunResult run;
    if (const int status = LoadAndRunCalculation(options.Run, app, run); status != ExitSuccess)
        return status;
    const int layers = StrToInt(app.Design.LayerCount);
    if (*options.Layer > layers) {
        return ReportUsageError(command, std::to_string(*options.Layer) +
                                             "層目は有りません（地層数 " + app.Design.LayerCount +
                                             "）");
    }
    std::shared_ptr<const TAnalysisModel> model = run.Model;
    TSlipCircle circle{run.Critical.Xo, run.Critical.Yo, run.Critical.R};
    bool found = run.Outcome == TRunOutcome::Ok;
    if (options.Centre) {
        try {
            const TArbitraryPoint point = CalculateArbitraryPoint(
                app.Design, app.Options, options.Centre->X, options.Centre->Y);
            found = point.Outcome.Status == 1;
            model = point.Model;
            circle = point.Circle.Circle;
        } catch (const ConversionError& e) {
            return ReportError(e.what(), ExitDataError);
        }
    }
    if (!found || !model) return ReportError("逆算する円弧が有りません。", ExitRefused);

    const std::optional<TStrengthLine> line =
        BackCalculate(*model, circle, *options.Layer - 1, *options.Fs0);
    if (!line) return ReportError("この円弧では逆算できません。", ExitRefused);

    std::optional<double> answer;  // φ (degrees) or c
    if (options.Cohesion) {
        if (const auto t = TanPhiFor(*line, *options.Cohesion)) answer = std::atan(*t) / Degree;
    } else if (const auto c = CohesionFor(*line, std::tan(*options.Phi * Degree))) {
        answer = *c;
    }

    const std::string layer = std::to_string(*options.Layer);
    PrintLine("逆算法 Fs0=" + Fixed(*options.Fs0, 3) + "  " + layer + "層目");
    PrintLine("円弧 Xo=" + Fixed(circle.Xo, 2) + " Yo=" + Fixed(circle.Yo, 2) +
              " R=" + Fixed(circle.R, 2));
    PrintLine("Fs0·ΣMo = ΣMr: " + Fixed(line->Fs0 * line->Driving, 2) + " = " +
              Fixed(line->Fixed, 2) + " + " + Fixed(line->PerCohesion, 3) + "·c + " +
              Fixed(line->PerTanPhi, 2) + "·tanφ");
    if (options.Cohesion) {
        PrintLine(answer
                      ? "c=" + Fixed(*options.Cohesion, 2) + " のとき φ=" + Fixed(*answer, 2) + "°"
                      : "c=" + Fixed(*options.Cohesion, 2) + " では正の φ が有りません。");
    } else {
        PrintLine(answer ? "φ=" + Fixed(*options.Phi, 2) + "° のとき c=" + Fixed(*answer, 2)
                         : "φ=" + Fixed(*options.Phi, 2) + "° では正の c が有りません。");
    }

    std::vector<TFileContents> files;
    if (options.Run.JsonFile) {
        TJsonArray table;
        for (int phi = 0; phi < 90; phi += 5) {
            const auto c = CohesionFor(*line, std::tan(phi * Degree));
            table.push_back(TJsonArray{phi, c ? TJsonValue(*c) : TJsonValue(nullptr)});
        }
        TJsonObject given;
        if (options.Cohesion)
            given = {{"c", *options.Cohesion}};
        else
            given = {{"phi", *options.Phi}};
        const TJsonValue json = TJsonObject{
            {"fs0", *options.Fs0},
            {"layer", *options.Layer},
            {"circle", TJsonObject{{"Xo", circle.Xo}, {"Yo", circle.Yo}, {"R", circle.R}}},
            {"line", TJsonObject{{"fixed", line->Fixed},
                                 {"per_cohesion", line->PerCohesion},
                                 {"per_tan_phi", line->PerTanPhi},
                                 {"driving", line->Driving}}},
            {"given", given},
            {options.Cohesion ? "phi" : "c", answer ? TJsonValue(*answer) : TJsonValue(nullptr)},
            {"c_by_phi", table}};
        files.push_back({std::filesystem::path(*options.Run.JsonFile), WriteJson(json)});
    }
    if (options.Run.PdfFile) {
        const TBackcalcInputs inputs{
            *options.Fs0, *options.Layer,
            options.Cohesion ? TBackcalcGiven::Cohesion : TBackcalcGiven::Phi,
            options.Cohesion ? *options.Cohesion : *options.Phi};
        const TBackcalcOutcome outcome = BackcalcOn(*model, circle, inputs);
        try {
            TPDFMaker maker;
            std::ostringstream out;
            PdfBackcalcPage(maker, out, outcome.Report, app.Design.DesignName);
            files.push_back({std::filesystem::path(*options.Run.PdfFile), out.str()});
        } catch (const std::exception& e) {
            return ReportError("ファイル「" + *options.Run.PdfFile + "」を作れません: " + e.what(),
                               ExitDataError);
        }
    }
    try {
        // Made first and written together: a failure leaves both files as they were.
        WriteFilesAtomically(files);
    } catch (const std::exception& e) {
        return ReportError(e.what(), ExitDataError);
    }
    return answer ? ExitSuccess : ExitRefused;
}

const char* const BackcalcHelp =
    "\n逆算法: 既知のすべり（安全率 Fs0）から1つの層の強度を求めます。\n"
    "  --fs0 F          すべり時の安全率（例 0.95～1.00）\n"
    "  --layer N        強度が未知の層（1～5）\n"
    "  --c C | --phi DEG  与える粘着力、または内部摩擦角（もう一方を求める）\n"
    "  --centre X Y     円弧中心（任意点の円弧）。省略すると最少安全率の円弧\n"
    "  --json FILE      c–tanφ の関係を JSON で書く\n"
    "  --pdf FILE       c–tanφ の図と表、入力値を1ページの PDF に書く\n"
    "run のオプション（--direction、--form、--kh など）も使えます。\n"
    "例: sorvanta-calc backcalc design.dat --fs0 1.00 --layer 1 --c 10";

const TCommandRegistration registration{
    {"backcalc", "DESIGN.dat --fs0 F --layer N (--c C | --phi DEG) [--centre X Y] [オプション]",
     "逆算法: 安全率 Fs0 を与える層の強度（c と φ の関係）を求めます。", 45, &RunBackcalc,
     BackcalcHelp}};

}  // namespace
}  // namespace sorvanta::cli
