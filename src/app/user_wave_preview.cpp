#include "app/user_wave_preview.h"

#include <cmath>
#include <cstdint>

namespace qv {

namespace {

constexpr uint32_t kMostPreviewFrames = 2000000;

// trunc(32768 s) as an int32: float sources are not limited to -1 ... 1 (NaN draws as 0).
int32_t Scaled(double s) {
    const double v = std::trunc(32768.0 * s);
    if (!(v == v))
        return 0;
    return v >= 2147483647.0    ? 2147483647
           : v <= -2147483648.0 ? INT32_MIN
                                : static_cast<int32_t>(v);
}

} // namespace

UserWavePreview BuildUserWavePreview(const UserWaveSet& set, int32_t width, int32_t height,
                                     const FftApi& api) {
    UserWavePreview p;
    const uint32_t frames = set.userWaveFrames;
    const uint32_t channels = set.userWaveChannels;
    if (frames == 0 || channels == 0 ||
        set.userWaveSamples.size() < static_cast<size_t>(frames) * channels) {
        return p;
    }
    const uint32_t step = frames > kMostPreviewFrames ? frames / kMostPreviewFrames : 1;
    LayoutPlotPoints(static_cast<int32_t>(frames / step), width, api, p.layout);
    auto channel = [&](uint32_t c) {
        return [&set, &height, step, channels, c](size_t i) {
            const double s = set.userWaveSamples[i * step * channels + c];
            return PlotY(Scaled(s), height, 1);
        };
    };
    FillPlotY(p.layout, channel(0), p.first);
    if (channels >= 2)
        FillPlotY(p.layout, channel(1), p.second);
    return p;
}

} // namespace qv
