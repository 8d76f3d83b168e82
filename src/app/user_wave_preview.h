// The preview of a registered user wave: channel 1 (and channel 2 of a multichannel wave) laid
// out over the preview panel as the waveform display lays out its traces.
#pragma once

#include "display/plot_points.h"
#include "generator/user_wave_set.h"

#include <vector>

namespace qv {

struct UserWavePreview {
    PlotPoints layout;
    std::vector<ScreenPoint> first, second; // second is empty for a mono wave
};

// At most 2000000 frames are laid out (every step-th frame of a longer wave) over width x height
// pixels; y = trunc(H/2) + trunc((-(H trunc(32768 s)) - 32768) / 65536).
UserWavePreview BuildUserWavePreview(const UserWaveSet& set, int32_t width, int32_t height,
                                     const FftApi& api);

} // namespace qv
