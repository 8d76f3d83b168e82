#include "cli/play_mode.h"

#include "engine/engine_messages.h"
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "generator/generator.h"
#include "platform/ascii.h"
#include "platform/ui.h"

#include "app/engine_settings.h"
#include "app/play_command.h"

#include "cli/interrupt.h"

#ifdef _WIN32
#include "engine/win/win_driver_catalog.h"
#elif defined(QV_HAVE_PORTAUDIO)
#include "engine/portaudio/portaudio_catalog.h"
#endif

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <thread>

namespace qv {

namespace {

#ifdef _WIN32
constexpr bool kWindowsBuild = true;
#else
constexpr bool kWindowsBuild = false;
#endif

#if defined(_WIN32) || defined(QV_HAVE_PORTAUDIO)
// Watches standard input for Enter on a thread of its own. At end of input it just stops
// watching: a run with no terminal plays to its other limits. The thread is left blocked in
// its read at exit.
class EnterWatch {
public:
    EnterWatch() : pressed_(std::make_shared<std::atomic<bool>>(false)) {
        std::thread([flag = pressed_] {
            for (int c = std::getchar(); c != EOF; c = std::getchar())
                if (c == '\n') {
                    flag->store(true);
                    return;
                }
        }).detach();
    }
    bool Pressed() const { return pressed_->load(); }

private:
    std::shared_ptr<std::atomic<bool>> pressed_;
};

// The driver types as this build plays through them.
std::unique_ptr<DriverTable> PlatformCatalog(Ui& ui) {
#ifdef _WIN32
    return std::make_unique<WinDriverCatalog>(ui);
#else
    static_cast<void>(ui);
    return std::make_unique<PortAudioCatalog>();
#endif
}
#endif

} // namespace

int PlaybackNotBuilt() {
    std::fputs("qvrender: playback needs PortAudio (build with portaudio19-dev installed) or "
               "the Windows build\n",
               stderr);
    return 2;
}

namespace {

// The driver types of this build, by the names --driver takes (any letter case).
struct DriverName {
    const char* name;
    PlayDriverType type;
};
#ifdef _WIN32
constexpr DriverName kDriverNames[] = {{"MME", PlayDriverType::Mme},
                                       {"DirectSound", PlayDriverType::DirectSound},
                                       {"ASIO", PlayDriverType::Asio},
                                       {"WASAPI", PlayDriverType::Wasapi}};
#else
constexpr DriverName kDriverNames[] = {{"ALSA", PlayDriverType::Alsa},
                                       {"JACK", PlayDriverType::Jack},
                                       {"PulseAudio", PlayDriverType::PulseAudio},
                                       {"Pulse", PlayDriverType::PulseAudio},
                                       {"OSS", PlayDriverType::Oss}};
#endif

} // namespace

bool DriverTypeFromName(const std::string& name, PlayDriverType& type) {
    const std::string n = AsciiLowered(name);
    for (const DriverName& d : kDriverNames)
        if (n == AsciiLowered(d.name)) {
            type = d.type;
            return true;
        }
    return false;
}

std::string DriverNameList() {
    std::string list;
    const size_t n = std::size(kDriverNames);
    for (size_t i = 0; i < n; ++i)
        list += std::string(i == 0 ? "" : i + 1 == n ? " or " : ", ") + kDriverNames[i].name;
    return list;
}

#if defined(_WIN32) || defined(QV_HAVE_PORTAUDIO)

int ListDevices(Ui& ui, PlayDriverType driver) {
    const std::unique_ptr<DriverTable> owned = PlatformCatalog(ui);
    DriverTable& catalog = *owned;
    ErrorText text;
    const bool failed = catalog.Enumerate(driver, text);
    const int count = catalog.Count(driver, false);
    // MME and DirectSound list the mapper or primary driver as entry 0 ahead of the devices,
    // PortAudio's host APIs their default output.
    const bool withMapper = catalog.Row(driver) && catalog.Row(driver)->defaultEntry;
    if (failed || count == 0) {
        std::fprintf(stderr, "qvrender: %s\n", text.Get());
        return 1;
    }
    std::printf("%s output devices (--play --driver %s --device N):\n", DriverTypeName(driver),
                DriverTypeName(driver));
    DriverPath* path = catalog.PathFor(driver);
    for (int i = 0; i < count + (withMapper ? 1 : 0); ++i) {
        std::printf("%3d  %s\n", i, catalog.Name(driver, i, false).c_str());
        const std::vector<std::string> channels =
            path ? path->ChannelNames(i) : std::vector<std::string>{};
        for (size_t c = 0; c < channels.size(); ++c) // --asio-channel C
            std::printf("       ch %2zu  %s\n", c, channels[c].c_str());
    }
    return 0;
}

int PlayGenerator(Generator& generator, MainControls& controls, Ui& ui,
                  const PlayOptions& options) {
    const std::unique_ptr<DriverTable> catalog = PlatformCatalog(ui);
    HeadlessOwner owner;
    auto fill = [&generator](uint8_t* buffer, uint32_t bytes, uint32_t blockIndex) {
        return generator.FillOutputBuffer(buffer, bytes, blockIndex);
    };
    // The program's default settings, with MME to start from (Windows): the switch to another
    // type then reports why that type cannot play, as the device dialog does. The latency option
    // sets WASAPI's device buffer or PortAudio's suggested latency.
    AppSettings defaults;
    defaults.languageIndex = kEnglish;
    if (options.wasLatencyMs >= 0)
        defaults.wasLatency = options.wasLatencyMs;
    else if (!kWindowsBuild)
        defaults.wasLatency = 0; // PortAudio: the device's default
    if (options.wasEventMode >= 0)
        defaults.wasEventMode = options.wasEventMode != 0;
    EngineSettings settings = EngineSettingsFrom(defaults);
    if (!kWindowsBuild) {
        // No MME to fall back on: the type asked for is the engine's from the start.
        ErrorText why;
        if (catalog->Enumerate(options.driver, why)) {
            std::fprintf(stderr, "qvrender: %s\n", why.Get());
            return 2;
        }
        settings.driverType = options.driver;
    }
    WavePlayRec engine(owner, ui, fill, settings);
    engine.AttachCatalog(catalog.get());
    if (options.driver != engine.DriverType() &&
        engine.SetDriverType(options.driver) == EngineOutcome::Failed) {
        std::fprintf(stderr, "qvrender: %s\n", engine.GetErrorText().c_str());
        return 2;
    }
    if (!kWindowsBuild)
        CatchInterrupts(); // Ctrl-C stops as Enter does
    PlayCommand command(generator, controls, engine);
    (void)command.OfferFormat();
    const PlayEnvironment env{.ui = ui,
                              .languageIndex = kEnglish,
                              .deviceIndex = options.deviceIndex,
                              .asioFirstChannel = options.asioChannel};
    if (command.Play(env) != PlayResult::Started) {
        if (engine.GetErrorText().empty()) // nothing was said: say it here
            std::fprintf(stderr, "%s\n", kMsgUnableToPlay(kEnglish));
        return 1;
    }
    const EnterWatch enter;
    const auto start = std::chrono::steady_clock::now();
    bool restarted = false;
    while (engine.PlaybackRunning()) { // false once a sweep has ended the playback
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (options.ms >= 0 && elapsed >= std::chrono::milliseconds(options.ms))
            break;
        if (!restarted && options.restartAfterMs >= 0 &&
            elapsed >= std::chrono::milliseconds(options.restartAfterMs) &&
            engine.State() == PlayState::Playing) {
            engine.Restart();
            restarted = true;
        }
        if (enter.Pressed() || InterruptSignal() != 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    command.Stop(); // an error has been shown as "Stopped! ..." by then
    (void)command.Stopped();
    if (!engine.GetErrorText().empty())
        return 1;
    return InterruptSignal() != 0 ? 128 + InterruptSignal() : 0;
}

#else

int ListDevices(Ui&, PlayDriverType) {
    return PlaybackNotBuilt();
}

int PlayGenerator(Generator&, MainControls&, Ui&, const PlayOptions&) {
    return PlaybackNotBuilt();
}

#endif

} // namespace qv
