// Stockham autosort transform in radix-4 stages (one radix-2 stage first when log2(M) is odd):
// natural order in and out, ping-ponging between the data and the context's work buffer; real
// input is packed into a half-length complex transform and recombined. Processors with AVX2 and
// FMA run the vector stages of fft_transform_avx2.cpp, all others the portable ones here.
#include "fftlib/fft_context.h"
#include "fftlib/fft_stages.h"

#include <cstring>
#include <utility>

namespace qv {

namespace {

struct Cx {
    double re, im;
};

// a·w, or a·conj(w) for the inverse.
inline Cx Mul(Cx a, const double* w, bool inverse) {
    const double wr = w[0], wi = inverse ? -w[1] : w[1];
    return {a.re * wr - a.im * wi, a.re * wi + a.im * wr};
}

// The first stage when log2(M) is odd: one group, no twiddles.
void Radix2Stage(const Cx* src, Cx* dst, int32_t m, double scale) {
    const int32_t h = m / 2;
    for (int32_t k = 0; k < h; ++k) {
        const Cx a = src[k], b = src[h + k];
        dst[k] = {(a.re + b.re) * scale, (a.im + b.im) * scale};
        dst[h + k] = {(a.re - b.re) * scale, (a.im - b.im) * scale};
    }
}

void Radix4Stage(const Cx* src, Cx* dst, int32_t m, int32_t g, const double* twiddles, bool inverse,
                 double scale) {
    const int32_t q = m / (4 * g);
    const size_t quarter = static_cast<size_t>(m / 4);
    for (int32_t i = 0; i < g; ++i) {
        const double* w = GroupTwiddles(twiddles, i);
        const Cx* x = src + 4 * static_cast<size_t>(i) * q;
        Cx* d = dst + static_cast<size_t>(i) * q;
        for (int32_t k = 0; k < q; ++k) {
            const Cx y0 = x[k], y1 = Mul(x[q + k], w, inverse);
            const Cx y2 = Mul(x[2 * q + k], w + 2, inverse), y3 = Mul(x[3 * q + k], w + 4, inverse);
            const Cx a = {y0.re + y2.re, y0.im + y2.im}, b = {y0.re - y2.re, y0.im - y2.im};
            const Cx e = {y1.re + y3.re, y1.im + y3.im}, f = {y1.re - y3.re, y1.im - y3.im};
            // f·(-j) forward, f·j inverse: exact.
            const Cx r = inverse ? Cx{-f.im, f.re} : Cx{f.im, -f.re};
            d[k] = {(a.re + e.re) * scale, (a.im + e.im) * scale};
            d[2 * quarter + k] = {(a.re - e.re) * scale, (a.im - e.im) * scale};
            d[quarter + k] = {(b.re + r.re) * scale, (b.im + r.im) * scale};
            d[3 * quarter + k] = {(b.re - r.re) * scale, (b.im - r.im) * scale};
        }
    }
}

// All stages; returns the buffer the last one wrote. The last stage multiplies by scale (a
// power of two: exact).
double* Stages(const FftContext& c, double* data, double* work, bool inverse, double scale) {
    const int32_t m = c.transformSize;
    Cx* src = reinterpret_cast<Cx*>(data);
    Cx* dst = reinterpret_cast<Cx*>(work);
    int32_t g = FirstRadix4Groups(m);
    if (g == 2) {
        Radix2Stage(src, dst, m, 4 > m ? scale : 1.0);
        std::swap(src, dst);
    }
    for (size_t s = 0; 4 * g <= m; ++s, g *= 4) {
        Radix4Stage(src, dst, m, g, c.stageTwiddles.data() + c.twiddleOffsets[s], inverse,
                    16 * g > m ? scale : 1.0);
        std::swap(src, dst);
    }
    return reinterpret_cast<double*>(src);
}

} // namespace

void RunTransform(FftContext& c, double* data, bool inverse) {
    const int32_t m = c.transformSize;
    if (m < 1)
        return;
    // Forward transforms are scaled by 1/M (exact: M is a power of two) in their last pass.
    const double scale = inverse ? 1.0 : 1.0 / m;
    // The vector stages take powers of two from 16 points.
    const bool vector = UseAvx2() && m >= 16 && (m & (m - 1)) == 0;
    double* result = vector ? AvxStages(c, data, c.work.data(), inverse, scale)
                            : Stages(c, data, c.work.data(), inverse, scale);
    if (!c.realInput) {
        if (result != data)
            std::memcpy(data, result, sizeof(double) * 2 * m);
        return;
    }
    double* z = c.work.data();
    if (result != z)
        std::memcpy(z, result, sizeof(double) * 2 * m);
    const double z0r = z[0], z0i = z[1];
    // X[k] needs Z[k] and Z[M-k]: written into data, which no longer holds input.
    for (int32_t k = 1; k < m; ++k) {
        const double qr = z[2 * k], qi = z[2 * k + 1];
        const double rr = z[2 * (m - k)], ri = z[2 * (m - k) + 1];
        const double cs = c.splitCos[k], sn = c.splitSin[k];
        data[2 * k] = ((qr + rr) + cs * (qi + ri) + sn * (qr - rr)) / 4;
        data[2 * k + 1] = ((qi - ri) + sn * (qi + ri) - cs * (qr - rr)) / 4;
    }
    data[0] = (z0r + z0i) / 2;
    data[1] = 0.0;
    data[2 * m] = (z0r - z0i) / 2;
    data[2 * m + 1] = 0.0;
}

} // namespace qv
