#include "cli/BatchInterruption.h"

#include <atomic>
#include <csignal>

namespace sorvanta::cli {
namespace {

std::atomic<int> gSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnInterrupt(int signal) {
    gSignal.store(signal);
    // A second Ctrl+C ends the program at once.
    std::signal(signal, SIG_DFL);
}

}  // namespace

int InterruptSignal() {
    return gSignal.load();
}

TInterruptHandlers::TInterruptHandlers() {
    gSignal.store(0);
    previousInt_ = std::signal(SIGINT, OnInterrupt);
    previousTerm_ = std::signal(SIGTERM, OnInterrupt);
}

TInterruptHandlers::~TInterruptHandlers() {
    std::signal(SIGINT, previousInt_);
    std::signal(SIGTERM, previousTerm_);
}

}  // namespace sorvanta::cli
