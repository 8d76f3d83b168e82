// A registered user waveform of Wave1 or Wave5: interleaved samples in -1..+1 and how its
// channels reach the outputs.
#pragma once

#include "generator/output_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Channel-selection codes of a user wave.
constexpr int32_t kUserSelAll = 255;
constexpr int32_t kUserSelL = 257;
constexpr int32_t kUserSelR = 258;
constexpr int32_t kUserSelLPlusR = 259;
constexpr int32_t kUserSelLMinusR = 260;
constexpr int32_t kUserSelRMinusL = 261;

struct UserWaveSet {
    std::string userWavePath; // UTF-8
    WaveFormatRecord userWaveFormat{};
    std::vector<double> userWaveSamples;
    uint32_t userWaveFrames = 0;
    uint16_t userWaveChannels = 2;
    int32_t channelSelection = kUserSelAll;
    std::string channelSelectionText = "ALL";
    int32_t modSignalSelection = kUserSelL;
    std::string modSignalSelectionText = "uL";
    int32_t registerRequest = 0;
};

// Releases the samples and leaves the empty set. The array is kept (22 zero doubles) so that a
// reader ignoring userWaveFrames reads zeros, never a freed array.
void ClearUserWave(UserWaveSet& set);

} // namespace qv
