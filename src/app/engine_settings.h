// The engine's construction values from the settings file.
#pragma once

#include "engine/wave_play_rec.h"
#include "files/settings_file.h"

namespace qv {

// Driver type, format and latency keys as read; "PlayThreadPriority" -2 .. 2 becomes the
// engine's 1 .. 5. "PlayWithFullVol" is not among them: it is set right after construction.
EngineSettings EngineSettingsFrom(const AppSettings& settings);

} // namespace qv
