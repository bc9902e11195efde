#pragma once
// Counts calls of the global operator new in the engine's test program, so
// that a test can state that a loop allocates nothing.

#include <atomic>

namespace sorvanta::test {
extern std::atomic<long> AllocationCount;
}
