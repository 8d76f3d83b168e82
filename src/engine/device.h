// The device path under the playback loop: one implementation per driver type (MME,
// DirectSound, WASAPI, ASIO in win/; fakes in the tests). The engine owns the ring and the
// threads; a path only moves the ring's bytes to its device and reports every consumed buffer
// through the buffer-done signal.
#pragma once

#include "engine/buffer_done_signal.h"
#include "engine/error_text.h"
#include "generator/output_format.h"

#include <cstdint>
#include <span>

namespace qv {

// The numbers are the settings file's "PlayDriverType". The Windows build has the first four;
// the native build plays through PortAudio, whose host APIs follow them.
enum class PlayDriverType : int {
    Mme = 0,
    DirectSound = 1,
    Asio = 2,
    Wasapi = 3,
    Alsa = 4,
    Jack = 5,
    PulseAudio = 6,
    Oss = 7,
};

// One ring buffer: where it starts and how long it is (every buffer has `bufferBytes`).
struct RingBuffer {
    uint8_t* data = nullptr;
    uint32_t bytes = 0;
};

// What a path reports into while it is open: one Signal per consumed ring buffer (a copy that
// passes several buffer boundaries signals several times), and the engine's error line, which
// a failing step sets before it returns false.
struct DeviceLink {
    BufferDoneSignal& bufferDone;
    ErrorText& errorText;
};

// The stream a path is opened for.
struct StreamSetup {
    WaveFormatRecord format;       // the stream format; valid bits filled in when extensible
    WaveFormatRecord deviceFormat; // `format`, in the extensible form when useExtensible is set
    uint32_t floatBits = 0;        // bits of IEEE-float samples when the source marks them, else 0
    bool useWfDirect = false;      // MME: no conversion by the mapper
    int dsLatencyMs = 0;           // DirectSound: "DS_PlayLatency"
    int wasLatencyMs = 0;          // WASAPI: "WAS_Latency" (1 .. 200 ms); PortAudio: the
                                   // suggested output latency (0: the device's default)
    bool wasEventMode = false;     // WASAPI: event-driven rather than timer-driven
    uint8_t threadPriority = 5;    // the copy thread's priority, as the playback thread's
    bool monoAsStereo = false;     // play one channel on two device channels
    int asioFirstChannel = 0;
    int bufferBytes = 0;
    int bufferCount = 0;
};

class Device {
public:
    virtual ~Device() = default;

    // Main thread, Play. deviceNumber is -1 for the MME mapper. The link stays valid until
    // Release. False with the path's message in link.errorText.
    virtual bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) = 0;
    // Main thread, Play: the driver's own preparation once the ring is allocated and silent
    // (MME pauses the device so that the prefill waits in it).
    virtual bool Prepare(std::span<const RingBuffer> ring) = 0;

    // Main thread, start step of the playback: DirectSound and WASAPI start their copy thread
    // and return once it runs; full volume when the setting asks for it.
    virtual void StartCopyThread() {}
    virtual void SetFullVolume() {}

    // Playback thread. True when the ring's buffers are handed over one by one (MME); the
    // other paths read the ring themselves in ring order.
    virtual bool QueuesBuffers() const { return false; }
    virtual bool Queue(int ringIndex) {
        static_cast<void>(ringIndex);
        return true;
    }
    // The start point: the ring is filled.
    virtual bool Start() = 0;
    // Frames played since the device was opened or flushed.
    virtual uint64_t Position() = 0;
    // Restart of the stream: stop and forget what is queued, rewind to the ring's start; the
    // device plays again only after the next Start.
    virtual bool Flush() = 0;
    // End of a pass: stop and take back the queued buffers; written buffers were handed over.
    virtual void Reset(int written) = 0;
    // An error met on a thread of the driver's own (the ASIO callback) since the last call,
    // or nullptr. Read at every completion wait.
    virtual const char* CallbackError() { return nullptr; }
    // The driver asked to be set up again (an ASIO reset request): the loop restarts the
    // stream, and the Flush of that restart sets the driver up anew.
    virtual bool RestartRequested() { return false; }

    // Main thread, end of playback.
    virtual void StopCopyThread() {}
    virtual bool Close() = 0;
    virtual void Release() = 0;
};

} // namespace qv
