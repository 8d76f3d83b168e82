// PlaySubThread: turns every buffer-done signal into one count of doneCount, which the
// playback thread takes one at a time.
#include "engine/wave_play_rec.h"
#include "platform/thread_priority.h"

namespace qv {

void WavePlayRec::PlaySubThread() {
    SetCurrentThreadPriority(settings_.playPriority);
    for (;;) {
        bufferDone_.Wait();
        if (subThreadTerminate_.load(std::memory_order_acquire))
            break;
        doneCount.fetch_add(1, std::memory_order_acq_rel);
    }
    subThreadRunning_.store(false, std::memory_order_release);
}

} // namespace qv
