// sorvanta-calc batch [options] INPUT...: many designs in one go, in parallel
// over designs, with a summary table, progress on stderr, and shards so that
// a cluster scheduler can spread one list over many machines.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/BatchInputs.h"
#include "cli/BatchInterruption.h"
#include "cli/BatchProgress.h"
#include "cli/BatchSummary.h"
#include "cli/RunSupport.h"
#include "design/StoredOptions.h"
#include "engine/Parallel.h"
#include "engine/Progress.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/TextFile.h"

namespace sorvanta::cli {
namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

struct TBatchOptions {
    TRunCommandOptions Run;
    std::optional<std::string> OutDir;
    bool Text = false, Json = false, Pdf = false;
    std::optional<std::string> Summary, SummaryJson;
    int Jobs = 0;  // 0: the number of cores
    int ShardIndex = 0, ShardCount = 1;
    bool Quiet = false;
    bool ThreadsGiven = false;
    TSummaryColumns Columns;  // from the run options given
};

const char* const BatchUsage =
    "[--out DIR [--text] [--json] [--pdf]] [--summary FILE.csv] [--summary-json FILE] [--jobs N] "
    "[--shard I/N] [--quiet] [--direction cw|ccw|both] [--form moment|force] [--grid-points N] "
    "[--contours] [--no-slice-lines] [--no-slice-numbers] [--threads N] [--kh KH] "
    "[--case normal|seismic|both] [--required-fs-normal F] [--required-fs-seismic F] "
    "[--planned-fs PFS] [--anchor-angle DEG] [--pile-pitch M] [--load-in-analysis] "
    "[--method ordinary|bishop|janbu|spencer|morgenstern-price] "
    "[--pore-pressure modified|conventional]";

int UsageError(const TCommand& command, const std::string& problem) {
    return ReportError(problem + "（使い方: " + UsageLine(command) + " " + BatchUsage + "）",
                       ExitUsage);
}

int ParseBatchOptions(const TCommand& command, const std::vector<std::string>& args,
                      TBatchOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || arg == "--") {
            options.Run.Positionals.push_back(arg);
            continue;
        }
        std::string problem;
        if (arg == "--threads") options.ThreadsGiven = true;
        switch (ParseRunOption(args, i, options.Run, false, problem)) {
            case TOptionParse::Parsed:
                continue;
            case TOptionParse::Bad:
                return UsageError(command, problem);
            case TOptionParse::NotRunOption:
                break;
        }
        if (arg == "--text") {
            options.Text = true;
        } else if (arg == "--json") {
            options.Json = true;
        } else if (arg == "--pdf") {
            options.Pdf = true;
        } else if (arg == "--quiet") {
            options.Quiet = true;
        } else if (arg == "--out" || arg == "--summary" || arg == "--summary-json" ||
                   arg == "--jobs" || arg == "--shard") {
            if (i + 1 >= args.size()) return UsageError(command, arg + " に値がありません。");
            const std::string& v = args[++i];
            if (LooksLikeOption(v)) return UsageError(command, OptionValueProblem(arg, v));
            if (arg == "--out") {
                options.OutDir = v;
            } else if (arg == "--summary") {
                options.Summary = v;
            } else if (arg == "--summary-json") {
                options.SummaryJson = v;
            } else if (arg == "--jobs") {
                const auto n = TryStrToInt(v);
                if (!n || *n < 1)
                    return UsageError(command,
                                      "--jobs は1以上の整数です: '" + ShortenForMessage(v) + "'");
                options.Jobs = *n;
            } else if (!ParseShard(v, options.ShardIndex, options.ShardCount)) {
                return UsageError(command, "--shard は I/N（0 ≦ I < N の整数）です: '" +
                                               ShortenForMessage(v) + "'");
            }
        } else {
            return UsageError(command, "不明なオプションです: '" + ShortenForMessage(arg) + "'");
        }
    }
    if ((options.Text || options.Json || options.Pdf) && !options.OutDir) {
        return UsageError(command, "--text、--json、--pdf には --out DIR が要ります。");
    }
    if (options.OutDir && !(options.Text || options.Json || options.Pdf)) {
        return UsageError(command, "--out には --text、--json、--pdf のどれかが要ります。");
    }
    if (options.Run.Positionals.empty()) {
        return UsageError(command, "設計条件ファイルまたはフォルダを指定して下さい。");
    }
    if (options.Summary && options.SummaryJson) {
        std::error_code error;
        const auto key = [&](const std::string& file) {
            return fs::weakly_canonical(fs::absolute(fs::path(file)), error);
        };
        if (key(*options.Summary) == key(*options.SummaryJson)) {
            return UsageError(command,
                              "--summary と --summary-json に同じファイルは指定できません。");
        }
    }
    return ExitSuccess;
}

// --- One design -------------------------------------------------------------

struct TBatchPlan {
    const TBatchOptions& Options;  // with the thread count of each design
    const std::vector<std::string>& Designs;
    const TUnreadableFolders& Unreadable;
    const std::vector<fs::path>& OutputBases;  // empty without --out
};

// Loads, runs and writes one design as `run` would. Writes nothing for a
// design that fails, so its earlier outputs stay as they were.
TBatchRow RunDesign(const TBatchPlan& plan, std::size_t position) {
    const auto start = TClock::now();
    TBatchRow row;
    row.Position = position;
    row.Columns = plan.Options.Columns;
    // The path as found opens the file; the summary and the messages get it
    // as valid UTF-8 without control characters.
    const std::string& path = plan.Designs[position];
    row.Path = EscapeForDisplay(path);
    TInterruptProgress progress;
    try {
        TAppState app = StartupState();
        std::string message;
        if (const auto folder = plan.Unreadable.find(path); folder != plan.Unreadable.end()) {
            row.Outcome = TBatchOutcome::Unreadable;
            row.Message = folder->second;
        } else if (LoadDesign(path, app.Design, app.Options, &app.Axes, message) != ExitSuccess) {
            row.Outcome = TBatchOutcome::Unreadable;
            row.Message = OneLine({message});
        } else {
            row.LoadOn = app.Design.LoadEnabled;
            app.Settings = plan.Options.Run.Settings;
            ApplyRunSettings(app.Settings, app.Options, app.Drawing);
            ApplyOptionFlags(plan.Options.Run, app);
            row.Method = app.Options.Method;
            row.PoreForm = app.Options.PoreForm;
            TRecordingDialogs dialogs;
            TRunResult run;
            if (RunAppCalculation(app, path, dialogs, &progress, run, message) != ExitSuccess) {
                row.Outcome = TBatchOutcome::Unreadable;
                row.Message = OneLine({message});
            } else {
                row.Message = OneLine(run.Messages);
                switch (run.Outcome) {
                    case TRunOutcome::Ok:
                        row.Outcome = TBatchOutcome::Ok;
                        SetCircle(row, app.Report);
                        break;
                    case TRunOutcome::Refused:
                        row.Outcome = TBatchOutcome::Refused;
                        break;
                    case TRunOutcome::NoCircle:
                        row.Outcome = TBatchOutcome::NoCircle;
                        break;
                    case TRunOutcome::Cancelled:
                        row.Outcome = TBatchOutcome::Cancelled;
                        row.Message = "中断しました。";
                        break;
                }
            }
            if (row.Outcome == TBatchOutcome::Ok && !plan.OutputBases.empty()) {
                const fs::path& base = plan.OutputBases[position];
                TRunCommandOptions outputs = plan.Options.Run;
                if (plan.Options.Text) outputs.TextFile = fs::path(base).concat(".txt").string();
                if (plan.Options.Json) outputs.JsonFile = fs::path(base).concat(".json").string();
                if (plan.Options.Pdf) outputs.PdfFile = fs::path(base).concat(".pdf").string();
                std::error_code error;
                fs::create_directories(base.parent_path(), error);
                if (error) {
                    message = "フォルダ「" + EscapeForDisplay(base.parent_path().generic_string()) +
                              "」を作成できません。";
                } else if (WriteRunOutputs(app, run, outputs, false, message) == ExitSuccess) {
                    message.clear();
                }
                if (!message.empty()) {
                    row.Outcome = TBatchOutcome::OutputError;
                    row.Message = OneLine({message});
                }
            }
        }
    } catch (const std::exception& e) {
        // Anything the run does not expect still ends as this design's row.
        row.Outcome = TBatchOutcome::Unreadable;
        row.Message = OneLine({e.what()});
    }
    row.Message = EscapeForDisplay(row.Message);
    row.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
    return row;
}

// --- The batch --------------------------------------------------------------

// Rows reach the summaries in list order: a row that finishes early waits for
// the ones before it.
class TSummaryWriter {
  public:
    TSummaryWriter(TSummaryFile* csv, TSummaryFile* json) : csv_(csv), json_(json) {}

    void Add(std::size_t index, TBatchRow row) {
        pending_.emplace(index, std::move(row));
        for (auto it = pending_.find(next_); it != pending_.end(); it = pending_.find(next_)) {
            if (csv_ && !csv_->Append(CsvRecord(SummaryCells(it->second)))) failed_ = true;
            if (json_ && !json_->Append(JsonLinesRecord(it->second))) failed_ = true;
            pending_.erase(it);
            ++next_;
        }
    }
    [[nodiscard]] bool Failed() const { return failed_; }

  private:
    TSummaryFile* csv_;
    TSummaryFile* json_;
    std::map<std::size_t, TBatchRow> pending_;
    std::size_t next_ = 0;
    bool failed_ = false;
};

int RunBatch(const TCommand& command, const std::vector<std::string>& args) {
    TBatchOptions options;
    if (const int status = ParseBatchOptions(command, args, options); status != ExitSuccess)
        return status;

    // The summary's columns are the same for every design: those the
    // command line asks for, whatever a design's own options.
    {
        TAppState asked;
        ApplyOptionFlags(options.Run, asked);
        const TTypedAnalysisOptions o = ReadAnalysisOptions(asked.Options).Values;
        options.Columns = {o.Case != TDesignCase::Normal, o.PlannedFs.has_value(),
                           asked.Options.Method != TSliceMethodKind::Ordinary ||
                               asked.Options.PoreForm != TPoreForm::Modified};
    }

    std::string problem;
    TUnreadableFolders unreadable;
    const std::vector<std::string> designs =
        CollectDesigns(options.Run.Positionals, unreadable, problem);
    // A list that cannot be read is a file error, as a design file would be.
    if (!problem.empty()) return ReportError(problem, ExitDataError);
    if (designs.empty()) return UsageError(command, "設計条件ファイル（*.dat）がありません。");
    std::vector<fs::path> bases;
    if (options.OutDir) {
        bases = OutputBases(designs, fs::path(*options.OutDir), unreadable, problem);
        if (!problem.empty()) return UsageError(command, problem);
    }

    const std::vector<std::size_t> positions =
        ShardPositions(designs.size(), options.ShardIndex, options.ShardCount);

    TSummaryFile csv, json;
    if (options.Summary) {
        if (!csv.Open(fs::path(*options.Summary), problem))
            return ReportError(problem, ExitDataError);
        csv.Append(
            "\xEF\xBB\xBF" +
            CsvRecord(SummaryHeader(
                static_cast<int>(options.Run.Settings.StressDisplay.value_or(TFsForm::Moment)),
                options.Columns)));
    }
    if (options.SummaryJson && !json.Open(fs::path(*options.SummaryJson), problem))
        return ReportError(problem, ExitDataError);

    // More jobs than cores only share the cores (and each job holds a
    // design's memory): the results are the same, the batch is slower.
    const int cores = HardwareThreads();
    if (options.Jobs > cores && !options.Quiet) {
        WriteStderr("--jobs " + std::to_string(options.Jobs) + " はコア数の " +
                    std::to_string(cores) + " にしました。\n");
    }
    const int jobs = static_cast<int>(std::min<std::size_t>(
        static_cast<std::size_t>(options.Jobs > 0 ? std::min(options.Jobs, cores) : cores),
        std::max<std::size_t>(positions.size(), 1)));
    // Parallel designs search on one thread each, so that the machine is not
    // oversubscribed; the results are the same on any number of threads.
    if (!options.ThreadsGiven) options.Run.Settings.Threads = jobs > 1 ? 1 : 0;
    const TBatchPlan plan{options, designs, unreadable, bases};

    TSummaryWriter writer(options.Summary ? &csv : nullptr, options.SummaryJson ? &json : nullptr);
    TBatchProgressReport report(positions.size(), options.Quiet);
    std::mutex lock;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    std::size_t running = static_cast<std::size_t>(jobs);
    bool dataError = false, refused = false;
    // Designs with a load, warned about once after the summary line so that
    // neither the bar nor the per-design lines are broken up.
    std::size_t loadDesigns = 0;
    std::optional<std::size_t> firstLoad;  // list position

    TInterruptHandlers handlers;
    const auto work = [&] {
        for (;;) {
            const std::size_t index = next.fetch_add(1);
            // Designs are handed out in order, so those left out after an
            // interruption all come after every design that ran.
            if (index >= positions.size() || InterruptSignal() != 0) break;
            TBatchRow row = RunDesign(plan, positions[index]);
            const std::lock_guard<std::mutex> guard(lock);
            switch (row.Outcome) {
                case TBatchOutcome::Ok:
                case TBatchOutcome::Cancelled:
                    break;
                case TBatchOutcome::Refused:
                case TBatchOutcome::NoCircle:
                    refused = true;
                    break;
                case TBatchOutcome::Unreadable:
                case TBatchOutcome::OutputError:
                    dataError = true;
                    break;
            }
            if (row.LoadOn) {
                ++loadDesigns;
                if (!firstLoad || row.Position < *firstLoad) firstLoad = row.Position;
            }
            report.Finished(row);
            writer.Add(index, std::move(row));
        }
        const std::lock_guard<std::mutex> guard(lock);
        --running;
        finished.notify_all();
    };
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(jobs));
    for (int i = 0; i < jobs; ++i) workers.emplace_back(work);
    {
        std::unique_lock<std::mutex> guard(lock);
        bool toldInterrupt = false;
        while (running > 0) {
            finished.wait_for(guard, std::chrono::milliseconds(250));
            if (InterruptSignal() != 0 && !toldInterrupt) {
                report.Interrupted();
                toldInterrupt = true;
            } else {
                report.Tick();
            }
        }
    }
    for (std::thread& worker : workers) worker.join();

    bool written = !writer.Failed();
    if (options.Summary && !csv.Close()) written = false;
    if (options.SummaryJson && !json.Close()) written = false;
    const int signal = InterruptSignal();
    report.End(signal != 0);
    if (firstLoad) {
        ReportWarning("載荷重のある設計条件が " + std::to_string(loadDesigns) + " 件あります（" +
                      designs[*firstLoad] + (loadDesigns > 1 ? " ほか" : "") + "）。" +
                      LoadOutsideCalculationNote);
    }
    if (!written) {
        ReportError("要約ファイルを書き終えられませんでした。", ExitDataError);
        dataError = true;
    }
    if (signal != 0) {
        // End as the signal would have, so that the calling shell or
        // scheduler sees an interruption and not a result.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return 128 + signal;
    }
    return dataError ? ExitDataError : refused ? ExitRefused : ExitSuccess;
}

const TCommandRegistration registration{
    {"batch", "[オプション] INPUT...",
     "多数の設計条件を並列に計算し、要約表（CSV、JSON Lines）にまとめます。", 35, &RunBatch,
     "\nINPUT:\n"
     "  DESIGN.dat                設計条件ファイル\n"
     "  FOLDER                    フォルダ以下のすべての *.dat\n"
     "  @LIST                     一行に一つのパスを書いた UTF-8 のテキストファイル\n"
     "                            （相対パスは現在のフォルダから。行の前後の空白は除きます）\n"
     "  設計条件の一覧はパスの順に並べ、重複を除きます。どの実行、どの分割でも同じ順です。\n"
     "\nオプション:\n"
     "  --out DIR                 設計条件ごとの出力を DIR に書く（--text、--json、--pdf で選ぶ）\n"
     "  --text                    計算書 DIR/NAME.txt（cp932、CR LF）\n"
     "  --json                    結果のすべて DIR/NAME.json（UTF-8）\n"
     "  --pdf                     計算書 DIR/NAME.pdf\n"
     "                            NAME は拡張子を除くファイル名。すべての設計条件に共通のフォルダ\n"
     "                            より下のフォルダは DIR の下に同じ名前で作るので、別のフォルダの\n"
     "                            同名の設計条件が重なることはありません。出力は run "
     "と同じバイト列\n"
     "                            です。失敗した設計条件の既存の出力はそのまま残します。\n"
     "  --summary FILE.csv        要約表を CSV（RFC 4180、BOM 付き UTF-8、CR LF）で書く。別の "
     "batch\n"
     "                            が書いている要約には書きません（終了状態 2）。\n"
     "  --summary-json FILE       同じ行を JSON Lines（UTF-8）で書く\n"
     "                            行は一覧の順に一行ずつ書き足します。中断しても、書かれた行は\n"
     "                            すべて完全です。\n"
     "  --jobs N                  同時に計算する設計条件の数（既定: コア数。コア数より大きい N は\n"
     "                            コア数にします）。N が2以上なら各設計条件は1スレッドで探索し\n"
     "                            ます（結果は同じ）。\n"
     "  --shard I/N               一覧の位置（0から）を N で割った余りが I の設計条件だけを計算\n"
     "                            （0 ≦ I < N）。要約の No. は一覧での位置 + 1 です。\n"
     "  --quiet                   進行状況を表示しない\n"
     "  --direction cw|ccw|both、--form moment|force、--grid-points N、--contours、\n"
     "  --no-slice-lines、--no-slice-numbers、--threads N、\n"
     "  --kh KH、--case normal|seismic|both、--required-fs-normal F、\n"
     "  --required-fs-seismic F、--planned-fs PFS、--anchor-angle DEG、--pile-pitch M、\n"
     "  --load-in-analysis、--method NAME、--pore-pressure modified|conventional\n"
     "                            run と同じ。すべての設計条件に使います（設計条件ファイルの\n"
     "                            地震時と対策工、分割法の指定に優先します）。--case（normal\n"
     "                            以外）、--planned-fs、--method、--pore-pressure（既定以外）\n"
     "                            を指定すると、要約にその列（地震時の安全率と判定、必要抑止\n"
     "                            力、分割法と間隙水圧）が加わります。\n"
     "\n要約の結果: ok、refused（点検で拒否）、no_circle（円なし）、unreadable（読めない、\n"
     "  "
     "値を変換できない、または読めないフォルダ）、output_"
     "error（出力を書けない）、cancelled（中断）\n"
     "  ファイル名の UTF-8 でないバイトと制御文字は \\xNN（16進）で書きます。\n"
     "\n終了状態: 0 すべて ok、1 拒否または円なしがある、2 読めない設計条件または書けない出力が\n"
     "  ある、3 使い方の誤り。Ctrl+C（SIGINT）や SIGTERM では実行中の設計条件を止め、要約を\n"
     "  閉じてからそのシグナルで終了します。"}};

}  // namespace
}  // namespace sorvanta::cli
