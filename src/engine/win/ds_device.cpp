#include "engine/win/ds_device.h"

#include "engine/win/ds_texts.h"
#include "engine/win/mme_texts.h"
#include "platform/thread_priority.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>
// dsound.h takes WAVEFORMATEX from mmsystem.h.
#include <dsound.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace qv {

namespace {

// Declared here rather than taken from dxguid, which the build does not link.
constexpr GUID kClsidDirectSound = {
    0x47D4D946, 0x62E8, 0x11CF, {0x93, 0xBC, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr GUID kIidDirectSound = {
    0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
constexpr GUID kIidDirectSoundNotify = {
    0xB0210783, 0x89CD, 0x11D0, {0xAF, 0x08, 0x00, 0xA0, 0xC9, 0x25, 0xCD, 0x16}};

// Global focus (plays whichever window is active), the accurate play cursor, position
// notifications, mixed in software.
constexpr DWORD kSecondaryFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2 |
                                  DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_LOCSOFTWARE;
constexpr int kDefaultLatencyMs = 100;

template <typename T> void ReleaseCom(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

// The window DirectSound keeps as its focus window. The engine has no handle of its owner, so
// the calling (main) thread's own visible top-level window stands for it: the program's main
// window. A program without one (the renderer, the tests) gives the desktop window, which
// DirectSound accepts; with global focus the choice does not change what plays.
HWND CooperativeWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
                return TRUE;
            *reinterpret_cast<HWND*>(context) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found != nullptr ? found : GetDesktopWindow();
}

} // namespace

struct DsDeviceState {
    IDirectSound* ds = nullptr;
    IDirectSoundBuffer* buffer = nullptr;
    IDirectSoundNotify* notify = nullptr;
    // Auto-reset: signalled by the device at each notification position, and to wake the copy
    // thread at its end.
    HANDLE notifyEvent = nullptr;
    bool comInitialized = false;

    BufferDoneSignal* bufferDone = nullptr;
    ErrorText* errorText = nullptr;
    WaveFormatRecord format;
    uint32_t floatBits = 0;
    int latencyMs = 0;
    uint8_t priority = 5;
    uint8_t silence = 0;

    uint32_t halfBytes = 0;
    uint32_t bufferBytes = 0; // the secondary buffer: two halves
    uint32_t writeOffset = 0;

    // The copy: owned by the playback thread while `active` is clear, by the copy thread while
    // it is set (see Flush).
    const uint8_t* ringStart = nullptr;
    const uint8_t* ringEnd = nullptr;
    const uint8_t* readPtr = nullptr;
    uint16_t blockAlign = 1;
    uint64_t framesDelivered = 0;
    uint64_t threshold = 0;
    uint64_t step = 0;

    uint64_t playedFrames = 0;
    uint32_t lastPlayCursor = 0;

    std::thread thread;
    std::atomic<bool> running{false};   // the copy thread waits for notifications
    std::atomic<bool> ended{true};      // the copy thread has finished (or never began)
    std::atomic<bool> terminate{false}; // asks it to finish
    // `active` lets the copy thread copy; `busy` is set while it looks at `active` and copies.
    // Both sequentially consistent: a flush that clears `active` and then sees `busy` clear
    // knows that no copy runs and none will start.
    std::atomic<bool> active{false};
    std::atomic<bool> busy{false};
};

namespace {

// One half at the write offset, from the ring's read pointer (wrapping at the ring's end);
// then one completion for every ring buffer's worth delivered. A lock that fails copies
// nothing and reports nothing.
void HalfCopy(DsDeviceState& s) {
    void* area = nullptr;
    void* area2 = nullptr;
    DWORD bytes = 0, bytes2 = 0;
    if (FAILED(s.buffer->Lock(s.writeOffset, s.halfBytes, &area, &bytes, &area2, &bytes2, 0)))
        return;
    auto* out = static_cast<uint8_t*>(area);
    for (DWORD left = bytes; left > 0;) {
        const DWORD chunk = std::min<DWORD>(left, DWORD(s.ringEnd - s.readPtr));
        std::memcpy(out, s.readPtr, chunk);
        out += chunk;
        left -= chunk;
        s.readPtr += chunk;
        if (s.readPtr == s.ringEnd)
            s.readPtr = s.ringStart;
    }
    s.buffer->Unlock(area, bytes, area2, 0);
    s.writeOffset = (s.writeOffset + bytes) % s.bufferBytes;
    s.framesDelivered += bytes / s.blockAlign;
    while (s.framesDelivered * s.blockAlign >= s.threshold) {
        s.threshold += s.step;
        s.bufferDone->Signal();
    }
}

bool FillWithSilence(DsDeviceState& s, DWORD bytes) {
    void* area = nullptr;
    void* area2 = nullptr;
    DWORD n = 0, n2 = 0;
    if (FAILED(s.buffer->Lock(0, bytes, &area, &n, &area2, &n2, 0)))
        return false;
    std::memset(area, s.silence, n);
    if (area2 != nullptr)
        std::memset(area2, s.silence, n2);
    s.buffer->Unlock(area, n, area2, n2);
    return true;
}

// DS_PlayThread.
void CopyThread(DsDeviceState& s) {
    SetCurrentThreadPriority(s.priority);
    if (!FillWithSilence(s, s.halfBytes)) {
        s.errorText->Set(kErrLockBuffer); // read by the playback after `ended`
        s.ended.store(true);
        return;
    }
    s.running.store(true);
    while (!s.terminate.load()) {
        if (WaitForSingleObject(s.notifyEvent, INFINITE) != WAIT_OBJECT_0)
            break;
        if (s.terminate.load())
            break;
        s.busy.store(true);
        if (s.active.load())
            HalfCopy(s);
        s.busy.store(false);
    }
    s.running.store(false);
    s.ended.store(true);
}

// Stops the copy before its state is touched by another thread: no copy runs once this returns.
void Deactivate(DsDeviceState& s) {
    s.active.store(false);
    while (s.busy.load())
        Sleep(1);
}

} // namespace

DsDevice::DsDevice(const DsDeviceList& devices)
    : devices_(devices), s_(std::make_unique<DsDeviceState>()) {
    s_->notifyEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

DsDevice::~DsDevice() {
    Release();
    if (s_->notifyEvent != nullptr)
        CloseHandle(s_->notifyEvent);
}

bool DsDevice::OpenObject(int entry, ErrorText& text) {
    DsDeviceState& s = *s_;
    if (devices_.OutCount() == 0) {
        text.Set(kErrNoDsOutput);
        return false;
    }
    ReleaseObjects();
    // The object is a COM server; this thread may not have joined COM yet (the renderer).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    s.comInitialized = SUCCEEDED(com);
    const char* failure = nullptr;
    if (FAILED(CoCreateInstance(kClsidDirectSound, nullptr, CLSCTX_INPROC_SERVER, kIidDirectSound,
                                reinterpret_cast<void**>(&s.ds))) ||
        s.ds == nullptr) {
        s.ds = nullptr;
        failure = kErrCreateDs;
    } else {
        const auto* guid = devices_.Guid(entry);
        DSCAPS caps{};
        caps.dwSize = sizeof caps;
        if (guid == nullptr ||
            FAILED(s.ds->Initialize(entry == 0 ? nullptr
                                               : reinterpret_cast<const GUID*>(guid->data()))))
            failure = kErrInitializeDs;
        else if (FAILED(s.ds->GetCaps(&caps)))
            failure = kErrNoDeviceCaps;
        else if (FAILED(s.ds->SetCooperativeLevel(CooperativeWindow(), DSSCL_PRIORITY)))
            failure = kErrCooperativeLevel;
    }
    if (failure == nullptr) {
        // The primary buffer once, to set its format; the device mixes the secondary buffer
        // into it whatever the stream's format.
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
        IDirectSoundBuffer* primary = nullptr;
        if (FAILED(s.ds->CreateSoundBuffer(&desc, &primary, nullptr)) || primary == nullptr) {
            failure = kErrCreatePrimary;
        } else {
            WAVEFORMATEX f{};
            f.wFormatTag = WAVE_FORMAT_PCM;
            f.nChannels = 2;
            f.nSamplesPerSec = 22050;
            f.wBitsPerSample = 16;
            f.nBlockAlign = 4;
            f.nAvgBytesPerSec = 88200;
            if (FAILED(primary->SetFormat(&f)))
                failure = kErrPrimaryFormat;
            primary->Release();
        }
    }
    if (failure != nullptr) {
        text.Set(failure);
        ReleaseObjects();
        return false;
    }
    return true;
}

// A looping buffer of two halves with a notification at the end of each. False when the
// device does not take the format (or anything else fails on the way).
bool DsDevice::CreateSecondary(const WaveFormatRecord& format) {
    DsDeviceState& s = *s_;
    const uint32_t ms = uint32_t(s.latencyMs > 0 ? s.latencyMs : kDefaultLatencyMs);
    s.halfBytes = uint32_t(uint64_t(format.sampleRate) * ms / 1000) * format.blockAlign;
    s.bufferBytes = 2 * s.halfBytes;
    ReleaseCom(s.notify);
    ReleaseCom(s.buffer);
    s.playedFrames = 0;
    s.lastPlayCursor = 0;
    s.writeOffset = 0;

    // The record has the layout of WAVEFORMATEXTENSIBLE; a plain record has cbSize 0.
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = kSecondaryFlags;
    desc.dwBufferBytes = s.bufferBytes;
    desc.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(const_cast<WaveFormatRecord*>(&format));
    if (FAILED(s.ds->CreateSoundBuffer(&desc, &s.buffer, nullptr))) {
        s.buffer = nullptr;
        return false;
    }
    if (s.buffer == nullptr)
        return true; // "No buffer", said by the preparation
    DSBPOSITIONNOTIFY positions[2] = {{s.halfBytes - 1, s.notifyEvent},
                                      {s.bufferBytes - 1, s.notifyEvent}};
    if (FAILED(
            s.buffer->QueryInterface(kIidDirectSoundNotify, reinterpret_cast<void**>(&s.notify))) ||
        s.notify == nullptr || FAILED(s.notify->SetNotificationPositions(2, positions))) {
        s.notify = nullptr;
        ReleaseCom(s.buffer);
        return false;
    }
    return true;
}

bool DsDevice::Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) {
    DsDeviceState& s = *s_;
    s.bufferDone = &link.bufferDone;
    s.errorText = &link.errorText;
    s.format = setup.deviceFormat;
    FillValidBits(s.format);
    s.floatBits = setup.floatBits;
    s.latencyMs = setup.dsLatencyMs;
    s.priority = setup.threadPriority;
    s.silence = setup.format.bitsPerSample == 8 ? 0x80 : 0x00;
    s.blockAlign = s.format.blockAlign ? s.format.blockAlign : 1;
    return OpenObject(deviceNumber, *s.errorText);
}

bool DsDevice::Prepare(std::span<const RingBuffer> ring) {
    DsDeviceState& s = *s_;
    if (!CreateSecondary(s.format)) {
        s.errorText->Format(kErrUnsupportedFormat, int(s.format.sampleRate), s.floatBits ? "F" : "",
                            int(s.format.bitsPerSample), int(s.format.channels));
        return false;
    }
    if (s.buffer == nullptr) {
        s.errorText->Set(kErrNoBuffer);
        return false;
    }
    DWORD status = 0;
    if (FAILED(s.buffer->GetStatus(&status))) {
        s.errorText->Set(kErrRestoreBuffer);
        return false;
    }
    if (status & DSBSTATUS_BUFFERLOST) {
        for (HRESULT r = s.buffer->Restore(); r != DS_OK; r = s.buffer->Restore()) {
            if (r != DSERR_BUFFERLOST) { // only "not yet" is worth waiting for
                s.errorText->Set(kErrRestoreBuffer);
                return false;
            }
            Sleep(10);
        }
        s.buffer->SetCurrentPosition(0);
    }
    if (!FillWithSilence(s, s.bufferBytes)) {
        s.errorText->Set(kErrLockBuffer);
        return false;
    }
    // The engine's ring is one block.
    s.ringStart = ring.front().data;
    s.ringEnd = ring.back().data + ring.back().bytes;
    s.readPtr = s.ringStart;
    s.step = s.threshold = ring.front().bytes;
    s.framesDelivered = 0;
    s.writeOffset = 0;
    s.lastPlayCursor = 0;
    return true;
}

void DsDevice::StartCopyThread() {
    DsDeviceState& s = *s_;
    StopCopyThread(); // a thread of a playback that never reached its end
    s.terminate.store(false);
    s.running.store(false);
    s.ended.store(false);
    s.active.store(false);
    s.thread = std::thread([&s] { CopyThread(s); });
    // Until it waits for notifications, or has given up (its lock failed: the start fails).
    while (!s.running.load() && !s.ended.load())
        Sleep(1);
}

void DsDevice::StopCopyThread() {
    DsDeviceState& s = *s_;
    if (!s.thread.joinable())
        return;
    Deactivate(s);
    s.terminate.store(true);
    while (!s.ended.load()) {
        SetEvent(s.notifyEvent);
        Sleep(5);
    }
    s.thread.join();
}

// The buffer is made without a volume control, so it plays at 0 dB, its maximum: these calls
// fail and change nothing, and "full volume" means nothing more for DirectSound.
void DsDevice::SetFullVolume() {
    LONG volume = 0;
    s_->buffer->GetVolume(&volume);
    s_->buffer->SetVolume(DSBVOLUME_MAX);
    s_->buffer->GetVolume(&volume);
}

// Both halves from the ring's start, then looping play. The copy thread takes over from the
// first notification.
bool DsDevice::Start() {
    DsDeviceState& s = *s_;
    if (!s.running.load())
        return false; // the copy thread could not begin: its message is in the error text
    HalfCopy(s);
    HalfCopy(s);
    ResetEvent(s.notifyEvent);
    s.active.store(true);
    if (FAILED(s.buffer->Play(0, 0, DSBPLAY_LOOPING))) {
        s.active.store(false);
        return false;
    }
    return true;
}

uint64_t DsDevice::Position() {
    DsDeviceState& s = *s_;
    DWORD play = 0, write = 0;
    if (s.buffer == nullptr || FAILED(s.buffer->GetCurrentPosition(&play, &write)))
        return s.playedFrames;
    const uint32_t moved = play >= s.lastPlayCursor ? play - s.lastPlayCursor
                                                    : play + s.bufferBytes - s.lastPlayCursor;
    s.playedFrames += moved / s.blockAlign;
    s.lastPlayCursor = play;
    return s.playedFrames;
}

// The buffer stops and rewinds; a notification that came before the stop is dropped, and the
// copy starts again at the ring's start with the next Start.
bool DsDevice::Flush() {
    DsDeviceState& s = *s_;
    Deactivate(s);
    s.buffer->Stop();
    s.buffer->SetCurrentPosition(0);
    ResetEvent(s.notifyEvent);
    s.readPtr = s.ringStart;
    s.threshold = s.step;
    s.framesDelivered = 0;
    s.writeOffset = 0;
    s.lastPlayCursor = 0;
    return true;
}

// A ring buffer counts as done once it is copied, so the secondary buffer still holds up to two
// halves of the stream when the last one is counted: stopped at once, the end of a sweep would
// be cut. The copies stop and the buffer plays up to the end of the last one first (for at most
// its own length, so that a Stop stays as prompt as the latency). The half being played began at
// the write offset; its part already played is silenced, so that nothing old follows the end.
void DsDevice::Reset(int) {
    DsDeviceState& s = *s_;
    Deactivate(s);
    if (s.buffer == nullptr)
        return;
    DWORD status = 0, play = 0, write = 0;
    if (SUCCEEDED(s.buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) &&
        SUCCEEDED(s.buffer->GetCurrentPosition(&play, &write))) {
        const DWORD played = (play + s.bufferBytes - s.writeOffset) % s.bufferBytes;
        void* area = nullptr;
        void* area2 = nullptr;
        DWORD n = 0, n2 = 0;
        if (played > 0 && played <= s.halfBytes &&
            SUCCEEDED(s.buffer->Lock(s.writeOffset, played, &area, &n, &area2, &n2, 0))) {
            std::memset(area, s.silence, n);
            if (area2 != nullptr)
                std::memset(area2, s.silence, n2);
            s.buffer->Unlock(area, n, area2, n2);
        }
        const DWORD ahead = s.bufferBytes - played;
        const ULONGLONG limit =
            GetTickCount64() +
            ULONGLONG(s.bufferBytes) * 1000 / std::max<DWORD>(s.format.avgBytesPerSec, 1) + 10;
        for (DWORD moved = 0, last = play; moved < ahead && GetTickCount64() < limit;) {
            Sleep(1);
            if (FAILED(s.buffer->GetCurrentPosition(&play, &write)))
                break;
            moved += (play + s.bufferBytes - last) % s.bufferBytes;
            last = play;
        }
    }
    s.buffer->Stop();
}

void DsDevice::ReleaseObjects() {
    DsDeviceState& s = *s_;
    ReleaseCom(s.notify);
    ReleaseCom(s.buffer);
    ReleaseCom(s.ds);
    if (s.comInitialized)
        CoUninitialize();
    s.comInitialized = false;
}

void DsDevice::Release() {
    StopCopyThread();
    ReleaseObjects();
}

bool DsDevice::OpenForFormatTest(int entry, ErrorText& text) {
    s_->latencyMs = 0;
    return OpenObject(entry, text);
}

bool DsDevice::TryFormat(const WaveFormatRecord& format) {
    DsDeviceState& s = *s_;
    if (s.ds == nullptr)
        return false;
    WaveFormatRecord f = format;
    FillValidBits(f);
    const bool ok = CreateSecondary(f) && s.buffer != nullptr;
    ReleaseCom(s.notify);
    ReleaseCom(s.buffer);
    return ok;
}

uint32_t DsDevice::HalfBytes() const {
    return s_->halfBytes;
}

uint32_t DsDevice::SecondaryBytes() const {
    return s_->bufferBytes;
}

} // namespace qv
