#include "platform/thread_priority.h"

#include <windows.h>

#include <algorithm>

namespace qv {

void SetCurrentThreadPriority(int level) {
    // THREAD_PRIORITY_LOWEST .. THREAD_PRIORITY_HIGHEST are -2 .. 2.
    SetThreadPriority(GetCurrentThread(), std::clamp(level, 1, 5) - 3);
}

} // namespace qv
