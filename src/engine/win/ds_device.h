// The DirectSound path: the ring is played through a looping secondary buffer of two halves.
// DS_PlayThread refills a half each time the device has passed it, copying the ring's bytes in
// ring order, and raises the buffer-done signal once for every ring buffer's worth it has
// copied. The buffer has the stream's own format: no samples are converted.
#pragma once

#include "engine/device.h"
#include "engine/win/ds_device_list.h"

#include <cstdint>
#include <memory>
#include <span>

namespace qv {

struct DsDeviceState; // the COM objects, the copy state and the copy thread

class DsDevice final : public Device {
public:
    // The list gives the devices' identifiers; it must outlive the path.
    explicit DsDevice(const DsDeviceList& devices);
    ~DsDevice() override;
    DsDevice(const DsDevice&) = delete;
    DsDevice& operator=(const DsDevice&) = delete;

    // deviceNumber is the list entry: 0 the primary driver.
    bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) override;
    bool Prepare(std::span<const RingBuffer> ring) override;
    void StartCopyThread() override;
    void SetFullVolume() override;
    bool Start() override;
    uint64_t Position() override;
    bool Flush() override;
    void Reset(int written) override;
    void StopCopyThread() override;
    bool Close() override { return true; } // the release lets go of everything
    void Release() override;

    // The format test: the device of a list entry opened as for a playback (false with the
    // open's message in text), then a trial secondary buffer per format, dropped at once.
    bool OpenForFormatTest(int entry, ErrorText& text);
    bool TryFormat(const WaveFormatRecord& format);

    // The open stream's buffer: bytes of one half, and of the whole (two halves).
    uint32_t HalfBytes() const;
    uint32_t SecondaryBytes() const;

private:
    bool OpenObject(int entry, ErrorText& text);
    bool CreateSecondary(const WaveFormatRecord& format);
    void ReleaseObjects();

    const DsDeviceList& devices_;
    std::unique_ptr<DsDeviceState> s_;
};

} // namespace qv
