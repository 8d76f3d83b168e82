// The output filter: every channel of the oversampled render convolved with the designed kernel
// by FFT overlap-save (two channels to a transform) and decimated back to the output rate.
// Rendering runs half a sub-block ahead of the output, which cancels the kernel's delay, so
// filtered output lines up with the unfiltered signal.
#include "fftlib/fft_api.h"
#include "generator/generator.h"

#include <algorithm>
#include <cstring>

namespace qv {

void Generator::AttachFft(const FftApi* api) {
    fft_ = api;
    noise.AttachFft(api);
    filterDesigner.Attach(api);
}

// Buffers and transform contexts, allocated with the format, never while rendering.
void Generator::SizeFilterBuffers() {
    filterDesigner.mailbox.ready = false;
    if (!FilterActive())
        return;
    const uint32_t channels = format.channels;
    const uint32_t f = 2 * filterSize * overSampleRate;
    filterInput.assign(static_cast<size_t>(channels) * f + 9, 0.0);
    filterScratch.assign(2 * (static_cast<size_t>(f) + 1), 0.0);
    liveKernel.assign(2 * (static_cast<size_t>(f) + 1), 0.0);
    if (f != filterSlotSize || channels != filterSlotChannels) {
        for (uint32_t c = 0; c < channels; ++c)
            fft_->createFft(static_cast<int32_t>(c), static_cast<int32_t>(f), 0, 0);
        filterSlotSize = f;
        filterSlotChannels = channels;
    }
}

uint32_t Generator::RenderFilteredBlock(uint32_t wanted, uint32_t blockIndex) {
    const uint32_t channels = format.channels;
    const uint32_t half = filterSize * overSampleRate; // F/2 oversampled frames a sub-block
    const uint32_t e = filterSize * WriteFactor();     // output frames a sub-block
    const uint32_t subBlocks = blockFrames / filterSize;
    const uint32_t outBlock = subBlocks * e;
    const size_t halfDoubles = static_cast<size_t>(half) * channels;
    if (blockIndex == 0)
        deliveredFrames = 0;
    if (subBlockCount == 0) {
        std::fill(filterInput.begin(), filterInput.begin() + halfDoubles, 0.0);
        RenderFrames(half, filterInput.data() + halfDoubles);
        FilterSubBlock(-1);
    }
    std::memmove(mixBuffer.data(), mixBuffer.data() + static_cast<size_t>(outBlock) * channels,
                 sizeof(double) * (e / 2) * channels);
    for (uint32_t i = 0; i < subBlocks; ++i) {
        std::memcpy(filterInput.data(), filterInput.data() + halfDoubles,
                    sizeof(double) * halfDoubles);
        // After the end of a sweep nothing new is rendered: the frames already rendered are
        // delivered, and the count below stops there.
        if (!SweepEnded())
            RenderFrames(half, filterInput.data() + halfDoubles);
        FilterSubBlock(static_cast<int>(i));
        ++subBlockCount;
    }
    const uint64_t available = frameCounter / (overSampleRate / WriteFactor());
    const uint64_t left = available > deliveredFrames ? available - deliveredFrames : 0;
    const uint32_t result = static_cast<uint32_t>(std::min<uint64_t>(wanted, left));
    deliveredFrames += result;
    return result;
}

void Generator::FilterSubBlock(int argument) {
    KernelMailbox& mailbox = filterDesigner.mailbox;
    if (mailbox.ready.Acquire()) {
        const size_t n = std::min(liveKernel.size(), mailbox.spectrum.size());
        std::memcpy(liveKernel.data(), mailbox.spectrum.data(), sizeof(double) * n);
        mailbox.ready.Publish(false);
    }
    for (uint32_t c = 0; c < format.channels; c += 2)
        FilterChannelPair(c, argument);
}

void Generator::FilterChannelPair(uint32_t c, int argument) {
    const uint32_t channels = format.channels;
    const uint32_t f = 2 * filterSize * overSampleRate;
    const uint32_t step = overSampleRate / WriteFactor();
    const uint32_t e = filterSize * WriteFactor();
    const uint32_t outBlock = (blockFrames / filterSize) * e;
    const bool pair = c + 1 < channels;
    double* x = filterScratch.data();
    const double* in = filterInput.data() + c;
    if (pair) {
        for (uint32_t k = 0; k < f; ++k) {
            x[2 * k] = in[static_cast<size_t>(k) * channels];
            x[2 * k + 1] = in[static_cast<size_t>(k) * channels + 1];
        }
    } else {
        for (uint32_t k = 0; k < f; ++k) {
            x[2 * k] = in[static_cast<size_t>(k) * channels];
            x[2 * k + 1] = 0.0;
        }
    }
    const int32_t slot = static_cast<int32_t>(c);
    fft_->fft(slot, x, 0);
    const double* h = liveKernel.data();
    for (uint32_t k = 0; k < f; ++k) {
        const double re = x[2 * k] * h[2 * k] - x[2 * k + 1] * h[2 * k + 1];
        const double im = x[2 * k] * h[2 * k + 1] + x[2 * k + 1] * h[2 * k];
        x[2 * k] = re;
        x[2 * k + 1] = im;
    }
    fft_->fft(slot, x, 1);
    // Value F/2 + A/2 + k belongs to frame k of the newer half (the kernel is centred on tap
    // A/2 = F/4).
    uint32_t from, to, count;
    if (argument < 0) {
        from = f / 2 + f / 4, to = outBlock, count = e / 2;
    } else {
        from = f / 2, to = static_cast<uint32_t>(argument) * e + e / 2, count = e;
    }
    double* out = mixBuffer.data() + static_cast<size_t>(to) * channels + c;
    for (uint32_t j = 0; j < count; ++j)
        out[static_cast<size_t>(j) * channels] = x[2 * (from + static_cast<size_t>(j) * step)];
    if (pair) {
        for (uint32_t j = 0; j < count; ++j)
            out[static_cast<size_t>(j) * channels + 1] =
                x[2 * (from + static_cast<size_t>(j) * step) + 1];
    }
}

} // namespace qv
