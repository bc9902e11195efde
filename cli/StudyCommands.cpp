// sorvanta-calc sensitivity | probability DESIGN.dat [options]: the
// uncertainty studies of a design, each point a full critical-circle search.

#include <cmath>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/BatchInterruption.h"
#include "cli/Json.h"
#include "cli/RunSupport.h"
#include "documents/Figures.h"
#include "engine/AnalysisModel.h"
#include "report/StudyCharts.h"
#include "run/Probability.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/NumberFormat.h"

namespace sorvanta::cli {
namespace {

constexpr TFigureSize StudyFigureSize{720, 480};

struct TStudyOptions {
    TRunCommandOptions Run;
    std::optional<std::string> Svg;
    std::optional<std::string> Csv;
    // sensitivity
    double Range = 0.2;
    int Steps = 11;
    // probability
    int Samples = 1000;
    std::uint64_t Seed = 1;
    bool Latin = false;
    std::vector<std::string> Vary;
};

// Own options first; the design options and --json as `run` reads them.
int ParseStudyOptions(const TCommand& command, const std::vector<std::string>& args,
                      bool probability, TStudyOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        auto number = [&]() -> std::optional<double> {
            const auto v = value();
            if (!v) return std::nullopt;
            const auto x = TryStrToFloat(*v);
            return x && std::isfinite(*x) ? x : std::nullopt;
        };
        if (arg == "--svg" || arg == "--csv") {
            const auto v = value();
            if (!v) return ReportUsageError(command, arg + " にファイル名を指定して下さい");
            (arg == "--svg" ? options.Svg : options.Csv) = *v;
        } else if (!probability && arg == "--range") {
            const auto x = number();
            if (!x || !(*x > 0 && *x < 1))
                return ReportUsageError(command, "--range は 0 より大きく 1 より小さい割合です");
            options.Range = *x;
        } else if (!probability && arg == "--steps") {
            const auto x = number();
            if (!x || *x != std::floor(*x) || *x < 3 || *x > 101)
                return ReportUsageError(command, "--steps は 3～101 の整数です");
            options.Steps = static_cast<int>(*x);
        } else if (probability && arg == "--samples") {
            const auto x = number();
            if (!x || *x != std::floor(*x) || *x < 1 || *x > 10000000)
                return ReportUsageError(command, "--samples は 1～10000000 の整数です");
            options.Samples = static_cast<int>(*x);
        } else if (probability && arg == "--seed") {
            const auto x = number();
            if (!x || *x != std::floor(*x) || *x < 0 || *x > 9007199254740992.0)
                return ReportUsageError(command, "--seed は 0 以上の整数です");
            options.Seed = static_cast<std::uint64_t>(*x);
        } else if (probability && arg == "--latin") {
            options.Latin = true;
        } else if (probability && arg == "--vary") {
            const auto v = value();
            if (!v) return ReportUsageError(command, "--vary に指定を書いて下さい");
            options.Vary.push_back(*v);
        } else if (const int status = ParseOtherArgument(command, args, i, options.Run);
                   status != ExitSuccess) {
            return status;
        }
    }
    if (options.Run.TextFile || options.Run.PdfFile || options.Run.FiguresDir)
        return ReportUsageError(command, "書けるのは --json、--csv、--svg です");
    return ExpectArguments(command, options.Run.Positionals, 1);
}

// The design, its options with the flags, the checks, and its model.
int LoadModel(const TStudyOptions& options, TAppState& app, TAnalysisModel& model) {
    const std::string& path = options.Run.Positionals[0];
    if (const int status = LoadDesignForCommand(path, app.Design, app.Options, &app.Axes);
        status != ExitSuccess)
        return status;
    app.Settings = options.Run.Settings;
    ApplyRunSettings(app.Settings, app.Options, app.Drawing);
    ApplyOptionFlags(options.Run, app);
    if (const int status = RunPreCalculationChecks(app.Design, app.Options, path);
        status != ExitSuccess)
        return status;
    model = BuildAnalysisModel(app.Design, app.Options);
    return ExitSuccess;
}

TJsonValue OptionalNumber(const std::optional<double>& v) {
    return v ? TJsonValue(*v) : TJsonValue(nullptr);
}

std::filesystem::path Beside(const std::string& file, const std::string& suffix) {
    std::filesystem::path p(file);
    return p.parent_path() / (p.stem().string() + suffix + p.extension().string());
}

int WriteOutputs(std::vector<TFileContents> files) {
    try {
        WriteFilesAtomically(files);
    } catch (const std::exception& e) {
        return ReportError(e.what(), ExitDataError);
    }
    // Stopped by Ctrl+C or SIGTERM: what was done has been reported and
    // written; end as the signal would have, so the shell sees an interruption.
    if (const int signal = InterruptSignal(); signal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    return ExitSuccess;
}

int RunSensitivity(const TCommand& command, const std::vector<std::string>& args) {
    TStudyOptions options;
    if (const int status = ParseStudyOptions(command, args, false, options); status != ExitSuccess)
        return status;
    TAppState app = StartupState();
    TAnalysisModel model;
    if (const int status = LoadModel(options, app, model); status != ExitSuccess) return status;

    TInterruptHandlers handlers;
    TInterruptProgress interrupt;
    const TSensitivityResult result =
        Sensitivity(model, options.Range, options.Steps, options.Run.Settings.Threads, &interrupt);
    if (!result.BaseFs) return ReportError("該当する滑り方向の円弧が有りません。", ExitRefused);

    for (const std::string& line : SensitivitySummaryLines(result, options.Range)) PrintLine(line);
    if (result.Cancelled) ReportWarning("中断しました。求まった点だけを示します（―は未計算）。");

    std::vector<TFileContents> files;
    if (options.Run.JsonFile) {
        TJsonArray inputs;
        for (const TSensitivityLine& line : result.Lines) {
            TJsonArray change, values, fs;
            for (std::size_t k = 0; k < line.Fs.size(); ++k) {
                change.push_back(line.Change[k]);
                values.push_back(line.Values[k]);
                fs.push_back(OptionalNumber(line.Fs[k]));
            }
            inputs.push_back(TJsonObject{{"name", VariationName(line.Input)},
                                         {"key", VariationKey(line.Input)},
                                         {"base", line.Base},
                                         {"change", change},
                                         {"values", values},
                                         {"fs", fs}});
        }
        files.push_back({*options.Run.JsonFile,
                         WriteJson(TJsonObject{{"base_fs", OptionalNumber(result.BaseFs)},
                                               {"range", options.Range},
                                               {"steps", options.Steps},
                                               {"inputs", inputs}})});
    }
    if (options.Csv) {
        std::string csv = "入力,キー,変化率,値,Fs\n";
        for (const TSensitivityLine& line : result.Lines) {
            for (std::size_t k = 0; k < line.Fs.size(); ++k) {
                csv += VariationName(line.Input) + "," + VariationKey(line.Input) + "," +
                       JsonNumber(line.Change[k]) + "," + JsonNumber(line.Values[k]) + "," +
                       (line.Fs[k] ? JsonNumber(*line.Fs[k]) : std::string()) + "\n";
            }
        }
        files.push_back({*options.Csv, csv});
    }
    if (options.Svg) {
        files.push_back({*options.Svg, ChartToSvg(SensitivitySpider(result), StudyFigureSize)});
        files.push_back({Beside(*options.Svg, "-tornado"),
                         ChartToSvg(SensitivityTornado(result), StudyFigureSize)});
    }
    return WriteOutputs(std::move(files));
}

int RunProbability(const TCommand& command, const std::vector<std::string>& args) {
    TStudyOptions options;
    if (const int status = ParseStudyOptions(command, args, true, options); status != ExitSuccess)
        return status;
    TAppState app = StartupState();
    TAnalysisModel model;
    if (const int status = LoadModel(options, app, model); status != ExitSuccess) return status;

    TVariations variations;
    for (const std::string& spec : options.Vary) {
        if (auto problem = AddVariation(variations, spec))
            return ReportUsageError(command, *problem);
    }
    if (options.Vary.empty() && !app.Options.Variations.empty()) {
        // Read when the design was loaded.
        (void)ReadVariations(variations, app.Options.Variations);
        PrintLine("設計ファイルのばらつき指定を使います: " + VariationsText(variations));
    } else if (options.Vary.empty()) {
        variations = DefaultVariations(model);
        PrintLine(
            "--vary の指定が無いため、各層の c と tanφ を対数正規分布でばらつかせます"
            "（変動係数 c " +
            std::to_string(std::lround(DefaultCohesionCov * 100)) + "%、tanφ " +
            std::to_string(std::lround(DefaultTanPhiCov * 100)) +
            "%）: " + VariationsText(variations));
    }
    if (auto problem = VariationsProblem(model, variations))
        return ReportUsageError(command, *problem);

    TProbabilityOptions study;
    study.Samples = options.Samples;
    study.Seed = options.Seed;
    study.LatinHypercube = options.Latin;
    study.Threads = options.Run.Settings.Threads;
    TInterruptHandlers handlers;
    TInterruptProgress interrupt;
    study.Progress = &interrupt;
    const TProbabilityResult r = ProbabilityOfFailure(model, variations, study);
    const int done = r.Samples + r.NoCircle;
    std::optional<TFosmResult> fosm;
    if (!r.Cancelled) fosm = Fosm(model, variations, study.Threads);
    if (r.Samples == 0 && r.Cancelled) {
        ReportWarning("中断しました。安全率の求まった試行はありません。");
        return WriteOutputs({});
    }
    if (r.Samples == 0) return ReportError("安全率の求まった試行が有りません。", ExitRefused);

    for (const std::string& line :
         ProbabilitySummaryLines(r, fosm, options.Latin, done, options.Seed))
        PrintLine(line);
    if (r.Cancelled)
        ReportWarning("中断しました。" + std::to_string(done) + " 回の試行までの結果です。");

    std::vector<TFileContents> files;
    if (options.Run.JsonFile) {
        TJsonArray histogram, convergence, inputs;
        for (std::size_t k = 0; k < r.Histogram.size(); ++k)
            histogram.push_back(TJsonArray{static_cast<double>(k) * r.HistogramWidth,
                                           static_cast<double>(r.Histogram[k])});
        for (const auto& [n, pf] : r.Convergence) convergence.push_back(TJsonArray{n, pf});
        for (std::size_t i = 0; i < variations.Inputs.size(); ++i) {
            TJsonObject input{{"name", VariationName(variations.Inputs[i])},
                              {"key", VariationKey(variations.Inputs[i])}};
            if (fosm) input.emplace_back("fosm_delta", fosm->Delta[i]);
            inputs.push_back(std::move(input));
        }
        TJsonValue fosmJson = nullptr;
        if (fosm)
            fosmJson = TJsonObject{{"fs_at_means", fosm->FsAtMeans},
                                   {"standard_deviation", fosm->StandardDeviation},
                                   {"beta", fosm->Beta}};
        TJsonObject json{{"samples", options.Samples},
                         {"seed", static_cast<double>(options.Seed)},
                         {"sampling", options.Latin ? "latin_hypercube" : "monte_carlo"},
                         {"variations", VariationsText(variations)},
                         {"inputs", inputs},
                         {"evaluated", r.Samples},
                         {"no_circle", r.NoCircle},
                         {"failures", r.Failures},
                         {"mean", r.Mean},
                         {"standard_deviation", r.StandardDeviation},
                         {"pf", r.Pf},
                         {"pf_low", r.PfLow},
                         {"pf_high", r.PfHigh},
                         {"beta_normal", r.BetaNormal},
                         {"beta_lognormal", r.BetaLognormal},
                         {"fosm", fosmJson},
                         {"histogram", histogram},
                         {"convergence", convergence}};
        if (r.Cancelled) json.emplace_back("interrupted", true);
        files.push_back({*options.Run.JsonFile, WriteJson(std::move(json))});
    }
    if (options.Svg) {
        files.push_back({*options.Svg, ChartToSvg(FsHistogram(r), StudyFigureSize)});
        files.push_back(
            {Beside(*options.Svg, "-convergence"), ChartToSvg(PfConvergence(r), StudyFigureSize)});
    }
    if (options.Csv) {
        std::string csv = "Fs下限,Fs上限,度数\n";
        for (std::size_t k = 0; k < r.Histogram.size(); ++k)
            csv += JsonNumber(static_cast<double>(k) * r.HistogramWidth) + "," +
                   JsonNumber(static_cast<double>(k + 1) * r.HistogramWidth) + "," +
                   std::to_string(r.Histogram[k]) + "\n";
        files.push_back({*options.Csv, csv});
    }
    return WriteOutputs(std::move(files));
}

const char* const SensitivityHelp =
    "\n感度: c、φ、γt（各層）と地下水位を1つずつ ±割合 "
    "の範囲で変え、それぞれ最少安全率を探索します。\n"
    "  --range R        変化幅（既定 0.2 = ±20%。地下水位は地表面の高低差の割合）\n"
    "  --steps N        刻み数（既定 11）\n"
    "  --json FILE      結果を JSON で書く\n"
    "  --csv FILE       表を CSV（UTF-8）で書く\n"
    "  --svg FILE       スパイダー図を書く（トルネード図は FILE-tornado.svg）\n"
    "run のオプション（--direction、--kh、--method など）も使えます。";

const char* const ProbabilityHelp =
    "\n破壊確率: 入力をばらつかせ、試行ごとに最少安全率を探索します（結果は乱数の種で決まり、"
    "スレッド数によりません）。\n"
    "  --samples N      試行数（既定 1000）\n"
    "  --seed S         乱数の種（既定 1）\n"
    "  --latin          ラテン超方格法で標本を取る\n"
    "  --vary SPEC      ばらつき: c1=normal(平均,標準偏差)、phi1=lognormal(平均,標準偏差)、\n"
    "                   tanphi1=…、gamma1=uniform(下限,上限)、water=normal(0,0.5)（水位の移動 "
    "m）、\n"
    "                   rho1=-0.5（1層目の c と φ の相関）。省略すると各層の c と tanφ を\n"
    "                   変動係数 30% と 10% の対数正規分布でばらつかせる\n"
    "  --json FILE      結果（ヒストグラム、収束を含む）を JSON で書く\n"
    "  --svg FILE       Fs の分布と累積を書く（収束は FILE-convergence.svg）\n"
    "  --csv FILE       Fs のヒストグラムを CSV で書く\n"
    "例: sorvanta-calc sample sample.dat\n"
    "    sorvanta-calc probability sample.dat --samples 200 --vary 'c1=lognormal(20,6)' "
    "--vary 'tanphi1=lognormal(0.466,0.047)' --vary rho1=-0.5";

const TCommandRegistration sensitivity{
    {"sensitivity", "DESIGN.dat [--range R] [--steps N] [--svg FILE] [--csv FILE] [--json FILE]",
     "入力値ごとの安全率の感度（スパイダー図、トルネード図）を求めます。", 50, &RunSensitivity,
     SensitivityHelp}};

const TCommandRegistration probability{
    {"probability",
     "DESIGN.dat [--samples N] [--seed S] [--latin] [--vary SPEC]... [--json FILE] [--svg FILE]",
     "入力のばらつきから破壊確率と信頼性指標を求めます。", 55, &RunProbability, ProbabilityHelp}};

}  // namespace
}  // namespace sorvanta::cli
