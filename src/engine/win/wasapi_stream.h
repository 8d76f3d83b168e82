// One exclusive-mode stream on a render endpoint, as playback, the Info text and the format
// test set it up: the endpoint, its audio client initialised with the widening chain, and the
// services the copy thread uses.
#pragma once

#include "engine/device.h"
#include "engine/error_text.h"
#include "engine/win/wasapi_endpoints.h"
#include "platform/win/gdi.h"

#include <audioclient.h>
#include <endpointvolume.h>

#include <cstdint>

namespace qv {

struct WasapiStream {
    ComPtr<IMMDevice> endpoint;
    ComPtr<IAudioClient> client;
    ComPtr<IAudioRenderClient> render;
    ComPtr<IAudioClock> clock;
    ComPtr<IAudioEndpointVolume> volume; // may be absent

    WaveFormatRecord format{}; // as the client was initialised, after any widening
    bool duplicateMono = false;
    REFERENCE_TIME defaultPeriod = 0, minPeriod = 0; // 100 ns units
    REFERENCE_TIME bufferDuration = 0;               // passed to the initialisation
    uint32_t bufferFrames = 0;                       // the client's buffer after it
    REFERENCE_TIME streamLatency = 0;
    int latencyMs = 0;
    int endpointChannels = 2; // of the endpoint volume; -2 when it could not be activated

    // The endpoint of a render list entry with a new client on it. False with the message in
    // text (none when there is no enumerator).
    bool Open(const WasapiEndpoints& endpoints, int entry, ErrorText& text);
    // Initialises the client exclusive for the setup's stream, widening the samples until the
    // device takes them, then hands it the render event (event mode) and gets the buffer size,
    // the latency, the clock, the render client and the endpoint volume.
    bool Prepare(const StreamSetup& setup, HANDLE renderEvent, ErrorText& text);
    // Whether the device takes this format in exclusive mode: the answer to the query, or a
    // trial initialisation with a 10 ms buffer. The client is used up either way.
    bool Supports(const WaveFormatRecord& format, bool queryOnly, bool eventMode);
    // Render client, endpoint volume, clock, client, endpoint.
    void Release();

private:
    bool ActivateClient(ErrorText& text);
    // Initialise with a buffer of frames (periodicity = duration); a device that asks for an
    // aligned size gets a second initialisation with it on a new client. The last
    // initialisation's code; `failed` when a call around it failed (its message in text).
    HRESULT InitializeAligned(const WaveFormatRecord& f, uint32_t frames, DWORD flags,
                              ErrorText& text, bool& failed);
};

} // namespace qv
