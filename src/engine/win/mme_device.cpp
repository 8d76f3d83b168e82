#include "engine/win/mme_device.h"

#include "engine/wave_play_rec.h"
#include "engine/win/mme_texts.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>

#include <array>
#include <atomic>

namespace qv {

// Everything the system's callback reaches lives here, at an address that does not move.
struct MmeDeviceState {
    HWAVEOUT waveOut = nullptr;
    UINT deviceId = 0;
    uint16_t blockAlign = 1;
    uint32_t bufferBytes = 0;
    std::array<WAVEHDR, kMaxRingBuffers> headers{};
    int headerCount = 0;
    BufferDoneSignal* bufferDone = nullptr;
    ErrorText* errorText = nullptr;
    // Headers written and not yet handed back. A reset waits for it to reach 0, so that no
    // buffer it returned can later pass for a completion of the refilled stream.
    std::atomic<int> outstanding{0};
    // While set, returned buffers are taken back without a signal: they were not played out.
    std::atomic<bool> absorbing{false};
    std::atomic<uint64_t> absorbed{0};
    // Between a preparation or flush and the next start, completions are held back and raised
    // by the start. A paused device hands nothing back, but Wine's can resume by itself after
    // a reset (its device thread restarts an emptied stream on the next write), and the engine
    // discards the signals raised before its start point: a completion lost there would leave a
    // buffer counted as queued for ever. seq_cst on both words: a held-back completion is
    // raised either by the start or by the callback that sees the start, never by both.
    std::atomic<bool> started{false};
    std::atomic<int> heldBack{0};
};

namespace {

constexpr DWORD kWaitForReturnsMs = 2000;

void RaiseHeldBack(MmeDeviceState& s) {
    for (int n = s.heldBack.exchange(0); n > 0; --n)
        s.bufferDone->Signal();
}

// Runs on a thread of the system. A function rather than an event: the engine's signal counts,
// and an auto-reset event would merge two completions that come close together. It makes no
// call but one non-blocking release.
void CALLBACK WaveOutDone(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    if (message != WOM_DONE)
        return; // WOM_OPEN, WOM_CLOSE
    auto* s = reinterpret_cast<MmeDeviceState*>(instance);
    if (s->absorbing.load(std::memory_order_acquire)) {
        s->absorbed.fetch_add(1, std::memory_order_relaxed);
    } else if (s->started.load()) {
        s->bufferDone->Signal();
    } else {
        s->heldBack.fetch_add(1);
        if (s->started.load())
            RaiseHeldBack(*s);
    }
    s->outstanding.fetch_sub(1, std::memory_order_acq_rel);
}

// waveOutReset, and then the wait until every buffer it returned has been through the
// callback, none of them signalled.
MMRESULT ResetAndAbsorb(MmeDeviceState& s) {
    s.absorbing.store(true, std::memory_order_release);
    const MMRESULT result = waveOutReset(s.waveOut);
    const DWORD start = GetTickCount();
    while (s.outstanding.load(std::memory_order_acquire) > 0 &&
           GetTickCount() - start < kWaitForReturnsMs)
        Sleep(1);
    s.outstanding.store(0, std::memory_order_release);
    s.absorbing.store(false, std::memory_order_release);
    return result;
}

} // namespace

MmeDevice::MmeDevice(const MmeDeviceList& devices)
    : devices_(devices), s_(std::make_unique<MmeDeviceState>()) {}

MmeDevice::~MmeDevice() {
    if (s_->waveOut) { // a playback that was never ended: take the buffers back and close
        ResetAndAbsorb(*s_);
        for (int i = 0; i < s_->headerCount; ++i)
            if (s_->headers[size_t(i)].dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(s_->waveOut, &s_->headers[size_t(i)], sizeof(WAVEHDR));
        waveOutClose(s_->waveOut);
    }
}

bool MmeDevice::Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) {
    MmeDeviceState& s = *s_;
    s.bufferDone = &link.bufferDone;
    s.errorText = &link.errorText;
    WaveFormatRecord format = setup.deviceFormat;
    FillValidBits(format);
    if (devices_.OutCount() == 0) {
        s.errorText->Set(kErrNoWaveOutput);
        return false;
    }
    s.blockAlign = format.blockAlign ? format.blockAlign : 1;
    s.outstanding.store(0);
    s.started.store(false);
    s.heldBack.store(0);
    s.absorbing.store(false);

    // The 40-byte record has the layout of WAVEFORMATEXTENSIBLE; a plain record has cbSize 0.
    const UINT id = deviceNumber < 0 ? WAVE_MAPPER : UINT(deviceNumber);
    const DWORD flags = CALLBACK_FUNCTION | (setup.useWfDirect ? WAVE_FORMAT_DIRECT : 0);
    HWAVEOUT handle = nullptr;
    const MMRESULT result = waveOutOpen(&handle, id, reinterpret_cast<const WAVEFORMATEX*>(&format),
                                        reinterpret_cast<DWORD_PTR>(&WaveOutDone),
                                        reinterpret_cast<DWORD_PTR>(&s), flags);
    if (result != MMSYSERR_NOERROR) {
        if (result == MMSYSERR_ALLOCATED)
            s.errorText->Set(kErrDeviceAlreadyOpened);
        else if (result == WAVERR_BADFORMAT)
            s.errorText->Format(kErrUnsupportedFormat, int(format.sampleRate),
                                setup.floatBits ? "F" : "", int(format.bitsPerSample),
                                int(format.channels));
        else
            s.errorText->Set(kErrUnableToOpen);
        return false;
    }
    s.waveOut = handle;

    // The engine does not close a device whose open failed: the handle is closed here.
    UINT opened = 0;
    if (waveOutGetID(handle, &opened) != MMSYSERR_NOERROR) {
        s.errorText->Set(kErrNoDeviceId);
        waveOutClose(handle);
        s.waveOut = nullptr;
        return false;
    }
    s.deviceId = opened;
    WAVEOUTCAPSA caps{};
    MMRESULT capsResult = waveOutGetDevCapsA(opened, &caps, sizeof caps);
    // Wine answers for a mapper handle with a number that is no device (63); the mapper's own
    // capabilities stand in for it there.
    if (capsResult != MMSYSERR_NOERROR && id == WAVE_MAPPER && opened >= waveOutGetNumDevs())
        capsResult = waveOutGetDevCapsA(WAVE_MAPPER, &caps, sizeof caps);
    if (capsResult != MMSYSERR_NOERROR) {
        s.errorText->Set(kErrNoDeviceCaps);
        waveOutClose(handle);
        s.waveOut = nullptr;
        return false;
    }
    return true;
}

bool MmeDevice::Prepare(std::span<const RingBuffer> ring) {
    MmeDeviceState& s = *s_;
    s.headers = {};
    s.headerCount = int(ring.size() < s.headers.size() ? ring.size() : s.headers.size());
    for (int i = 0; i < s.headerCount; ++i) {
        WAVEHDR& h = s.headers[size_t(i)];
        h.lpData = reinterpret_cast<LPSTR>(ring[size_t(i)].data);
        h.dwBufferLength = ring[size_t(i)].bytes;
    }
    s.bufferBytes = s.headerCount > 0 ? ring[0].bytes : 0;
    // Paused, the device keeps the buffers of the prefill until the start point.
    waveOutPause(s.waveOut);
    return true;
}

void MmeDevice::SetFullVolume() {
    DWORD volume = 0;
    waveOutGetVolume(s_->waveOut, &volume);
    waveOutSetVolume(s_->waveOut, 0xFFFFFFFF); // both channels at maximum, not restored
    waveOutGetVolume(s_->waveOut, &volume);
}

bool MmeDevice::Queue(int ringIndex) {
    MmeDeviceState& s = *s_;
    WAVEHDR& h = s.headers[size_t(ringIndex)];
    // Always the whole buffer: a last buffer padded with silence is played to its end.
    h.dwBufferLength = s.bufferBytes;
    // A header written again is prepared again; preparing a prepared header changes nothing.
    if (waveOutPrepareHeader(s.waveOut, &h, sizeof h) != MMSYSERR_NOERROR) {
        s.errorText->Set(kErrPrepareHeader);
        return false;
    }
    // Counted before the write: the device may hand the buffer back before waveOutWrite returns.
    s.outstanding.fetch_add(1, std::memory_order_acq_rel);
    if (waveOutWrite(s.waveOut, &h, sizeof h) != MMSYSERR_NOERROR) {
        s.outstanding.fetch_sub(1, std::memory_order_acq_rel);
        s.errorText->Set(kErrWrite);
        return false;
    }
    return true;
}

bool MmeDevice::Start() {
    waveOutRestart(s_->waveOut); // a device that does not restart shows it by its position
    s_->started.store(true);
    RaiseHeldBack(*s_);
    return true;
}

uint64_t MmeDevice::Position() {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(s_->waveOut, &time, sizeof time) != MMSYSERR_NOERROR)
        return 0;
    if (time.wType == TIME_SAMPLES)
        return time.u.sample;
    if (time.wType == TIME_BYTES) // a device may answer in another unit than asked
        return time.u.cb / s_->blockAlign;
    return 0;
}

bool MmeDevice::Flush() {
    MmeDeviceState& s = *s_;
    s.started.store(false); // before the reset: what it returns is absorbed, nothing held back
    s.heldBack.store(0);
    if (ResetAndAbsorb(s) != MMSYSERR_NOERROR) {
        s.errorText->Set(kErrReset);
        return false;
    }
    // The refill waits in the paused device until the start point restarts it.
    if (waveOutPause(s.waveOut) != MMSYSERR_NOERROR) {
        s.errorText->Set(kErrPause);
        return false;
    }
    return true;
}

void MmeDevice::Reset(int written) {
    MmeDeviceState& s = *s_;
    if (ResetAndAbsorb(s) != MMSYSERR_NOERROR)
        s.errorText->Set(kErrReset); // the headers are un-prepared all the same
    const int n = written < s.headerCount ? written : s.headerCount;
    for (int i = 0; i < n; ++i)
        if (waveOutUnprepareHeader(s.waveOut, &s.headers[size_t(i)], sizeof(WAVEHDR)) !=
            MMSYSERR_NOERROR)
            s.errorText->Set(kErrUnprepareHeader);
}

bool MmeDevice::Close() {
    MmeDeviceState& s = *s_;
    if (!s.waveOut)
        return true;
    if (waveOutClose(s.waveOut) != MMSYSERR_NOERROR) {
        s.errorText->Set(kErrClose); // the handle stays: the destruction tries once more
        return false;
    }
    s.waveOut = nullptr;
    return true;
}

uint32_t MmeDevice::DeviceId() const {
    return s_->deviceId;
}

int MmeDevice::HeldBackBuffers() const {
    return s_->heldBack.load();
}

uint64_t MmeDevice::AbsorbedBuffers() const {
    return s_->absorbed.load(std::memory_order_relaxed);
}

} // namespace qv
