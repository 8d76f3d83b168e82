// The block loop of the file writers: each block is rendered into one buffer between message
// pumps and an Escape check, and then handed to the writer, which alone knows how it goes out.
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
    uint8_t* buffer = nullptr; // writeBlockBytes long
    uint32_t writeBlockBytes = 0;
    FillFunction fill;
    std::function<void()> afterBlock;                 // display refresh; may be empty
    std::function<void(uint64_t, uint64_t)> progress; // as the writer counts; may be empty
    Ui& ui;
    const KeyState& keys;
    int languageIndex = 1;
    std::string caption; // of the messages: "Quorvale - path" during a write
};

enum class BlocksEnd { Done, Cancelled, WriteFailed };

// Fills and writes blocks until bytes are done, a fill comes back short or Escape is down after
// a block; the block in hand is written in every case (cut to what was produced). beforeBlock
// (may be empty) runs ahead of each block's message pump; writeBlock gets the produced bytes and
// answers false when they could not be written, which ends the loop at once.
BlocksEnd WriteBlocks(const BlockWriteJob& job, uint64_t bytes,
                      const std::function<void()>& beforeBlock,
                      const std::function<bool(const uint8_t* block, uint32_t size)>& writeBlock);

} // namespace qv
