// The tables of the live-change settings windows: the up/down buttons' window (for a master's
// frequency or amplitude) and the Wave5 synchronisation window.
#pragma once

#include "platform/window_layout.h"

namespace qv {

struct UpDownIds {
    enum : int {
        kValueRadio = 10,
        kPercentRadio,
        kValueBox,
        kPercentBox,
        kTransitionBox,
        kResetBuffer,
        kLog
    };
};

struct Wave5SyncIds {
    enum : int { kDiffRadio = 10, kRatioRadio, kDiffBox, kRatioBox };
};

const WindowLayout& UpDownLayout(bool frequency);
const WindowLayout& Wave5SyncLayout();
inline constexpr Text2 kAmpUpDownCaption{"振幅 Up/Down", "Amp Up/Down"};
inline constexpr Text2 kFreqUpDownCaption{"F/P Up/Down", "F/P Up/Down"};
inline constexpr Text2 kWave5SyncCaption{"Wave5の同期", "Sync. Wave5"};

} // namespace qv
