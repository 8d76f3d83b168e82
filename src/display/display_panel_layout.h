// The strip at the top of the main window's display panel: the display-channel box and a
// level meter per output channel; the oscilloscope takes the rest of the panel.
#pragma once

#include "platform/window_layout.h"

namespace qv {

inline constexpr int kDisplayStripHeight = 24;
inline constexpr int kDisplayChannelBoxId = 2200;
inline constexpr int kFirstMeterId = 2210; // Level1 ... Level8

const WindowLayout& DisplayStripLayout();

} // namespace qv
