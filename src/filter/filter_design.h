// The drawn FIR filter: its parameters and the polyline of gain points over the N-point
// frequency grid. (Whether the filter is on, its oversampling factor and N live in the
// generator, which renders with them.)
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qv {

constexpr int kMaxFilterPoints = 100;

struct FilterPoint {
    int32_t binIndex = 0; // 0 ... N/2
    double frequency = 0; // binIndex x sample rate / N
    double gainDb = 0;
};

struct FilterDesign {
    int32_t responseRate = 8; // 4, 8 or 16: refinement of the display response
    double kaiserAlpha = 6;   // 0 ... 10
    int32_t ampScaleMaxDb = 20;
    int32_t ampScaleMinDb = -100;
    std::string comment;
    std::array<FilterPoint, kMaxFilterPoints> points{};
    int32_t pointCount = 0;
};

// Moves the points onto the grid of filterSize for the given sample rate: the last point sat on
// the old Nyquist bin, so the indices scale by N / (2 x its index); points that fall onto one bin
// are separated (the bins keep rising), and an end beyond N/2 is pulled back onto it. Nothing
// happens when the scale is 1 and skipIfUnchanged is set.
void RescalePoints(FilterDesign& design, int32_t filterSize, double sampleRate,
                   bool skipIfUnchanged);

// Whether a point table can be designed: 2 ... 100 points, bins rising from 0 to at most the
// Nyquist bin of the largest filter (8192), every gain a finite number. Filter files and
// parameter files are checked by this one rule.
bool FilterPointsUsable(const FilterDesign& design);

// The flat response: 0 dB at 0 Hz and at half the sample rate; the comment is cleared.
void ResetFilterPoints(FilterDesign& design, int32_t filterSize, double sampleRate);

} // namespace qv
