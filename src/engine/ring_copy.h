// The copy from the engine's ring into a device's own buffer, for the paths whose thread reads
// the ring in ring order (WASAPI; any path with a copy thread): it converts to a wider device
// sample type where the device asked for one, wraps at the ring's end and counts the ring
// buffers it has consumed, so that the path raises exactly one buffer-done signal per buffer.
//
// One thread copies; Configure and Rewind run only while it does not (before the copy thread
// starts, or while the device is stopped and the copy thread held off).
#pragma once

#include "engine/wasapi_formats.h"

#include <cstddef>
#include <cstdint>

namespace qv {

class RingCopy {
public:
    // ring: the whole ring (a whole number of stream frames); stepBytes: one ring buffer.
    // With duplicateMono a one-channel stream is written to two device channels.
    void Configure(const uint8_t* ring, size_t ringBytes, uint32_t stepBytes, SampleCode stream,
                   SampleCode device, uint16_t channels, bool duplicateMono);
    // Back to the ring's start with nothing delivered (a new stream, a restart).
    void Rewind();
    // Copies frames into out (frames x the device's frame size) and returns how many ring
    // buffers this copy has finished.
    int Copy(uint8_t* out, uint32_t frames);

    uint64_t FramesDelivered() const { return delivered_; }
    uint32_t DeviceFrameBytes() const { return deviceFrameBytes_; }

private:
    void CopyBytes(uint8_t* out, size_t bytes);
    void Convert(uint8_t* out, uint32_t frames);

    const uint8_t* ring_ = nullptr;
    size_t ringBytes_ = 0;
    size_t pos_ = 0; // read offset into the ring
    uint32_t step_ = 0;
    SampleCode stream_ = SampleCode::S16;
    SampleCode device_ = SampleCode::S16;
    uint16_t channels_ = 0;
    bool duplicate_ = false;
    uint32_t streamFrameBytes_ = 0;
    uint32_t deviceFrameBytes_ = 0;
    uint64_t delivered_ = 0;
    uint64_t threshold_ = 0; // bytes of the ring consumed at the next buffer's end
};

} // namespace qv
