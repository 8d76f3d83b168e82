// The block loop of the file writers: each block is rendered into one of two buffers between
// message pumps and an Escape check, and then handed to a writer thread, which alone knows how
// it goes out; the next block renders while it is written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class KeyState;
class Ui;

// Renders up to bytes into buffer for the given block index; returns the bytes produced.
using FillFunction = std::function<uint32_t(uint8_t* buffer, uint32_t bytes, uint32_t blockIndex)>;

// What a write needs besides its target and length; both writers take the same.
struct BlockWriteJob {
    uint32_t writeBlockBytes = 0; // one render block
    FillFunction fill;
    std::function<void()> afterBlock;                 // display refresh; may be empty
    std::function<void(uint64_t, uint64_t)> progress; // as the writer counts; may be empty
    Ui& ui;
    const KeyState& keys;
    int languageIndex = 1;
    std::string caption; // of the messages: "Quorvale - path" during a write
};

// Bytes handed to the writer thread at a time: render blocks are small (a fiftieth of a second
// or one filter block), and a hand-over per block would cost two thread wake-ups each.
inline constexpr uint32_t kWriteHandOverBytes = 256 * 1024;

enum class BlocksEnd { Done, Cancelled, WriteFailed };

struct BlocksResult {
    BlocksEnd end = BlocksEnd::Done;
    uint64_t written = 0; // bytes of the blocks whose writes succeeded
};

// Fills and writes blocks (several render blocks to a hand-over) until bytes are done, a fill comes
// back short or Escape is down after a block; the block in hand is written in every case (cut to
// what was produced). beforeBlock (may be empty) runs ahead of each block's message pump, and once
// more at the end, with the bytes written so far. writeBlock runs on a writer thread, one block at
// a time and in order, while the caller's thread renders the next block; it answers false when the
// bytes could not be written, which ends the loop at the next hand-over (the block rendered
// meanwhile is dropped). Fill, afterBlock and beforeBlock stay on the caller's thread.
BlocksResult
WriteBlocks(const BlockWriteJob& job, uint64_t bytes,
            const std::function<void(uint64_t written)>& beforeBlock,
            const std::function<bool(const uint8_t* block, uint32_t size)>& writeBlock);

} // namespace qv
