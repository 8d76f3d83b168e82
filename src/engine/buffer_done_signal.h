// The buffer-done signal: a device path raises it once per consumed ring buffer. It counts, so
// two completions that arrive before anyone waits again are both seen (an auto-reset event
// would merge them). Raising it is one atomic add, which a device callback may do; the waiting
// side polls every millisecond rather than relying on the C++ library's blocking waits, whose
// mingw implementation in GCC 12 can miss a wake-up and hang (seen under Wine).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace qv {

class BufferDoneSignal {
public:
    // Device side: one ring buffer has been consumed. Any thread, never blocks.
    void Signal() { count_.fetch_add(1, std::memory_order_release); }
    // Waits without time-out for the next signal and takes it.
    void Wait() {
        while (!TryTake())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Takes one signal if there is one, without waiting.
    bool TryTake() {
        uint32_t n = count_.load(std::memory_order_acquire);
        while (n > 0)
            if (count_.compare_exchange_weak(n, n - 1, std::memory_order_acq_rel))
                return true;
        return false;
    }
    // Drops the signals that nobody has waited for yet.
    void Reset() { count_.store(0, std::memory_order_release); }

private:
    std::atomic<uint32_t> count_{0};
};

} // namespace qv
