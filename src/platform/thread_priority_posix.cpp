#include "platform/thread_priority.h"

namespace qv {

void SetCurrentThreadPriority(int) {}

} // namespace qv
