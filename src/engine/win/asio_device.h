// The ASIO path: one driver of the installed list is loaded at a time; the stream's channels go
// to consecutive driver outputs from the channel chosen in the device dialog. The driver calls
// back on its own thread once per buffer half; the callback copies one buffer's frames from
// the engine's ring into the driver's per-channel buffers and raises the buffer-done signal for
// every ring buffer it has finished. The device dialog's channel list, control panel, Info text
// and format test load the driver of a list entry through the same steps.
#pragma once

#include "engine/asio_copy.h"
#include "engine/asio_rules.h"
#include "engine/device.h"
#include "engine/win/asio_driver_list.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

class AsioDevice final : public Device {
public:
    explicit AsioDevice(const AsioDriverList& list) : list_(list) {}
    ~AsioDevice() override;
    AsioDevice(const AsioDevice&) = delete;
    AsioDevice& operator=(const AsioDevice&) = delete;

    // Loads and initialises the driver of a list entry and reads its capabilities and output
    // channels; false with the reason in text (nothing stays loaded then).
    bool Load(int entry, ErrorText& text);
    void Unload();
    // Buffers exist: a playback holds the driver.
    bool Busy() const { return buffersCreated_; }
    int LoadedEntry() const { return driver_ ? entry_ : -1; }

    // While loaded.
    std::vector<std::string> ChannelNames() const;
    int Bits() const { return bits_; }
    bool CanSampleRate(double rate);
    bool ControlPanel();
    // Buffers created for the stream from its first channel and disposed again, as Play would
    // have them; false with the reason in text.
    bool Info(const StreamSetup& setup, AsioInfo& info, ErrorText& text);

    bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) override;
    bool Prepare(std::span<const RingBuffer> ring) override;
    bool Start() override;
    uint64_t Position() override;
    bool Flush() override;
    void Reset(int written) override;
    const char* CallbackError() override;
    bool RestartRequested() override { return resetRequest_.load(std::memory_order_acquire); }
    bool Close() override;
    void Release() override { Unload(); }

private:
    bool CreateBuffers(const StreamSetup& setup, ErrorText& text);
    void DisposeBuffers();
    bool SetRate(double rate, ErrorText& text);
    void OnBufferSwitch(int half);

    static void BufferSwitch(int32_t half, asio::Bool directProcess);
    static asio::Time* BufferSwitchTimeInfo(asio::Time* params, int32_t half,
                                            asio::Bool directProcess);
    static void RateChanged(asio::SampleRate rate);
    static int32_t Message(int32_t selector, int32_t value, void* message, double* opt);
    // The device the driver's callbacks reach: the one whose buffers exist.
    static std::atomic<AsioDevice*> current_;

    const AsioDriverList& list_;
    asio::Driver* driver_ = nullptr;
    int entry_ = -1;
    void* sysHandle_ = nullptr; // the owner window of the program's first load
    bool sysHandleTaken_ = false;

    // What the loaded driver reports.
    std::string driverName_;
    int32_t inputs_ = 0, outputs_ = 0;
    int32_t bufferMin_ = 0, bufferMax_ = 0, bufferPreferred_ = 0, bufferGranularity_ = 0;
    int32_t inputLatency_ = 0, outputLatency_ = 0;
    double rate_ = 0;
    bool outputReady_ = false;
    std::vector<asio::ChannelInfo> channels_; // the first outputs, at most 32
    int bits_ = 0;

    // The created buffers: one per used output.
    bool buffersCreated_ = false;
    int usedOutputs_ = 0;
    std::array<asio::BufferInfo, kMostAsioChannels> buffers_{};
    std::array<AsioOutput, kMostAsioChannels> outputsOf_{};
    asio::Callbacks callbacks_{};

    StreamSetup setup_{};
    BufferDoneSignal* bufferDone_ = nullptr;
    ErrorText* errorText_ = nullptr;
    AsioCopy copy_;
    // The driver's thread copies only between Start and the next Flush or Reset.
    std::atomic<bool> started_{false};
    std::atomic<uint64_t> delivered_{0};
    std::atomic<int64_t> lastSwitchMs_{0};
    std::atomic<bool> resetRequest_{false};
    std::atomic<const char*> callbackError_{nullptr};
    char callbackErrorText_[64] = {};
};

} // namespace qv
