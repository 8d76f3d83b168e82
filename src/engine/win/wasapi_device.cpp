#include "engine/win/wasapi_device.h"

#include "engine/wasapi_formats.h"
#include "engine/win/wasapi_texts.h"
#include "platform/thread_priority.h"

#include <cstring>

namespace qv {

namespace {

constexpr int kResetTries = 100;
constexpr DWORD kResetRetryMs = 10;

} // namespace

WasapiDevice::WasapiDevice(const WasapiEndpoints& endpoints, const AvrtLibrary& avrt)
    : endpoints_(endpoints), avrt_(avrt),
      renderEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

WasapiDevice::~WasapiDevice() {
    StopCopyThread();
    stream_.Release();
    if (renderEvent_)
        CloseHandle(renderEvent_);
}

bool WasapiDevice::Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) {
    bufferDone_ = &link.bufferDone;
    errorText_ = &link.errorText;
    setup_ = setup;
    if (endpoints_.Count(false) == 0) {
        errorText_->Set(kErrNoWasapiOutput);
        return false;
    }
    return stream_.Open(endpoints_, deviceNumber, *errorText_);
}

bool WasapiDevice::Prepare(std::span<const RingBuffer> ring) {
    if (ring.empty() || !stream_.Prepare(setup_, renderEvent_, *errorText_))
        return false;
    copy_.Configure(ring[0].data, ring.size() * ring[0].bytes, ring[0].bytes,
                    StreamSampleCode(setup_.format, setup_.floatBits),
                    DeviceSampleCode(stream_.format), setup_.format.channels,
                    stream_.duplicateMono);
    delivered_.store(0);
    firstStart_ = true;
    started_.store(false);
    return true;
}

void WasapiDevice::StartCopyThread() {
    StopCopyThread();
    terminate_.store(false);
    threadRunning_.store(false);
    threadEnded_.store(false);
    threadError_.store(nullptr);
    thread_ = std::thread([this] { CopyThread(); });
    // A thread that could not register ends without running: the playback then fails at its
    // start with the thread's message.
    while (!threadRunning_.load() && !threadEnded_.load())
        Sleep(1);
    if (!threadRunning_.load())
        if (const char* message = threadError_.exchange(nullptr))
            errorText_->Set(message);
}

void WasapiDevice::StopCopyThread() {
    if (!thread_.joinable())
        return;
    terminate_.store(true);
    SetEvent(renderEvent_); // wakes an event-driven wait
    thread_.join();
}

void WasapiDevice::CopyThread() {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    SetCurrentThreadPriority(setup_.threadPriority);
    unsigned long taskIndex = 0;
    void* task =
        avrt_.setCharacteristics ? avrt_.setCharacteristics(kMmcssTask, &taskIndex) : nullptr;
    if (task == nullptr) {
        threadError_.store(kErrMmcss);
    } else {
        threadRunning_.store(true);
        if (setup_.wasEventMode)
            RunEventDriven();
        else
            RunTimerDriven();
        avrt_.revertCharacteristics(task);
        threadRunning_.store(false);
    }
    if (com)
        CoUninitialize();
    threadEnded_.store(true);
}

void WasapiDevice::RunEventDriven() {
    const uint32_t frames = stream_.bufferFrames;
    for (;;) {
        if (WaitForSingleObject(renderEvent_, INFINITE) != WAIT_OBJECT_0 || terminate_.load())
            return;
        copying_.store(true);
        if (started_.load()) {
            BYTE* data = nullptr;
            if (SUCCEEDED(stream_.render->GetBuffer(frames, &data))) {
                Deliver(data, frames);
                if (FAILED(stream_.render->ReleaseBuffer(frames, 0))) {
                    copying_.store(false);
                    return Fail(kErrReleaseBuffer);
                }
            }
        }
        copying_.store(false);
    }
}

void WasapiDevice::RunTimerDriven() {
    const uint32_t frames = stream_.bufferFrames;
    const int64_t period = int64_t(frames) * 10000000 / stream_.format.sampleRate; // 100 ns
    const DWORD sleepMs = DWORD(period / 10000 / 2); // half the device buffer
    while (!terminate_.load()) {
        Sleep(sleepMs);
        copying_.store(true);
        if (started_.load()) {
            UINT32 queued = 0;
            if (FAILED(stream_.client->GetCurrentPadding(&queued))) {
                copying_.store(false);
                return Fail(kErrPadding);
            }
            const uint32_t n = queued < frames ? frames - queued : 0;
            BYTE* data = nullptr;
            if (n > 0 && SUCCEEDED(stream_.render->GetBuffer(n, &data))) {
                Deliver(data, n);
                if (FAILED(stream_.render->ReleaseBuffer(n, 0))) {
                    copying_.store(false);
                    return Fail(kErrReleaseBuffer);
                }
            }
        }
        copying_.store(false);
    }
}

void WasapiDevice::Deliver(uint8_t* data, uint32_t frames) {
    const int finished = copy_.Copy(data, frames);
    UINT64 position = 0, time = 0;
    if (SUCCEEDED(stream_.clock->GetPosition(&position, &time)))
        lastDeliveryTime_.store(time);
    delivered_.store(copy_.FramesDelivered());
    for (int i = 0; i < finished; ++i)
        bufferDone_->Signal();
}

void WasapiDevice::Fail(const char* message) {
    threadError_.store(message);
    bufferDone_->Signal();
}

const char* WasapiDevice::CallbackError() {
    return threadError_.exchange(nullptr);
}

void WasapiDevice::HoldCopies() {
    started_.store(false);
    while (copying_.load())
        Sleep(1);
}

bool WasapiDevice::Start() {
    if (!threadRunning_.load())
        return false; // the copy thread never ran (its message is in the error text)
    // A client that still plays what it had cannot be reset; the flush has stopped it.
    for (int i = 0; i < kResetTries && stream_.client->Reset() != S_OK; ++i)
        Sleep(kResetRetryMs);
    // The device starts on one whole buffer: silence at the stream's start, so that the
    // device's start-up never cuts into the signal; the ring's data after a restart.
    const uint32_t frames = stream_.bufferFrames;
    BYTE* data = nullptr;
    if (SUCCEEDED(stream_.render->GetBuffer(frames, &data))) {
        if (firstStart_)
            std::memset(data, 0, size_t(frames) * copy_.DeviceFrameBytes());
        else
            Deliver(data, frames);
        if (FAILED(stream_.render->ReleaseBuffer(frames, 0))) {
            errorText_->Set(kErrReleaseBuffer);
            return false;
        }
    }
    firstStart_ = false;
    // Open to the copy thread first: a device that asks for data the moment it starts is
    // answered, and a copy before the start finds the buffer full.
    started_.store(true);
    if (FAILED(stream_.client->Start())) {
        HoldCopies();
        return false;
    }
    return true;
}

uint64_t WasapiDevice::Position() {
    const uint64_t delivered = delivered_.load();
    if (delivered == 0 || !stream_.clock)
        return 0;
    UINT64 position = 0, now = 0;
    const uint64_t last = lastDeliveryTime_.load();
    if (FAILED(stream_.clock->GetPosition(&position, &now)) || now <= last)
        return delivered;
    return delivered + uint64_t(double(now - last) * stream_.format.sampleRate * 1e-7);
}

bool WasapiDevice::Flush() {
    if (started_.load()) {
        HoldCopies();
        if (FAILED(stream_.client->Stop())) {
            errorText_->Set(kErrClientStop);
            return false;
        }
        Sleep(DWORD(stream_.latencyMs + 5));
    }
    copy_.Rewind();
    delivered_.store(0);
    return true;
}

void WasapiDevice::Reset(int written) {
    static_cast<void>(written); // nothing was handed over buffer by buffer
    const bool playing = started_.load();
    HoldCopies();
    if (playing)
        PlayOut();
    if (stream_.client)
        stream_.client->Stop();
    Sleep(DWORD(stream_.latencyMs + 5));
}

// A ring buffer counts as done once it is copied, so the device still holds up to one buffer
// of the stream when the last one is counted: stopped at once, the end of a sweep would be
// cut. At most the buffer's duration, so that a Stop is as prompt as the latency.
void WasapiDevice::PlayOut() {
    const ULONGLONG limit = GetTickCount64() + ULONGLONG(stream_.bufferDuration / 10000) +
                            ULONGLONG(stream_.latencyMs) + 10;
    UINT32 queued = 0;
    while (SUCCEEDED(stream_.client->GetCurrentPadding(&queued)) && queued > 0 &&
           GetTickCount64() < limit)
        Sleep(1);
}

void WasapiDevice::Release() {
    stream_.Release();
}

} // namespace qv
