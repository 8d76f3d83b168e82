#include "engine/win/wasapi_info.h"

#include "engine/win/wasapi_stream.h"
#include "engine/win/wasapi_texts.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

void Append(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& text, const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n > 0) {
        const size_t at = text.size();
        text.resize(at + size_t(n) + 1);
        std::vsnprintf(text.data() + at, size_t(n) + 1, format, again);
        text.resize(at + size_t(n));
    }
    va_end(again);
}

int FramesOf(uint32_t rate, REFERENCE_TIME period) {
    return int(double(rate) * double(period) * 1e-7 + 0.5);
}

void AppendVolume(std::string& text, const WasapiStream& s) {
    IAudioEndpointVolume& v = *s.volume.Get();
    float db = 0.0f, scalar = 0.0f;
    v.GetMasterVolumeLevel(&db);
    v.GetMasterVolumeLevelScalar(&scalar);
    Append(text, kInfoMaster, double(db), double(scalar));
    for (int ch = 0; ch < s.endpointChannels; ++ch) {
        db = scalar = 0.0f;
        v.GetChannelVolumeLevel(UINT(ch), &db);
        v.GetChannelVolumeLevelScalar(UINT(ch), &scalar);
        Append(text, kInfoChannel, ch + 1, double(db), double(scalar));
    }
    float minDb = 0.0f, maxDb = 0.0f, incrementDb = 0.0f;
    v.GetVolumeRange(&minDb, &maxDb, &incrementDb);
    UINT step = 0, steps = 0;
    v.GetVolumeStepInfo(&step, &steps);
    BOOL mute = FALSE;
    v.GetMute(&mute);
    DWORD support = 0;
    v.QueryHardwareSupport(&support);
    const auto yes = [support](DWORD bit) { return (support & bit) ? "Yes" : "No"; };
    Append(text, kInfoVolume, double(minDb), double(maxDb), double(incrementDb), int(step),
           int(steps), mute ? "On" : "Off", yes(1), yes(2), yes(4));
}

} // namespace

std::string WasapiInfoText(const WasapiEndpoints& endpoints, int entry, const StreamSetup& setup,
                           bool detailed) {
    WasapiStream s;
    ErrorText error;
    if (!s.Open(endpoints, entry, error))
        return error.Str();
    // Event mode hands the client an event; this one only has to exist while it is prepared.
    const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const bool prepared = s.Prepare(setup, event, error);

    std::string text;
    Append(text, kInfoHeader, endpoints.Name(entry).c_str());
    const WaveFormatRecord& f = prepared ? s.format : setup.format;
    if (prepared)
        Append(text, kInfoChannels, std::abs(s.endpointChannels),
               s.endpointChannels < 0 ? '?' : ' ');
    Append(text, kInfoRateBits, int(f.sampleRate), int(f.bitsPerSample));
    if (!prepared) {
        std::string failed;
        Append(failed, kInfoFailed, text.c_str(), error.Get());
        text = failed;
    } else {
        const uint32_t rate = f.sampleRate;
        Append(text, kInfoBuffer, FramesOf(rate, s.minPeriod), double(s.minPeriod) * 1e-4,
               FramesOf(rate, s.defaultPeriod), double(s.defaultPeriod) * 1e-4, int(s.bufferFrames),
               double(s.bufferFrames) / rate * 1000.0);
        Append(text, kInfoLatency, FramesOf(rate, s.streamLatency), double(s.streamLatency) * 1e-4);
        Append(text, kInfoMode, setup.wasEventMode ? kInfoEventDriven : kInfoTimerDriven);
        if (detailed && s.volume)
            AppendVolume(text, s);
    }
    s.Release();
    if (event)
        CloseHandle(event);
    return text;
}

} // namespace qv
