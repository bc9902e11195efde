#include "engine/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace sorvanta {

namespace {
std::atomic<int> gThreadCount{0};
}

int HardwareThreads() {
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

void SetThreadCount(int threads) { gThreadCount.store(threads > 0 ? threads : 0); }

int ThreadCount() {
    const int n = gThreadCount.load();
    return n > 0 ? n : HardwareThreads();
}

int WorkerCount(int count, int threads) {
    if (threads <= 0) threads = ThreadCount();
    return std::max(1, std::min(threads, count));
}

void ParallelFor(int count, int threads, const std::function<void(int worker, int index)>& body) {
    if (count <= 0) return;
    const int workers = WorkerCount(count, threads);
    if (workers == 1) {
        for (int i = 0; i < count; ++i) body(0, i);
        return;
    }

    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::mutex errorMutex;
    int errorIndex = count;
    std::exception_ptr error;

    auto work = [&](int worker) {
        while (!stop.load(std::memory_order_relaxed)) {
            const int i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= count) break;
            try {
                body(worker, i);
            } catch (...) {
                const std::lock_guard lock(errorMutex);
                if (i < errorIndex) {
                    errorIndex = i;
                    error = std::current_exception();
                }
                stop.store(true);
            }
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(workers - 1));
    for (int w = 1; w < workers; ++w) {
        try {
            pool.emplace_back(work, w);
        } catch (const std::system_error&) {
            break;  // fewer threads than asked: the others share the work
        }
    }
    work(0);
    for (std::thread& t : pool) t.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace sorvanta
