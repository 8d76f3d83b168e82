// The priority of the calling thread on the engine's five-step scale.
#pragma once

namespace qv {

// level 1 (lowest) .. 5 (highest), 3 normal; other values are held to that range. Windows maps
// it to the thread priorities lowest .. highest; elsewhere an unprivileged process cannot raise
// a thread, so the call leaves the thread as it is.
void SetCurrentThreadPriority(int level);

} // namespace qv
