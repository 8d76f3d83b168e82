#include "files/write_blocks.h"

#include "platform/key_state.h"
#include "platform/ui.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace qv {

namespace {

// One block at a time goes to the disk on a thread of its own.
class BlockWriter {
public:
    explicit BlockWriter(const std::function<bool(const uint8_t*, uint32_t)>& write)
        : write_(write), thread_([this] { Run(); }) {}
    ~BlockWriter() {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Waits until the block handed before is out; false when a write failed.
    bool Wait(uint64_t& written) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return block_ == nullptr; });
        written = written_;
        return !failed_;
    }
    // Hands over a block (after a successful Wait): the caller leaves it alone until the next.
    void Hand(const uint8_t* block, uint32_t size) {
        {
            const std::lock_guard lock(mutex_);
            block_ = block;
            size_ = size;
        }
        changed_.notify_all();
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return block_ != nullptr || quit_; });
            if (block_ == nullptr)
                return;
            const uint8_t* block = block_;
            const uint32_t size = size_;
            lock.unlock();
            const bool ok = write_(block, size);
            lock.lock();
            if (ok)
                written_ += size;
            else
                failed_ = true;
            block_ = nullptr;
            changed_.notify_all();
        }
    }

    const std::function<bool(const uint8_t*, uint32_t)>& write_;
    std::mutex mutex_;
    std::condition_variable changed_;
    const uint8_t* block_ = nullptr;
    uint32_t size_ = 0;
    uint64_t written_ = 0;
    bool failed_ = false, quit_ = false;
    std::thread thread_;
};

} // namespace

BlocksResult
WriteBlocks(const BlockWriteJob& job, uint64_t bytes,
            const std::function<void(uint64_t)>& beforeBlock,
            const std::function<bool(const uint8_t* block, uint32_t size)>& writeBlock) {
    const uint32_t perHandOver =
        job.writeBlockBytes < kWriteHandOverBytes ? kWriteHandOverBytes / job.writeBlockBytes : 1;
    const size_t handOverBytes = size_t{perHandOver} * job.writeBlockBytes;
    std::vector<uint8_t> buffers(handOverBytes * 2);
    BlocksResult result;
    BlockWriter writer(writeBlock);
    uint64_t remaining = bytes;
    uint32_t blockIndex = 0;
    bool cancelled = false;
    for (uint32_t handOver = 0; remaining > 0; ++handOver) {
        uint8_t* const buffer = buffers.data() + (handOver % 2) * handOverBytes;
        uint32_t filled = 0;
        for (uint32_t k = 0; k < perHandOver && remaining > 0; ++k) {
            uint32_t chunk = static_cast<uint32_t>(
                remaining < job.writeBlockBytes ? remaining : job.writeBlockBytes);
            remaining -= chunk;
            if (beforeBlock)
                beforeBlock(result.written);
            job.ui.PumpMessages();
            const uint32_t produced = job.fill(buffer + filled, chunk, blockIndex++);
            if (job.afterBlock)
                job.afterBlock();
            cancelled = job.keys.EscapeDown();
            if (produced != chunk || cancelled) {
                chunk = produced < chunk ? produced : chunk;
                remaining = 0;
            }
            filled += chunk;
        }
        if (!writer.Wait(result.written)) {
            result.end = BlocksEnd::WriteFailed;
            return result;
        }
        writer.Hand(buffer, filled);
    }
    if (!writer.Wait(result.written))
        result.end = BlocksEnd::WriteFailed;
    else if (cancelled)
        result.end = BlocksEnd::Cancelled;
    if (beforeBlock && result.end != BlocksEnd::WriteFailed)
        beforeBlock(result.written);
    return result;
}

} // namespace qv
