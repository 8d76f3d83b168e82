// What the display takes from the generator's latest block while the render thread goes on:
// the captured samples of the two displayed channels and the level of every channel. Each value
// is read whole; a copy may mix two blocks, which a picture redrawn ten times a second hides.
#pragma once

#include "generator/generator.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct ScopeCapture {
    uint64_t block = 0;                           // the generator's block count when this was read
    std::vector<int32_t> a, b;                    // the first n captured samples, 16-bit scale
    std::array<std::string, kMaxChannels> meters; // MeterText of each output channel
    std::array<bool, kMaxChannels> clipped{};
};

// Copies the first n (at most the capture length) samples and the levels of channels outputs.
void ReadScopeCapture(const Generator& g, int32_t n, int channels, ScopeCapture& out);

} // namespace qv
