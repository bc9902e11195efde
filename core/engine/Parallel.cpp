#include "engine/Parallel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace sorvanta {

namespace {

// Set on the pool's own threads: a loop started from inside a body runs on
// the calling thread alone rather than waiting for the pool it occupies.
thread_local bool tlInPool = false;

// How long a thread keeps watching for the next loop, or for the helpers to
// finish, before it sleeps. A search runs its loops back to back with only
// microseconds between them, while waking a sleeping thread can take
// milliseconds on a virtual machine, more than a whole loop of a small design.
constexpr auto SpinTime = std::chrono::microseconds(500);
// A new thread waits longer for its first loop: it is started ahead of one.
constexpr auto FirstSpinTime = std::chrono::microseconds(20000);

void Relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

// Waits until ready() holds or the spin time has passed; true when it holds.
template <class TReady>
bool SpinUntil(const TReady& ready, std::chrono::microseconds time = SpinTime) {
    const auto until = std::chrono::steady_clock::now() + time;
    for (int round = 0;; ++round) {
        if (ready()) return true;
        Relax();
        if ((round & 255) == 255) {
            if (std::chrono::steady_clock::now() >= until) return false;
            std::this_thread::yield();
        }
    }
}

// Worker threads kept for the life of the process, so that a search, which
// runs one loop per grid, per contour row and per grid-point column, does
// not start threads for each of them. One loop at a time uses the pool; a
// loop that finds it busy (another thread's) runs on its caller alone.
class TPool {
  public:
    ~TPool() {
        {
            const std::lock_guard lock(mutex_);
            shutdown_.store(true);
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    // Runs the loop with up to `workers` workers, the caller being worker 0.
    // False when the pool is busy with another caller's loop.
    bool Run(int count, int workers, const std::function<void(int, int)>& body) {
        std::unique_lock submit(submit_, std::try_to_lock);
        if (!submit.owns_lock()) return false;
        Grow(workers - 1);
        std::unique_lock lock(mutex_);
        const int helpers = std::min(workers - 1, static_cast<int>(threads_.size()));
        body_ = &body;
        count_ = count;
        helpers_ = helpers;
        active_.store(helpers);
        next_.store(0);
        stop_.store(false);
        errorIndex_ = count;
        error_ = nullptr;
        generation_.fetch_add(1, std::memory_order_release);
        lock.unlock();
        wake_.notify_all();

        Work(0);

        auto finished = [&] { return active_.load(std::memory_order_acquire) == 0; };
        SpinUntil(finished);
        lock.lock();
        done_.wait(lock, finished);
        body_ = nullptr;
        std::exception_ptr error = error_;
        error_ = nullptr;
        lock.unlock();
        if (error) std::rethrow_exception(error);
        return true;
    }

    // Nothing while another caller's loop runs: its threads are started.
    void Prepare(int helpers) {
        const std::unique_lock submit(submit_, std::try_to_lock);
        if (submit.owns_lock()) Grow(helpers);
    }

  private:
    void Grow(int wanted) {
        while (static_cast<int>(threads_.size()) < wanted) {
            const int id = static_cast<int>(threads_.size()) + 1;
            try {
                // The loop about to start is one the new thread must not miss.
                threads_.emplace_back([this, id, seen = generation_.load()] { Loop(id, seen); });
            } catch (const std::system_error&) {
                return;  // fewer threads than asked: the others share the work
            }
        }
    }

    void Loop(int id, std::uint64_t seen) {
        tlInPool = true;
        for (bool first = true;; first = false) {
            SpinUntil(
                [&] {
                    return shutdown_.load() || generation_.load(std::memory_order_acquire) != seen;
                },
                first ? FirstSpinTime : SpinTime);
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return shutdown_.load() || generation_.load() != seen; });
                if (shutdown_.load()) return;
                seen = generation_.load();
                if (id > helpers_) continue;
            }
            Work(id);
            {
                const std::lock_guard lock(mutex_);
                active_.fetch_sub(1, std::memory_order_release);
            }
            done_.notify_one();
        }
    }

    void Work(int worker) {
        while (!stop_.load(std::memory_order_relaxed)) {
            const int i = next_.fetch_add(1, std::memory_order_relaxed);
            if (i >= count_) break;
            try {
                (*body_)(worker, i);
            } catch (...) {
                const std::lock_guard lock(mutex_);
                if (i < errorIndex_) {
                    errorIndex_ = i;
                    error_ = std::current_exception();
                }
                stop_.store(true);
            }
        }
    }

    std::mutex submit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::vector<std::thread> threads_;
    std::atomic<bool> shutdown_{false};
    std::atomic<std::uint64_t> generation_{0};
    const std::function<void(int, int)>* body_ = nullptr;
    int count_ = 0;
    int helpers_ = 0;
    std::atomic<int> active_{0};
    std::atomic<int> next_{0};
    std::atomic<bool> stop_{false};
    int errorIndex_ = 0;
    std::exception_ptr error_;
};

TPool& Pool() {
    static TPool pool;
    return pool;
}

}  // namespace

int HardwareThreads() {
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

void PrepareWorkers(int threads) {
    // No more than run at once: a loop asking for more starts them itself.
    const int cores = HardwareThreads();
    threads = threads <= 0 ? cores : std::min(threads, cores);
    if (threads > 1 && !tlInPool) Pool().Prepare(threads - 1);
}

int WorkerCount(int count, int threads) {
    if (threads <= 0) threads = HardwareThreads();
    return std::max(1, std::min(threads, count));
}

void ParallelFor(int count, int threads, const std::function<void(int worker, int index)>& body) {
    if (count <= 0) return;
    const int workers = WorkerCount(count, threads);
    if (workers > 1 && !tlInPool && Pool().Run(count, workers, body)) return;
    // One worker, or no pool to be had: the caller does every index, in
    // order; the first exception ends the loop.
    for (int i = 0; i < count; ++i) body(0, i);
}

}  // namespace sorvanta
