#include "engine/ring_copy.h"

#include "engine/sample_convert.h"

#include <cstring>

namespace qv {

void RingCopy::Configure(const uint8_t* ring, size_t ringBytes, uint32_t stepBytes,
                         SampleCode stream, SampleCode device, uint16_t channels,
                         bool duplicateMono) {
    ring_ = ring;
    ringBytes_ = ringBytes;
    step_ = stepBytes;
    stream_ = stream;
    device_ = device;
    channels_ = channels;
    duplicate_ = duplicateMono;
    streamFrameBytes_ = uint32_t(channels * BytesOf(stream));
    deviceFrameBytes_ = uint32_t(channels * (duplicateMono ? 2 : 1) * BytesOf(device));
    Rewind();
}

void RingCopy::Rewind() {
    pos_ = 0;
    delivered_ = 0;
    threshold_ = step_;
}

int RingCopy::Copy(uint8_t* out, uint32_t frames) {
    if (ring_ == nullptr || ringBytes_ == 0 || frames == 0)
        return 0;
    if (stream_ == device_ && !duplicate_)
        CopyBytes(out, size_t(frames) * streamFrameBytes_);
    else
        Convert(out, frames);
    delivered_ += frames;
    int finished = 0;
    while (step_ > 0 && delivered_ * streamFrameBytes_ >= threshold_) {
        threshold_ += step_;
        ++finished;
    }
    return finished;
}

// The same sample type: one block copy, or two around the ring's end.
void RingCopy::CopyBytes(uint8_t* out, size_t bytes) {
    while (bytes > 0) {
        const size_t run = bytes < ringBytes_ - pos_ ? bytes : ringBytes_ - pos_;
        std::memcpy(out, ring_ + pos_, run);
        out += run;
        bytes -= run;
        pos_ += run;
        if (pos_ == ringBytes_)
            pos_ = 0;
    }
}

void RingCopy::Convert(uint8_t* out, uint32_t frames) {
    const int in = BytesOf(stream_);
    const int width = BytesOf(device_);
    const int copies = duplicate_ ? 2 : 1;
    for (uint32_t f = 0; f < frames; ++f) {
        for (uint16_t c = 0; c < channels_; ++c) {
            const uint8_t* sample = ring_ + pos_;
            if (stream_ == device_) { // one channel on two, no conversion
                for (int k = 0; k < copies; ++k, out += width)
                    std::memcpy(out, sample, size_t(width));
            } else {
                const int32_t v = ReadTopAligned(sample, stream_);
                for (int k = 0; k < copies; ++k, out += width)
                    WriteTopAligned(out, v, device_);
            }
            pos_ += size_t(in);
            if (pos_ == ringBytes_)
                pos_ = 0;
        }
    }
}

} // namespace qv
