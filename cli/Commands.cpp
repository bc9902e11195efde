#include "cli/Commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "design/DesignFile.h"
#include "text/DisplayText.h"

namespace sorvanta::cli {

namespace {

std::vector<TCommand>& Registry() {
    static std::vector<TCommand> commands;
    return commands;
}

void WriteLine(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

TCommandRegistration::TCommandRegistration(const TCommand& command) {
    std::vector<TCommand>& commands = Registry();
    commands.push_back(command);
    std::stable_sort(commands.begin(), commands.end(),
                     [](const TCommand& a, const TCommand& b) { return a.Order < b.Order; });
}

const std::vector<TCommand>& Commands() {
    return Registry();
}

const TCommand* FindCommand(std::string_view name) {
    for (const TCommand& command : Registry()) {
        if (command.Name == name) return &command;
    }
    return nullptr;
}

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        // Half-width katakana (U+FF61..U+FF9F: EF BD A1..EF BE 9F) take one column.
        const bool halfWidth = length == 3 && lead == 0xEF && i + 2 < text.size() &&
                               ((static_cast<unsigned char>(text[i + 1]) == 0xBD &&
                                 static_cast<unsigned char>(text[i + 2]) >= 0xA1) ||
                                static_cast<unsigned char>(text[i + 1]) == 0xBE);
        width += (length == 1 || halfWidth) ? 1 : 2;
        i += length;
    }
    return width;
}

std::string UsageLine(const TCommand& command) {
    std::string line(ProgramName);
    line += ' ';
    line += command.Name;
    if (!command.Arguments.empty()) {
        line += ' ';
        line += command.Arguments;
    }
    return line;
}

namespace {

void ReportLine(std::string_view kind, std::string_view message) {
    std::string line(ProgramName);
    line += ": ";
    line += kind;
    line += ": ";
    std::string text(message);
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    // Names and values from outside may hold escape sequences for the terminal.
    line += EscapeForDisplay(text);
    WriteLine(stderr, line);
}

}  // namespace

int ReportError(std::string_view message, int exitStatus) {
    ReportLine("エラー", message);
    return exitStatus;
}

void ReportWarning(std::string_view message) {
    ReportLine("警告", message);
}

int ReportUsageError(const TCommand& command, std::string_view problem) {
    return ReportError(std::string(problem) + "（使い方: " + UsageLine(command) + "）", ExitUsage);
}

void PrintLine(std::string_view text) {
    WriteLine(stdout, EscapeForDisplay(text, true));
}

TDesignConditions StartupDesign() {
    TDesignConditions design;
    LoadSampleDesign(design);
    return design;
}

int LoadDesign(const std::string& path, TDesignConditions& design, TAnalysisOptions& options,
               TPreviewAxes* axes, std::string& message) {
    const TDesignLoadResult result =
        TryLoadDesignFile(std::filesystem::path(path), design, options);
    if (!result) {
        // A file error already names the file; a content error names the line.
        message = result.Line > 0 ? path + ": " + result.Message : result.Message;
        return ExitDataError;
    }
    if (axes) *axes = result.Axes;
    return ExitSuccess;
}

int LoadDesignForCommand(const std::string& path, TDesignConditions& design,
                         TAnalysisOptions& options, TPreviewAxes* axes) {
    std::string message;
    const int status = LoadDesign(path, design, options, axes, message);
    return status == ExitSuccess ? status : ReportError(message, status);
}

std::string ConversionErrorMessage(const std::string& path, const ConversionError& error) {
    if (error.FileLine() <= 0) return error.what();
    return path + ": " + std::to_string(error.FileLine()) + "行目: " + error.what();
}

bool LooksLikeOption(std::string_view value) {
    return value.size() > 2 && value.compare(0, 2, "--") == 0;
}

int ExpectArguments(const TCommand& command, const std::vector<std::string>& args,
                    std::size_t count) {
    // An option the command does not know must not be taken for a file name
    // (sample would write a file called "--foo"). A lone "-" or a negative
    // number stays an argument.
    for (const std::string& arg : args) {
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0)
            return ReportUsageError(command,
                                    "不明なオプションです: '" + ShortenForMessage(arg) + "'");
    }
    if (args.size() == count) return ExitSuccess;
    return ReportUsageError(command,
                            args.size() < count ? "引数が足りません。" : "引数が多すぎます。");
}

}  // namespace sorvanta::cli
