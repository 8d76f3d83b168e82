// The MME path: the ring is played through the system's wave-out interface. Every ring buffer
// is one wave header, written to a device that is paused until the start point; each buffer the
// device hands back signals the engine's buffer-done signal once. No samples are converted.
#pragma once

#include "engine/device.h"
#include "engine/win/mme_device_list.h"

#include <cstdint>
#include <memory>
#include <span>

namespace qv {

struct MmeDeviceState; // the handle, the headers and what the system's callback reaches

class MmeDevice final : public Device {
public:
    // The list gives the device count that Open checks; it must outlive the path.
    explicit MmeDevice(const MmeDeviceList& devices);
    ~MmeDevice() override;
    MmeDevice(const MmeDevice&) = delete;
    MmeDevice& operator=(const MmeDevice&) = delete;

    bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) override;
    bool Prepare(std::span<const RingBuffer> ring) override;
    void SetFullVolume() override;
    bool QueuesBuffers() const override { return true; }
    bool Queue(int ringIndex) override;
    bool Start() override;
    uint64_t Position() override;
    bool Flush() override;
    void Reset(int written) override;
    bool Close() override;
    void Release() override {}

    // The number the system reports for the open device (WAVE_MAPPER's -1 for the mapper).
    uint32_t DeviceId() const;
    // Buffers that a flush or a reset took back, not counted as played.
    uint64_t AbsorbedBuffers() const;
    // Completions before the start point, waiting to be signalled by Start.
    int HeldBackBuffers() const;

private:
    const MmeDeviceList& devices_;
    std::unique_ptr<MmeDeviceState> s_;
};

} // namespace qv
