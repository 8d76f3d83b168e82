// The texts and item choices of the main window that the generator derives its numbers from.
// Amplitudes, offsets and frequencies are re-read from these texts whenever the output format
// changes, so a level keeps its meaning under a new format.
#pragma once

#include <array>
#include <string>

#include "generator/wave_slot.h"

namespace qv {

struct SlotTexts {
    std::string freq = "1000";
    std::string amp = "-10";
    std::string offset = "0";
    std::string phase = "0"; // degrees (masters)
};

struct ControlTexts {
    std::string sampleRate = "44100";
    std::string bitLen = "16";
    int channelIndex = 1; // item index of the channel-count list: channels - 1
    std::string fileLength = "10";
    std::array<SlotTexts, kSlotCount> slot;
};

} // namespace qv
