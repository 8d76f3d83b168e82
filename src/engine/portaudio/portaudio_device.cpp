#include "engine/portaudio/portaudio_device.h"

#include "engine/wasapi_formats.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace qv {

namespace {

constexpr const char* kErrNoDevice = "PortAudio: no such output device";
constexpr const char* kErrStreamEnded = "PortAudio: the output stream stopped";
constexpr double kPlayOutLimitSeconds = 0.5;

} // namespace

unsigned long PortAudioSampleFormat(SampleCode code) {
    switch (code) {
    case SampleCode::U8:
        return paUInt8;
    case SampleCode::S16:
        return paInt16;
    case SampleCode::S24:
        return paInt24; // packed, three bytes a sample, as the ring holds them
    case SampleCode::S32:
        return paInt32;
    case SampleCode::F32:
        return paFloat32;
    }
    return paInt16;
}

namespace {

int StreamCallback(const void*, void* out, unsigned long frames,
                   const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags, void* device) {
    static_cast<PortAudioDevice*>(device)->Render(out, frames,
                                                  time->outputBufferDacTime - time->currentTime);
    return paContinue;
}

void StreamFinished(void* device) {
    static_cast<PortAudioDevice*>(device)->Finished();
}

} // namespace

PortAudioDevice::~PortAudioDevice() {
    (void)Close();
}

bool PortAudioDevice::Check(int error) {
    if (error == paNoError)
        return true;
    const std::string text = std::string("PortAudio: ") + Pa_GetErrorText(error);
    errorText_->Set(text.c_str());
    return false;
}

bool PortAudioDevice::Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) {
    bufferDone_ = &link.bufferDone;
    errorText_ = &link.errorText;
    setup_ = setup;
    (void)Close();
    const size_t entry = size_t(deviceNumber);
    const int index = deviceNumber <= 0                  ? devices_.defaultDevice
                      : entry <= devices_.devices.size() ? devices_.devices[entry - 1]
                                                         : -1;
    const PaDeviceInfo* info = index >= 0 ? Pa_GetDeviceInfo(index) : nullptr;
    if (info == nullptr) {
        errorText_->Set(kErrNoDevice);
        return false;
    }
    const SampleCode code = StreamSampleCode(setup.format, setup.floatBits);
    PaStreamParameters out{};
    out.device = index;
    out.channelCount = setup.format.channels;
    out.sampleFormat = PortAudioSampleFormat(code);
    out.suggestedLatency =
        setup.wasLatencyMs > 0 ? setup.wasLatencyMs / 1000.0 : info->defaultHighOutputLatency;
    // Where the host API can, the callback primes the device's buffer too (ALSA starts every
    // stream on a buffer of silence instead); samples pass unclipped and undithered.
    const PaStreamFlags flags = paClipOff | paDitherOff | paPrimeOutputBuffersUsingStreamCallback;
    PaStream* stream = nullptr;
    if (!Check(Pa_OpenStream(&stream, nullptr, &out, setup.format.sampleRate,
                             paFramesPerBufferUnspecified, flags, StreamCallback, this)))
        return false;
    stream_ = stream;
    frameBytes_ = setup.format.blockAlign;
    silence_ = code == SampleCode::U8 ? 0x80 : 0x00;
    if (!Check(Pa_SetStreamFinishedCallback(stream, StreamFinished))) {
        (void)Close();
        return false;
    }
    return true;
}

bool PortAudioDevice::Prepare(std::span<const RingBuffer> ring) {
    if (ring.empty() || stream_ == nullptr)
        return false;
    const SampleCode code = StreamSampleCode(setup_.format, setup_.floatBits);
    copy_.Configure(ring[0].data, ring.size() * ring[0].bytes, ring[0].bytes, code, code,
                    setup_.format.channels, false);
    bufferBytes_ = ring[0].bytes;
    queuedBytes_.store(0);
    played_.store(0);
    heardAt_.store({});
    started_.store(false);
    callbackError_.store(nullptr);
    return true;
}

bool PortAudioDevice::Queue(int) {
    queuedBytes_.fetch_add(bufferBytes_, std::memory_order_release);
    return true;
}

void PortAudioDevice::Render(void* out, unsigned long frames, double delay) {
    copying_.store(true);
    uint32_t n = 0;
    if (started_.load()) {
        const uint64_t ready =
            (queuedBytes_.load(std::memory_order_acquire) - copy_.FramesDelivered() * frameBytes_) /
            frameBytes_;
        n = uint32_t(std::min<uint64_t>(frames, ready));
        const int finished = copy_.Copy(static_cast<uint8_t*>(out), n);
        played_.store(copy_.FramesDelivered(), std::memory_order_release);
        if (n > 0) {
            const double ahead = std::max(delay, 0.0) + double(n) / setup_.format.sampleRate;
            heardAt_.store(std::chrono::steady_clock::now() +
                               std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                   std::chrono::duration<double>(ahead)),
                           std::memory_order_release);
        }
        for (int i = 0; i < finished; ++i)
            bufferDone_->Signal();
    }
    std::memset(static_cast<uint8_t*>(out) + size_t(n) * frameBytes_, silence_,
                size_t(frames - n) * frameBytes_);
    copying_.store(false);
}

// The stream ends by itself only when the host API has given up on the device: the engine hears
// of it at its next completion wait, which the signal raised here makes sure comes.
void PortAudioDevice::Finished() {
    if (stopping_.load())
        return;
    callbackError_.store(kErrStreamEnded);
    bufferDone_->Signal();
}

void PortAudioDevice::HoldCopies() {
    started_.store(false);
    while (copying_.load())
        std::this_thread::yield();
}

bool PortAudioDevice::Start() {
    if (stream_ == nullptr)
        return false;
    if (running_)
        return true;
    stopping_.store(false);
    started_.store(true); // open to the callback first: priming the device copies the ring
    if (!Check(Pa_StartStream(stream_))) {
        HoldCopies();
        return false;
    }
    running_ = true;
    return true;
}

// A restart: what the device holds is dropped at once, and the ring is read from its start.
bool PortAudioDevice::Flush() {
    bool ok = true;
    if (running_) {
        HoldCopies();
        stopping_.store(true);
        ok = Check(Pa_AbortStream(stream_));
        running_ = false;
    }
    copy_.Rewind();
    queuedBytes_.store(0);
    played_.store(0);
    return ok;
}

// The end of a pass: every ring buffer the engine counted has been copied, so the device still
// holds up to its latency of the stream's end (a sweep's last frames): it plays that out, with
// silence after it, until the last frame copied has been heard (by the delay PortAudio gave
// with it; at most the latency), before it stops. Some host APIs (ALSA) drop what is queued at a
// stop.
void PortAudioDevice::Reset(int) {
    if (!running_)
        return;
    HoldCopies();
    const auto limit =
        std::chrono::steady_clock::now() +
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(std::min(OutputLatency(), kPlayOutLimitSeconds) + 0.005));
    std::this_thread::sleep_until(std::min(heardAt_.load(std::memory_order_acquire), limit));
    stopping_.store(true);
    (void)Check(Pa_StopStream(stream_));
    running_ = false;
}

bool PortAudioDevice::Close() {
    if (stream_ == nullptr)
        return true;
    HoldCopies();
    stopping_.store(true);
    bool ok = true;
    if (running_)
        ok = Check(Pa_AbortStream(stream_));
    running_ = false;
    ok = Check(Pa_CloseStream(stream_)) && ok;
    stream_ = nullptr;
    return ok;
}

double PortAudioDevice::OutputLatency() const {
    const PaStreamInfo* info = stream_ ? Pa_GetStreamInfo(stream_) : nullptr;
    return info ? info->outputLatency : 0.0;
}

} // namespace qv
