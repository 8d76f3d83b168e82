// Radix-2 Stockham autosort transform: natural order in and out, ping-ponging between the data
// and the context's work buffer; real input is packed into a half-length complex transform and
// recombined.
#include "fftlib/fft_context.h"

#include <cstring>

namespace qv {

namespace {

struct Cx {
    double re, im;
};

inline Cx Mul(Cx a, double wr, double wi) {
    return {a.re * wr - a.im * wi, a.re * wi + a.im * wr};
}
inline Cx Add(Cx a, Cx b) {
    return {a.re + b.re, a.im + b.im};
}
inline Cx Sub(Cx a, Cx b) {
    return {a.re - b.re, a.im - b.im};
}
// Multiplication by -j (forward) or +j (inverse), exact.
inline Cx Quarter(Cx a, double sign) {
    return {sign * a.im, -sign * a.re};
}

// One radix-2 stage with g groups of half-span h.
void Radix2Stage(const FftContext& c, const Cx* src, Cx* dst, int32_t g, int32_t h, double sign) {
    const int32_t half = c.transformSize / 2;
    for (int32_t i = 0; i < g; ++i) {
        const int32_t t = i * h;
        const double wr = c.twiddleCos[t], wi = sign * c.twiddleSin[t];
        const Cx* a = src + 2 * i * h;
        const Cx* b = a + h;
        Cx* lo = dst + i * h;
        Cx* hi = dst + half + i * h;
        for (int32_t k = 0; k < h; ++k) {
            const Cx bw = Mul(b[k], wr, wi);
            lo[k] = Add(a[k], bw);
            hi[k] = Sub(a[k], bw);
        }
    }
}

// Two consecutive radix-2 stages (g groups of half-span h, then 2g of h/2) in one pass: the
// same butterflies, with half the passes over memory. The second stage's twiddle for group
// g + i is the one for group i times -j (forward), applied exactly.
void Radix4Stage(const FftContext& c, const Cx* src, Cx* dst, int32_t g, int32_t h, double sign) {
    const int32_t half = c.transformSize / 2;
    const int32_t quarter = c.transformSize / 4;
    const int32_t q = h / 2;
    for (int32_t i = 0; i < g; ++i) {
        const double w0r = c.twiddleCos[i * h], w0i = sign * c.twiddleSin[i * h];
        const double w1r = c.twiddleCos[i * q], w1i = sign * c.twiddleSin[i * q];
        const Cx* x = src + 2 * i * h;
        Cx* d0 = dst + i * q;
        Cx* d1 = dst + half + i * q;
        Cx* d2 = dst + quarter + i * q;
        Cx* d3 = dst + half + quarter + i * q;
        for (int32_t k = 0; k < q; ++k) {
            const Cx x0 = x[k], x1 = x[k + q], x2 = x[h + k], x3 = x[h + k + q];
            const Cx a2 = Mul(x2, w0r, w0i), a3 = Mul(x3, w0r, w0i);
            const Cx t0 = Add(x0, a2), t2 = Sub(x0, a2);
            const Cx t1 = Add(x1, a3), t3 = Sub(x1, a3);
            const Cx u1 = Mul(t1, w1r, w1i);
            const Cx u3 = Quarter(Mul(t3, w1r, w1i), sign);
            d0[k] = Add(t0, u1);
            d1[k] = Sub(t0, u1);
            d2[k] = Add(t2, u3);
            d3[k] = Sub(t2, u3);
        }
    }
}

// All stages, two at a time while two are left; returns the buffer the last pass wrote.
double* Stages(FftContext& c, double* data, double sign) {
    const int32_t m = c.transformSize;
    Cx* src = reinterpret_cast<Cx*>(data);
    Cx* dst = reinterpret_cast<Cx*>(c.work.data());
    int32_t g = 1, h = m / 2;
    while (g < m) {
        if (h >= 2) {
            Radix4Stage(c, src, dst, g, h, sign);
            g *= 4;
            h /= 4;
        } else {
            Radix2Stage(c, src, dst, g, h, sign);
            g *= 2;
            h /= 2;
        }
        Cx* written = dst;
        dst = src;
        src = written;
    }
    return reinterpret_cast<double*>(src);
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
