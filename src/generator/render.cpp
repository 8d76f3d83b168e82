// Mixing the slots into channels and converting the mixed frames into the output format.
#include "generator/generator.h"
#include "generator/remainder.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace qv {

uint32_t Generator::RenderFrames(uint32_t frameCount, double* destination) {
    const uint32_t channels = format.channels;
    const uint32_t existing = (1u << channels) - 1;

    // Slots are sorted once per call: the ones that compute (in generation order, Wave8 first)
    // and the ones that are mixed (in mixing order, Wave1 first, with the bits of channels that
    // exist). An idle slot only holds its offset and counts samples, which is done for the whole
    // call at once; a waveform switched while rendering takes effect with the next call.
    int generated[kSlotCount], mixed[kSlotCount], idle[kSlotCount];
    uint32_t mixMask[kSlotCount];
    int nGenerated = 0, nMixed = 0, nIdle = 0;
    for (int k = kSlotCount - 1; k >= 0; --k) {
        WaveSlot& s = slots[k];
        if (s.waveform == kOff && !(IsMaster(k) && s.sweep)) {
            s.out = s.modOut = s.offset;
            idle[nIdle++] = k;
        } else {
            generated[nGenerated++] = k;
        }
    }
    for (int k = 0; k < kSlotCount; ++k) {
        if (slots[k].waveform != kOff && (slots[k].outChMask & existing) != 0) {
            mixMask[nMixed] = slots[k].outChMask & existing;
            mixed[nMixed++] = k;
        }
    }

    uint32_t rendered = frameCount; // frames completed
    uint32_t advanced = frameCount; // samples every slot has taken, a discarded frame included
    for (uint32_t i = 0; i < frameCount; ++i) {
        double* frame = destination + static_cast<size_t>(i) * channels;
        for (uint32_t c = 0; c < channels; ++c)
            frame[c] = 0.0;
        // Followers first, so a master reads its modulator's sample of this frame and its gate
        // can silence the followers' output of this frame.
        bool ended = false;
        for (int n = 0; n < nGenerated; ++n) {
            const int k = generated[n];
            if (GenerateSample(k, frame) && IsMaster(k))
                ended = true;
        }
        for (int n = 0; n < nMixed; ++n) {
            const double out = slots[mixed[n]].out;
            for (uint32_t bits = mixMask[n], c = 0; bits != 0; bits >>= 1, ++c) {
                if (bits & 1)
                    frame[c] += out;
            }
        }
        if (ended) {
            rendered = i;
            advanced = i + 1;
            break;
        }
        ++frameCounter;
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
    for (uint32_t i = 0; i < frames; ++i) {
        const double* in = mix + static_cast<size_t>(i) * channels;
        uint8_t* out = buffer + static_cast<size_t>(i) * channels * bytes;
        if (i < captureFrames) {
            for (uint32_t c = 0; c < channels; ++c) {
                const int32_t capture = StoreSample<BitCode>(in[c], out + c * bytes, peakMax[c],
                                                             peakMin[c], clipped[c]);
                if (static_cast<int>(c) == dA)
                    captureA[i] = capture;
                if (static_cast<int>(c) == dB)
                    captureB[i] = capture;
            }
        } else {
            for (uint32_t c = 0; c < channels; ++c)
                StoreSample<BitCode>(in[c], out + c * bytes, peakMax[c], peakMin[c], clipped[c]);
        }
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
