// The stages of fft_stages.h with AVX2 and FMA. Compiled for those instructions function by
// function, so the library itself still runs on any x86-64; UseAvx2 picks this code at run time.
//
// Between the first stage and the last the values are kept with real and imaginary parts apart
// in blocks of four (four real parts, then their four imaginary parts: one cache line): a
// register then holds four complex values and a product costs four arithmetic instructions
// without any shuffle, and each group of values read or written is one line, not two far apart
// (lines a power of two apart compete for the same cache sets). The first stage reads the
// interleaved input, the last one writes it back interleaved.
// Stages with q >= 4 put four k in a register, the last stage (q = 1) four groups.
#include "fftlib/fft_stages.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <utility>

#define QV_AVX2 __attribute__((target("avx2,fma")))
#define QV_AVX2_INLINE __attribute__((target("avx2,fma"), always_inline)) inline

namespace qv {

bool UseAvx2() {
    static const bool use = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return use;
}

namespace {

// Four complex values.
struct V {
    __m256d re, im;
};

// Values k … k+3 (k a multiple of four) of an interleaved buffer or of a split one.
template <bool Interleaved> QV_AVX2_INLINE V LoadV(const double* p, size_t k) {
    if (Interleaved) {
        const __m256d a = _mm256_loadu_pd(p + 2 * k), b = _mm256_loadu_pd(p + 2 * k + 4);
        // [r0 r2 r1 r3], [i0 i2 i1 i3] put in order.
        return {_mm256_permute4x64_pd(_mm256_unpacklo_pd(a, b), 0xD8),
                _mm256_permute4x64_pd(_mm256_unpackhi_pd(a, b), 0xD8)};
    }
    return {_mm256_loadu_pd(p + 2 * k), _mm256_loadu_pd(p + 2 * k + 4)};
}

template <bool Interleaved> QV_AVX2_INLINE void StoreV(double* p, size_t k, V v) {
    if (Interleaved) {
        const __m256d re = _mm256_permute4x64_pd(v.re, 0xD8),
                      im = _mm256_permute4x64_pd(v.im, 0xD8);
        _mm256_storeu_pd(p + 2 * k, _mm256_unpacklo_pd(re, im));
        _mm256_storeu_pd(p + 2 * k + 4, _mm256_unpackhi_pd(re, im));
    } else {
        _mm256_storeu_pd(p + 2 * k, v.re);
        _mm256_storeu_pd(p + 2 * k + 4, v.im);
    }
}

// a·w, or a·conj(w) for the inverse.
template <bool Inverse> QV_AVX2_INLINE V Mul(V a, __m256d wr, __m256d wi) {
    if (Inverse) {
        return {_mm256_fmadd_pd(a.re, wr, _mm256_mul_pd(a.im, wi)),
                _mm256_fmsub_pd(a.im, wr, _mm256_mul_pd(a.re, wi))};
    }
    return {_mm256_fmsub_pd(a.re, wr, _mm256_mul_pd(a.im, wi)),
            _mm256_fmadd_pd(a.re, wi, _mm256_mul_pd(a.im, wr))};
}

QV_AVX2_INLINE V Scale(V a, __m256d s) {
    return {_mm256_mul_pd(a.re, s), _mm256_mul_pd(a.im, s)};
}
QV_AVX2_INLINE V Add(V a, V b) {
    return {_mm256_add_pd(a.re, b.re), _mm256_add_pd(a.im, b.im)};
}
QV_AVX2_INLINE V Sub(V a, V b) {
    return {_mm256_sub_pd(a.re, b.re), _mm256_sub_pd(a.im, b.im)};
}

// The four-point transform of twiddled values, in place: x0 … x3 become the outputs for the
// quarters 0, 2, 1, 3. The product by -j (forward) or j (inverse) is a swap of parts.
template <bool Inverse> QV_AVX2_INLINE void Dft4(V& x0, V& x1, V& x2, V& x3) {
    const V a = Add(x0, x2), b = Sub(x0, x2), e = Add(x1, x3), f = Sub(x1, x3);
    x0 = Add(a, e);
    x1 = Sub(a, e);
    if (Inverse) {
        x2 = {_mm256_sub_pd(b.re, f.im), _mm256_add_pd(b.im, f.re)};
        x3 = {_mm256_add_pd(b.re, f.im), _mm256_sub_pd(b.im, f.re)};
    } else {
        x2 = {_mm256_add_pd(b.re, f.im), _mm256_sub_pd(b.im, f.re)};
        x3 = {_mm256_sub_pd(b.re, f.im), _mm256_add_pd(b.im, f.re)};
    }
}

// A group's twiddles (fft_stages.h) broadcast: [W1 re, W1 im, W2 …, W3 …].
struct Twiddles {
    __m256d w[6];
};
QV_AVX2_INLINE Twiddles Broadcast(const double* w) {
    return {{_mm256_broadcast_sd(w), _mm256_broadcast_sd(w + 1), _mm256_broadcast_sd(w + 2),
             _mm256_broadcast_sd(w + 3), _mm256_broadcast_sd(w + 4), _mm256_broadcast_sd(w + 5)}};
}

// Twiddles of one group (Unit: group 0, all ones) then the four-point transform.
template <bool Inverse, bool Unit>
QV_AVX2_INLINE void Butterfly(V& x0, V& x1, V& x2, V& x3, const Twiddles& t) {
    if (!Unit) {
        x1 = Mul<Inverse>(x1, t.w[0], t.w[1]);
        x2 = Mul<Inverse>(x2, t.w[2], t.w[3]);
        x3 = Mul<Inverse>(x3, t.w[4], t.w[5]);
    }
    Dft4<Inverse>(x0, x1, x2, x3);
}

// The first stage when log2(M) is odd (M >= 32 here): interleaved in, split out, or
// interleaved out in place (one group: each value is read before its place is written).
template <bool Out> QV_AVX2 void Radix2Stage(const double* src, double* dst, size_t m) {
    const size_t h = m / 2;
    for (size_t k = 0; k < h; k += 4) {
        const V a = LoadV<true>(src, k), b = LoadV<true>(src, h + k);
        StoreV<Out>(dst, k, Add(a, b));
        StoreV<Out>(dst, h + k, Sub(a, b));
    }
}

// One group of a stage with q >= 4: x and d index the group's first value. In and Out tell
// interleaved buffers; only the first stage (one group, in place) writes interleaved.
template <bool Inverse, bool Unit, bool In, bool Out = false>
QV_AVX2_INLINE void Radix4Group(const double* src, double* dst, size_t x, size_t d, size_t q,
                                size_t m, const double* w) {
    const size_t quarter = m / 4;
    const Twiddles t = Unit ? Twiddles{} : Broadcast(w);
    for (size_t k = 0; k < q; k += 4) {
        V x0 = LoadV<In>(src, x + k), x1 = LoadV<In>(src, x + q + k);
        V x2 = LoadV<In>(src, x + 2 * q + k), x3 = LoadV<In>(src, x + 3 * q + k);
        Butterfly<Inverse, Unit>(x0, x1, x2, x3, t);
        StoreV<Out>(dst, d + k, x0);
        StoreV<Out>(dst, d + 2 * quarter + k, x1);
        StoreV<Out>(dst, d + quarter + k, x2);
        StoreV<Out>(dst, d + 3 * quarter + k, x3);
    }
}

template <bool Inverse, bool In, bool Out = false>
QV_AVX2 void Radix4Stage(const double* src, double* dst, size_t m, size_t g,
                         const double* twiddles) {
    const size_t q = m / (4 * g);
    Radix4Group<Inverse, true, In, Out>(src, dst, 0, 0, q, m, twiddles);
    for (size_t i = 1; i < g; ++i) {
        Radix4Group<Inverse, false, In, Out>(src, dst, 4 * i * q, i * q, q, m,
                                             GroupTwiddles(twiddles, static_cast<int32_t>(i)));
    }
}

// Rows r0 … r3 (groups i … i+3) of a 4 x 4 block become its columns, lanes in the group order
// i, i+2, i+1, i+3: the order in which two unpacks interleave them back.
QV_AVX2_INLINE void Transpose(__m256d& r0, __m256d& r1, __m256d& r2, __m256d& r3) {
    const __m256d t0 = _mm256_unpacklo_pd(r0, r2), t1 = _mm256_unpackhi_pd(r0, r2);
    const __m256d t2 = _mm256_unpacklo_pd(r1, r3), t3 = _mm256_unpackhi_pd(r1, r3);
    r0 = _mm256_permute2f128_pd(t0, t2, 0x20);
    r1 = _mm256_permute2f128_pd(t1, t3, 0x20);
    r2 = _mm256_permute2f128_pd(t0, t2, 0x31);
    r3 = _mm256_permute2f128_pd(t1, t3, 0x31);
}

// Groups i … i+3 in the lane order of Transpose, interleaved at p + 2i.
QV_AVX2_INLINE void StoreGroups(double* p, size_t i, V v) {
    _mm256_storeu_pd(p + 2 * i, _mm256_unpacklo_pd(v.re, v.im));
    _mm256_storeu_pd(p + 2 * i + 4, _mm256_unpackhi_pd(v.re, v.im));
}

// The last stage (q = 1, g = M/4): groups i … i+3 share registers; split in, interleaved out.
template <bool Inverse, bool Scaled>
QV_AVX2 void LastStage(const double* src, double* dst, size_t m, const double* twiddles,
                       double scale) {
    const size_t g = m / 4;
    const __m256d s = _mm256_set1_pd(scale);
    for (size_t i = 0; i < g; i += 4) {
        V x0 = LoadV<false>(src, 4 * i), x1 = LoadV<false>(src, 4 * i + 4);
        V x2 = LoadV<false>(src, 4 * i + 8), x3 = LoadV<false>(src, 4 * i + 12);
        Transpose(x0.re, x1.re, x2.re, x3.re);
        Transpose(x0.im, x1.im, x2.im, x3.im);
        const double* w = twiddles + 6 * i;
        x1 = Mul<Inverse>(x1, _mm256_loadu_pd(w), _mm256_loadu_pd(w + 4));
        x2 = Mul<Inverse>(x2, _mm256_loadu_pd(w + 8), _mm256_loadu_pd(w + 12));
        x3 = Mul<Inverse>(x3, _mm256_loadu_pd(w + 16), _mm256_loadu_pd(w + 20));
        Dft4<Inverse>(x0, x1, x2, x3);
        if (Scaled) {
            x0 = Scale(x0, s), x1 = Scale(x1, s), x2 = Scale(x2, s), x3 = Scale(x3, s);
        }
        StoreGroups(dst, i, x0);
        StoreGroups(dst, 2 * g + i, x1);
        StoreGroups(dst, g + i, x2);
        StoreGroups(dst, 3 * g + i, x3);
    }
}

template <bool Inverse> double* Run(const FftContext& c, double* data, double* work, double scale) {
    const size_t m = static_cast<size_t>(c.transformSize);
    size_t g = static_cast<size_t>(FirstRadix4Groups(c.transformSize));
    size_t passes = g == 2 ? 2 : 1;
    for (size_t h = g; 16 * h <= m; h *= 4)
        ++passes;
    // An odd count runs the first stage in place, so that the result ends in data (no copy).
    const bool inPlace = passes % 2 != 0;
    double* src = data;
    double* dst = inPlace ? data : work;
    size_t s = 0;
    if (g == 2) {
        if (inPlace)
            Radix2Stage<true>(src, dst, m);
        else
            Radix2Stage<false>(src, dst, m);
    } else if (inPlace) {
        Radix4Stage<Inverse, true, true>(src, dst, m, g, c.stageTwiddles.data());
        g *= 4, ++s;
    } else {
        Radix4Stage<Inverse, true>(src, dst, m, g, c.stageTwiddles.data());
        g *= 4, ++s;
    }
    // Stages that follow read interleaved values only after the first one ran in place.
    bool interleaved = inPlace;
    dst = inPlace ? work : data;
    src = inPlace ? data : work;
    for (; 16 * g <= m; g *= 4, ++s) {
        const double* twiddles = c.stageTwiddles.data() + c.twiddleOffsets[s];
        if (interleaved)
            Radix4Stage<Inverse, true>(src, dst, m, g, twiddles);
        else
            Radix4Stage<Inverse, false>(src, dst, m, g, twiddles);
        interleaved = false;
        std::swap(src, dst);
    }
    if (scale == 1.0)
        LastStage<Inverse, false>(src, dst, m, c.lastTwiddles.data(), scale);
    else
        LastStage<Inverse, true>(src, dst, m, c.lastTwiddles.data(), scale);
    return dst;
}

} // namespace

double* AvxStages(const FftContext& c, double* data, double* work, bool inverse, double scale) {
    return inverse ? Run<true>(c, data, work, scale) : Run<false>(c, data, work, scale);
}

} // namespace qv
#else
namespace qv {
bool UseAvx2() {
    return false;
}
double* AvxStages(const FftContext&, double*, double*, bool, double) {
    return nullptr;
}
} // namespace qv
#endif
