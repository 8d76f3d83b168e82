// The oscilloscope's axes: the time ticks over the samples shown and the three level lines, with
// their labels. Times are counted in tenths of a microsecond.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qv {

constexpr int32_t kMaxTicks = 20;

struct PlotScale {
    int32_t displaySampleCount = 0; // N / xDispRate
    double span = 0;                // (displaySampleCount - 1) / rate, in 0.1 us
    int32_t tickStep = 1;           // 0.1 us
    int32_t tickCount = 0;
    std::array<int32_t, kMaxTicks> tickX{};
    std::array<int32_t, 3> gridY{}; // +level, 0, -level
};

// The samples shown of n captured at rate, spread over plotWidth pixels, and the level lines
// over plotHeight (8-bit output marks +-100, every other format +-30000 on the 16-bit scale).
PlotScale LayoutPlotScale(int32_t n, int32_t xDispRate, double rate, int32_t plotWidth,
                          int32_t plotHeight, bool eightBit);

// The label of tick k (1, 2, ...) for a tick step: "5", "0.5", ... in the unit of TickUnit.
std::string TickLabel(int32_t k, int32_t tickStep);
const char* TickUnit(int32_t tickStep); // "us", "ms" or "sec"

// The labels of the three level lines, top to bottom: "30000", "0", "-30000" at x1.
std::array<std::string, 3> LevelLabels(bool eightBit, int32_t yDispRate);

} // namespace qv
