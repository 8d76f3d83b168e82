// The RIFF/WAVE header of a written file: 44 bytes for one or two channels, the 68-byte
// extensible form from three channels on.
#pragma once

#include "generator/output_format.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

// rateFactor multiplies the declared rate and byte rate (an oversampled write).
std::vector<uint8_t> BuildWaveHeader(const OutputFormat& format, uint32_t rateFactor,
                                     uint32_t dataBytes);

size_t WaveHeaderSize(uint16_t channels);

} // namespace qv
