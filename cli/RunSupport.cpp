#include "cli/RunSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <sstream>

#include "cli/CaseJson.h"
#include "cli/Json.h"
#include "design/DesignFile.h"
#include "design/StoredOptions.h"
#include "documents/Figures.h"
#include "documents/PdfDocument.h"
#include "documents/TextOutput.h"
#include "engine/AnalysisModel.h"
#include "report/MethodTexts.h"
#include "report/ReportTexts.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/NumberFormat.h"
#include "text/TextFile.h"
#include "views/PreviewChart.h"

namespace sorvanta::cli {

const char* const RunOptionsUsage =
    "[--direction cw|ccw|both] [--form moment|force] [--grid-points N] [--contours] "
    "[--no-slice-lines] "
    "[--no-slice-numbers] [--threads N] [--text FILE] [--json FILE] [--pdf FILE] [--figures DIR] "
    "[--kh KH] [--case normal|seismic|both] [--required-fs-normal F] [--required-fs-seismic F] "
    "[--planned-fs PFS] [--anchor-angle DEG --anchor-x X] [--pile-pitch M] [--load-in-analysis] "
    "[--method ordinary|bishop|janbu|spencer|morgenstern-price] "
    "[--pore-pressure modified|conventional]";

const char* const RunOptionsHelp =
    "\nオプション:\n"
    "  --direction cw|ccw|both   すべり方向: 時計回り（既定）、反時計回り、両方向を探索\n"
    "  --form moment|force       安全率の形: モーメント Mr/Mo（既定）、荷重 Fr/Fo\n"
    "  --grid-points N           格子点安全率をメッシュ数 N で計算する\n"
    "  --contours                安全率の等高線を計算する\n"
    "  --no-slice-lines          スライス縦線を描かない\n"
    "  --no-slice-numbers        スライス番号を描かない\n"
    "  --threads N               計算に使うスレッド数（既定: すべてのコア。結果は同じ）\n"
    "  --text FILE               計算書をテキスト（cp932、CR LF）で書く\n"
    "  --json FILE               結果のすべてを JSON（UTF-8）で書く\n"
    "  --pdf FILE                計算書を PDF で書く\n"
    "  --figures DIR             地形図、最少すべり円、任意すべり円を DIR に WMF と SVG で書く\n"
    "\n地震時と対策工（設計条件ファイルの指定に優先します）:\n"
    "  --kh KH                   設計水平震度 kh（0 以上 1 未満。0: 地震時なし）\n"
    "  --case normal|seismic|both  検討ケース: 常時（既定）、地震時、両方\n"
    "  --required-fs-normal F    常時の所要安全率（設計条件の安全率に代えて）\n"
    "  --required-fs-seismic F   地震時の所要安全率（既定 1.00）\n"
    "  --planned-fs PFS          計画安全率 PFs: 必要抑止力を求める\n"
    "  --anchor-angle DEG        アンカー角度（水平から下向きの度。-90 より大きく 90 より小さい）\n"
    "  --anchor-x X              アンカーがすべり面と交わる X 座標（アンカー力 Td を求める）\n"
    "  --pile-pitch M            杭間隔（m）: 杭1本あたりの抑止力にする\n"
    "  --load-in-analysis        載荷重を安全率の計算に含める\n"
    "\n分割法（設計条件ファイルの指定に優先します）:\n"
    "  --method NAME             "
    "ordinary（修正フェレニウス法、既定）、bishop（簡便ビショップ法）、\n"
    "                            janbu（簡便ヤンブ法、補正係数付き）、spencer（スペンサー法）、\n"
    "                            morgenstern-price（モルゲンシュテルン・プライス法、f(x) "
    "は半正弦）\n"
    "  --pore-pressure modified|conventional  間隙水圧: (W−u·b)·cosα（既定）、W·cosα−u·l";

namespace {

// The design window's terrain chart of the loaded design.
TChartModel GroundChart(const TAppState& app) {
    TChartModel ground = MakePreviewChart();
    try {
        DrawPreview(ground, app.Design);
    } catch (const std::exception&) {
        // As in the window: the load outline stays empty, the rest is drawn.
    }
    ground.Bottom = app.Axes.Bottom;
    ground.Left = app.Axes.Left;
    return ground;
}

int UsageError(const TCommand& command, const std::string& problem) {
    return ReportError(problem + "（使い方: " + UsageLine(command) + " " + RunOptionsUsage + "）",
                       ExitUsage);
}

}  // namespace

std::string OptionValueProblem(const std::string& option, const std::string& value) {
    return option + " に値がありません（'" + ShortenForMessage(value) +
           "' はオプションです。その名前のファイルは ./" + ShortenForMessage(value) +
           " と書いて下さい）。";
}

TOptionParse ParseRunOption(const std::vector<std::string>& args, std::size_t& i,
                            TRunCommandOptions& options, bool outputFiles, std::string& problem) {
    const std::string& arg = args[i];
    TRunSettings& settings = options.Settings;
    if (arg == "--contours") {
        settings.ContourEnabled = true;
        return TOptionParse::Parsed;
    }
    if (arg == "--no-slice-lines") {
        settings.ShowSliceLines = false;
        return TOptionParse::Parsed;
    }
    if (arg == "--no-slice-numbers") {
        settings.ShowSliceNumbers = false;
        return TOptionParse::Parsed;
    }
    // Every option the design file keeps is a flag of the same name.
    // A list (the probability study's variations) has a command of its own.
    const TStoredOption* stored =
        arg.size() > 2 ? FindStoredOption(std::string_view(arg).substr(2)) : nullptr;
    if (stored && stored->Value == TOptionValue::List) stored = nullptr;
    if (stored && stored->Value == TOptionValue::Flag) {
        options.OptionFlags.emplace_back(stored->Key, "true");
        return TOptionParse::Parsed;
    }
    const bool outputFile =
        arg == "--text" || arg == "--json" || arg == "--pdf" || arg == "--figures";
    if (!(arg == "--direction" || arg == "--form" || arg == "--grid-points" || arg == "--threads" ||
          arg == "--required-fs-normal" || stored || (outputFiles && outputFile))) {
        return TOptionParse::NotRunOption;
    }
    if (i + 1 >= args.size()) {
        problem = arg + " に値がありません。";
        return TOptionParse::Bad;
    }
    const std::string& v = args[++i];
    if (LooksLikeOption(v)) {
        problem = OptionValueProblem(arg, v);
        return TOptionParse::Bad;
    }
    if (stored) {
        TAnalysisOptions scratch;
        if (auto bad = SetStoredOption(scratch, *stored, v))
            problem = arg + ": " + *bad;
        else
            options.OptionFlags.emplace_back(stored->Key, v);
    } else if (arg == "--required-fs-normal") {
        const auto f = TryStrToFloat(v);
        if (f && std::isfinite(*f) && *f > 0)
            options.RequiredFsNormal = v;
        else
            problem = arg + ": 常時の所要安全率は0より大きい数値で指定して下さい（'" +
                      ShortenForMessage(v) + "'）。";
    } else if (arg == "--direction") {
        if (v == "cw")
            settings.SlipDirection = TSlipDirection::Clockwise;
        else if (v == "ccw")
            settings.SlipDirection = TSlipDirection::CounterClockwise;
        else if (v == "both")
            settings.SlipDirection = TSlipDirection::Both;
        else
            problem = "--direction は cw、ccw、both のどれかです: '" + ShortenForMessage(v) + "'";
    } else if (arg == "--form") {
        if (v == "moment")
            settings.StressDisplay = TFsForm::Moment;
        else if (v == "force")
            settings.StressDisplay = TFsForm::Force;
        else
            problem = "--form は moment か force です: '" + ShortenForMessage(v) + "'";
    } else if (arg == "--grid-points") {
        // The range is the checks' business; the option only needs a number.
        if (TryStrToInt(v))
            settings.GridFsMeshCount = v;
        else
            problem = "--grid-points は整数です: '" + ShortenForMessage(v) + "'";
    } else if (arg == "--threads") {
        const auto n = TryStrToInt(v);
        if (n && *n >= 1)
            settings.Threads = *n;
        else
            problem = "--threads は1以上の整数です: '" + ShortenForMessage(v) + "'";
    } else if (arg == "--text") {
        options.TextFile = v;
    } else if (arg == "--json") {
        options.JsonFile = v;
    } else if (arg == "--figures") {
        options.FiguresDir = v;
    } else {
        options.PdfFile = v;
    }
    return problem.empty() ? TOptionParse::Parsed : TOptionParse::Bad;
}

int ParseOtherArgument(const TCommand& command, const std::vector<std::string>& args,
                       std::size_t& i, TRunCommandOptions& options) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || arg == "--") {
        options.Positionals.push_back(arg);
        return ExitSuccess;
    }
    std::string problem;
    switch (ParseRunOption(args, i, options, true, problem)) {
        case TOptionParse::Parsed:
            break;
        case TOptionParse::Bad:
            return UsageError(command, problem);
        case TOptionParse::NotRunOption:
            return UsageError(command, "不明なオプションです: '" + ShortenForMessage(arg) + "'");
    }
    return ExitSuccess;
}

int ParseRunOptions(const TCommand& command, const std::vector<std::string>& args,
                    TRunCommandOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i)
        if (const int status = ParseOtherArgument(command, args, i, options); status != ExitSuccess)
            return status;
    return ExitSuccess;
}

TRunSettings DefaultRunSettings() {
    TRunSettings settings;
    settings.SlipDirection = TSlipDirection::Clockwise;
    settings.StressDisplay = TFsForm::Moment;
    settings.ContourEnabled = false;
    settings.ShowSliceLines = true;
    settings.ShowSliceNumbers = true;
    return settings;
}

TAppState StartupState() {
    TAppState app;
    app.Design = StartupDesign();
    return app;
}

void PrintMessage(std::string_view message) {
    std::string text(message);
    for (char& c : text) {
        if (c == '\r') c = '\n';
    }
    text = EscapeForDisplay(text, true) + '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

bool TStderrDialogs::Confirm(std::string_view) {
    return true;
}

void TStderrDialogs::ShowMessage(std::string_view message) {
    PrintMessage(message);
}

int RunAppCalculation(TAppState& app, const std::string& designPath, TUserDialogs& dialogs,
                      TProgress* progress, TRunResult& result, std::string& message) {
    try {
        result = StartCalculation(app, dialogs, progress);
    } catch (const ConversionError& e) {
        message = ConversionErrorMessage(designPath, e);
        return ExitDataError;
    }
    return ExitSuccess;
}

int RunCalculationForCommand(TAppState& app, const std::string& designPath, TRunResult& result) {
    TStderrDialogs dialogs;
    std::string message;
    const int status = RunAppCalculation(app, designPath, dialogs, nullptr, result, message);
    return status == ExitSuccess ? status : ReportError(message, status);
}

int LoadAndRunCalculation(const TRunCommandOptions& options, TAppState& app, TRunResult& result) {
    if (const int status =
            LoadDesignForCommand(options.Positionals[0], app.Design, app.Options, &app.Axes);
        status != ExitSuccess) {
        return status;
    }
    if (app.Design.LoadEnabled && !app.Options.LoadInAnalysis)
        ReportWarning(LoadOutsideCalculationNote);
    app.Settings = options.Settings;
    ApplyRunSettings(app.Settings, app.Options, app.Drawing);
    ApplyOptionFlags(options, app);
    return RunCalculationForCommand(app, options.Positionals[0], result);
}

std::string RequiredFsText(const TAppState& app, const TRunResult& run) {
    return run.Case == TDesignCase::Seismic ? app.Options.RequiredFsSeismic
                                            : app.Design.SafetyFactor;
}

void ApplyOptionFlags(const TRunCommandOptions& options, TAppState& app) {
    for (const auto& [key, text] : options.OptionFlags) {
        // Read when parsed; a text the option cannot hold never gets here.
        if (const TStoredOption* o = FindStoredOption(key))
            (void)SetStoredOption(app.Options, *o, text);
    }
    if (options.RequiredFsNormal) app.Design.SafetyFactor = *options.RequiredFsNormal;
}

int WriteRunOutputs(const TAppState& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf) {
    std::string message;
    const int status = WriteRunOutputs(app, run, options, arbitraryPdf, message);
    return status == ExitSuccess ? status : ReportError(message, status);
}

std::vector<TFileContents> RunOutputFiles(const TAppState& app, const TRunResult& run,
                                          const TRunCommandOptions& options, bool arbitraryPdf) {
    std::vector<TFileContents> files;
    // A document that cannot be made (a design name cp932 cannot hold, a bad
    // SOURCE_DATE_EPOCH) is reported with the file it was meant for.
    const auto make = [&](const std::string& file, const auto& bytes) {
        try {
            files.push_back({std::filesystem::path(file), bytes()});
        } catch (const FileError&) {
            throw;
        } catch (const std::exception& e) {
            throw FileError("ファイル「" + file + "」を作れません: " + e.what());
        }
    };
    if (options.JsonFile) {
        make(*options.JsonFile, [&] {
            TJsonValue json = RunJson(app.Report, run, app.Design.DesignName);
            if (ReportsCases(app.Options)) {
                std::vector<const TRunResult*> cases{&run};
                if (app.Report.SeismicCase) cases.push_back(&app.Report.SeismicCase->Run);
                std::get<TJsonObject>(json.Value)
                    .emplace_back("cases", CasesJson(cases, app.Options));
            }
            if (options.AllMethods) {
                const auto methods = CompareReportedMethods(app, run, arbitraryPdf);
                std::get<TJsonObject>(json.Value)
                    .emplace_back("methods", methods ? MethodsJson(*methods) : TJsonArray{});
            }
            return WriteJson(json);
        });
    }
    if (run.Outcome != TRunOutcome::Ok) return files;
    if (options.TextFile) make(*options.TextFile, [&] { return TextOutputBytes(app.Report); });
    if (options.PdfFile) {
        make(*options.PdfFile, [&] {
            const TChartModel ground = GroundChart(app);
            TPDFMaker maker;
            std::ostringstream out;
            if (arbitraryPdf) {
                PdfArbitraryDocument(maker, out, app.Report, ground, app.Design.DesignName);
            } else {
                PdfMinimumDocument(maker, out, app.Report, ground, app.Design.DesignName);
            }
            return out.str();
        });
    }
    return files;
}

int WriteRunOutputs(const TAppState& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf, std::string& message) {
    try {
        // The documents are made first and written together: one that cannot
        // be made or written leaves every output file as it was.
        WriteFilesAtomically(RunOutputFiles(app, run, options, arbitraryPdf));
        if (options.FiguresDir) {
            WriteFigures(std::filesystem::path(*options.FiguresDir), GroundChart(app), app.Report);
        }
    } catch (const std::exception& e) {
        message = e.what();
        return ExitDataError;
    }
    return ExitSuccess;
}

bool TakeAllMethodsFlag(std::vector<std::string>& args) {
    const auto end = std::remove(args.begin(), args.end(), std::string("--all-methods"));
    const bool given = end != args.end();
    args.erase(end, args.end());
    return given;
}

namespace {

// The circle the command reports with the model it was evaluated on.
std::optional<std::pair<std::shared_ptr<const TAnalysisModel>, TSlipCircle>> ReportedCircle(
    const TAppState& app, const TRunResult& run, bool arbitrary) {
    if (arbitrary) {
        const auto& point = app.Report.ArbitraryPoint;
        if (!point || point->Outcome.Status == 0 || !point->Model) return std::nullopt;
        return std::pair{point->Model, point->Circle.Circle};
    }
    if (!run.HasCritical || !run.Model) return std::nullopt;
    return std::pair{run.Model, run.Circle.Circle};
}

}  // namespace

std::optional<std::vector<TMethodFs>> CompareReportedMethods(const TAppState& app,
                                                             const TRunResult& run,
                                                             bool arbitrary) {
    const auto circle = ReportedCircle(app, run, arbitrary);
    if (!circle) return std::nullopt;
    return CompareMethods(*circle->first, circle->second);
}

void PrintMethodComparison(const TAppState& app, const TRunResult& run, bool arbitrary) {
    const auto circle = ReportedCircle(app, run, arbitrary);
    if (!circle) return;
    const TSlipCircle& c = circle->second;
    PrintLine("分割法の比較（円弧中心 Xo=" + FormatFloat("0.00m;-0.00m", c.Xo) +
              " Yo=" + FormatFloat("0.00m;-0.00m", c.Yo) +
              "  円弧半径 R=" + FormatFloat("0.00m", c.R) + "）");
    const TCellTable table =
        MethodComparisonTable(CompareMethods(*circle->first, c), circle->first->Method);
    for (const std::string& line : MethodComparisonLines(table)) PrintLine(line);
}

int RunPreCalculationChecks(const TDesignConditions& design, const TAnalysisOptions& options,
                            const std::string& designPath) {
    TStderrDialogs dialogs;
    try {
        if (PresentCheckResult(CheckDesignConditions(design, options), dialogs) ==
            TCheckOutcome::Refuse)
            return ExitRefused;
    } catch (const ConversionError& e) {
        return ReportError(ConversionErrorMessage(designPath, LocateConversionError(design, e)),
                           ExitDataError);
    }
    return ExitSuccess;
}

}  // namespace sorvanta::cli
