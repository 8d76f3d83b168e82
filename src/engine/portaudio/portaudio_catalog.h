// The driver types of the native build: PortAudio's host APIs, a row each (ALSA, JACK,
// PulseAudio, OSS), numbered after the Windows types in the settings file's "PlayDriverType".
// A row's device list is its host API's output devices, entry 0 the host API's default output
// ahead of them; a host API that PortAudio has not found on this system (no JACK server
// running, a PortAudio built without it) fails its probe with a message that says so.
#pragma once

#include "engine/driver_table.h"

#include <string>

namespace qv {

class PortAudioCatalog final : public DriverTable {
public:
    // Initialises PortAudio, which looks for its host APIs and their devices now; the host
    // libraries' complaints about what they do not find (ALSA's unknown cards, JACK's missing
    // server) are kept off standard error meanwhile.
    PortAudioCatalog();
    ~PortAudioCatalog() override;
    PortAudioCatalog(const PortAudioCatalog&) = delete;
    PortAudioCatalog& operator=(const PortAudioCatalog&) = delete;

    // The output latency PortAudio reports for the stream open on type's device (seconds; 0
    // when none is open).
    double OutputLatency(PlayDriverType type);

private:
    std::string initError_; // empty once PortAudio is initialised
};

} // namespace qv
