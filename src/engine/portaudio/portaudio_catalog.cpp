#include "engine/portaudio/portaudio_catalog.h"

#include "engine/portaudio/portaudio_device.h"
#include "engine/wasapi_formats.h"

#include <portaudio.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace qv {

namespace {

constexpr const char* kErrNoHostApi = "%s output: PortAudio found no %s host API here";
constexpr const char* kErrNoOutput = "%s: no output device";

struct NativeType {
    PlayDriverType type;
    const char* hostApiName; // PortAudio's name of the host API
};
// PulseAudio is a host API of later PortAudio versions only (found by its name); with an
// older one the server is reached through ALSA's "pulse" or "pipewire" device.
constexpr NativeType kTypes[] = {{PlayDriverType::Alsa, "ALSA"},
                                 {PlayDriverType::Jack, "JACK Audio Connection Kit"},
                                 {PlayDriverType::PulseAudio, "PulseAudio"},
                                 {PlayDriverType::Oss, "OSS"}};

// PortAudio's index of the host API of a type; -1 when PortAudio has none.
int HostApiOf(PlayDriverType type) {
    for (const NativeType& t : kTypes) {
        if (t.type != type)
            continue;
        for (int api = 0; api < Pa_GetHostApiCount(); ++api) {
            const PaHostApiInfo* info = Pa_GetHostApiInfo(api);
            if (info && std::string(info->name) == t.hostApiName)
                return api;
        }
    }
    return -1;
}

// One host API's output devices, played through a PortAudio stream.
class HostApiPath final : public DriverPath {
public:
    explicit HostApiPath(PlayDriverType type) : type_(type) {}

    bool Enumerate(ErrorText& text) override {
        list_ = {};
        names_.clear();
        const int api = HostApiOf(type_);
        const PaHostApiInfo* info = api >= 0 ? Pa_GetHostApiInfo(api) : nullptr;
        for (int i = 0; info && i < info->deviceCount; ++i) {
            const int index = Pa_HostApiDeviceIndexToDeviceIndex(api, i);
            const PaDeviceInfo* device = Pa_GetDeviceInfo(index);
            if (device && device->maxOutputChannels > 0) {
                list_.devices.push_back(index);
                names_.emplace_back(device->name);
            }
        }
        if (info && info->defaultOutputDevice >= 0)
            list_.defaultDevice = info->defaultOutputDevice;
        else if (!list_.devices.empty())
            list_.defaultDevice = list_.devices.front();
        if (list_.devices.empty()) {
            text.Format(kErrNoOutput, DriverTypeName(type_));
            return true;
        }
        return false;
    }
    int Count(bool input) const override { return input ? 0 : int(names_.size()); }
    std::string Name(int entry, bool input) const override {
        if (input || entry < 0 || size_t(entry) > names_.size())
            return {};
        if (entry > 0)
            return names_[size_t(entry - 1)];
        const PaDeviceInfo* device = Pa_GetDeviceInfo(list_.defaultDevice);
        return std::string("Default output (") + (device ? device->name : "") + ")";
    }
    Device* Open() override { return &device_; }
    void Release() override { device_.Release(); }

    bool BeginFormatTest(int entry, const StreamSetup& setup) override {
        latencyMs_ = setup.wasLatencyMs;
        return entry >= 0 && size_t(entry) <= names_.size();
    }
    // PortAudio answers for the device without opening it.
    bool TestFormat(int entry, const WaveFormatRecord& format, bool) override {
        const int index = entry == 0 ? list_.defaultDevice : list_.devices[size_t(entry - 1)];
        const PaDeviceInfo* device = Pa_GetDeviceInfo(index);
        if (device == nullptr)
            return false;
        PaStreamParameters out{};
        out.device = index;
        out.channelCount = format.channels;
        out.sampleFormat = PortAudioSampleFormat(StreamSampleCode(format, 0));
        out.suggestedLatency =
            latencyMs_ > 0 ? latencyMs_ / 1000.0 : device->defaultHighOutputLatency;
        return Pa_IsFormatSupported(nullptr, &out, format.sampleRate) == paFormatIsSupported;
    }

    double OutputLatency() const { return device_.OutputLatency(); }

private:
    PlayDriverType type_;
    HostApiDevices list_;
    std::vector<std::string> names_;
    PortAudioDevice device_{list_};
    int latencyMs_ = 0;
};

} // namespace

PortAudioCatalog::PortAudioCatalog() {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && quiet >= 0)
        dup2(quiet, STDERR_FILENO);
    const PaError error = Pa_Initialize();
    std::fflush(stderr);
    if (saved >= 0 && quiet >= 0)
        dup2(saved, STDERR_FILENO);
    if (quiet >= 0)
        close(quiet);
    if (saved >= 0)
        close(saved);
    if (error != paNoError)
        initError_ = std::string("PortAudio: ") + Pa_GetErrorText(error);

    std::vector<DriverRow> rows;
    for (const NativeType& t : kTypes) {
        const PlayDriverType type = t.type;
        rows.push_back({type,
                        [this, type]() -> std::string {
                            if (!initError_.empty())
                                return initError_;
                            if (HostApiOf(type) >= 0)
                                return {};
                            ErrorText text;
                            text.Format(kErrNoHostApi, DriverTypeName(type), DriverTypeName(type));
                            return text.Str();
                        },
                        std::make_unique<HostApiPath>(type), true});
    }
    SetRows(std::move(rows));
}

PortAudioCatalog::~PortAudioCatalog() {
    SetRows({}); // the streams close while PortAudio still runs
    if (initError_.empty())
        Pa_Terminate();
}

double PortAudioCatalog::OutputLatency(PlayDriverType type) {
    auto* path = static_cast<HostApiPath*>(PathFor(type));
    return path ? path->OutputLatency() : 0.0;
}

} // namespace qv
