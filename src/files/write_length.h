// How much a Write produces for the length typed in the file-length control.
#pragma once

#include "generator/output_format.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The largest data size of a written file: keeps every file below 2 GiB.
constexpr double kMaxWaveDataBytes = 2147483392.0;

struct WriteLength {
    bool write = false; // false for a negative length: nothing is written
    uint64_t frames = 0;
    uint64_t dataBytes = 0; // x the oversampling factor for an oversampled write
};

// seconds = leading number of the text (0 if none), limited to what fits the data size.
WriteLength ComputeWriteLength(std::string_view lengthText, const OutputFormat& format,
                               uint32_t overSampleFactor);

// The name the parameter save offers after a write: the file name without its last
// extension, plus ".QV", without the directory.
std::string ParamNameFor(std::string_view writtenPath);

} // namespace qv
