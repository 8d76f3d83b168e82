#include "engine/win/asio_device.h"

#include "engine/wasapi_formats.h"
#include "engine/win/asio_texts.h"
#include "platform/win/text_conversion.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace qv {

std::atomic<AsioDevice*> AsioDevice::current_{nullptr};

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The driver's texts are in the system's code page.
std::string DriverText(const char* text, size_t size) {
    return WideToUtf8(AnsiToWide(std::string_view(text, strnlen(text, size))));
}

bool IsFloatStream(const StreamSetup& setup) {
    return StreamSampleCode(setup.format, setup.floatBits) == SampleCode::F32;
}

// The wait cursor while a driver initialises (some take seconds).
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)))) {} // IDC_WAIT
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};

} // namespace

AsioDevice::~AsioDevice() {
    Unload();
}

bool AsioDevice::Load(int entry, ErrorText& text) {
    if (list_.Count() == 0) {
        text.Set(kErrNoAsioDriver);
        return false;
    }
    Unload();
    const std::string name =
        AsioListName(entry >= 0 && entry < list_.Count() ? list_.At(entry).name : "");
    driver_ = list_.Create(entry);
    if (driver_ == nullptr) {
        text.Format(kErrAsioLoad, name.c_str());
        return false;
    }
    entry_ = entry;
    if (!sysHandleTaken_) {
        HWND owner = GetActiveWindow();
        sysHandle_ = owner ? owner : GetDesktopWindow();
        sysHandleTaken_ = true;
    }
    driverName_ = kAsioNoDriverName;
    {
        WaitCursor wait;
        if (!driver_->init(sysHandle_)) {
            char message[128] = {};
            driver_->getErrorMessage(message);
            Unload();
            text.Format(kErrAsioInit, name.c_str());
            if (message[0] != '\0')
                text.Format("%s\n\n%s", text.Str().c_str(),
                            DriverText(message, sizeof message).c_str());
            return false;
        }
    }
    char driverName[33] = {};
    driver_->getDriverName(driverName);
    driverName_ = DriverText(driverName, 32);

    bool caps = driver_->getChannels(&inputs_, &outputs_) == asio::kOk &&
                driver_->getBufferSize(&bufferMin_, &bufferMax_, &bufferPreferred_,
                                       &bufferGranularity_) == asio::kOk &&
                driver_->getSampleRate(&rate_) == asio::kOk;
    if (caps && (rate_ <= 0 || rate_ > 192000))
        caps = driver_->setSampleRate(44100) == asio::kOk &&
               driver_->getSampleRate(&rate_) == asio::kOk;
    if (!caps || bufferPreferred_ <= 0) {
        Unload();
        text.Set(kErrAsioCaps);
        return false;
    }
    outputReady_ = driver_->outputReady() == asio::kOk;

    channels_.assign(size_t(std::clamp(outputs_, 0, kMostAsioChannels)), asio::ChannelInfo{});
    for (size_t i = 0; i < channels_.size(); ++i) {
        channels_[i].channel = int32_t(i);
        channels_[i].isInput = 0;
        if (driver_->getChannelInfo(&channels_[i]) != asio::kOk) {
            Unload();
            text.Set(kErrAsioChannelInfo);
            return false;
        }
    }
    bits_ = channels_.empty() ? 0 : AsioBitCode(channels_[0].type);
    return true;
}

void AsioDevice::Unload() {
    if (driver_ == nullptr)
        return;
    started_.store(false);
    if (buffersCreated_) {
        driver_->stop();
        DisposeBuffers();
    }
    driver_->Release();
    driver_ = nullptr;
    entry_ = -1;
    channels_.clear();
    bits_ = 0;
}

std::vector<std::string> AsioDevice::ChannelNames() const {
    std::vector<std::string> names;
    for (const asio::ChannelInfo& c : channels_)
        names.push_back(DriverText(c.name, sizeof c.name));
    return names;
}

bool AsioDevice::CanSampleRate(double rate) {
    return driver_ != nullptr && driver_->canSampleRate(rate) == asio::kOk;
}

bool AsioDevice::ControlPanel() {
    return driver_ != nullptr && driver_->controlPanel() == asio::kOk;
}

bool AsioDevice::Info(const StreamSetup& setup, AsioInfo& info, ErrorText& text) {
    if (driver_ == nullptr || !CreateBuffers(setup, text))
        return false;
    info = {.driverName = driverName_,
            .inputs = inputs_,
            .outputs = outputs_,
            .sampleRate = rate_,
            .bits = bits_,
            .firstType = channels_.empty() ? 0 : int(channels_[0].type),
            .bufferMin = bufferMin_,
            .bufferMax = bufferMax_,
            .bufferPreferred = bufferPreferred_,
            .bufferGranularity = bufferGranularity_,
            .inputLatency = inputLatency_,
            .outputLatency = outputLatency_,
            .outputReady = outputReady_};
    DisposeBuffers();
    return true;
}

bool AsioDevice::SetRate(double rate, ErrorText& text) {
    if (driver_->setSampleRate(rate) != asio::kOk) {
        text.Format(kErrAsioRate, int(rate));
        return false;
    }
    if (driver_->getSampleRate(&rate_) != asio::kOk || rate_ != rate) {
        text.Format(kErrAsioSetRate, int(rate));
        return false;
    }
    return true;
}

bool AsioDevice::Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) {
    bufferDone_ = &link.bufferDone;
    errorText_ = &link.errorText;
    callbackError_.store(nullptr);
    resetRequest_.store(false);
    if (!Load(deviceNumber, *errorText_))
        return false;
    const std::string refusal =
        AsioBitLengthRefusal(setup.format.bitsPerSample, IsFloatStream(setup), bits_);
    if (!refusal.empty())
        errorText_->Set(refusal.c_str());
    if (!refusal.empty() || !SetRate(setup.format.sampleRate, *errorText_) ||
        !CreateBuffers(setup, *errorText_)) {
        Unload();
        return false;
    }
    setup_ = setup;
    return true;
}

bool AsioDevice::CreateBuffers(const StreamSetup& setup, ErrorText& text) {
    const int first = std::clamp(setup.asioFirstChannel, 0, kMostAsioChannels - 1);
    usedOutputs_ =
        std::min(AsioUsedOutputs(setup.format.channels, setup.monoAsStereo, first, outputs_),
                 kMostAsioChannels - first);
    if (usedOutputs_ <= 0) {
        text.Set(kErrAsioBuffer);
        return false;
    }
    for (int k = 0; k < usedOutputs_; ++k)
        buffers_[size_t(k)] = {.isInput = 0, .channelNum = first + k, .buffers = {}};
    callbacks_ = {&BufferSwitch, &RateChanged, &Message, &BufferSwitchTimeInfo};
    current_.store(this);
    if (driver_->createBuffers(buffers_.data(), usedOutputs_, bufferPreferred_, &callbacks_) !=
        asio::kOk) {
        current_.store(nullptr);
        text.Set(kErrAsioBuffer);
        return false;
    }
    buffersCreated_ = true;
    bool active = true;
    for (int k = 0; k < usedOutputs_; ++k) {
        asio::ChannelInfo info{};
        info.channel = first + k;
        info.isInput = 0;
        if (driver_->getChannelInfo(&info) != asio::kOk) {
            DisposeBuffers();
            text.Set(kErrAsioBuffer);
            return false;
        }
        active = active && info.isActive;
        outputsOf_[size_t(k)] = {.half = nullptr, .type = info.type};
    }
    if (driver_->getLatencies(&inputLatency_, &outputLatency_) != asio::kOk) {
        DisposeBuffers();
        text.Set(kErrAsioBuffer);
        return false;
    }
    if (!active) {
        DisposeBuffers();
        text.Set(kErrAsioInactive);
        return false;
    }
    return true;
}

void AsioDevice::DisposeBuffers() {
    if (!buffersCreated_)
        return;
    driver_->disposeBuffers();
    buffersCreated_ = false;
    current_.store(nullptr);
}

bool AsioDevice::Prepare(std::span<const RingBuffer> ring) {
    if (ring.empty())
        return false;
    copy_.Configure(ring[0].data, ring.size() * ring[0].bytes, ring[0].bytes,
                    StreamSampleCode(setup_.format, setup_.floatBits), setup_.format.channels);
    delivered_.store(0);
    return true;
}

bool AsioDevice::Start() {
    for (int k = 0; k < usedOutputs_; ++k) {
        const size_t bytes =
            size_t(bufferPreferred_) * size_t(AsioSampleBytes(outputsOf_[size_t(k)].type));
        for (void* half : buffers_[size_t(k)].buffers)
            if (half != nullptr)
                std::memset(half, 0, bytes);
    }
    lastSwitchMs_.store(NowMs());
    started_.store(true);
    driver_->start();
    return true;
}

uint64_t AsioDevice::Position() {
    return AsioPosition(delivered_.load(), bufferPreferred_, NowMs() - lastSwitchMs_.load(), rate_);
}

bool AsioDevice::Flush() {
    started_.store(false);
    if (driver_ == nullptr)
        return false;
    driver_->stop();
    // A driver that asked to be set up again (its buffer size changed, say) gets new buffers of
    // the size it now prefers.
    if (resetRequest_.exchange(false)) {
        DisposeBuffers();
        if (driver_->getBufferSize(&bufferMin_, &bufferMax_, &bufferPreferred_,
                                   &bufferGranularity_) != asio::kOk ||
            !CreateBuffers(setup_, *errorText_))
            return false;
    }
    copy_.Rewind();
    delivered_.store(0);
    return true;
}

void AsioDevice::Reset(int) {
    started_.store(false);
    if (driver_ != nullptr)
        driver_->stop();
}

bool AsioDevice::Close() {
    if (driver_ != nullptr) {
        started_.store(false);
        driver_->stop();
        DisposeBuffers();
    }
    return true;
}

const char* AsioDevice::CallbackError() {
    return callbackError_.load(std::memory_order_acquire);
}

void AsioDevice::OnBufferSwitch(int half) {
    lastSwitchMs_.store(NowMs());
    if (!started_.load(std::memory_order_acquire))
        return;
    for (int k = 0; k < usedOutputs_; ++k)
        outputsOf_[size_t(k)].half = static_cast<uint8_t*>(buffers_[size_t(k)].buffers[half & 1]);
    const int32_t code =
        copy_.Copy(std::span(outputsOf_.data(), size_t(usedOutputs_)), uint32_t(bufferPreferred_));
    if (code != 0 && callbackError_.load(std::memory_order_relaxed) == nullptr) {
        std::snprintf(callbackErrorText_, sizeof callbackErrorText_, kErrAsioSampleType, code);
        callbackError_.store(callbackErrorText_, std::memory_order_release);
    }
    if (outputReady_)
        driver_->outputReady();
    const int finished = copy_.Finished(CallbackError() != nullptr);
    delivered_.store(copy_.FramesDelivered(), std::memory_order_release);
    for (int i = 0; i < finished; ++i)
        bufferDone_->Signal();
}

void AsioDevice::BufferSwitch(int32_t half, asio::Bool) {
    if (AsioDevice* device = current_.load(std::memory_order_acquire)) {
        asio::Samples position{};
        asio::TimeStamp stamp{};
        device->driver_->getSamplePosition(&position, &stamp);
        device->OnBufferSwitch(half);
    }
}

asio::Time* AsioDevice::BufferSwitchTimeInfo(asio::Time* params, int32_t half, asio::Bool) {
    if (AsioDevice* device = current_.load(std::memory_order_acquire))
        device->OnBufferSwitch(half);
    return params;
}

void AsioDevice::RateChanged(asio::SampleRate) {}

int32_t AsioDevice::Message(int32_t selector, int32_t value, void*, double*) {
    if (selector == asio::kResetRequest)
        if (AsioDevice* device = current_.load(std::memory_order_acquire))
            device->resetRequest_.store(true, std::memory_order_release);
    return AsioMessageAnswer(selector, value);
}

} // namespace qv
