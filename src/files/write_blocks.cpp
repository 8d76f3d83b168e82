#include "files/write_blocks.h"

#include "platform/key_state.h"
#include "platform/ui.h"

namespace qv {

BlocksEnd WriteBlocks(const BlockWriteJob& job, uint64_t bytes,
                      const std::function<void()>& beforeBlock,
                      const std::function<bool(const uint8_t* block, uint32_t size)>& writeBlock) {
    uint64_t remaining = bytes;
    uint32_t blockIndex = 0;
    bool cancelled = false;
    while (remaining > 0) {
        uint32_t chunk = static_cast<uint32_t>(
            remaining < job.writeBlockBytes ? remaining : job.writeBlockBytes);
        remaining -= chunk;
        if (beforeBlock)
            beforeBlock();
        job.ui.PumpMessages();
        const uint32_t produced = job.fill(job.buffer, chunk, blockIndex++);
        if (job.afterBlock)
            job.afterBlock();
        cancelled = job.keys.EscapeDown();
        if (produced != chunk || cancelled) {
            chunk = produced < chunk ? produced : chunk;
            remaining = 0;
        }
        if (!writeBlock(job.buffer, chunk))
            return BlocksEnd::WriteFailed;
    }
    return cancelled ? BlocksEnd::Cancelled : BlocksEnd::Done;
}

} // namespace qv
