#pragma once
// The batch's progress on stderr: a bar redrawn in place on a terminal, one
// line a design otherwise (a log file, a scheduler's output), and a closing
// line with the counts and the time taken.

#include <cstddef>
#include <functional>
#include <string>

#include "cli/BatchSummary.h"

namespace sorvanta::cli {

// Seconds as m:ss, or h:mm:ss from an hour on, rounded to the second.
[[nodiscard]] std::string ClockText(double seconds);

[[nodiscard]] bool StderrIsTerminal();
// Written at once, not buffered: the bar must move while designs run.
void WriteStderr(const std::string& text);

class TBatchProgressReport {
  public:
    using TWriter = std::function<void(const std::string&)>;
    using TElapsed = std::function<double()>;  // seconds since the batch started

    // Writes to stderr, a bar when stderr is a terminal.
    TBatchProgressReport(std::size_t total, bool quiet);
    TBatchProgressReport(std::size_t total, bool quiet, bool terminal, TWriter write,
                         TElapsed elapsed);

    // A design has finished (any outcome). Called under the batch's lock.
    void Finished(const TBatchRow& row);
    // The bar with the current elapsed time.
    void Tick();
    void Interrupted();
    void End(bool interrupted);

  private:
    void Draw();

    std::size_t total_;
    bool quiet_;
    bool terminal_;
    TWriter write_;
    TElapsed elapsed_;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;
};

}  // namespace sorvanta::cli
