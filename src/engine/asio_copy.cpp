#include "engine/asio_copy.h"

#include "engine/asio_rules.h"
#include "engine/sample_convert.h"

#include <cstring>

namespace qv {

namespace {

// The sample code of the driver types the conversion table writes, by width.
bool DriverCode(int32_t type, SampleCode& code) {
    switch (type) {
    case 16:
        code = SampleCode::S16;
        return true;
    case 17:
        code = SampleCode::S24;
        return true;
    case 18:
        code = SampleCode::S32;
        return true;
    default:
        return false;
    }
}

// Bits a stream sample needs in the driver's type: float samples carry 24.
int NeededBits(SampleCode stream) {
    switch (stream) {
    case SampleCode::U8:
        return 8;
    case SampleCode::S16:
        return 16;
    case SampleCode::S24:
    case SampleCode::F32:
        return 24;
    case SampleCode::S32:
        return 32;
    }
    return 32;
}

} // namespace

void AsioCopy::Configure(const uint8_t* ring, size_t ringBytes, uint32_t stepBytes,
                         SampleCode stream, uint16_t channels) {
    ring_ = ring;
    ringBytes_ = ringBytes;
    step_ = stepBytes;
    stream_ = stream;
    channels_ = channels;
    frameBytes_ = uint32_t(channels * BytesOf(stream));
    Rewind();
}

void AsioCopy::Rewind() {
    pos_ = 0;
    delivered_ = 0;
    threshold_ = step_;
}

int32_t AsioCopy::Copy(std::span<const AsioOutput> outputs, uint32_t frames) {
    if (ring_ == nullptr || ringBytes_ == 0 || channels_ == 0)
        return 0;
    const int in = BytesOf(stream_);
    int32_t error = 0;
    for (size_t k = 0; k < outputs.size(); ++k) {
        const AsioOutput& out = outputs[k];
        SampleCode code;
        if (!DriverCode(out.type, code)) {
            const int bits = AsioBitCode(out.type);
            if (bits == -32 || bits == -64 || out.type >= 24) { // the table's silent rows
                std::memset(out.half, 0, size_t(frames) * size_t(AsioSampleBytes(out.type)));
                error = out.type;
            } else {
                error = kAsioUnhandledType;
            }
            continue;
        }
        const int width = BytesOf(code);
        if (NeededBits(stream_) > width * 8)
            continue; // a narrower type: nothing written
        // One stream channel per output; a mono stream on two outputs feeds both.
        const size_t channel = k < channels_ ? k : channels_ - 1u;
        size_t pos = pos_ + channel * size_t(in);
        uint8_t* dst = out.half;
        for (uint32_t f = 0; f < frames; ++f, dst += width) {
            if (pos >= ringBytes_)
                pos -= ringBytes_;
            if (code == stream_)
                std::memcpy(dst, ring_ + pos, size_t(width));
            else
                WriteTopAligned(dst, ReadTopAligned(ring_ + pos, stream_), code);
            pos += frameBytes_;
        }
    }
    pos_ = size_t((pos_ + uint64_t(frames) * frameBytes_) % ringBytes_);
    delivered_ += frames;
    return error;
}

int AsioCopy::Finished(bool error) {
    int finished = 0;
    while (step_ > 0 && (delivered_ * frameBytes_ >= threshold_ || (error && finished == 0))) {
        threshold_ += step_;
        ++finished;
    }
    return finished;
}

} // namespace qv
