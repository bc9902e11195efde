#pragma once
// Ctrl+C and SIGTERM during a batch: the first asks the running designs to
// stop and the batch to end after them; a second ends the program at once.

#include "engine/Progress.h"

namespace sorvanta::cli {

// The signal received since the handlers were installed, 0 for none.
[[nodiscard]] int InterruptSignal();

// Installs the handlers for its lifetime (and forgets an earlier signal);
// the previous handlers come back when it goes.
class TInterruptHandlers {
  public:
    TInterruptHandlers();
    ~TInterruptHandlers();
    TInterruptHandlers(const TInterruptHandlers&) = delete;
    TInterruptHandlers& operator=(const TInterruptHandlers&) = delete;

  private:
    void (*previousInt_)(int);
    void (*previousTerm_)(int);
};

// Running designs poll this between circles.
class TInterruptProgress : public TProgress {
  public:
    [[nodiscard]] bool Cancelled() const override { return InterruptSignal() != 0; }
};

}  // namespace sorvanta::cli
