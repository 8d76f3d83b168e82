// The WASAPI path: the ring is played through one render endpoint in exclusive mode. The
// engine's ring is not handed over buffer by buffer; a copy thread of the path's own moves it
// into the device buffer, event-driven (the device signals that it wants a buffer) or
// timer-driven (every half buffer it tops up what the device has played), widening the samples
// where the device asked for that, and raises the buffer-done signal once per ring buffer.
#pragma once

#include "engine/device.h"
#include "engine/ring_copy.h"
#include "engine/win/platform_probe.h"
#include "engine/win/wasapi_endpoints.h"
#include "engine/win/wasapi_stream.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <thread>

namespace qv {

class WasapiDevice final : public Device {
public:
    // Both must outlive the device.
    WasapiDevice(const WasapiEndpoints& endpoints, const AvrtLibrary& avrt);
    ~WasapiDevice() override;
    WasapiDevice(const WasapiDevice&) = delete;
    WasapiDevice& operator=(const WasapiDevice&) = delete;

    bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) override;
    bool Prepare(std::span<const RingBuffer> ring) override;
    void StartCopyThread() override;
    bool Start() override;
    uint64_t Position() override;
    bool Flush() override;
    void Reset(int written) override;
    const char* CallbackError() override;
    void StopCopyThread() override;
    bool Close() override { return true; } // nothing to close beyond Release
    void Release() override;

    // The stream as prepared (its format after widening, periods, buffer frames, latency).
    const WasapiStream& Stream() const { return stream_; }

private:
    void CopyThread();
    void RunEventDriven();
    void RunTimerDriven();
    // Copies frames of the ring into the device's buffer and signals the buffers finished.
    void Deliver(uint8_t* data, uint32_t frames);
    // Ends the copy thread's loop with a message the engine reads at its next completion
    // wait, which the one signal raised here makes sure comes.
    void Fail(const char* message);
    // Keeps the copy thread off the ring and the client until the next Start; returns once a
    // copy in flight has finished.
    void HoldCopies();
    // Waits until the device has played what it holds.
    void PlayOut();

    const WasapiEndpoints& endpoints_;
    const AvrtLibrary& avrt_;
    BufferDoneSignal* bufferDone_ = nullptr;
    ErrorText* errorText_ = nullptr;
    StreamSetup setup_;
    WasapiStream stream_;
    RingCopy copy_;
    HANDLE renderEvent_ = nullptr; // auto-reset; the device's in event mode
    bool firstStart_ = true;       // the next Start is the stream's first: its buffer is silent

    std::thread thread_;
    std::atomic<bool> threadRunning_{false};
    std::atomic<bool> threadEnded_{false};
    std::atomic<bool> terminate_{false};
    std::atomic<const char*> threadError_{nullptr};
    // The copy thread copies only while `started` is set (from Start to the next Flush or
    // Reset), and marks each copy with `copying`; both sequentially consistent, so that a hold
    // either stops the copy before it begins or waits for its end.
    std::atomic<bool> started_{false};
    std::atomic<bool> copying_{false};
    // Position: frames delivered, and the clock's time of the last delivery (100 ns units).
    std::atomic<uint64_t> delivered_{0};
    std::atomic<uint64_t> lastDeliveryTime_{0};
};

} // namespace qv
