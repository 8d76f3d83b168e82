#include "engine/ring_copy.h"

#include <cstring>

namespace qv {

namespace {

int BytesOf(SampleCode code) {
    switch (code) {
    case SampleCode::U8:
        return 1;
    case SampleCode::S16:
        return 2;
    case SampleCode::S24:
        return 3;
    case SampleCode::S32:
    case SampleCode::F32:
        return 4;
    }
    return 2;
}

// One stream sample as a 32-bit integer with its bits at the top: every conversion to a wider
// integer is then a shift, exact by construction. Float samples are on the 24-bit scale
// (x * 2^23 truncated and held to 24 bits), as the generator renders them.
int32_t ReadTopAligned(const uint8_t* p, SampleCode code) {
    switch (code) {
    case SampleCode::U8:
        return int32_t(uint32_t(p[0] ^ 0x80u) << 24);
    case SampleCode::S16:
        return int32_t((uint32_t(p[0]) | uint32_t(p[1]) << 8) << 16);
    case SampleCode::S24:
        return int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24);
    case SampleCode::S32: {
        int32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    case SampleCode::F32: {
        float x;
        std::memcpy(&x, p, 4);
        double v = double(x) * 8388608.0;
        if (v != v)
            v = 0.0; // NaN
        const int32_t s = v >= 8388607.0 ? 8388607 : v <= -8388608.0 ? -8388608 : int32_t(v);
        return int32_t(uint32_t(s) << 8);
    }
    }
    return 0;
}

void WriteTopAligned(uint8_t* p, int32_t v, SampleCode code) {
    const uint32_t u = uint32_t(v);
    switch (code) {
    case SampleCode::U8: // never a device type: 8-bit streams are offered as 16
        p[0] = uint8_t((u >> 24) ^ 0x80u);
        break;
    case SampleCode::S16:
        p[0] = uint8_t(u >> 16), p[1] = uint8_t(u >> 24);
        break;
    case SampleCode::S24:
        p[0] = uint8_t(u >> 8), p[1] = uint8_t(u >> 16), p[2] = uint8_t(u >> 24);
        break;
    case SampleCode::S32:
    case SampleCode::F32:
        std::memcpy(p, &u, 4);
        break;
    }
}

} // namespace

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
