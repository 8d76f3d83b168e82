#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace qv {

namespace {

std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void NoteSignal(int signal) {
    int none = 0;
    caught.compare_exchange_strong(none, signal);
}

} // namespace

void CatchInterrupts() {
    for (int signal : {SIGINT, SIGTERM}) {
        std::signal(signal, NoteSignal);
    }
#ifdef SIGHUP
    std::signal(SIGHUP, NoteSignal);
#endif
#ifdef SIGBREAK
    std::signal(SIGBREAK, NoteSignal);
#endif
}

int InterruptSignal() {
    return caught.load();
}

} // namespace qv
