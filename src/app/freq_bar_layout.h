// The frequency bar's table: a row of small controls over a scale and the long slider under it.
// The slider and the close box follow the window's width.
#pragma once

#include "platform/language.h"
#include "platform/window_layout.h"

namespace qv {

struct FreqBarIds {
    enum : int {
        kTitle = 10,
        kLog,
        kSweepLabel,
        kSweepDown,
        kSweepUp,
        kSpeedLabel,
        kSpeed,
        kSyncWave5,
        kClose,
        kSlider,
    };
};

const WindowLayout& FreqBarLayout();

// The scale's labels lie between the row of controls and the slider's top.
inline constexpr int kFreqBarSliderTop = 42;
inline constexpr int kFreqBarSliderMargin = 4; // the slider's gap to each side of the window
inline constexpr int kFreqBarCloseWidth = 20;

inline constexpr Text2 kFreqBarHintLog{"対数 / 直線", "Log / Linear"};
inline constexpr Text2 kFreqBarHintSweepDown{"下降スイープ", "Sweep down"};
inline constexpr Text2 kFreqBarHintSweepUp{"上昇スイープ", "Sweep up"};
inline constexpr Text2 kFreqBarHintSpeed{"スイープ速度", "Sweep speed"};
inline constexpr Text2 kFreqBarCaption{"周波数バー", "Frequency bar"};

} // namespace qv
