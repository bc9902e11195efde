#pragma once
// A deterministic parallel loop over independent items. Each index is handled
// exactly once, by one worker; results go to per-index slots and are reduced
// by the caller in index order, so the outcome never depends on the thread
// count or the schedule.

#include <functional>

namespace sorvanta {

// Threads of the machine (at least 1).
[[nodiscard]] int HardwareThreads();

// Calls body(worker, index) for every index in [0, count), over up to
// `threads` threads (0 or less: HardwareThreads()); worker ranges over
// [0, workers) and the caller's thread is worker 0, so per-worker state can be
// kept in a vector sized by WorkerCount(count, threads). The other workers
// are threads of a pool kept for the life of the process; a loop started
// while the pool serves another loop (or from inside a body) runs on the
// caller alone. Returns when every call has returned. An exception thrown by a body stops the
// hand-out of further indexes and the one of the lowest index is rethrown to the caller.
void ParallelFor(int count, int threads, const std::function<void(int worker, int index)>& body);

// Starts the pool's threads for a coming ParallelFor over up to `threads`
// threads (at most one per core), so that they are running when it begins: a
// thread takes milliseconds to start on some machines, as long as a loop of a
// small design.
void PrepareWorkers(int threads);

// Workers ParallelFor(count, threads, ...) uses.
[[nodiscard]] int WorkerCount(int count, int threads);

}  // namespace sorvanta
