// WavePlayRec, the audio device engine: the buffer plan, the stream format, the ring, the
// playback thread that keeps the ring filled from the generator, and the thread that counts
// completed device buffers. The device itself is reached through a Device path.
#pragma once

#include "engine/buffer_done_signal.h"
#include "engine/device.h"
#include "engine/driver_catalog.h"
#include "engine/engine_owner.h"
#include "engine/error_text.h"
#include "generator/live_change.h"
#include "generator/output_format.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace qv {

class Ui;

constexpr int kMaxRingBuffers = 170;

// The generator's fill operation: (buffer, byte count, block index) -> bytes written.
using FillFunction = std::function<uint32_t(uint8_t*, uint32_t, uint32_t)>;

// The settings the engine is built with.
struct EngineSettings {
    PlayDriverType driverType = PlayDriverType::Mme; // "PlayDriverType"
    bool useExtensible = false;                      // "Use_WF_EXTENSIBLE"
    bool useWfDirect = false;                        // "Use_WF_DIRECT"
    int dsPlayLatencyMs = 0;                         // "DS_PlayLatency"
    int dsRecLatencyMs = 0;                          // "DS_RecLatency" (kept, unused)
    int wasLatencyMs = 0;                            // "WAS_Latency"
    bool wasEventMode = false;                       // "WAS_EventMode"
    uint8_t playPriority = 5; // "PlayThreadPriority" + 3: 1 .. 5 (set by the platform layer)
    int languageIndex = 1;
};

// The outcome of an engine operation that can fail or be refused.
enum class [[nodiscard]] EngineOutcome{Done, Failed};

class WavePlayRec final : public PlaybackControl {
public:
    // Disables both buttons and starts the completion counter.
    WavePlayRec(EngineOwner& owner, Ui& ui, FillFunction fill, const EngineSettings& settings);
    // Stops a playback and the completion counter.
    ~WavePlayRec() override;
    WavePlayRec(const WavePlayRec&) = delete;
    WavePlayRec& operator=(const WavePlayRec&) = delete;

    // Every operation below runs on the main thread.

    // The path of the current driver type; not owned, outlives the engine's use of it.
    void SetDevice(Device* device) { device_ = device; }

    // The platform's driver lists (not owned). Builds the lists of the configured type and, when
    // that type fails, of MME instead; the device path follows the type.
    void AttachCatalog(DriverCatalog* catalog);
    // Rebuilds the lists of the current type; clearFlags empties the error text and the failed
    // flag first.
    EngineOutcome EnumerateDevices(bool clearFlags);
    int GetDeviceCount(bool input) const;
    std::string GetDeviceName(int entry, bool input) const;
    // Switches the driver type; when the new type fails the old one is taken back (its lists
    // rebuilt, the failure's text kept) and Failed is returned. The same or a negative type does
    // nothing. Refused (Failed, no change) while a playback runs.
    EngineOutcome SetDriverType(PlayDriverType type);
    bool DriverFailed() const { return driverFailed_; }
    PlayDriverType DriverType() const { return settings_.driverType; }
    // The settings the device paths read (latencies, event mode, thread priority, ...).
    const EngineSettings& Settings() const { return settings_; }
    bool FullVolume() const { return fullVolume; }
    // How long the playback thread waited at most for the after-fill step, in microseconds.
    int64_t LongestAfterFillWait() const {
        return longestAfterFillUs_.load(std::memory_order_relaxed);
    }

    // The buffer plan: count buffers (2 .. 170) of bytes each. A count above 170 gives 170,
    // the text "Buffer not enough  (1/n)" and false. prefill 0 fills the whole ring before
    // the device starts. Refused (false) while a playback runs.
    bool SetPlayBuffers(int count, int bytes, int minQueuedToContinue, int minQueuedToStart,
                        int prefill);
    int BufferCount() const { return bufferCount; }
    int BufferBytes() const { return bufferBytes; }
    int RingBytes() const { return ringBytes; }
    int PrefillTarget() const { return prefillTarget; }

    // The generator's stream format; also enables the Play button. Refused (Failed, no text)
    // while a playback runs.
    EngineOutcome SetSource(const WaveFormatRecord& format);
    void GetSourceFormat(uint32_t& outFloatBits, WaveFormatRecord& outFormat) const;
    uint8_t SilenceByte() const { return silenceByte; }
    bool FormatPlayable() const { return formatPlayable; }
    // The last file source failed (the generator's format never fails).
    bool Failed() const { return failed; }

    // The stream a device would be opened with now: the source format (valid bits filled in),
    // its device form, the buffer plan and the settings of the current type. The device
    // dialog's format test and Info text take it as Play does.
    StreamSetup CurrentStreamSetup() const;
    // Opens the device, prepares the ring and starts the playback thread. False with the
    // reason in the error text (empty when there is no fill operation, format or device).
    bool Play(int deviceIndex, bool startPaused, int asioFirstChannel, bool deviceActive);
    // Ends a playback and returns when its thread has finished, pumping window messages.
    void Stop();
    // While playing: flush the device and refill from block 0.
    void Restart() override;
    // 0 idle (also while the ring is first filled), 1 playing, 2 held at start.
    PlayState State() const override { return playState_.load(std::memory_order_acquire); }
    // 1 from Play to Stop.
    int Mode() const { return mode_.load(std::memory_order_acquire); }
    // A playback thread runs (from Play until after its end notification).
    bool PlaybackRunning() const { return threadRunning_.load(std::memory_order_acquire); }

    std::string GetErrorText() const { return errorText.Str(); }
    // When the device of the current playback started, and Play's ASIO channel.
    std::chrono::steady_clock::time_point StartTime() const { return startTime; }
    int AsioFirstChannel() const { return asioFirstChannel; }

    void SetUseExtensible(bool on) { settings_.useExtensible = on; }
    void SetFullVolume(bool on) { fullVolume = on; }
    void SetWasapiLatency(int ms) { settings_.wasLatencyMs = ms; }
    void SetWasapiEventMode(bool on) { settings_.wasEventMode = on; }
    // The record a device is opened with: extensible when "Use_WF_EXTENSIBLE" is set.
    WaveFormatRecord DeviceFormat(const WaveFormatRecord& record) const {
        return settings_.useExtensible ? ToExtensible(record) : record;
    }

    // The playback thread's synchronous steps; the owner runs them on the main thread.
    void RunMainStep(MainStep step);

private:
    bool PrepareStream();
    bool PrepareRing();
    void PlayThread();
    void PlaySubThread();
    // One buffer of the playback loop: filled (unless the last fill produced nothing),
    // queued, and the device started at the start point.
    enum class FillResult {
        Queued,     // bytes were queued (0: nothing more to play, or the device refused)
        Prefilling, // still before the start point: fill again without waiting
        End,        // the pass is over
    };
    struct FillOutcome {
        FillResult result;
        int bytes;
    };
    FillOutcome FillStep(bool fillNext);
    void WaitForCompletion();
    void WaitForPositionToMove(uint64_t before);
    void StartStep();
    void EndOfPlayback();

    EngineOwner& owner_;
    Ui& ui_;
    FillFunction fill_;
    Device* device_ = nullptr;
    DriverCatalog* catalog_ = nullptr;
    bool driverFailed_ = false;

    EngineSettings settings_;
    bool fullVolume = false;
    bool monoAsStereo = false; // one channel on two device channels; off in this program

    ErrorText errorText; // main thread, or the playback thread while it runs

    // The buffer plan.
    int bufferCount = 2;
    int bufferBytes = 0;
    int ringBytes = 0;
    int prefillTarget = 2;
    int minQueuedToStart = 0;
    int minQueuedToContinue = 0;
    bool buffersConfigured = false;
    bool deviceActive = true;

    // The pass; the playback thread's own.
    int fillIndex = 0;
    int doneIndex = 0;
    int queuedCount = 0;
    int fillCount = 0;
    int startTarget = 0;
    int totalWritten = 0;
    bool holdAll = false;
    bool restartStream = false;
    std::chrono::steady_clock::time_point startTime;

    // Cross-thread words: each has one writer.
    std::atomic<bool> stopRequest{false};
    std::atomic<bool> restartPending{false};
    std::atomic<int> doneCount{0};
    std::atomic<PlayState> playState_{PlayState::Idle};
    std::atomic<int> mode_{0};

    // The source.
    WaveFormatRecord format;
    uint32_t floatBits = 0;
    bool formatPlayable = false;
    bool formatSet = false;
    bool fileMode = false;
    bool failed = false;
    bool startPaused = false;
    uint8_t silenceByte = 0;
    int asioFirstChannel = 0;

    // The ring: one block, 8-byte aligned, kept while its shape stays the same.
    std::unique_ptr<uint64_t[]> ringBlock_;
    int ringBlockCount_ = 0;
    int ringBlockBytes_ = 0;
    std::array<RingBuffer, kMaxRingBuffers> ring{};

    BufferDoneSignal bufferDone_;
    std::thread playThread_;
    std::atomic<bool> threadRunning_{false};
    // The longest time the playback thread waited for the main thread's after-fill step (the
    // display) in the current or last playback, in microseconds.
    std::atomic<int64_t> longestAfterFillUs_{0};
    std::thread subThread_;
    std::atomic<bool> subThreadRunning_{false};
    std::atomic<bool> subThreadTerminate_{false};
};

} // namespace qv
