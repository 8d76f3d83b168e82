// What a WAV file's format record says about its samples.
#pragma once

#include "generator/output_format.h"

#include <cstdint>

namespace qv {

// The float formats: tag 3, or extensible with the float sub-format.
bool IsFloatFormat(const WaveFormatRecord& format);

// Bits per sample of IEEE-float samples, else 0.
uint32_t FloatBitsOf(const WaveFormatRecord& format);

// Integer PCM of 8, 16, 24 or 32 bits or 32-bit float, in plain or extensible form, with at
// least one channel, a sample rate and a block align of exactly one sample per channel: the
// samples the engine and the user-wave conversion can take frame by frame.
bool IsPlayableFormat(const WaveFormatRecord& format);

} // namespace qv
