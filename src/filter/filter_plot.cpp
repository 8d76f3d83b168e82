#include "filter/filter_plot.h"

#include "filter/filter_edits.h"

#include <algorithm>
#include <cmath>

namespace qv {

void FilterPlot::Layout(int32_t width, int32_t height, bool logScale, double sampleRate,
                        int32_t filterSize, int32_t topDb, int32_t bottomDb) {
    width_ = std::max(width, 2);
    height_ = std::max(height, 2);
    logScale_ = logScale;
    rate_ = sampleRate > 0 ? sampleRate : 1;
    filterSize_ = std::max(filterSize, 2);
    binWidth_ = rate_ / filterSize_;
    maxFreq_ = rate_ / 2;
    minFreq_ = logScale ? binWidth_ / 2 : 0;
    logMin_ = logScale ? std::log10(minFreq_) : 0;
    logMax_ = std::log10(maxFreq_);
    pixelsPerDecade_ = (width_ - 1) / (logMax_ - logMin_);
    topDb_ = topDb;
    bottomDb_ = bottomDb < topDb ? bottomDb : topDb - 10;
}

int32_t FilterPlot::FreqToX(double f) const {
    if (!logScale_)
        return static_cast<int32_t>(std::trunc((width_ - 1) * f / maxFreq_ + 0.5));
    if (f <= 0)
        return 1;
    return static_cast<int32_t>(std::trunc((std::log10(f) - logMin_) * pixelsPerDecade_ + 0.5));
}

int32_t FilterPlot::DbToY(double g, bool clamp) const {
    double y = std::floor(-(g - topDb_) * (height_ - 1) / (topDb_ - bottomDb_) + 0.5);
    // Held to what an int takes: a response of -760 dB still maps to a drawable far-off y.
    y = std::clamp(y, -1e6, 1e6);
    if (clamp)
        y = std::clamp(y, 0.0, static_cast<double>(height_ - 1));
    return static_cast<int32_t>(y);
}

FilterPlot::Spot FilterPlot::PointFromMouse(int32_t x, int32_t y, double lowest,
                                            double highest) const {
    Spot s;
    double f =
        logScale_ ? std::pow(10.0, x / pixelsPerDecade_ + logMin_) : x * maxFreq_ / (width_ - 1);
    f = std::clamp(f, lowest, std::max(lowest, highest));
    s.bin = FrequencyToBin(f, 0, filterSize_, rate_, logScale_);
    s.frequency = f;
    s.x = FreqToX(f);
    const int32_t my = std::clamp(y, 0, height_ - 1);
    const int32_t y0 = DbToY(0, true);
    double g = height_ - 1 - y0 != 0 ? double(my - y0) / (height_ - 1 - y0) * bottomDb_ : 0;
    g = std::min(g, static_cast<double>(topDb_));
    if (g == 0)
        g = 0; // no "-0"
    s.gainDb = g;
    s.y = DbToY(g, true);
    return s;
}

AxisScale FilterPlot::FrequencyAxis(int32_t offset) const {
    return FrequencyScale(offset, width_, logScale_, maxFreq_, minFreq_);
}

AxisScale FilterPlot::DbAxis() const {
    return DbScale(bottomDb_, topDb_, height_);
}

} // namespace qv
