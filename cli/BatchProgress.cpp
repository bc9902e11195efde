#include "cli/BatchProgress.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sorvanta::cli {

bool StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

std::string ClockText(double seconds) {
    const long s = std::lround(seconds);
    char text[32];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    }
    return text;
}

void WriteStderr(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

TBatchProgressReport::TBatchProgressReport(std::size_t total, bool quiet)
    : TBatchProgressReport(
          total, quiet, StderrIsTerminal(), WriteStderr,
          [start = std::chrono::steady_clock::now()] {
              return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                  .count();
          }) {}

TBatchProgressReport::TBatchProgressReport(std::size_t total, bool quiet, bool terminal,
                                           TWriter write, TElapsed elapsed)
    : total_(total),
      quiet_(quiet),
      terminal_(terminal),
      write_(std::move(write)),
      elapsed_(std::move(elapsed)) {}

void TBatchProgressReport::Finished(const TBatchRow& row) {
    ++done_;
    if (row.Outcome != TBatchOutcome::Ok && row.Outcome != TBatchOutcome::Cancelled) ++failed_;
    if (quiet_) return;
    if (terminal_) {
        Draw();
        return;
    }
    std::string line = std::to_string(done_) + "/" + std::to_string(total_) + " " +
                       BatchOutcomeName(row.Outcome) + " " + row.Path;
    if (row.Outcome != TBatchOutcome::Ok && !row.Message.empty()) {
        // A content error already starts with the path.
        const std::string prefix = row.Path + ": ";
        line += ": ";
        line += row.Message.compare(0, prefix.size(), prefix) == 0
                    ? row.Message.substr(prefix.size())
                    : row.Message;
    }
    write_(line + "\n");
}

void TBatchProgressReport::Tick() {
    if (!quiet_ && terminal_) Draw();
}

void TBatchProgressReport::Interrupted() {
    if (quiet_) return;
    if (terminal_) write_("\r\x1b[K");
    write_("中断します。実行中の設計条件を止めています．．．\n");
    if (terminal_) Draw();
}

void TBatchProgressReport::End(bool interrupted) {
    if (quiet_) return;
    if (terminal_) write_("\r\x1b[K");
    write_(std::string(interrupted ? "中断: " : "完了: ") + std::to_string(done_) + "/" +
           std::to_string(total_) + " 件、失敗 " + std::to_string(failed_) + " 件、経過 " +
           ClockText(elapsed_()) + "\n");
}

void TBatchProgressReport::Draw() {
    constexpr std::size_t width = 30;
    const std::size_t filled = total_ == 0 ? width : done_ * width / total_;
    const double elapsed = elapsed_();
    std::string line = "\r[" + std::string(filled, '#') + std::string(width - filled, '-') + "] " +
                       std::to_string(done_) + "/" + std::to_string(total_) + "  失敗 " +
                       std::to_string(failed_) + "  経過 " + ClockText(elapsed) + "  残り ";
    line +=
        done_ == 0
            ? std::string("--:--")
            : ClockText(elapsed * static_cast<double>(total_ - done_) / static_cast<double>(done_));
    write_(line + "\x1b[K");
}

}  // namespace sorvanta::cli
