// One transform context: sizes, twiddle and recombination tables, window tables and the work
// buffer of the ping-pong transform. Everything is computed at creation; transforms allocate
// nothing and compute no trigonometry.
#pragma once

#include <array>
#include <cstddef>
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
    // M + 1 complex values, interleaved (between the AVX2 stages: four real parts, then their
    // four imaginary ones).
    std::vector<double> work;
    // The radix-4 stages' twiddles W1 = W^(i·q), W2 = W^(2i·q), W3 = W^(3i·q) (W = e^(-2πj/M))
    // of their groups i, [W1, W2, W3] group after group, stage after stage (twiddleOffsets).
    std::vector<double> stageTwiddles;
    std::vector<size_t> twiddleOffsets;
    // The last stage's (q = 1) twiddles again, for four groups at a time with real and imaginary
    // parts apart: [Re W1 of i, i+2, i+1, i+3, Im W1 …, Re W2 …, Im W2 …, Re W3 …, Im W3 …].
    std::vector<double> lastTwiddles;
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

// Groups of the first radix-4 stage: 2 when log2(M) is odd (one radix-2 stage comes first).
int32_t FirstRadix4Groups(int32_t m);

// In-place transform of a context (complex or real input).
void RunTransform(FftContext& context, double* data, bool inverse);

} // namespace qv
