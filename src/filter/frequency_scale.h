// The axes of the filter plot (and of the frequency bar): where the grid lines of a frequency
// axis fall, logarithmic or linear, with their labels ("1", "5", "10", "50", ... "1k", "5k"), and
// the lines and labels of a dB axis.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct AxisLabel {
    std::string text; // at most 7 characters
    int32_t pos = 0;  // x of a frequency label, y of a dB label
};

struct AxisScale {
    std::vector<int32_t> grid; // x (frequency) or y (dB) of every grid line
    std::vector<AxisLabel> labels;
    int32_t zeroLine = -1; // dB axis: the index in grid of the 0 dB line, -1 when not shown

    // A grid line with a label at it (drawn longer).
    bool Labelled(int32_t pos) const;
};

// Up to 70 lines and labels over width pixels from offset: in log mode every 1-2-...-9 step of
// each decade from minFreq up to maxFreq, labelled at the decade and its half; in linear mode a
// 1-2-5 step giving fewer than 30 lines, every fifth labelled.
AxisScale FrequencyScale(int32_t offset, int32_t width, bool logScale, double maxFreq,
                         double minFreq);

// Lines every 10 dB from the first multiple of 10 at or below topDb down to bottomDb over height
// pixels, labelled every 20 dB ("+20", "0dB", "-20", ...).
AxisScale DbScale(int32_t bottomDb, int32_t topDb, int32_t height);

} // namespace qv
