// The up/down and Wave5 sync settings in a parameter set (section "Misc").
#pragma once

#include "generator/live_controls.h"

namespace qv {

class ParamTextTable;

// Reads the settings as their windows take them: a transition time within 0 ... 100 s, the
// sync ratio as its absolute value with 0 meaning 1; anything but "percent" is value mode and
// anything but "diff" ratio mode.
void ReadLiveSettings(const ParamTextTable& table, LiveSettings& settings);
void WriteLiveSettings(const LiveSettings& settings, ParamTextTable& table);

} // namespace qv
