// sorvanta-calc: the batch tool. Dispatches to the registered commands.

#include <algorithm>
#include <csignal>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "BuildInfo.h"
#include "cli/Commands.h"

namespace sorvanta::cli {
namespace {

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

void PrintHelp() {
    PrintLine("使い方: " + std::string(ProgramName) + " コマンド [引数...]");
    PrintLine("        " + std::string(ProgramName) + " コマンド --help");
    PrintLine("        " + std::string(ProgramName) + " --version");
    PrintLine("");
    PrintLine("コマンド:");
    std::size_t width = 0;
    for (const TCommand& command : Commands()) {
        width = std::max(width, command.Name.size() + 1 + DisplayWidth(command.Arguments));
    }
    for (const TCommand& command : Commands()) {
        std::string line = "  " + std::string(command.Name) + " " + std::string(command.Arguments);
        line.append(width + 4 - DisplayWidth(line.substr(2)), ' ');
        line += command.Summary;
        PrintLine(line);
    }
    PrintLine("");
    PrintLine("終了状態:");
    PrintLine("  0  成功");
    PrintLine("  1  計算前の点検で設計条件が拒否された、または円が見つからない");
    PrintLine("  2  設計条件ファイルを読み書きできない、または値を変換できない");
    PrintLine("  3  使い方の誤り");
}

int Main(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return ReportError(
            "コマンドがありません（" + std::string(ProgramName) + " --help で使い方を表示します）",
            ExitUsage);
    }
    if (IsHelp(argv[0])) {
        PrintHelp();
        return ExitSuccess;
    }
    if (argv[0] == "--version") {
        PrintLine(VersionLine(ProgramName));
        return ExitSuccess;
    }
    const TCommand* command = FindCommand(argv[0]);
    if (!command) {
        return ReportError("不明なコマンドです: '" + argv[0] + "'（" + std::string(ProgramName) +
                               " --help で使い方を表示します）",
                           ExitUsage);
    }
    const std::vector<std::string> args(argv.begin() + 1, argv.end());
    if (!args.empty() && IsHelp(args[0])) {
        PrintLine("使い方: " + UsageLine(*command));
        PrintLine(std::string(command->Summary));
        if (!command->Details.empty()) PrintLine(command->Details);
        return ExitSuccess;
    }
    return command->Run(*command, args);
}

}  // namespace
}  // namespace sorvanta::cli

int main(int argc, char** argv) {
    using namespace sorvanta::cli;
#ifdef SIGXFSZ
    // A write past the file size limit (ulimit -f) must fail as a full disk
    // does, so that the temporary file is removed and the status is 2, rather
    // than kill the tool halfway.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        return Main(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        // Commands report what they expect; anything else still ends with
        // one line and the data-error status rather than an abort.
        return ReportError(e.what(), ExitDataError);
    }
}
