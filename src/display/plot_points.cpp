#include "display/plot_points.h"

#include "fftlib/fft_api.h"

#include <algorithm>

namespace qv {

void LayoutPlotPoints(int32_t samples, int32_t width, const FftApi& api, PlotPoints& plot) {
    const int64_t d = samples > 1 ? samples - 1 : 1;
    LayoutPlotPointsAt(
        samples,
        [&](int32_t i) { return static_cast<int32_t>(static_cast<int64_t>(i) * (width - 1) / d); },
        api, plot);
}

void LayoutPlotPointsAt(int32_t samples, const std::function<int32_t(int32_t sample)>& xOf,
                        const FftApi& api, PlotPoints& plot) {
    const int32_t n = samples > 0 ? samples : 0;
    plot.points.assign(static_cast<size_t>(n), ScreenPoint{0, 0});
    plot.runLengths.assign(static_cast<size_t>(n) + 1, 0);
    for (int32_t i = 0; i < n; ++i)
        plot.points[i].x = xOf(i);
    plot.count = n;
    plot.runCount = 0;
    api.prepareCoordinates(&plot.count, plot.points.data(), nullptr, nullptr, &plot.runCount,
                           plot.runLengths.data(), kPointsPerColumn);
}

int32_t PlotY(int32_t value, int32_t height, int32_t yDispRate) {
    const int64_t k = 2 * (32768 / (yDispRate > 0 ? yDispRate : 1));
    return height / 2 + static_cast<int32_t>(-(static_cast<int64_t>(value) * height + k / 2) / k);
}

void FillPlotY(const PlotPoints& plot, const std::function<int32_t(size_t sample)>& yOf,
               std::vector<ScreenPoint>& ys) {
    ys.resize(std::max<size_t>(ys.size(), static_cast<size_t>(plot.count)));
    size_t sample = 0;
    int32_t out = 0;
    for (int32_t r = 0; r < plot.runCount && out < plot.count; ++r) {
        const int32_t n = plot.runLengths[r];
        if (n <= kPointsPerColumn) {
            for (int32_t k = 0; k < n && out < plot.count; ++k, ++out)
                ys[out] = {plot.points[out].x, yOf(sample++)};
            continue;
        }
        const int32_t first = yOf(sample);
        int32_t lo = yOf(sample + 1), hi = lo;
        for (int32_t k = 2; k < n - 1; ++k) {
            const int32_t y = yOf(sample + k);
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
        const int32_t last = yOf(sample + n - 1);
        for (int32_t y : {first, lo, hi, last}) {
            if (out < plot.count) {
                ys[out] = {plot.points[out].x, y};
                ++out;
            }
        }
        sample += n;
    }
}

} // namespace qv
