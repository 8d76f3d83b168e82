// Mixing the slots into channels and converting the mixed frames into the output format.
#include "generator/generator.h"
#include "generator/remainder.h"

#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

// One plain periodic slot for n samples: the arithmetic of GenerateSample and PeriodicValue in
// the same order, with the slot's fields held in locals for the run.
template <int32_t Wave>
void PlainRun(WaveSlot& s, double* out, uint32_t n, double E, double invRate, double rateOver2Pi,
              double twoPiOverRate) {
    const double A = s.curAmp;
    const double D = 0.5;
    const double P = s.curPhase;
    const double f = s.curFreq;
    const double offset = s.offset;
    const double inc = f * invRate;
    const double phaseBase = P * rateOver2Pi;
    const bool wholeRate = E > 0.0 && E == std::floor(E);
    double acc = s.phaseAcc;
    int32_t pulse = s.pulseState;
    // The accumulator's chain of additions is the only dependence between samples, except at
    // the rare reset: a window of accumulator values is added up first, then their remainders
    // computed side by side, and a window ends at a reset, the next starting from it.
    constexpr uint32_t kWindow = 16;
    double accs[kWindow], rems[kWindow];
    for (uint32_t i = 0; i < n;) {
        const uint32_t m = n - i < kWindow ? n - i : kWindow;
        double next = acc;
        for (uint32_t t = 0; t < m; ++t) {
            accs[t] = next;
            next += f;
        }
        for (uint32_t t = 0; t < m; ++t) {
            const double y = phaseBase + accs[t];
            rems[t] =
                wholeRate ? PhaseRemainderWholeRate(y, E, invRate) : PhaseRemainder(y, E, invRate);
        }
        uint32_t end = m;
        for (uint32_t t = 0; t < m; ++t) {
            if (E - rems[t] < 1e-10) { // the accumulator landed a hair below a whole cycle
                accs[t] = 0.0;
                rems[t] = 0.0;
                end = t + 1;
                next = accs[t] + f;
                break;
            }
        }
        acc = next;
        for (uint32_t t = 0; t < end; ++t) {
            double I = rems[t] * invRate;
            if (I < 0)
                I += 1.0;
            double value = 0.0;
            if constexpr (Wave == kSine) {
                value = A * std::sin(P + twoPiOverRate * accs[t]);
            } else if constexpr (Wave == kSquare) {
                value = (I < D && I < 1.0 - inc - 1e-15) ? A : -A;
            } else if constexpr (Wave == kTriangle) {
                value = I < D ? A * (2.0 * I / D - 1.0) : A * (1.0 - 2.0 * (I - D) / (1.0 - D));
            } else if constexpr (Wave == kSawtooth) {
                value = A * (2.0 * I - 1.0);
            } else if constexpr (Wave == kPulse) {
                if (I >= 0.5) {
                    pulse = 1;
                } else if (pulse != 0) {
                    pulse = 0;
                    value = A;
                }
            } else {
                if (pulse > 0 && I < D) {
                    value = A;
                    pulse = -1;
                } else if (pulse < 0 && (I >= D || I >= 1.0 - inc - 1e-15)) {
                    value = -A;
                    pulse = 1;
                } else if (pulse == 0 && I >= D) {
                    pulse = 1;
                }
            }
            out[i + t] = offset + value;
        }
        i += end;
    }
    s.phaseAcc = acc;
    s.pulseState = pulse;
    s.sampleCount += static_cast<int32_t>(n);
    if (n > 0)
        s.out = s.modOut = out[n - 1];
}

} // namespace

bool Generator::PlainSlot(int k, int32_t waveform, uint32_t frameCount) const {
    const WaveSlot& s = slots[k];
    if (waveform < kSine || waveform > kPulsePm || s.curFreq == 0.0)
        return false;
    // sampleCount only counts up; a run must neither start in the delay nor wrap into it.
    if (s.sampleCount < 0 || s.sampleCount > INT32_MAX - static_cast<int32_t>(frameCount))
        return false;
    if (!IsMaster(k))
        return true;
    return s.bandLimitType == 0 && !s.modulation && !s.sweep && !s.transition.Acquire() &&
           !s.gate && s.gateOpen;
}

void Generator::RenderPlainRun(int k, int32_t waveform, double* out, uint32_t n) {
    // PlainSlot admits kSine … kPulsePm only.
    using Run = void (*)(WaveSlot&, double*, uint32_t, double, double, double, double);
    static constexpr Run kRuns[] = {PlainRun<kSine>,     PlainRun<kSquare>, PlainRun<kTriangle>,
                                    PlainRun<kSawtooth>, PlainRun<kPulse>,  PlainRun<kPulsePm>};
    kRuns[waveform - kSine](slots[k], out, n, effectiveRate, invRate, rateOver2Pi, twoPiOverRate);
}

// Every channel's sum over its slots' runs, added in mixing order onto 0.0 as the frame loop
// does; channels with the same slots share one sum. A channel of one slot takes its run, the
// 0.0 added while interleaving (a partial sum that started from 0.0 is never -0.0, so adding 0.0
// again leaves every sum as it is).
void Generator::MixPlainRuns(const uint32_t* channelSlots, double* destination, uint32_t n) {
    const uint32_t channels = format.channels;
    double* runs = runBuffer.data();
    double* sums = runs + static_cast<size_t>(kSlotCount) * kRunFrames;
    const double* column[kMaxChannels];
    for (uint32_t c = 0; c < channels; ++c) {
        uint32_t same = 0;
        while (same < c && channelSlots[same] != channelSlots[c])
            ++same;
        if (same < c) {
            column[c] = column[same];
            continue;
        }
        const uint32_t slotBits = channelSlots[c];
        if (slotBits != 0 && (slotBits & (slotBits - 1)) == 0) {
            column[c] = runs + static_cast<size_t>(std::countr_zero(slotBits)) * kRunFrames;
            continue;
        }
        double* sum = sums + static_cast<size_t>(c) * kRunFrames;
        for (uint32_t i = 0; i < n; ++i)
            sum[i] = 0.0;
        for (uint32_t bits = slotBits, k = 0; bits != 0; bits >>= 1, ++k) {
            if (bits & 1) {
                const double* run = runs + static_cast<size_t>(k) * kRunFrames;
                for (uint32_t i = 0; i < n; ++i)
                    sum[i] += run[i];
            }
        }
        column[c] = sum;
    }
    if (channels == 2) {
        const double* l = column[0];
        const double* r = column[1];
        for (uint32_t i = 0; i < n; ++i) {
            destination[2 * i] = 0.0 + l[i];
            destination[2 * i + 1] = 0.0 + r[i];
        }
        return;
    }
    for (uint32_t i = 0; i < n; ++i) {
        double* frame = destination + static_cast<size_t>(i) * channels;
        for (uint32_t c = 0; c < channels; ++c)
            frame[c] = 0.0 + column[c][i];
    }
}

uint32_t Generator::RenderFrames(uint32_t frameCount, double* destination) {
    const uint32_t channels = format.channels;
    const uint32_t existing = (1u << channels) - 1;

    // Slots are sorted once per call: the ones that compute (in generation order, Wave8 first)
    // and the ones that are mixed (in mixing order, Wave1 first, with the bits of channels that
    // exist). An idle slot only holds its offset and counts samples, which is done for the whole
    // call at once; a waveform switched while rendering takes effect with the next call.
    int32_t waveform[kSlotCount];
    for (int k = 0; k < kSlotCount; ++k)
        waveform[k] = slots[k].waveform;
    int generated[kSlotCount], mixed[kSlotCount], idle[kSlotCount];
    uint32_t mixMask[kSlotCount];
    int nGenerated = 0, nMixed = 0, nIdle = 0;
    for (int k = kSlotCount - 1; k >= 0; --k) {
        WaveSlot& s = slots[k];
        if (waveform[k] == kOff && !(IsMaster(k) && s.sweep)) {
            s.out = s.modOut = s.offset;
            idle[nIdle++] = k;
        } else {
            generated[nGenerated++] = k;
        }
    }
    for (int k = 0; k < kSlotCount; ++k) {
        if (waveform[k] != kOff && (slots[k].outChMask & existing) != 0) {
            mixMask[nMixed] = slots[k].outChMask & existing;
            mixed[nMixed++] = k;
        }
    }

    // Transitions asked for start with the block: the main thread's requests reach a playing
    // stream between blocks, so this is the frame at which a per-sample check took them too.
    if (transitionFlags.Acquire() != 0) {
        for (int n = 0; n < nGenerated; ++n) {
            if (IsMaster(generated[n]))
                InstallTransitions(slots[generated[n]]);
        }
    }

    // Plain slots compute runs of samples on their own. A sweep can end the block at any frame
    // and modulation reads another slot's sample of the same frame, so either keeps every slot
    // on the frame loop; a gated master silences its followers within a frame, so they stay
    // there with it.
    uint32_t plain = 0;
    bool anyFrameWise = false;
    {
        bool allFrameWise = false;
        for (int m : {0, 4}) {
            if (waveform[m] == kOff && !slots[m].sweep)
                continue;
            if (slots[m].sweep || slots[m].modulation)
                allFrameWise = true;
        }
        if (!allFrameWise) {
            for (int n = 0; n < nGenerated; ++n) {
                const int k = generated[n];
                if (PlainSlot(k, waveform[k], frameCount))
                    plain |= 1u << k;
            }
            for (int m : {0, 4}) {
                if (waveform[m] != kOff && (slots[m].gate || !slots[m].gateOpen))
                    plain &= ~(7u << (m + 1));
            }
        }
        for (int n = 0; n < nGenerated; ++n)
            anyFrameWise |= (plain >> generated[n] & 1) == 0;
    }

    double* runs = runBuffer.data();
    uint32_t channelSlots[kMaxChannels] = {};
    for (int n = 0; n < nMixed; ++n) {
        for (uint32_t bits = mixMask[n], c = 0; bits != 0; bits >>= 1, ++c) {
            if (bits & 1)
                channelSlots[c] |= 1u << mixed[n];
        }
    }

    uint32_t rendered = frameCount; // frames completed
    uint32_t advanced = frameCount; // samples every slot has taken, a discarded frame included
    for (uint32_t start = 0; start < frameCount; start += kRunFrames) {
        const uint32_t count = frameCount - start < kRunFrames ? frameCount - start : kRunFrames;
        double* chunk = destination + static_cast<size_t>(start) * channels;
        for (int n = 0; n < nGenerated; ++n) {
            const int k = generated[n];
            if (plain >> k & 1)
                RenderPlainRun(k, waveform[k], runs + static_cast<size_t>(k) * kRunFrames, count);
        }
        if (!anyFrameWise) {
            MixPlainRuns(channelSlots, chunk, count);
            frameCounter += count;
            continue;
        }
        bool ended = false;
        for (uint32_t j = 0; j < count; ++j) {
            double* frame = chunk + static_cast<size_t>(j) * channels;
            for (uint32_t c = 0; c < channels; ++c)
                frame[c] = 0.0;
            // Followers first, so a master reads its modulator's sample of this frame and its
            // gate can silence the followers' output of this frame.
            for (int n = 0; n < nGenerated; ++n) {
                const int k = generated[n];
                if ((plain >> k & 1) == 0 && GenerateSample(k, frame) && IsMaster(k))
                    ended = true;
            }
            for (int n = 0; n < nMixed; ++n) {
                const int k = mixed[n];
                const double out =
                    (plain >> k & 1) ? runs[static_cast<size_t>(k) * kRunFrames + j] : slots[k].out;
                for (uint32_t bits = mixMask[n], c = 0; bits != 0; bits >>= 1, ++c) {
                    if (bits & 1)
                        frame[c] += out;
                }
            }
            if (ended) {
                rendered = start + j;
                advanced = start + j + 1;
                break;
            }
            ++frameCounter;
        }
        if (ended)
            break;
    }
    for (int n = 0; n < nIdle; ++n)
        slots[idle[n]].sampleCount += static_cast<int32_t>(advanced);
    return rendered;
}

uint32_t Generator::RenderBlock(uint32_t frameCount, uint32_t blockIndex) {
    if (FilterActive())
        return RenderFilteredBlock(frameCount, blockIndex);
    if (frameCount < blockFrames)
        std::memset(mixBuffer.data(), 0, mixBuffer.size() * sizeof(double));
    return RenderFrames(frameCount, mixBuffer.data());
}

uint32_t Generator::FillOutputBuffer(uint8_t* buffer, uint32_t byteCount, uint32_t blockIndex) {
    if (SweepEnded() && !FilterActive())
        return 0;
    if (blockIndex == 0 && Playing()) {
        ApplyPendingChanges();
        RestartGenerator();
    }

    uint32_t frames = format.blockAlign ? byteCount / format.blockAlign : 0;
    // The mix buffer holds one block; a larger request gets one block's worth.
    if (frames > MixCapacityFrames())
        frames = MixCapacityFrames();
    if (FilterActive() && frames > BlockFrames())
        frames = BlockFrames(); // the filter's tail frames belong to the next block

    peakMax.fill(0);
    peakMin.fill(0);
    clipped.fill(false);
    levelRef = format.fullScale;

    const uint32_t produced = RenderBlock(frames, blockIndex);
    ConvertFrames(buffer, produced);
    return produced * format.blockAlign;
}

namespace {

// floor(x + 0.5) as an integer of the given range; out-of-range values saturate (they clip
// anyway) and NaN counts as 0, so the cast is always defined.
template <typename Int> [[gnu::always_inline]] inline Int RoundSample(double x) {
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
    const double y = x + 0.5;
    if (y > lo && y < hi) { // the usual case: truncate, then step down for negative fractions
        const Int t = static_cast<Int>(y);
        return static_cast<double>(t) > y ? static_cast<Int>(t - 1) : t;
    }
    if (!(y == y))
        return 0;
    return y <= lo ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
}

// One sample: stores it, updates the peaks and clip flag, and returns the capture value.
template <int BitCode>
[[gnu::always_inline]] inline int32_t StoreSample(double x, uint8_t* out, int32_t& peakMax,
                                                  int32_t& peakMin, bool& clipped) {
    if constexpr (BitCode == 32) {
        int64_t v = RoundSample<int64_t>(x);
        const int32_t peak = static_cast<int32_t>(v / 256); // peaks on the 24-bit scale
        if (peak > peakMax)
            peakMax = peak;
        if (peak < peakMin)
            peakMin = peak;
        if (v > 2147483647LL)
            v = 2147483647LL, clipped = true;
        if (v < -2147483648LL)
            v = -2147483648LL, clipped = true;
        const uint32_t u = static_cast<uint32_t>(static_cast<int32_t>(v));
        out[0] = static_cast<uint8_t>(u);
        out[1] = static_cast<uint8_t>(u >> 8);
        out[2] = static_cast<uint8_t>(u >> 16);
        out[3] = static_cast<uint8_t>(u >> 24);
        return static_cast<int32_t>(v) >> 16;
    } else {
        constexpr int32_t hi = BitCode == 8 ? 127 : BitCode == 16 ? 32767 : 8388607;
        constexpr int32_t lo = -hi - 1;
        int32_t v = RoundSample<int32_t>(x);
        if (v > peakMax)
            peakMax = v;
        if (v < peakMin)
            peakMin = v;
        if (v > hi)
            v = hi, clipped = true;
        if (v < lo)
            v = lo, clipped = true;
        const uint32_t u = static_cast<uint32_t>(v);
        if constexpr (BitCode == 8) {
            out[0] = static_cast<uint8_t>(v + 128);
            return v * 256;
        } else if constexpr (BitCode == 16) {
            out[0] = static_cast<uint8_t>(u);
            out[1] = static_cast<uint8_t>(u >> 8);
            return v;
        } else if constexpr (BitCode == 24) {
            out[0] = static_cast<uint8_t>(u);
            out[1] = static_cast<uint8_t>(u >> 8);
            out[2] = static_cast<uint8_t>(u >> 16);
            return v >> 8;
        } else { // F32: v x 2^-23, exact in float for |v| <= 2^23
            const float f = static_cast<float>(v) * (1.0f / 8388608.0f);
            std::memcpy(out, &f, 4); // IEEE float, little-endian on every target
            return v >> 8;
        }
    }
}

#if defined(__SSE2__)
// RoundSample<int32_t> of two values: clamped to the integer range first (where the saturated
// results are exact; maxpd keeps the limit for NaN), truncated, stepped down where the
// truncation went up, and NaN masked to 0. The result is a double of an exact integer.
[[gnu::always_inline]] inline __m128d RoundPair(const double* in) {
    const __m128d y = _mm_add_pd(_mm_loadu_pd(in), _mm_set1_pd(0.5));
    const __m128d c =
        _mm_min_pd(_mm_max_pd(y, _mm_set1_pd(-2147483648.0)), _mm_set1_pd(2147483647.0));
    __m128d t = _mm_cvtepi32_pd(_mm_cvttpd_epi32(c));
    t = _mm_sub_pd(t, _mm_and_pd(_mm_cmpgt_pd(t, c), _mm_set1_pd(1.0)));
    return _mm_and_pd(t, _mm_cmpord_pd(y, y));
}
#endif

// RoundSample<int32_t> of n values, two at a time where SSE2 is there.
void RoundRun(const double* in, int32_t* out, uint32_t n) {
    uint32_t j = 0;
#if defined(__SSE2__)
    for (; j + 2 <= n; j += 2)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j), _mm_cvttpd_epi32(RoundPair(in + j)));
#endif
    for (; j < n; ++j)
        out[j] = RoundSample<int32_t>(in[j]);
}

// floor(x + 0.5) of n values as exact integers in doubles, NaN as 0, clamped to +-2^51 (far
// beyond any value the 32-bit conversion takes without its sample-by-sample path). False
// where there is no SSE2.
bool RoundRunWide(const double* in, double* out, uint32_t n) {
#if defined(__SSE2__)
    const __m128d half = _mm_set1_pd(0.5), lo = _mm_set1_pd(-0x1p51), hi = _mm_set1_pd(0x1p51);
    const __m128d magic = _mm_set1_pd(0x1.8p52), one = _mm_set1_pd(1.0);
    uint32_t j = 0;
    for (; j + 2 <= n; j += 2) {
        const __m128d y = _mm_add_pd(_mm_loadu_pd(in + j), half);
        const __m128d c = _mm_min_pd(_mm_max_pd(y, lo), hi);
        __m128d t = _mm_sub_pd(_mm_add_pd(c, magic), magic); // the nearest integer
        t = _mm_sub_pd(t, _mm_and_pd(_mm_cmpgt_pd(t, c), one));
        _mm_storeu_pd(out + j, _mm_and_pd(t, _mm_cmpord_pd(y, y)));
    }
    for (; j < n; ++j)
        out[j] = static_cast<double>(RoundSample<int64_t>(in[j]));
    return true;
#else
    (void)in, (void)out, (void)n;
    return false;
#endif
}

// Frames of 2 x Pairs channels rounded with their peaks: each pair of channels keeps its
// largest and smallest values in one register (the values are exact integers as doubles).
// False where there is no SSE2: the caller takes the peaks itself.
template <uint32_t Pairs>
bool RoundRunWithPeaks(const double* in, int32_t* out, uint32_t frames, int32_t* peakMax,
                       int32_t* peakMin) {
#if defined(__SSE2__)
    __m128d most[Pairs], least[Pairs];
    for (uint32_t p = 0; p < Pairs; ++p) {
        most[p] = _mm_set_pd(peakMax[2 * p + 1], peakMax[2 * p]);
        least[p] = _mm_set_pd(peakMin[2 * p + 1], peakMin[2 * p]);
    }
    for (uint32_t i = 0; i < frames; ++i) {
        for (uint32_t p = 0; p < Pairs; ++p) {
            const size_t j = (static_cast<size_t>(i) * Pairs + p) * 2;
            const __m128d t = RoundPair(in + j);
            most[p] = _mm_max_pd(most[p], t);
            least[p] = _mm_min_pd(least[p], t);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j), _mm_cvttpd_epi32(t));
        }
    }
    for (uint32_t p = 0; p < Pairs; ++p) {
        double m[2], l[2];
        _mm_storeu_pd(m, most[p]);
        _mm_storeu_pd(l, least[p]);
        peakMax[2 * p] = static_cast<int32_t>(m[0]);
        peakMax[2 * p + 1] = static_cast<int32_t>(m[1]);
        peakMin[2 * p] = static_cast<int32_t>(l[0]);
        peakMin[2 * p + 1] = static_cast<int32_t>(l[1]);
    }
    return true;
#else
    (void)in, (void)out, (void)frames, (void)peakMax, (void)peakMin;
    return false;
#endif
}

#if defined(__SSE2__)
// Four values clamped to [lo, hi] (SSE2 has no 32-bit minimum or maximum).
[[gnu::always_inline]] inline __m128i Clamp4(__m128i v, __m128i lo, __m128i hi) {
    const __m128i above = _mm_cmpgt_epi32(v, hi);
    v = _mm_or_si128(_mm_and_si128(above, hi), _mm_andnot_si128(above, v));
    const __m128i below = _mm_cmpgt_epi32(lo, v);
    return _mm_or_si128(_mm_and_si128(below, lo), _mm_andnot_si128(below, v));
}
#endif

// The first n rounded values into the output bytes of BitCode (8, 16, 24 or -32), clamped to
// its range; the clamped values stay in rounded for the display. Returns how many it did, a
// multiple of four (the caller does the rest), 0 without SSE2 or on a big-endian machine.
template <int BitCode> uint32_t PackRun(int32_t* rounded, uint8_t* out, uint32_t n) {
#if defined(__SSE2__)
    if constexpr (std::endian::native != std::endian::little)
        return 0;
    constexpr int32_t hiValue = BitCode == 8 ? 127 : BitCode == 16 ? 32767 : 8388607;
    const __m128i hi = _mm_set1_epi32(hiValue), lo = _mm_set1_epi32(-hiValue - 1);
    // 24 bit: each 64-bit half keeps v0 | v1 << 24 (six bytes), and the upper six bytes then
    // move down next to the lower ones.
    const __m128i low24 = _mm_set1_epi64x(0xFFFFFF), next24 = _mm_set1_epi64x(0xFFFFFF000000);
    const __m128i lowSix = _mm_set_epi64x(0, 0xFFFFFFFFFFFF);
    const __m128i highSix = _mm_set_epi64x(0xFFFFFFFF, static_cast<int64_t>(0xFFFF000000000000));
    uint32_t j = 0;
    for (; j + 4 <= n; j += 4) {
        __m128i v = Clamp4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rounded + j)), lo, hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rounded + j), v);
        if constexpr (BitCode == 8) {
            const __m128i b = _mm_packs_epi16(_mm_packs_epi32(v, v), _mm_setzero_si128());
            const int32_t bytes = _mm_cvtsi128_si32(_mm_xor_si128(b, _mm_set1_epi8(-128)));
            std::memcpy(out + j, &bytes, 4);
        } else if constexpr (BitCode == 16) {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * j), _mm_packs_epi32(v, v));
        } else if constexpr (BitCode == 24) {
            const __m128i pairs =
                _mm_or_si128(_mm_and_si128(v, low24), _mm_and_si128(_mm_srli_epi64(v, 8), next24));
            const __m128i packed = _mm_or_si128(_mm_and_si128(pairs, lowSix),
                                                _mm_and_si128(_mm_srli_si128(pairs, 2), highSix));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * j), packed);
            const int32_t last = _mm_cvtsi128_si32(_mm_srli_si128(packed, 8));
            std::memcpy(out + 3 * j + 8, &last, 4);
        } else { // F32: v x 2^-23, exact in float for |v| <= 2^23
            const __m128 f = _mm_mul_ps(_mm_cvtepi32_ps(v), _mm_set1_ps(1.0f / 8388608.0f));
            _mm_storeu_ps(reinterpret_cast<float*>(out + 4 * j), f);
        }
    }
    return j;
#else
    (void)rounded, (void)out, (void)n;
    return 0;
#endif
}

// Frames converted at a time: the rounded samples of a run stay in the first-level cache.
constexpr uint32_t kConvertFrames = 256;

template <int BitCode>
void ConvertAs(const double* mix, uint8_t* buffer, uint32_t frames, uint32_t channels,
               uint32_t captureFrames, int dA, int dB, Generator& g) {
    constexpr uint32_t bytes = BitCode == 8 ? 1 : BitCode == 16 ? 2 : BitCode == 24 ? 3 : 4;
    // Level data in locals: stores through the byte buffer could alias the generator's arrays,
    // which would force a reload of every peak after every byte written.
    std::array<int32_t, kMaxChannels> peakMax{}, peakMin{};
    std::array<bool, kMaxChannels> clipped{};
    Shared<int32_t>* captureA = g.dispSamplesA.data();
    Shared<int32_t>* captureB = g.dispSamplesB.data();
    if constexpr (BitCode == 32) {
        // Runs whose rounded values all lie within +-2^39 (the peaks, v / 256, then fit 32 bits:
        // every signal short of +48 dB over full scale) go through vector passes; others, and
        // processors without SSE2, sample by sample.
        constexpr double kWideLimit = 0x1p39;
        double wide[kConvertFrames * kMaxChannels];
        int32_t narrow[kConvertFrames * kMaxChannels];
        for (uint32_t start = 0; start < frames; start += kConvertFrames) {
            const uint32_t n = frames - start < kConvertFrames ? frames - start : kConvertFrames;
            const uint32_t samples = n * channels;
            const double* in = mix + static_cast<size_t>(start) * channels;
            uint8_t* out = buffer + static_cast<size_t>(start) * channels * bytes;
            bool inRange = RoundRunWide(in, wide, samples);
            std::array<double, kMaxChannels> most{}, least{};
            for (uint32_t c = 0; c < channels && inRange; ++c) {
                double hiV = wide[c], loV = wide[c];
                for (uint32_t j = c; j < samples; j += channels) {
                    hiV = wide[j] > hiV ? wide[j] : hiV;
                    loV = wide[j] < loV ? wide[j] : loV;
                }
                most[c] = hiV, least[c] = loV;
                inRange = hiV < kWideLimit && loV > -kWideLimit;
            }
            const uint32_t captureEnd = captureFrames > start ? captureFrames - start : 0;
            const uint32_t captured = captureEnd < n ? captureEnd : n;
            if (!inRange) {
                for (uint32_t i = 0; i < n; ++i) {
                    for (uint32_t c = 0; c < channels; ++c) {
                        const size_t j = static_cast<size_t>(i) * channels + c;
                        const int32_t capture = StoreSample<BitCode>(
                            in[j], out + j * bytes, peakMax[c], peakMin[c], clipped[c]);
                        if (i < captured && static_cast<int>(c) == dA)
                            captureA[start + i] = capture;
                        if (i < captured && static_cast<int>(c) == dB)
                            captureB[start + i] = capture;
                    }
                }
                continue;
            }
            for (uint32_t c = 0; c < channels; ++c) {
                // The peak of each value is v / 256 rounded toward zero, which keeps the order.
                const auto top = static_cast<int32_t>(static_cast<int64_t>(most[c]) / 256);
                const auto bottom = static_cast<int32_t>(static_cast<int64_t>(least[c]) / 256);
                peakMax[c] = top > peakMax[c] ? top : peakMax[c];
                peakMin[c] = bottom < peakMin[c] ? bottom : peakMin[c];
                if (most[c] > 2147483647.0 || least[c] < -2147483648.0)
                    clipped[c] = true;
            }
            RoundRun(wide, narrow, samples); // exact integers: clamps to the 32-bit range
            if constexpr (std::endian::native == std::endian::little) {
                std::memcpy(out, narrow, sizeof(int32_t) * samples);
            } else {
                for (uint32_t j = 0; j < samples; ++j) {
                    const auto u = static_cast<uint32_t>(narrow[j]);
                    for (uint32_t b = 0; b < 4; ++b)
                        out[4 * j + b] = static_cast<uint8_t>(u >> (8 * b));
                }
            }
            for (uint32_t i = 0; i < captured; ++i) {
                const int32_t* frame = narrow + static_cast<size_t>(i) * channels;
                if (dA >= 0 && dA < static_cast<int>(channels))
                    captureA[start + i] = frame[dA] >> 16;
                if (dB >= 0 && dB < static_cast<int>(channels))
                    captureB[start + i] = frame[dB] >> 16;
            }
        }
    } else {
        // In passes over a run of frames: rounding with the peaks of the unclipped values (one
        // pass for an even channel count, two otherwise), then the clipped values into bytes. A
        // value clips exactly when it lies beyond a peak limit, so the clip flags follow from
        // the peaks.
        constexpr int32_t hi = BitCode == 8 ? 127 : BitCode == 16 ? 32767 : 8388607;
        constexpr int32_t lo = -hi - 1;
        int32_t rounded[kConvertFrames * kMaxChannels];
        for (uint32_t start = 0; start < frames; start += kConvertFrames) {
            const uint32_t n = frames - start < kConvertFrames ? frames - start : kConvertFrames;
            const uint32_t samples = n * channels;
            const double* in = mix + static_cast<size_t>(start) * channels;
            uint8_t* out = buffer + static_cast<size_t>(start) * channels * bytes;
            bool peaksTaken = false;
            switch (channels) {
            case 2:
                peaksTaken = RoundRunWithPeaks<1>(in, rounded, n, peakMax.data(), peakMin.data());
                break;
            case 4:
                peaksTaken = RoundRunWithPeaks<2>(in, rounded, n, peakMax.data(), peakMin.data());
                break;
            case 6:
                peaksTaken = RoundRunWithPeaks<3>(in, rounded, n, peakMax.data(), peakMin.data());
                break;
            case 8:
                peaksTaken = RoundRunWithPeaks<4>(in, rounded, n, peakMax.data(), peakMin.data());
                break;
            default:
                break;
            }
            if (!peaksTaken) {
                RoundRun(in, rounded, samples);
                // One channel at a time keeps its peaks in registers.
                for (uint32_t c = 0; c < channels; ++c) {
                    int32_t most = peakMax[c], least = peakMin[c];
                    for (uint32_t j = c; j < samples; j += channels) {
                        const int32_t v = rounded[j];
                        most = v > most ? v : most;
                        least = v < least ? v : least;
                    }
                    peakMax[c] = most;
                    peakMin[c] = least;
                }
            }
            for (uint32_t j = PackRun<BitCode>(rounded, out, samples); j < samples; ++j) {
                int32_t v = rounded[j];
                v = v > hi ? hi : v < lo ? lo : v;
                rounded[j] = v;
                const uint32_t u = static_cast<uint32_t>(v);
                uint8_t* o = out + static_cast<size_t>(j) * bytes;
                if constexpr (BitCode == 8) {
                    o[0] = static_cast<uint8_t>(v + 128);
                } else if constexpr (BitCode == 16) {
                    o[0] = static_cast<uint8_t>(u);
                    o[1] = static_cast<uint8_t>(u >> 8);
                } else if constexpr (BitCode == 24) {
                    // Four bytes, the fourth overwritten by the next sample, except at the end.
                    if (std::endian::native == std::endian::little && j + 1 < samples) {
                        std::memcpy(o, &u, 4);
                    } else {
                        o[0] = static_cast<uint8_t>(u);
                        o[1] = static_cast<uint8_t>(u >> 8);
                        o[2] = static_cast<uint8_t>(u >> 16);
                    }
                } else { // F32: v x 2^-23, exact in float for |v| <= 2^23
                    const float f = static_cast<float>(v) * (1.0f / 8388608.0f);
                    std::memcpy(o, &f, 4); // IEEE float, little-endian on every target
                }
            }
            const uint32_t captureEnd = captureFrames > start ? captureFrames - start : 0;
            const uint32_t captured = captureEnd < n ? captureEnd : n;
            const bool withA = dA >= 0 && dA < static_cast<int>(channels);
            const bool withB = dB >= 0 && dB < static_cast<int>(channels);
            for (uint32_t i = 0; i < captured; ++i) {
                const int32_t* frame = rounded + static_cast<size_t>(i) * channels;
                // 8-bit values scale up to the 16-bit scale, 24-bit ones down to it.
                if (withA) {
                    const int32_t a = BitCode == 8    ? frame[dA] * 256
                                      : BitCode == 16 ? frame[dA]
                                                      : frame[dA] >> 8;
                    captureA[start + i] = a;
                }
                if (withB) {
                    const int32_t b = BitCode == 8    ? frame[dB] * 256
                                      : BitCode == 16 ? frame[dB]
                                                      : frame[dB] >> 8;
                    captureB[start + i] = b;
                }
            }
        }
        for (uint32_t c = 0; c < channels; ++c)
            clipped[c] = peakMax[c] > hi || peakMin[c] < lo;
    }
    for (uint32_t c = 0; c < kMaxChannels; ++c) {
        g.peakMax[c] = peakMax[c];
        g.peakMin[c] = peakMin[c];
        g.clipped[c] = clipped[c];
    }
    g.displayBlocks.Publish(g.displayBlocks.Get() + 1);
}

} // namespace

void Generator::ConvertFrames(uint8_t* buffer, uint32_t frames) {
    const uint32_t channels = format.channels;
    const int chosen = dispChannel;
    const int dA = chosen < static_cast<int>(channels) ? chosen : 0;
    const int dB = dA + 1;
    const uint32_t captured = frames < filterSize ? frames : filterSize;
    const uint32_t captureFrames = captured < kCaptureLength ? captured : kCaptureLength;
    const double* mix = mixBuffer.data();
    switch (format.bitCode) {
    case 8:
        ConvertAs<8>(mix, buffer, frames, channels, captureFrames, dA, dB, *this);
        break;
    case 24:
        ConvertAs<24>(mix, buffer, frames, channels, captureFrames, dA, dB, *this);
        break;
    case 32:
        levelRef = 8388607.0;
        ConvertAs<32>(mix, buffer, frames, channels, captureFrames, dA, dB, *this);
        break;
    case -32:
        ConvertAs<-32>(mix, buffer, frames, channels, captureFrames, dA, dB, *this);
        break;
    default:
        ConvertAs<16>(mix, buffer, frames, channels, captureFrames, dA, dB, *this);
        break;
    }
}

} // namespace qv
