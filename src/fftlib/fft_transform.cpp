// Radix-2 Stockham autosort transform: natural order in and out, ping-ponging between the data
// and the context's work buffer; real input is packed into a half-length complex transform and
// recombined.
#include "fftlib/fft_context.h"

#include <cstring>

namespace qv {

namespace {

// All stages; returns the buffer the last stage wrote.
double* Stages(FftContext& c, double* data, double sign) {
    const int32_t m = c.transformSize;
    double* src = data;
    double* dst = c.work.data();
    const int32_t half = m / 2;
    for (int32_t g = 1, h = m / 2; g < m; g *= 2, h /= 2) {
        for (int32_t i = 0; i < g; ++i) {
            const int32_t t = i * h;
            const double* a = src + 2 * (2 * i * h);
            const double* b = src + 2 * (2 * i * h + h);
            double* lo = dst + 2 * (i * h);
            double* hi = dst + 2 * (half + i * h);
            if (t == 0) { // twiddle 1: no multiplication
                for (int32_t k = 0; k < h; ++k) {
                    const double ar = a[2 * k], ai = a[2 * k + 1], br = b[2 * k], bi = b[2 * k + 1];
                    lo[2 * k] = ar + br;
                    lo[2 * k + 1] = ai + bi;
                    hi[2 * k] = ar - br;
                    hi[2 * k + 1] = ai - bi;
                }
            } else if (t == c.quarterSize) { // twiddle -j (forward) or +j (inverse)
                for (int32_t k = 0; k < h; ++k) {
                    const double ar = a[2 * k], ai = a[2 * k + 1];
                    const double br = sign * b[2 * k + 1], bi = -sign * b[2 * k];
                    lo[2 * k] = ar + br;
                    lo[2 * k + 1] = ai + bi;
                    hi[2 * k] = ar - br;
                    hi[2 * k + 1] = ai - bi;
                }
            } else {
                const double wr = c.twiddleCos[t], wi = sign * c.twiddleSin[t];
                for (int32_t k = 0; k < h; ++k) {
                    const double ar = a[2 * k], ai = a[2 * k + 1];
                    const double br = b[2 * k] * wr - b[2 * k + 1] * wi;
                    const double bi = b[2 * k] * wi + b[2 * k + 1] * wr;
                    lo[2 * k] = ar + br;
                    lo[2 * k + 1] = ai + bi;
                    hi[2 * k] = ar - br;
                    hi[2 * k + 1] = ai - bi;
                }
            }
        }
        double* written = dst;
        dst = src;
        src = written;
    }
    return src;
}

} // namespace

void RunTransform(FftContext& c, double* data, bool inverse) {
    const int32_t m = c.transformSize;
    if (m < 1)
        return;
    double* result = Stages(c, data, inverse ? -1.0 : 1.0);
    const double scale = 1.0 / m;
    if (!c.realInput) {
        if (result != data)
            std::memcpy(data, result, sizeof(double) * 2 * m);
        if (!inverse) {
            for (int32_t i = 0; i < 2 * m; ++i)
                data[i] *= scale;
        }
        return;
    }
    double* z = c.work.data();
    if (result != z)
        std::memcpy(z, result, sizeof(double) * 2 * m);
    for (int32_t i = 0; i < 2 * m; ++i)
        z[i] *= scale;
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
