// The buffer-done signal: a device path raises it once per consumed ring buffer. It counts, so
// two completions that arrive before anyone waits again are both seen (an auto-reset event
// would merge them).
#pragma once

#include <semaphore>

namespace qv {

class BufferDoneSignal {
public:
    // Device side: one ring buffer has been consumed. Any thread, never blocks.
    void Signal() { count_.release(); }
    // Waits without time-out for the next signal.
    void Wait() { count_.acquire(); }
    // Drops the signals that nobody has waited for yet.
    void Reset() {
        while (count_.try_acquire()) {
        }
    }

private:
    std::counting_semaphore<> count_{0};
};

} // namespace qv
