// Mixing the slots into channels and converting the mixed frames into the output format.
#include "generator/generator.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace qv {

uint32_t Generator::RenderFrames(uint32_t frameCount, double* destination) {
    const uint32_t channels = format.channels;
    for (uint32_t i = 0; i < frameCount; ++i) {
        double* frame = destination + static_cast<size_t>(i) * channels;
        for (uint32_t c = 0; c < channels; ++c) frame[c] = 0.0;
        // Followers first, so a master reads its modulator's sample of this frame and its gate
        // can silence the followers' output of this frame.
        bool ended = false;
        for (int k = kSlotCount - 1; k >= 0; --k) {
            if (GenerateSample(k, frame) && IsMaster(k)) ended = true;
        }
        for (const WaveSlot& s : slots) {
            if (s.waveform == kOff) continue;
            for (uint32_t c = 0; c < channels; ++c) {
                if (s.outChMask >> c & 1) frame[c] += s.out;
            }
        }
        if (ended) return i;
        ++frameCounter;
    }
    return frameCount;
}

uint32_t Generator::RenderBlock(uint32_t frameCount, uint32_t blockIndex) {
    (void)blockIndex;
    if (frameCount < blockFrames) std::memset(mixBuffer.data(), 0, mixBuffer.size() * sizeof(double));
    return RenderFrames(frameCount, mixBuffer.data());
}

uint32_t Generator::FillOutputBuffer(uint8_t* buffer, uint32_t byteCount, uint32_t blockIndex) {
    const bool sweepEnded = (slots[0].sweep && slots[0].stepsLeft == 0) ||
                            (slots[4].sweep && slots[4].stepsLeft == 0);
    if (sweepEnded && !filterOn) return 0;
    if (blockIndex == 0 && playState && *playState == 1) RestartGenerator();

    uint32_t frames = format.blockAlign ? byteCount / format.blockAlign : 0;
    // The mix buffer holds one block; a larger request gets one block's worth.
    if (frames > MixCapacityFrames()) frames = MixCapacityFrames();

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
template <typename Int>
Int RoundSample(double x) {
    double r = std::floor(x + 0.5);
    if (!(r == r)) return 0;
    if (r <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    if (r >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    return static_cast<Int>(r);
}


} // namespace

void Generator::ConvertFrames(uint8_t* buffer, uint32_t frames) {
    const uint32_t channels = format.channels;
    const int32_t bitCode = format.bitCode;
    const uint32_t bytesPerSample = format.bitsPerSample / 8;
    const int dA = dispChannel < static_cast<int>(channels) ? dispChannel : 0;
    const int dB = dA + 1;
    const uint32_t captured = frames < filterSize ? frames : filterSize;
    const uint32_t captureFrames = captured < kCaptureLength ? captured : kCaptureLength;
    if (bitCode == 32) levelRef = 8388607.0;

    const double* mix = mixBuffer.data();
    for (uint32_t i = 0; i < frames; ++i) {
        for (uint32_t c = 0; c < channels; ++c) {
            const double x = mix[static_cast<size_t>(i) * channels + c];
            uint8_t* out = buffer + (static_cast<size_t>(i) * channels + c) * bytesPerSample;
            int32_t capture;
            if (bitCode == 32) {
                int64_t v = RoundSample<int64_t>(x);
                int32_t peak = static_cast<int32_t>(v / 256);
                if (peak > peakMax[c]) peakMax[c] = peak;
                if (peak < peakMin[c]) peakMin[c] = peak;
                if (v > 2147483647LL) v = 2147483647LL, clipped[c] = true;
                if (v < -2147483648LL) v = -2147483648LL, clipped[c] = true;
                const uint32_t u = static_cast<uint32_t>(static_cast<int32_t>(v));
                out[0] = static_cast<uint8_t>(u);
                out[1] = static_cast<uint8_t>(u >> 8);
                out[2] = static_cast<uint8_t>(u >> 16);
                out[3] = static_cast<uint8_t>(u >> 24);
                capture = static_cast<int32_t>(v) >> 16;
            } else {
                int32_t v = RoundSample<int32_t>(x);
                if (v > peakMax[c]) peakMax[c] = v;
                if (v < peakMin[c]) peakMin[c] = v;
                int32_t lo, hi;
                switch (bitCode) {
                case 8: lo = -128, hi = 127; break;
                case 16: lo = -32768, hi = 32767; break;
                default: lo = -8388608, hi = 8388607; break;  // 24-bit and float
                }
                if (v > hi) v = hi, clipped[c] = true;
                if (v < lo) v = lo, clipped[c] = true;
                const uint32_t u = static_cast<uint32_t>(v);
                switch (bitCode) {
                case 8:
                    out[0] = static_cast<uint8_t>(v + 128);
                    capture = v * 256;
                    break;
                case 16:
                    out[0] = static_cast<uint8_t>(u);
                    out[1] = static_cast<uint8_t>(u >> 8);
                    capture = v;
                    break;
                case 24:
                    out[0] = static_cast<uint8_t>(u);
                    out[1] = static_cast<uint8_t>(u >> 8);
                    out[2] = static_cast<uint8_t>(u >> 16);
                    capture = v >> 8;
                    break;
                default: {  // F32: v x 2^-23 (exact in float for |v| <= 2^23)
                    const float f = static_cast<float>(v) * (1.0f / 8388608.0f);
                    std::memcpy(out, &f, 4);  // IEEE float, little-endian on every target
                    capture = v >> 8;
                    break;
                }
                }
            }
            if (i < captureFrames) {
                if (static_cast<int>(c) == dA) dispSamplesA[i] = capture;
                if (static_cast<int>(c) == dB) dispSamplesB[i] = capture;
            }
        }
    }
}

} // namespace qv
