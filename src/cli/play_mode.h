// qvrender's playback: the parameter set played through the device engine, as the program's
// Play button plays it, with no window. The Windows build plays through the program's own
// paths, the native build through PortAudio when it was built with it.
#pragma once

#include "engine/device.h"

#include <cstdint>
#include <string>

namespace qv {

class Generator;
class MainControls;
class Ui;

#if defined(_WIN32) || defined(QV_HAVE_PORTAUDIO)
inline constexpr bool kPlaybackBuilt = true;
#else
inline constexpr bool kPlaybackBuilt = false;
#endif

// The driver type --play and --list-devices use when none is given.
#ifdef _WIN32
inline constexpr PlayDriverType kDefaultPlayDriver = PlayDriverType::Mme;
#else
inline constexpr PlayDriverType kDefaultPlayDriver = PlayDriverType::Alsa;
#endif

struct PlayOptions {
    PlayDriverType driver = kDefaultPlayDriver;
    int deviceIndex = 0;         // the device list entry: 0 is MME's mapper, DirectSound's
                                 // primary driver, a PortAudio host API's default output
    int64_t ms = -1;             // stop after this many milliseconds; -1: no limit
    int64_t restartAfterMs = -1; // restart the stream once after this many milliseconds, as an
                                 // edit while playing does
    int wasLatencyMs = -1;       // WASAPI's "WAS_Latency", PortAudio's suggested latency
                                 // (1 .. 200 ms); -1: the program's or the device's default
    int wasEventMode = -1;       // WASAPI's "WAS_EventMode" (0 or 1); -1: the program's default
    int asioChannel = 0;         // ASIO's "ASIO_PlayChNum": the first driver output
};

// The driver type of a name --driver takes (any letter case): this build's types only.
bool DriverTypeFromName(const std::string& name, PlayDriverType& type);
// Those names: "MME, DirectSound, ASIO or WASAPI" on Windows.
std::string DriverNameList();

// Says that this build cannot play; exit status 2.
int PlaybackNotBuilt();

// Prints the output devices of a driver type as the device dialog lists them. Exit status: 0,
// 1 when the type has no output device or cannot play here (its message is printed), 2 in a
// build without playback.
int ListDevices(Ui& ui, PlayDriverType driver);

// Plays the prepared parameter set until the time is up, the sweep ends, Enter is pressed or
// (native build) an interrupt arrives. Exit status: 0 for a clean end, 1 when playback could
// not start or stopped on an error (the message is printed), 2 for a driver type that cannot
// play here (its message is printed), 128 + N when signal N ended it (after a clean stop).
int PlayGenerator(Generator& generator, MainControls& controls, Ui& ui, const PlayOptions& options);

} // namespace qv
