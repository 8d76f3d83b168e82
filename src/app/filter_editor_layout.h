// The tables of the filter editor and of its point window.
#pragma once

#include "platform/window_layout.h"

namespace qv {

struct FilterEditorIds {
    enum : int {
        kOpen = 10,
        kSave,
        kCommentLabel,
        kComment,
        kReset,
        kClose,
        kSizeLabel,
        kSize,
        kAlphaLabel,
        kAlpha,
        kAlphaUpDown,
        kOverSampleLabel,
        kOverSample,
        kLog,
        kPointCount,
        kPlot,
    };
};

struct EditPointIds {
    enum : int {
        kApply = kCloseButtonId, // Enter
        kCancel = 2,             // Esc
        kGroup = 10,
        kFrequency,
        kFrequencyUpDown,
        kGain,
        kGainUpDown,
    };
};

// The editor at its smallest: the controls above, the plot below them with room for the dB
// labels on its left and the frequency labels under it. The plot grows with the window.
const WindowLayout& FilterEditorLayout();
inline constexpr int kFilterPlotLeft = 44, kFilterPlotTop = 82, kFilterPlotRightMargin = 10,
                     kFilterPlotBottomMargin = 22;

const WindowLayout& EditPointLayout();

} // namespace qv
