#include "RunSupport.h"

#include <cstdio>
#include <exception>
#include <filesystem>

#include "Json.h"
#include "documents/Figures.h"
#include "documents/PdfDocument.h"
#include "documents/TextOutput.h"
#include "engine/AnalysisModel.h"
#include "text/Conversion.h"
#include "text/TextFile.h"
#include "views/PreviewChart.h"

namespace sorvanta::cli {

const char* const RunOptionsUsage =
    "[--direction cw|ccw|both] [--form moment|force] [--grid-points N] [--contours] "
    "[--no-slice-lines] "
    "[--no-slice-numbers] [--threads N] [--text FILE] [--json FILE] [--pdf FILE] [--figures DIR]";

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
    "  --figures DIR             地形図、最少すべり円、任意すべり円を DIR に WMF と SVG で書く";

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
    const bool outputFile =
        arg == "--text" || arg == "--json" || arg == "--pdf" || arg == "--figures";
    if (!(arg == "--direction" || arg == "--form" || arg == "--grid-points" || arg == "--threads" ||
          (outputFiles && outputFile))) {
        return TOptionParse::NotRunOption;
    }
    if (i + 1 >= args.size()) {
        problem = arg + " に値がありません。";
        return TOptionParse::Bad;
    }
    const std::string& v = args[++i];
    if (arg == "--direction") {
        if (v == "cw")
            settings.SlipDirection = 0;
        else if (v == "ccw")
            settings.SlipDirection = 1;
        else if (v == "both")
            settings.SlipDirection = 2;
        else
            problem = "--direction は cw、ccw、both のどれかです: '" + v + "'";
    } else if (arg == "--form") {
        if (v == "moment")
            settings.StressDisplay = 0;
        else if (v == "force")
            settings.StressDisplay = 1;
        else
            problem = "--form は moment か force です: '" + v + "'";
    } else if (arg == "--grid-points") {
        // The range is the checks' business; the option only needs a number.
        if (TryStrToInt(v))
            settings.GridFsMeshCount = v;
        else
            problem = "--grid-points は整数です: '" + v + "'";
    } else if (arg == "--threads") {
        const auto n = TryStrToInt(v);
        if (n && *n >= 1)
            settings.Threads = *n;
        else
            problem = "--threads は1以上の整数です: '" + v + "'";
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

int ParseRunOptions(const TCommand& command, const std::vector<std::string>& args,
                    TRunCommandOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || arg == "--") {
            options.Positionals.push_back(arg);
            continue;
        }
        std::string problem;
        switch (ParseRunOption(args, i, options, true, problem)) {
            case TOptionParse::Parsed:
                break;
            case TOptionParse::Bad:
                return UsageError(command, problem);
            case TOptionParse::NotRunOption:
                return UsageError(command, "不明なオプションです: '" + arg + "'");
        }
    }
    return ExitSuccess;
}

TRunSettings DefaultRunSettings() {
    TRunSettings settings;
    settings.SlipDirection = 0;
    settings.StressDisplay = 0;
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
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

bool TStderrDialogs::Confirm(std::string_view) {
    return true;
}

void TStderrDialogs::ShowMessage(std::string_view message) {
    PrintMessage(message);
}

int RunAppCalculation(TAppState& app, TUserDialogs& dialogs, TProgress* progress,
                      TRunResult& result, std::string& message) {
    try {
        result = StartCalculation(RunContextOf(app, dialogs, progress));
    } catch (const ConversionError& e) {
        message = e.what();
        return ExitDataError;
    }
    return ExitSuccess;
}

int RunCalculationForCommand(TAppState& app, TRunResult& result) {
    TStderrDialogs dialogs;
    std::string message;
    const int status = RunAppCalculation(app, dialogs, nullptr, result, message);
    return status == ExitSuccess ? status : ReportError(message, status);
}

int LoadAndRunCalculation(const TRunCommandOptions& options, TAppState& app, TRunResult& result) {
    if (const int status = LoadDesignForCommand(options.Positionals[0], app.Design, &app.Axes);
        status != ExitSuccess) {
        return status;
    }
    if (app.Design.LoadEnabled) ReportWarning(LoadOutsideCalculationNote);
    app.Settings = options.Settings;
    ApplyRunSettings(app.Settings, app.Design);
    return RunCalculationForCommand(app, result);
}

int WriteRunOutputs(const TAppState& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf) {
    std::string message;
    const int status = WriteRunOutputs(app, run, options, arbitraryPdf, message);
    return status == ExitSuccess ? status : ReportError(message, status);
}

int WriteRunOutputs(const TAppState& app, const TRunResult& run, const TRunCommandOptions& options,
                    bool arbitraryPdf, std::string& message) {
    try {
        if (options.JsonFile) {
            const std::string json = WriteJson(RunJson({app.Design, run, app.Results, app.Arbitrary,
                                                        app.ResultChart, app.ArbitraryChart}));
            WriteFileAtomically(std::filesystem::path(*options.JsonFile), json);
        }
        if (options.FiguresDir) {
            WriteFigures(std::filesystem::path(*options.FiguresDir), GroundChart(app),
                         app.ResultChart, app.ArbitraryChart);
        }
        if (run.Outcome != TRunOutcome::Ok) return ExitSuccess;
        if (options.TextFile)
            WriteTextOutput(app.Results, std::filesystem::path(*options.TextFile));
        if (options.PdfFile) {
            const TChartModel ground = GroundChart(app);
            const std::filesystem::path path(*options.PdfFile);
            if (arbitraryPdf) {
                WritePdfArbitraryDocument(path, app.Results, app.Arbitrary, ground,
                                          app.ArbitraryChart, app.Design.DesignName);
            } else {
                WritePdfMinimumDocument(path, app.Results, ground, app.ResultChart,
                                        app.Design.DesignName);
            }
        }
    } catch (const std::exception& e) {
        message = e.what();
        return ExitDataError;
    }
    return ExitSuccess;
}

int RunPreCalculationChecks(const TDesignConditions& design) {
    TStderrDialogs dialogs;
    TEC model;
    try {
        if (CheckDesignConditions(model, design, dialogs) == TCheckOutcome::Refuse)
            return ExitRefused;
    } catch (const ConversionError& e) {
        return ReportError(e.what(), ExitDataError);
    }
    return ExitSuccess;
}

}  // namespace sorvanta::cli
