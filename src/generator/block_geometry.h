// Size of one render block (one device buffer, one file-write chunk) and the ring length.
#pragma once

#include <cstdint>

namespace qv {

// a x filterSize, with a the smallest whole number >= 1 giving at least sampleRate / 50 frames.
uint32_t BlockFramesFor(uint32_t sampleRate, uint32_t filterSize);

// trunc(sampleRate x ms / 1000 / blockFrames), at least 1.
int DeviceBufferCount(uint32_t sampleRate, int playBufferMs, uint32_t blockFrames);

} // namespace qv
