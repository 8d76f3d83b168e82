// The window messages by which the device engine's notifications reach the main window.
#pragma once

#include "engine/engine_owner.h"

#include <windows.h>

namespace qv {

inline constexpr UINT kWmPlaybackBegins = 0x8064;
inline constexpr UINT kWmPlaybackEnds = 0x8065;

inline constexpr UINT WindowMessageOf(EngineNotification n) {
    return n == EngineNotification::PlaybackBegins ? kWmPlaybackBegins : kWmPlaybackEnds;
}

} // namespace qv
