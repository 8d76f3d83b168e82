// Measuring tones in rendered signals, independently of the generator: the amplitude of one
// frequency by direct correlation, and zero crossings.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

namespace qv::test {

// Amplitude of the component at freq in channel ch of interleaved frames (a whole number of
// its cycles should fit into the frames for an exact reading).
inline double ToneAmplitude(const std::vector<double>& x, int channels, int ch, double freq,
                            double rate) {
    const size_t n = x.size() / channels;
    long double re = 0, im = 0;
    for (size_t i = 0; i < n; ++i) {
        const long double w = 2.0L * std::numbers::pi_v<long double> * freq * i / rate;
        re += x[i * channels + ch] * std::cos(w);
        im -= x[i * channels + ch] * std::sin(w);
    }
    return static_cast<double>(2.0L * std::sqrt(re * re + im * im) / n);
}

// Sample positions (fractional, by linear interpolation) where channel ch changes sign.
inline std::vector<double> ZeroCrossings(const std::vector<double>& x, int channels, int ch) {
    std::vector<double> t;
    const size_t n = x.size() / channels;
    for (size_t i = 1; i < n; ++i) {
        const double a = x[(i - 1) * channels + ch], b = x[i * channels + ch];
        if ((a < 0) != (b < 0) && a != b)
            t.push_back(static_cast<double>(i - 1) + a / (a - b));
    }
    return t;
}

} // namespace qv::test
