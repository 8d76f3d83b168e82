// The stages of fft_stages.h with AVX2 and FMA, two complex values a register. Compiled for
// those instructions function by function, so the library itself still runs on any x86-64;
// UseAvx2 picks this code at run time.
//
// Pairs of radix-4 stages whose second one still has q >= 2 run fused (radix 16): each value
// goes through memory once for both, which halves the traffic at large sizes. The last stage
// (q = 1) puts two groups in a register instead of two k.
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

// a·w for a twiddle broadcast from memory (w·conj for the inverse).
template <bool Inverse> QV_AVX2_INLINE __m256d MulBroadcast(__m256d a, const double* w) {
    const __m256d wr = _mm256_broadcast_sd(w), wi = _mm256_broadcast_sd(w + 1);
    const __m256d cross = _mm256_mul_pd(_mm256_permute_pd(a, 5), wi);
    return Inverse ? _mm256_fmsubadd_pd(a, wr, cross) : _mm256_fmaddsub_pd(a, wr, cross);
}

// a·w for a register of two twiddles.
template <bool Inverse> QV_AVX2_INLINE __m256d MulPair(__m256d a, __m256d w) {
    const __m256d wr = _mm256_movedup_pd(w), wi = _mm256_permute_pd(w, 15);
    const __m256d cross = _mm256_mul_pd(_mm256_permute_pd(a, 5), wi);
    return Inverse ? _mm256_fmsubadd_pd(a, wr, cross) : _mm256_fmaddsub_pd(a, wr, cross);
}

// The four-point transform of twiddled values, in place: x0 … x3 become the outputs for the
// quarters 0, 2, 1, 3.
template <bool Inverse>
QV_AVX2_INLINE void Dft4(__m256d& x0, __m256d& x1, __m256d& x2, __m256d& x3) {
    const __m256d a = _mm256_add_pd(x0, x2), b = _mm256_sub_pd(x0, x2);
    const __m256d e = _mm256_add_pd(x1, x3), f = _mm256_sub_pd(x1, x3);
    // f·(-j) = [im, -re] forward, f·j = [-im, re] inverse: a swap and a sign, exact.
    const __m256d sign =
        Inverse ? _mm256_set_pd(0.0, -0.0, 0.0, -0.0) : _mm256_set_pd(-0.0, 0.0, -0.0, 0.0);
    const __m256d r = _mm256_xor_pd(_mm256_permute_pd(f, 5), sign);
    x0 = _mm256_add_pd(a, e);
    x1 = _mm256_sub_pd(a, e);
    x2 = _mm256_add_pd(b, r);
    x3 = _mm256_sub_pd(b, r);
}

// Twiddles of one group (Unit: group 0, all ones) then the four-point transform.
template <bool Inverse, bool Unit>
QV_AVX2_INLINE void Butterfly(__m256d& x0, __m256d& x1, __m256d& x2, __m256d& x3, const double* w) {
    if (!Unit) {
        x1 = MulBroadcast<Inverse>(x1, w);
        x2 = MulBroadcast<Inverse>(x2, w + 4);
        x3 = MulBroadcast<Inverse>(x3, w + 8);
    }
    Dft4<Inverse>(x0, x1, x2, x3);
}

QV_AVX2_INLINE __m256d Load(const double* p) {
    return _mm256_loadu_pd(p);
}
QV_AVX2_INLINE void Store(double* p, __m256d v) {
    _mm256_storeu_pd(p, v);
}

// The first stage when log2(M) is odd (M >= 8 here).
QV_AVX2 void Radix2Stage(const double* src, double* dst, int32_t m) {
    const size_t h = 2 * static_cast<size_t>(m / 2);
    for (size_t k = 0; k < h; k += 4) {
        const __m256d a = Load(src + k), b = Load(src + h + k);
        Store(dst + k, _mm256_add_pd(a, b));
        Store(dst + h + k, _mm256_sub_pd(a, b));
    }
}

// One group of a stage with q >= 2 (doubles: x and d at the group, quarter = M/4 values).
template <bool Inverse, bool Unit>
QV_AVX2_INLINE void Radix4Group(const double* x, double* d, size_t q, size_t quarter,
                                const double* w) {
    for (size_t k = 0; k < 2 * q; k += 4) {
        __m256d x0 = Load(x + k), x1 = Load(x + 2 * q + k);
        __m256d x2 = Load(x + 4 * q + k), x3 = Load(x + 6 * q + k);
        Butterfly<Inverse, Unit>(x0, x1, x2, x3, w);
        Store(d + k, x0);
        Store(d + 4 * quarter + k, x1);
        Store(d + 2 * quarter + k, x2);
        Store(d + 6 * quarter + k, x3);
    }
}

template <bool Inverse>
QV_AVX2 void Radix4Stage(const double* src, double* dst, int32_t m, int32_t g,
                         const double* twiddles) {
    const size_t q = static_cast<size_t>(m / (4 * g)), quarter = static_cast<size_t>(m / 4);
    Radix4Group<Inverse, true>(src, dst, q, quarter, twiddles);
    for (int32_t i = 1; i < g; ++i) {
        Radix4Group<Inverse, false>(src + 8 * i * q, dst + 2 * i * q, q, quarter,
                                    GroupTwiddles(twiddles, i));
    }
}

// Group i of the stage (g, q) and the four groups i + {0, 2, 1, 3}·g of the next stage (4g,
// q/4) that take its outputs, for q/4 >= 4. The sixteen streams lie a power of two apart and
// share cache sets, so each is read and written a whole cache line (four values) at a time.
template <bool Inverse, bool Unit>
QV_AVX2_INLINE void FusedGroup(const double* x, double* dst, int32_t i, int32_t g, size_t q,
                               size_t quarter, const double* wa, const double* nextTwiddles) {
    const size_t p = q / 4;
    const double* wb[4] = {GroupTwiddles(nextTwiddles, i), GroupTwiddles(nextTwiddles, i + 2 * g),
                           GroupTwiddles(nextTwiddles, i + g),
                           GroupTwiddles(nextTwiddles, i + 3 * g)};
    double* d[4] = {dst + 2 * i * p, dst + 2 * (i + 2 * g) * p, dst + 2 * (i + g) * p,
                    dst + 2 * (i + 3 * g) * p};
    for (size_t k = 0; k < 2 * p; k += 8) {
        __m256d y[4][4][2]; // [input of the next stage][its group][half line]
        #pragma GCC unroll 4
        for (size_t s = 0; s < 4; ++s) {
            #pragma GCC unroll 4
            for (size_t h = 0; h < 2; ++h) {
                const double* xs = x + 2 * s * p + k + 4 * h;
                y[s][0][h] = Load(xs);
                y[s][1][h] = Load(xs + 2 * q);
                y[s][2][h] = Load(xs + 4 * q);
                y[s][3][h] = Load(xs + 6 * q);
                Butterfly<Inverse, Unit>(y[s][0][h], y[s][1][h], y[s][2][h], y[s][3][h], wa);
            }
        }
        #pragma GCC unroll 4
        for (size_t r = 0; r < 4; ++r) {
            #pragma GCC unroll 4
            for (size_t h = 0; h < 2; ++h) {
                __m256d v0 = y[0][r][h], v1 = y[1][r][h], v2 = y[2][r][h], v3 = y[3][r][h];
                Butterfly<Inverse, false>(v0, v1, v2, v3, wb[r]);
                Store(d[r] + k + 4 * h, v0);
                Store(d[r] + 4 * quarter + k + 4 * h, v1);
                Store(d[r] + 2 * quarter + k + 4 * h, v2);
                Store(d[r] + 6 * quarter + k + 4 * h, v3);
            }
        }
    }
}

template <bool Inverse>
QV_AVX2 void FusedStages(const double* src, double* dst, int32_t m, int32_t g,
                         const double* twiddles, const double* nextTwiddles) {
    const size_t q = static_cast<size_t>(m / (4 * g)), quarter = static_cast<size_t>(m / 4);
    FusedGroup<Inverse, true>(src, dst, 0, g, q, quarter, twiddles, nextTwiddles);
    for (int32_t i = 1; i < g; ++i) {
        FusedGroup<Inverse, false>(src + 8 * i * q, dst, i, g, q, quarter,
                                   GroupTwiddles(twiddles, i), nextTwiddles);
    }
}

// The last stage (q = 1, g = M/4 even; M >= 8 on this path): groups i and i + 1 share registers.
template <bool Inverse, bool Scaled>
QV_AVX2 void LastStage(const double* src, double* dst, int32_t m, const double* twiddles,
                       double scale) {
    const size_t g = static_cast<size_t>(m / 4);
    const __m256d s = _mm256_set1_pd(scale);
    for (size_t i = 0; i < g; i += 2) {
        const double* x = src + 8 * i;
        const __m256d l0 = Load(x), l1 = Load(x + 4), l2 = Load(x + 8), l3 = Load(x + 12);
        const double* w = twiddles + 6 * i;
        __m256d x0 = _mm256_permute2f128_pd(l0, l2, 0x20);
        __m256d x1 = MulPair<Inverse>(_mm256_permute2f128_pd(l0, l2, 0x31), Load(w));
        __m256d x2 = MulPair<Inverse>(_mm256_permute2f128_pd(l1, l3, 0x20), Load(w + 4));
        __m256d x3 = MulPair<Inverse>(_mm256_permute2f128_pd(l1, l3, 0x31), Load(w + 8));
        Dft4<Inverse>(x0, x1, x2, x3);
        if (Scaled) {
            x0 = _mm256_mul_pd(x0, s), x1 = _mm256_mul_pd(x1, s);
            x2 = _mm256_mul_pd(x2, s), x3 = _mm256_mul_pd(x3, s);
        }
        Store(dst + 2 * i, x0);
        Store(dst + 2 * (2 * g + i), x1);
        Store(dst + 2 * (g + i), x2);
        Store(dst + 2 * (3 * g + i), x3);
    }
}

template <bool Inverse> double* Run(const FftContext& c, double* data, double* work, double scale) {
    const int32_t m = c.transformSize;
    double* src = data;
    double* dst = work;
    int32_t g = FirstRadix4Groups(m);
    if (g == 2) {
        Radix2Stage(src, dst, m);
        std::swap(src, dst);
    }
    size_t s = 0;
    for (; 16 * g <= m; g *= 4, ++s) {
        const double* twiddles = c.stageTwiddles.data() + c.twiddleOffsets[s];
        if (64 * g <= m) {
            FusedStages<Inverse>(src, dst, m, g, twiddles,
                                 c.stageTwiddles.data() + c.twiddleOffsets[s + 1]);
            g *= 4, ++s;
        } else {
            Radix4Stage<Inverse>(src, dst, m, g, twiddles);
        }
        std::swap(src, dst);
    }
    const double* twiddles = c.stageTwiddles.data() + c.twiddleOffsets[s];
    if (scale == 1.0)
        LastStage<Inverse, false>(src, dst, m, twiddles, scale);
    else
        LastStage<Inverse, true>(src, dst, m, twiddles, scale);
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
