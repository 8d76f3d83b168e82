#include "engine/wave_play_rec.h"

#include "engine/engine_messages.h"

#include <chrono>
#include <utility>

namespace qv {

namespace {

void Sleep5ms() {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// PCM, 2 channels, 44100 Hz, 16 bits.
WaveFormatRecord DefaultFormat() {
    WaveFormatRecord f;
    f.formatTag = kFormatTagPcm;
    f.channels = 2;
    f.sampleRate = 44100;
    f.avgBytesPerSec = 176400;
    f.blockAlign = 4;
    f.bitsPerSample = 16;
    return f;
}

} // namespace

WavePlayRec::WavePlayRec(EngineOwner& owner, Ui& ui, FillFunction fill,
                         const EngineSettings& settings)
    : owner_(owner), ui_(ui), fill_(std::move(fill)), settings_(settings), format(DefaultFormat()) {
    owner_.EnablePlayButton(false);
    owner_.EnableStopButton(false);
    subThreadRunning_.store(true);
    subThread_ = std::thread([this] { PlaySubThread(); });
}

WavePlayRec::~WavePlayRec() {
    Stop();
    subThreadTerminate_.store(true, std::memory_order_release);
    bufferDone_.Signal();
    subThread_.join();
}

bool WavePlayRec::SetPlayBuffers(int count, int bytes, int minQueuedToContinue_,
                                 int minQueuedToStart_, int prefill) {
    if (PlaybackRunning())
        return false;
    errorText.Clear();
    minQueuedToContinue = minQueuedToContinue_;
    minQueuedToStart = minQueuedToStart_;
    prefillTarget = prefill;
    bool ok = true;
    bufferCount = count < 2 ? 2 : count;
    if (bufferCount > kMaxRingBuffers) {
        errorText.Format(kErrBufferNotEnough, count / kMaxRingBuffers + 1);
        bufferCount = kMaxRingBuffers;
        ok = false;
    }
    if (prefill == 0)
        prefillTarget = bufferCount;
    bufferBytes = bytes;
    ringBytes = bytes * bufferCount;
    buffersConfigured = true;
    return ok;
}

EngineOutcome WavePlayRec::SetSource(const WaveFormatRecord& source) {
    if (PlaybackRunning())
        return EngineOutcome::Failed;
    errorText.Clear();
    failed = false;
    fileMode = false;
    format = source;
    floatBits = 0;
    formatPlayable = true;
    silenceByte = source.bitsPerSample == 8 ? 0x80 : 0x00;
    restartStream = false;
    formatSet = true;
    owner_.EnablePlayButton(true);
    playState_.store(PlayState::Idle, std::memory_order_release);
    return EngineOutcome::Done;
}

void WavePlayRec::GetSourceFormat(uint32_t& outFloatBits, WaveFormatRecord& outFormat) const {
    outFloatBits = floatBits;
    outFormat = format;
}

bool WavePlayRec::Play(int deviceIndex, bool startPaused_, int asioFirstChannel_,
                       bool deviceActive_) {
    errorText.Clear();
    failed = false;
    if (PlaybackRunning())
        return false;
    if (playThread_.joinable()) // a playback that ended by itself
        playThread_.join();
    if ((!fill_ && !fileMode) || !formatSet || !buffersConfigured || bufferBytes <= 0)
        return false;
    if (deviceActive_ && device_ == nullptr)
        return false;
    deviceActive = deviceActive_;

    const int deviceNumber =
        settings_.driverType == PlayDriverType::Mme ? deviceIndex - 1 : deviceIndex;
    FillValidBits(format);
    StreamSetup setup = CurrentStreamSetup();
    setup.asioFirstChannel = asioFirstChannel_;
    if (deviceActive && !device_->Open(DeviceLink{bufferDone_, errorText}, deviceNumber, setup))
        return false;
    asioFirstChannel = asioFirstChannel_;

    if (!PrepareStream()) {
        if (deviceActive) {
            device_->Close();
            device_->Release();
        }
        return false;
    }
    mode_.store(1, std::memory_order_release);
    startPaused = startPaused_;
    restartStream = true;
    // Cleared here rather than by the pass, so that a Stop right after Play is not lost.
    stopRequest.store(false, std::memory_order_relaxed);
    restartPending.store(false, std::memory_order_relaxed);
    threadRunning_.store(true, std::memory_order_release);
    playThread_ = std::thread([this] { PlayThread(); });
    return true;
}

StreamSetup WavePlayRec::CurrentStreamSetup() const {
    StreamSetup setup;
    setup.format = format;
    FillValidBits(setup.format);
    setup.deviceFormat = DeviceFormat(setup.format);
    setup.floatBits = floatBits;
    setup.useWfDirect = settings_.useWfDirect;
    setup.dsLatencyMs = settings_.dsPlayLatencyMs;
    setup.wasLatencyMs = settings_.wasLatencyMs;
    setup.wasEventMode = settings_.wasEventMode;
    setup.threadPriority = settings_.playPriority;
    setup.monoAsStereo = monoAsStereo;
    setup.asioFirstChannel = asioFirstChannel;
    setup.bufferBytes = bufferBytes;
    setup.bufferCount = bufferCount;
    return setup;
}

bool WavePlayRec::PrepareStream() {
    if (!PrepareRing())
        return false;
    return !deviceActive ||
           device_->Prepare(std::span<const RingBuffer>(ring.data(), size_t(bufferCount)));
}

void WavePlayRec::Restart() {
    if (State() == PlayState::Playing)
        restartPending.store(true, std::memory_order_release);
}

void WavePlayRec::Stop() {
    stopRequest.store(true, std::memory_order_release);
    while (PlaybackRunning()) {
        owner_.PumpMessages();
        Sleep5ms();
    }
    if (playThread_.joinable())
        playThread_.join();
    mode_.store(0, std::memory_order_release);
}

} // namespace qv
