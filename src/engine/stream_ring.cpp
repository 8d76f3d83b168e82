// The ring: one block of bufferCount x bufferBytes, allocated on the main thread before the
// playback thread starts and kept while its shape stays the same, so that the playback thread
// never allocates.
#include "engine/engine_messages.h"
#include "engine/wave_play_rec.h"

#include <cstring>
#include <new>

namespace qv {

bool WavePlayRec::PrepareRing() {
    if (!ringBlock_ || ringBlockCount_ != bufferCount || ringBlockBytes_ != bufferBytes) {
        ringBlock_.reset();
        ringBlockCount_ = ringBlockBytes_ = 0;
        // ringBytes + 8 bytes, in 8-byte words so that the block is aligned to 8.
        const uint64_t bytes = uint64_t(bufferBytes) * uint64_t(bufferCount) + 8;
        const uint64_t words = (bytes + 7) / 8;
        if (bufferBytes > 0 && bytes < (uint64_t(1) << 31))
            ringBlock_.reset(new (std::nothrow) uint64_t[size_t(words)]);
        if (!ringBlock_) {
            errorText.Set(kErrNoMemory);
            return false;
        }
        ringBlockCount_ = bufferCount;
        ringBlockBytes_ = bufferBytes;
    }
    auto* start = reinterpret_cast<uint8_t*>(ringBlock_.get());
    ring = {};
    for (int i = 0; i < bufferCount; ++i)
        ring[size_t(i)] = {start + size_t(i) * size_t(bufferBytes), uint32_t(bufferBytes)};
    std::memset(start, silenceByte, size_t(bufferCount) * size_t(bufferBytes));
    return true;
}

} // namespace qv
