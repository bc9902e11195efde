#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace sorvanta::test {
std::atomic<long> AllocationCount{0};
}

void* operator new(std::size_t size) {
    sorvanta::test::AllocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
