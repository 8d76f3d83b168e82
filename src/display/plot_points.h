// Laying dense sample sequences out on a plot a few hundred pixels wide: x positions spread over
// the width, thinned by the transform library to at most four points per pixel column, and y
// positions that keep each column's first sample, extremes and last sample.
#pragma once

#include "fftlib/kt54.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qv {

struct FftApi;

constexpr int32_t kPointsPerColumn = 4;

struct PlotPoints {
    std::vector<ScreenPoint> points; // after thinning: the first count entries
    int32_t count = 0;
    std::vector<int32_t> runLengths; // samples per pixel column
    int32_t runCount = 0;
};

// samples points at x = trunc(i (width - 1) / d), d = samples - 1 (1 for a single sample),
// thinned by DLL_PrepareCoordinatesSub with a per-run limit of 4.
void LayoutPlotPoints(int32_t samples, int32_t width, const FftApi& api, PlotPoints& plot);
// The same for samples at any x (a logarithmic axis), xOf(i) rising with i.
void LayoutPlotPointsAt(int32_t samples, const std::function<int32_t(int32_t sample)>& xOf,
                        const FftApi& api, PlotPoints& plot);

// The y of a value on the 16-bit scale for a plot height and a vertical magnification:
// trunc(H/2) + trunc(-(v H + K/2) / K) with K = 2 trunc(32768 / yDispRate).
int32_t PlotY(int32_t value, int32_t height, int32_t yDispRate);

// The thinned points of plot with their y (into ys, count entries), from the samples in order,
// run by run: a run of up to four samples gives their y; a longer one its first sample, the
// smallest and the largest y of its inner samples, and its last sample.
void FillPlotY(const PlotPoints& plot, const std::function<int32_t(size_t sample)>& yOf,
               std::vector<ScreenPoint>& ys);

} // namespace qv
