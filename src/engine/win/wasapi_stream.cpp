#include "engine/win/wasapi_stream.h"

#include "engine/wasapi_error_names.h"
#include "engine/wasapi_formats.h"
#include "engine/win/wasapi_texts.h"

namespace qv {

namespace {

// The 40-byte record has the layout of WAVEFORMATEXTENSIBLE.
const WAVEFORMATEX* AsWaveFormat(const WaveFormatRecord& f) {
    return reinterpret_cast<const WAVEFORMATEX*>(&f);
}

const char* NameOf(HRESULT hr) {
    return WasapiErrorName(uint32_t(hr));
}

uint32_t FramesFor(uint32_t rate, int ms) {
    return uint32_t(double(rate) * ms * 0.001 + 0.5);
}

} // namespace

bool WasapiStream::Open(const WasapiEndpoints& endpoints, int entry, ErrorText& text) {
    Release();
    if (!endpoints.HasEnumerator())
        return false;
    if (!endpoints.Get(entry, endpoint)) {
        text.Set(kErrGetDevice);
        return false;
    }
    return ActivateClient(text);
}

bool WasapiStream::ActivateClient(ErrorText& text) {
    if (FAILED(endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client.OutVoid()))) {
        text.Set(kErrActivateClient);
        return false;
    }
    return true;
}

HRESULT WasapiStream::InitializeAligned(const WaveFormatRecord& f, uint32_t frames, DWORD flags,
                                        ErrorText& text, bool& failed) {
    failed = false;
    HRESULT hr = S_OK;
    for (int attempt = 0; attempt < 2; ++attempt) {
        bufferDuration = REFERENCE_TIME(double(frames) * 10000000.0 / f.sampleRate + 0.5);
        hr = client->Initialize(AUDCLNT_SHAREMODE_EXCLUSIVE, flags, bufferDuration, bufferDuration,
                                AsWaveFormat(f), nullptr);
        if (hr != AUDCLNT_E_BUFFER_SIZE_NOT_ALIGNED || attempt > 0)
            break;
        // The client names the size it can take; a client whose initialisation failed cannot
        // be initialised again, so the second try has a new one.
        UINT32 aligned = 0;
        if (const HRESULT sizeHr = client->GetBufferSize(&aligned); FAILED(sizeHr)) {
            text.Format(kErrAlignedSize, NameOf(sizeHr));
            failed = true;
            return sizeHr;
        }
        frames = aligned;
        client.Reset();
        if (!ActivateClient(text)) {
            failed = true;
            return hr;
        }
    }
    return hr;
}

bool WasapiStream::Prepare(const StreamSetup& setup, HANDLE renderEvent, ErrorText& text) {
    format = FirstDeviceFormat(setup.format, setup.monoAsStereo);
    duplicateMono = setup.monoAsStereo && setup.format.channels == 1;
    const DWORD flags = setup.wasEventMode ? AUDCLNT_STREAMFLAGS_EVENTCALLBACK : 0;
    for (;;) {
        if (const HRESULT hr = client->GetDevicePeriod(&defaultPeriod, &minPeriod); FAILED(hr)) {
            text.Format(kErrDevicePeriod, NameOf(hr));
            return false;
        }
        bool failed = false;
        const HRESULT hr = InitializeAligned(
            format, FramesFor(format.sampleRate, setup.wasLatencyMs), flags, text, failed);
        if (failed)
            return false;
        if (hr == S_OK)
            break;
        if (!NextDeviceFormat(format)) {
            text.Format(kErrInitialize, NameOf(hr));
            return false;
        }
        client.Reset();
        if (!ActivateClient(text))
            return false;
    }

    if (setup.wasEventMode && FAILED(client->SetEventHandle(renderEvent))) {
        text.Set(kErrSetEventHandle);
        return false;
    }
    UINT32 frames = 0;
    if (FAILED(client->GetBufferSize(&frames))) {
        text.Set(kErrBufferSize);
        return false;
    }
    bufferFrames = frames;
    if (FAILED(client->GetStreamLatency(&streamLatency))) {
        text.Set(kErrStreamLatency);
        return false;
    }
    latencyMs = int(streamLatency / 10000);
    if (FAILED(client->GetService(__uuidof(IAudioClock), clock.OutVoid()))) {
        text.Set(kErrActivateClock);
        return false;
    }
    if (FAILED(client->GetService(__uuidof(IAudioRenderClient), render.OutVoid()))) {
        text.Set(kErrRenderClient);
        return false;
    }
    // The endpoint volume is information (and full volume) only: an endpoint without one, or
    // one that cannot count its channels (Wine's answers E_NOTIMPL), plays all the same, and
    // the Info text marks the channel count as unknown.
    endpointChannels = -2;
    UINT channels = 0;
    if (SUCCEEDED(endpoint->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                     volume.OutVoid())) &&
        SUCCEEDED(volume->GetChannelCount(&channels)))
        endpointChannels = int(channels);
    return true;
}

bool WasapiStream::Supports(const WaveFormatRecord& f, bool queryOnly, bool eventMode) {
    if (queryOnly)
        return client->IsFormatSupported(AUDCLNT_SHAREMODE_EXCLUSIVE, AsWaveFormat(f), nullptr) ==
               S_OK;
    if (FAILED(client->GetDevicePeriod(&defaultPeriod, &minPeriod)))
        return false;
    ErrorText ignored;
    bool failed = false;
    return InitializeAligned(f, FramesFor(f.sampleRate, 10),
                             eventMode ? AUDCLNT_STREAMFLAGS_EVENTCALLBACK : 0, ignored,
                             failed) == S_OK &&
           !failed;
}

void WasapiStream::Release() {
    render.Reset();
    volume.Reset();
    clock.Reset();
    client.Reset();
    endpoint.Reset();
}

} // namespace qv
