// An independent design of the filter, straight from its definition with naive DFTs: the drawn
// response sampled on the N-point grid, its impulse response centred and Kaiser-windowed at
// the oversampled length A, zero-padded to 2A.
#pragma once

#include "filter/filter_design.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace qv::test {

using Cplx = std::complex<long double>;

// Gain (linear) at bin k of the polyline: linear in dB over log10 of the frequency between
// points, bin 0 counting as half a bin.
inline long double DrawnGain(const FilterDesign& d, int k) {
    for (int i = 0; i + 1 < d.pointCount; ++i) {
        const FilterPoint& p = d.points[i];
        const FilterPoint& q = d.points[i + 1];
        if (k >= p.binIndex && k < q.binIndex) {
            const long double lo = p.binIndex == 0 ? 0.5L : p.binIndex;
            const long double at = k == 0 ? 0.5L : k;
            const long double db = p.gainDb + (q.gainDb - p.gainDb) * std::log10(at / lo) /
                                                  std::log10(q.binIndex / lo);
            return std::pow(10.0L, db / 20);
        }
    }
    return std::pow(10.0L, d.points[d.pointCount - 1].gainDb / 20);
}

inline long double BesselI0(long double x) {
    long double sum = 1, term = 1;
    for (int k = 1; k < 200; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

// The library's Kaiser window of length L: I0(alpha sqrt(1 - r^2)) / I0(alpha) with r the
// distance from the centre L/2 in units of L/2 - 1, and a leading zero.
inline long double Kaiser(int t, int length, long double alpha) {
    const int half = length / 2;
    if (t == 0)
        return 0;
    const long double r = static_cast<long double>(std::abs(t - half)) / (half - 1);
    return BesselI0(alpha * std::sqrt(std::max(0.0L, 1 - r * r))) / BesselI0(alpha);
}

// The 2A-point kernel in time (taps 0 ... A-1, then zeros): the filter stage's convolution is
// with these taps divided by 2A.
inline std::vector<long double> KernelTaps(const FilterDesign& d, int n, int o) {
    const int a = n * o;
    std::vector<long double> mag(a, 0.0L);
    for (int k = 0; k <= n / 2; ++k) {
        mag[k] = DrawnGain(d, k);
        if (k > 0)
            mag[a - k] = mag[k];
    }
    if (o > 1)
        mag[n / 2] = 0; // nothing between the base-rate Nyquist frequency and its mirror
    std::vector<long double> cosine(a);
    for (int i = 0; i < a; ++i)
        cosine[i] = std::cos(2 * std::numbers::pi_v<long double> * i / a);
    std::vector<long double> taps(2 * a, 0.0L);
    for (int t = 0; t < a; ++t) {
        // Inverse DFT (real, even spectrum), centred on A/2, doubled, windowed.
        long double sum = 0;
        const long shifted = (t + a / 2) % a;
        for (long k = 0; k < a; ++k)
            sum += mag[k] * cosine[(k * shifted) % a];
        taps[t] = 2 * sum * Kaiser(t, a, d.kaiserAlpha);
    }
    return taps;
}

// Forward DFT scaled by 1/size.
inline std::vector<Cplx> Dft(const std::vector<long double>& x) {
    const size_t size = x.size();
    std::vector<Cplx> out(size);
    for (size_t k = 0; k < size; ++k) {
        Cplx sum = 0;
        for (size_t t = 0; t < size; ++t) {
            const long double w = -2 * std::numbers::pi_v<long double> *
                                  static_cast<long double>((k * t) % size) / size;
            sum += x[t] * Cplx(std::cos(w), std::sin(w));
        }
        out[k] = sum / static_cast<long double>(size);
    }
    return out;
}

} // namespace qv::test
