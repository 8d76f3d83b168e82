// One transform context: sizes, twiddle and recombination tables, window tables and the work
// buffer of the ping-pong transform. Everything is computed at creation; transforms allocate
// nothing and compute no trigonometry.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qv {

constexpr int kFixedWindowCount = 6; // codes 1 … 6; code 7 is the Kaiser table

struct FftContext {
    bool realInput = false;
    bool createWindows = false;
    int32_t size = 0;          // N, as given
    int32_t transformSize = 0; // M: N, or N / 2 for real input
    int32_t halfSize = 0;
    int32_t quarterSize = 0;
    int32_t kaiserLength = 0;
    double kaiserAlpha = -1.0;
    std::vector<double> work;                                   // M + 1 complex values, interleaved
    std::vector<double> twiddleSin, twiddleCos;                 // -sin, cos (2πi/M), i = 0 … M/2
    std::vector<double> splitSin, splitCos;                     // -sin, cos (πi/M), i = 0 … M-1
    std::array<std::vector<double>, kFixedWindowCount> windows; // N entries each, or empty
    std::vector<double> kaiserWindow;
};

// Builds every table of a context of size N; false when memory could not be had.
bool BuildFftContext(FftContext& context, int32_t size, bool realInput, bool createWindows);

// The fixed window code (1 … 6) at index i of N.
double FixedWindowValue(int code, int32_t i, int32_t n);

// The modified Bessel function I0 as the library sums it.
double BesselI0(double x);

// Fills a Kaiser table of the given length (even) and alpha, with its leading zero.
void FillKaiserWindow(std::vector<double>& table, int32_t length, double alpha);

// In-place transform of a context (complex or real input).
void RunTransform(FftContext& context, double* data, bool inverse);

} // namespace qv
