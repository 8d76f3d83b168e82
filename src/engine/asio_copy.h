// The ASIO buffer switch's copy: one buffer's frames from the engine's ring into the driver's
// per-channel buffer halves, stream channel k to used output k, converted to each channel's
// sample type, wrapping at the ring's end, and the ring buffers this finished.
//
// Conversions (stream to driver type 16, 17 or 18, little-endian 16, packed 24, 32 bits) widen
// exactly: an 8-bit sample is centred and shifted up, narrower samples land in the top bits,
// float samples are taken on the 24-bit scale. A narrower driver type gets nothing written
// (the bit-length check keeps such streams away). The float and container types the table has
// no row for get silence and their type number as the error; any other type the error -999.
//
// The driver's thread copies; Configure and Rewind run only while the driver is stopped.
#pragma once

#include "engine/wasapi_formats.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

// One used output: the half to fill and the channel's driver sample type.
struct AsioOutput {
    uint8_t* half = nullptr;
    int32_t type = 0;
};

class AsioCopy {
public:
    // ring: the whole ring (a whole number of stream frames); stepBytes: one ring buffer.
    void Configure(const uint8_t* ring, size_t ringBytes, uint32_t stepBytes, SampleCode stream,
                   uint16_t channels);
    void Rewind();
    // Fills frames of every output and advances the ring by frames. Returns the error code of
    // the last output whose type could not be filled, else 0.
    int32_t Copy(std::span<const AsioOutput> outputs, uint32_t frames);
    // Ring buffers finished by the frames delivered so far; with an error, one for each call,
    // so that the engine hears of it at once.
    int Finished(bool error);

    uint64_t FramesDelivered() const { return delivered_; }

private:
    const uint8_t* ring_ = nullptr;
    size_t ringBytes_ = 0;
    size_t pos_ = 0; // read offset into the ring
    uint32_t step_ = 0;
    SampleCode stream_ = SampleCode::S16;
    uint16_t channels_ = 0;
    uint32_t frameBytes_ = 0;
    uint64_t delivered_ = 0;
    uint64_t threshold_ = 0; // bytes of the ring consumed at the next buffer's end
};

} // namespace qv
