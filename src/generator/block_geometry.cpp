#include "generator/block_geometry.h"

namespace qv {

uint32_t BlockFramesFor(uint32_t sampleRate, uint32_t filterSize) {
    if (filterSize == 0)
        filterSize = 4096;
    const uint32_t minimum = sampleRate / 50;
    uint32_t a = minimum <= filterSize ? 1 : (minimum + filterSize - 1) / filterSize;
    return a * filterSize;
}

int DeviceBufferCount(uint32_t sampleRate, int playBufferMs, uint32_t blockFrames) {
    double n = static_cast<double>(sampleRate) * playBufferMs * 0.001 / blockFrames;
    int count = n >= 2147483647.0 ? 2147483647 : static_cast<int>(n);
    return count < 1 ? 1 : count;
}

} // namespace qv
