// A message the main window answers with the playback thread's longest wait for its display
// step in the current or last playback, in microseconds (read by the responsiveness probe).
#pragma once

#include <windows.h>

namespace qv {

inline constexpr UINT kDisplayWaitQuery = WM_APP + 20;

} // namespace qv
