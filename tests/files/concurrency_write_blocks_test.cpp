// A write overlaps rendering: each block is written while the next one renders, and a disk that
// fails during that render ends the write at the hand-over with what was written before.
#include "files/write_blocks.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace qv {
namespace {

TEST(ConcurrencyTest, EachBlockIsWrittenWhileTheNextRendersUntilTheDiskFails) {
    test::RecordingUi ui;
    test::ScriptedKeys keys;
    std::vector<uint8_t> buffer(100);
    std::atomic<uint32_t> begun{0}; // fills begun
    const BlockWriteJob job{.buffer = buffer.data(),
                            .writeBlockBytes = 100,
                            .fill =
                                [&](uint8_t* out, uint32_t bytes, uint32_t index) {
                                    begun = index + 1;
                                    std::memset(out, static_cast<int>(index), bytes);
                                    return bytes;
                                },
                            .afterBlock = {},
                            .progress = {},
                            .ui = ui,
                            .keys = keys,
                            .caption = {}};
    std::vector<int> written;
    bool overlapped = true;
    const BlocksResult result =
        WriteBlocks(job, 1000, {}, [&](const uint8_t* block, uint32_t size) {
            const uint32_t index = block[0];
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (begun < index + 2 && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            overlapped = overlapped && begun >= index + 2 && block[size - 1] == index;
            written.push_back(static_cast<int>(index));
            return index < 2; // the disk is full at the third block
        });
    EXPECT_EQ(result.end, BlocksEnd::WriteFailed);
    EXPECT_EQ(result.written, 200u);
    EXPECT_TRUE(overlapped);
    EXPECT_EQ(written, (std::vector{0, 1, 2}));
    EXPECT_EQ(begun, 4u); // the block rendered meanwhile is dropped
}

} // namespace
} // namespace qv
