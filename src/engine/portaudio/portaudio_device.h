// The PortAudio path of the native build: the ring is played through one output device of a
// PortAudio host API (ALSA, JACK, ...). PortAudio's thread calls back for frames; the callback
// copies them from the ring in ring order, in the stream's own sample type (PortAudio takes
// every type the generator writes, so nothing is converted here), and raises the buffer-done
// signal once per ring buffer it has consumed. The engine hands each buffer over once it is
// filled (Queue), so the callback never reads a buffer that is being written: when the next one
// is not ready it plays silence, an underrun, and goes on from there. The callback allocates
// nothing, takes no lock and makes no system call: all it shares with the playback thread are
// atomic words.
#pragma once

#include "engine/device.h"
#include "engine/ring_copy.h"
#include "engine/wasapi_formats.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// PortAudio's sample format (a PaSampleFormat) for samples stored as code: 24 bits packed.
unsigned long PortAudioSampleFormat(SampleCode code);

// The output devices of one host API in PortAudio's numbering.
struct HostApiDevices {
    int defaultDevice = -1;   // the host API's default output (list entry 0); -1: none
    std::vector<int> devices; // list entry e (from 1) is devices[e - 1]
};

class PortAudioDevice final : public Device {
public:
    // devices must outlive the device; PortAudio is initialised while a stream is open.
    explicit PortAudioDevice(const HostApiDevices& devices) : devices_(devices) {}
    ~PortAudioDevice() override;
    PortAudioDevice(const PortAudioDevice&) = delete;
    PortAudioDevice& operator=(const PortAudioDevice&) = delete;

    // Opens the stream on the list entry (0: the default output) in the stream's format.
    bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) override;
    bool Prepare(std::span<const RingBuffer> ring) override;
    // The filled buffers come in ring order; the callback may read up to the last one.
    bool QueuesBuffers() const override { return true; }
    bool Queue(int ringIndex) override;
    bool Start() override;
    // Frames the callback has taken from the ring since the stream was opened or flushed.
    uint64_t Position() override { return played_.load(std::memory_order_acquire); }
    bool Flush() override;
    void Reset(int written) override;
    const char* CallbackError() override { return callbackError_.exchange(nullptr); }
    bool Close() override;
    void Release() override { (void)Close(); }

    // The output latency PortAudio reports for the open stream, in seconds (0: none open).
    double OutputLatency() const;

    // PortAudio's thread only: the stream callback's body, and the stream's end.
    // delay: seconds from now until the device plays the first of these frames.
    void Render(void* out, unsigned long frames, double delay);
    void Finished();

private:
    // Keeps the callback off the ring until the next Start; returns once a copy in flight has
    // ended. The callback writes silence meanwhile.
    void HoldCopies();
    // False, with "PortAudio: ..." in the error text, when error is one.
    bool Check(int error);

    const HostApiDevices& devices_;
    BufferDoneSignal* bufferDone_ = nullptr;
    ErrorText* errorText_ = nullptr;
    StreamSetup setup_;
    void* stream_ = nullptr; // PaStream
    RingCopy copy_;
    uint32_t frameBytes_ = 0;
    uint32_t bufferBytes_ = 0;
    uint8_t silence_ = 0;
    bool running_ = false; // the stream runs: from Start to Flush, Reset or Close

    // Sequentially consistent, so that a hold either stops a copy before it begins or waits
    // for its end (as the WASAPI path's copy thread).
    std::atomic<bool> started_{false};
    std::atomic<bool> copying_{false};
    std::atomic<bool> stopping_{false}; // a stop of our own: the stream's end is no error
    std::atomic<uint64_t> played_{0};
    std::atomic<uint64_t> queuedBytes_{0}; // handed over since the ring's start
    // When the last frame copied will have been played.
    std::atomic<std::chrono::steady_clock::time_point> heardAt_{};
    std::atomic<const char*> callbackError_{nullptr};
};

} // namespace qv
