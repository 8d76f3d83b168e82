// The filter plot's coordinates: frequency to x on a logarithmic or linear axis, dB to y over
// the chosen range, and a mouse position to a point on the filter's frequency grid.
#pragma once

#include "filter/frequency_scale.h"

#include <cstdint>

namespace qv {

class FilterPlot {
public:
    // A plot of width x height pixels for an N-point filter at sampleRate; the log axis starts
    // at half a bin width, the linear one at 0 Hz; both end at half the rate.
    void Layout(int32_t width, int32_t height, bool logScale, double sampleRate, int32_t filterSize,
                int32_t topDb, int32_t bottomDb);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool LogScale() const { return logScale_; }
    double MinFreq() const { return minFreq_; }
    double MaxFreq() const { return maxFreq_; }
    double BinWidth() const { return binWidth_; }
    int32_t TopDb() const { return topDb_; }
    int32_t BottomDb() const { return bottomDb_; }

    int32_t FreqToX(double frequency) const;
    // Unclamped, a level far off the range lands far off the plot (the response curve);
    // clamped, it stays on the plot's edge (the point marks).
    int32_t DbToY(double gainDb, bool clamp) const;

    struct Spot {
        int32_t bin = 0;
        double frequency = 0; // the bin's frequency
        double gainDb = 0;
        int32_t x = 0, y = 0; // where the point is drawn
    };
    // The point a mouse position stands for: its frequency held to lowest ... highest and
    // snapped to the grid, its gain from the height (at most the top of the range).
    Spot PointFromMouse(int32_t x, int32_t y, double lowest, double highest) const;

    AxisScale FrequencyAxis(int32_t offset) const;
    AxisScale DbAxis() const;

private:
    int32_t width_ = 2, height_ = 2, filterSize_ = 4096;
    bool logScale_ = true;
    double rate_ = 44100, binWidth_ = 0, minFreq_ = 0, maxFreq_ = 1;
    double logMin_ = 0, logMax_ = 1, pixelsPerDecade_ = 1;
    int32_t topDb_ = 20, bottomDb_ = -100;
};

} // namespace qv
