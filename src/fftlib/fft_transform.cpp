// Radix-2 Stockham autosort transform: natural order in and out, ping-ponging between the data
// and the context's work buffer; real input is packed into a half-length complex transform and
// recombined.
#include "fftlib/fft_context.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// One radix-2 stage with g groups of half-span h.
void Radix2Stage(const FftContext& c, const Cx* src, Cx* dst, int32_t g, int32_t h, double sign,
                 double scale) {
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
            const Cx sum = Add(a[k], bw), difference = Sub(a[k], bw);
            lo[k] = {sum.re * scale, sum.im * scale};
            hi[k] = {difference.re * scale, difference.im * scale};
        }
    }
}

// Two consecutive radix-2 stages (g groups of half-span h, then 2g of h/2) in one pass: the
// same butterflies, with half the passes over memory. The second stage's twiddle for group
// g + i is the one for group i times -j (forward), applied exactly. SSE2 (present on every
// x86-64) holds one complex value per register; the products and sums are the scalar ones.
#if defined(__SSE2__)
struct PackedTwiddle {
    __m128d re, im; // [wr, wr], [-wi, wi]
};
inline PackedTwiddle Pack(double wr, double wi) {
    return {_mm_set1_pd(wr), _mm_set_pd(wi, -wi)};
}
inline __m128d MulP(__m128d b, PackedTwiddle w) {
    const __m128d swapped = _mm_shuffle_pd(b, b, 1); // [im, re]
    return _mm_add_pd(_mm_mul_pd(b, w.re), _mm_mul_pd(swapped, w.im));
}

// The butterflies of one group; Unit marks group 0, whose twiddles are 1 (no products).
template <bool Scaled, bool Unit>
inline void Radix4Group(const double* x, double* d0, double* d1, double* d2, double* d3, int32_t h,
                        PackedTwiddle w0, PackedTwiddle w1, PackedTwiddle w1q, __m128d quarterSign,
                        __m128d s) {
    const int32_t q = h / 2;
    auto out = [s](__m128d v) { return Scaled ? _mm_mul_pd(v, s) : v; };
    for (int32_t k = 0; k < q; ++k) {
        const __m128d x0 = _mm_loadu_pd(x + 2 * k), x1 = _mm_loadu_pd(x + 2 * (k + q));
        const __m128d x2 = _mm_loadu_pd(x + 2 * (h + k)), x3 = _mm_loadu_pd(x + 2 * (h + k + q));
        const __m128d a2 = Unit ? x2 : MulP(x2, w0), a3 = Unit ? x3 : MulP(x3, w0);
        const __m128d t0 = _mm_add_pd(x0, a2), t2 = _mm_sub_pd(x0, a2);
        const __m128d t1 = _mm_add_pd(x1, a3), t3 = _mm_sub_pd(x1, a3);
        const __m128d u1 = Unit ? t1 : MulP(t1, w1);
        // w1q is w1 times -j (forward): the same products as rotating t3 · w1 afterwards.
        const __m128d u3 =
            Unit ? _mm_mul_pd(_mm_shuffle_pd(t3, t3, 1), quarterSign) : MulP(t3, w1q);
        _mm_storeu_pd(d0 + 2 * k, out(_mm_add_pd(t0, u1)));
        _mm_storeu_pd(d1 + 2 * k, out(_mm_sub_pd(t0, u1)));
        _mm_storeu_pd(d2 + 2 * k, out(_mm_add_pd(t2, u3)));
        _mm_storeu_pd(d3 + 2 * k, out(_mm_sub_pd(t2, u3)));
    }
}

template <bool Scaled>
void Radix4Pass(const FftContext& c, const Cx* src, Cx* dst, int32_t g, int32_t h, double sign,
                double scale) {
    const int32_t half = c.transformSize / 2;
    const int32_t quarter = c.transformSize / 4;
    const int32_t q = h / 2;
    const __m128d s = _mm_set1_pd(scale);
    // Multiplication by -j (forward) is [im, -re]; by +j (inverse) [-im, re].
    const __m128d quarterSign = _mm_set_pd(-sign, sign);
    for (int32_t i = 0; i < g; ++i) {
        const PackedTwiddle w0 = Pack(c.twiddleCos[i * h], sign * c.twiddleSin[i * h]);
        const double w1r = c.twiddleCos[i * q], w1i = sign * c.twiddleSin[i * q];
        const PackedTwiddle w1 = Pack(w1r, w1i);
        const PackedTwiddle w1q = Pack(sign * w1i, -sign * w1r);
        const double* x = reinterpret_cast<const double*>(src + 2 * i * h);
        double* d0 = reinterpret_cast<double*>(dst + i * q);
        double* d1 = reinterpret_cast<double*>(dst + half + i * q);
        double* d2 = reinterpret_cast<double*>(dst + quarter + i * q);
        double* d3 = reinterpret_cast<double*>(dst + half + quarter + i * q);
        if (i == 0)
            Radix4Group<Scaled, true>(x, d0, d1, d2, d3, h, w0, w1, w1q, quarterSign, s);
        else
            Radix4Group<Scaled, false>(x, d0, d1, d2, d3, h, w0, w1, w1q, quarterSign, s);
    }
}

void Radix4Stage(const FftContext& c, const Cx* src, Cx* dst, int32_t g, int32_t h, double sign,
                 double scale) {
    if (scale == 1.0)
        Radix4Pass<false>(c, src, dst, g, h, sign, scale);
    else
        Radix4Pass<true>(c, src, dst, g, h, sign, scale);
}
#else
// Multiplication by -j (forward) or +j (inverse), exact.
inline Cx Quarter(Cx a, double sign) {
    return {sign * a.im, -sign * a.re};
}

void Radix4Stage(const FftContext& c, const Cx* src, Cx* dst, int32_t g, int32_t h, double sign,
                 double scale) {
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
            const Cx o0 = Add(t0, u1), o1 = Sub(t0, u1), o2 = Add(t2, u3), o3 = Sub(t2, u3);
            d0[k] = {o0.re * scale, o0.im * scale};
            d1[k] = {o1.re * scale, o1.im * scale};
            d2[k] = {o2.re * scale, o2.im * scale};
            d3[k] = {o3.re * scale, o3.im * scale};
        }
    }
}
#endif

// All stages, two at a time while two are left; returns the buffer the last pass wrote. The
// last pass multiplies by scale (a power of two: exact).
double* Stages(FftContext& c, double* data, double sign, double scale) {
    const int32_t m = c.transformSize;
    Cx* src = reinterpret_cast<Cx*>(data);
    Cx* dst = reinterpret_cast<Cx*>(c.work.data());
    int32_t g = 1, h = m / 2;
    while (g < m) {
        if (h >= 2) {
            Radix4Stage(c, src, dst, g, h, sign, 4 * g >= m ? scale : 1.0);
            g *= 4;
            h /= 4;
        } else {
            Radix2Stage(c, src, dst, g, h, sign, 2 * g >= m ? scale : 1.0);
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
    // Forward transforms are scaled by 1/M (exact: M is a power of two) in their last pass.
    double* result = Stages(c, data, inverse ? -1.0 : 1.0, inverse ? 1.0 : 1.0 / m);
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
