#include "fftlib/fft_context.h"

#include <cmath>
#include <new>
#include <numbers>

namespace qv {

double FixedWindowValue(int code, int32_t i, int32_t n) {
    const double t = 2.0 * std::numbers::pi * i / n;
    switch (code) {
    case 1:
        return 0.5 - 0.5 * std::cos(t);
    case 2:
        return 0.54 - 0.46 * std::cos(t);
    case 3:
        return 0.42 - 0.5 * std::cos(t) + 0.08 * std::cos(2 * t);
    case 4:
        return 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) -
               0.01168 * std::cos(3 * t);
    case 5:
        return 0.27105140069342415 - 0.43329793923448606 * std::cos(t) +
               0.21812299954311062 * std::cos(2 * t) - 0.0659254463880309 * std::cos(3 * t) +
               0.010811742098372268 * std::cos(4 * t) - 0.0007765848252250934 * std::cos(5 * t) +
               0.000013887217350903198 * std::cos(6 * t);
    case 6:
        return 0.21557895 - 0.41663158 * std::cos(t) + 0.277263158 * std::cos(2 * t) -
               0.083578947 * std::cos(3 * t) + 0.006947368 * std::cos(4 * t);
    default:
        return 1.0;
    }
}

int32_t FirstRadix4Groups(int32_t m) {
    int32_t bits = 0;
    while ((int32_t{1} << (bits + 1)) <= m)
        ++bits;
    return bits % 2 ? 2 : 1;
}

bool BuildFftContext(FftContext& c, int32_t size, bool realInput, bool createWindows) {
    try {
        c.realInput = realInput;
        c.createWindows = createWindows;
        c.size = size;
        c.transformSize = realInput ? size >> 1 : size;
        const int32_t m = c.transformSize;
        c.halfSize = m / 2;
        c.quarterSize = m / 4;
        c.kaiserLength = 0;
        c.kaiserAlpha = -1.0;
        c.work.assign(2 * (static_cast<size_t>(m) + 1), 0.0);
        c.stageTwiddles.clear();
        c.twiddleOffsets.clear();
        for (int32_t g = FirstRadix4Groups(m); 4 * g <= m; g *= 4) {
            const int32_t q = m / (4 * g);
            const size_t base = c.stageTwiddles.size();
            c.twiddleOffsets.push_back(base);
            c.stageTwiddles.resize(base + 6 * static_cast<size_t>(g));
            for (int32_t i = 0; i < g; ++i) {
                double* w = c.stageTwiddles.data() + base + 6 * static_cast<size_t>(i);
                for (int64_t r = 1; r <= 3; ++r) {
                    // Reduced exactly before the angle is formed.
                    const int64_t t = (r * i * q) % m;
                    const double a = 2.0 * std::numbers::pi * static_cast<double>(t) / m;
                    w[2 * (r - 1)] = std::cos(a);
                    w[2 * (r - 1) + 1] = -std::sin(a);
                }
            }
        }
        c.splitSin.resize(m);
        c.splitCos.resize(m);
        for (int32_t i = 0; i < m; ++i) {
            const double a = std::numbers::pi * i / m;
            c.splitSin[i] = -std::sin(a);
            c.splitCos[i] = std::cos(a);
        }
        c.lastTwiddles.assign(m >= 16 ? 24 * ((static_cast<size_t>(m / 4) + 3) / 4) : 0, 0.0);
        for (int32_t i = 0; m >= 16 && i < m / 4; ++i) {
            const int32_t lane = i % 4 == 1 ? 2 : i % 4 == 2 ? 1 : i % 4;
            double* w = c.lastTwiddles.data() + 24 * static_cast<size_t>(i / 4) + lane;
            for (int64_t r = 1; r <= 3; ++r) {
                const double a = 2.0 * std::numbers::pi * static_cast<double>(r * i) / m;
                w[8 * (r - 1)] = std::cos(a);
                w[8 * (r - 1) + 4] = -std::sin(a);
            }
        }
        for (int code = 1; code <= kFixedWindowCount; ++code) {
            std::vector<double>& w = c.windows[code - 1];
            w.clear();
            if (!createWindows)
                continue;
            w.resize(size);
            for (int32_t i = 0; i < size; ++i)
                w[i] = FixedWindowValue(code, i, size);
        }
        c.kaiserWindow.clear();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

double BesselI0(double x) {
    double sum = 1.0, term = 1.0;
    const double half = x / 2;
    for (int k = 1; k <= 199; ++k) {
        term *= half / k; // (x/2)^k / k!
        const double squared = term * term;
        sum += squared;
        if (squared < 1e-15 * sum)
            break;
    }
    return sum;
}

void FillKaiserWindow(std::vector<double>& w, int32_t length, double alpha) {
    w.assign(length > 0 ? length : 0, 0.0);
    const int32_t half = length / 2;
    const double scale = 1.0 / BesselI0(alpha);
    for (int32_t i = 0; i < half; ++i) {
        const double r = half > 1 ? static_cast<double>(i) / (half - 1) : 0.0;
        const double v = BesselI0(alpha * std::sqrt(std::fmax(0.0, 1.0 - r * r))) * scale;
        if (half + i < length)
            w[half + i] = v;
        w[half - i] = v;
    }
    if (length > 0)
        w[0] = 0.0;
}

} // namespace qv
