#include "app/engine_settings.h"

#include <algorithm>

namespace qv {

EngineSettings EngineSettingsFrom(const AppSettings& s) {
    EngineSettings e;
    e.driverType = static_cast<PlayDriverType>(std::clamp(s.playDriverType, 0, 3));
    e.useExtensible = s.useWfExtensible;
    e.useWfDirect = s.useWfDirect;
    e.dsPlayLatencyMs = s.dsPlayLatency;
    e.dsRecLatencyMs = s.dsRecLatency;
    e.wasLatencyMs = s.wasLatency;
    e.wasEventMode = s.wasEventMode;
    e.playPriority = static_cast<uint8_t>(std::clamp(s.playThreadPriority, -2, 2) + 3);
    e.languageIndex = s.languageIndex;
    return e;
}

} // namespace qv
