// A write overlaps rendering: each hand-over of blocks is written while the next one renders,
// and a disk that fails during that render ends the write at the hand-over with what was
// written before.
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

TEST(ConcurrencyTest, EachHandOverIsWrittenWhileTheNextRendersUntilTheDiskFails) {
    test::RecordingUi ui;
    test::ScriptedKeys keys;
    constexpr uint32_t kBlock = kWriteHandOverBytes / 2; // two blocks to a hand-over
    std::atomic<uint32_t> begun{0};                      // fills begun
    const BlockWriteJob job{.writeBlockBytes = kBlock,
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
        WriteBlocks(job, 10 * kBlock, {}, [&](const uint8_t* block, uint32_t size) {
            const uint32_t index = block[0];
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (begun < index + 3 && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            overlapped = overlapped && begun >= index + 3 && size == 2 * kBlock &&
                         block[kBlock] == index + 1;
            written.push_back(static_cast<int>(index));
            return index < 4; // the disk is full at the third hand-over
        });
    EXPECT_EQ(result.end, BlocksEnd::WriteFailed);
    EXPECT_EQ(result.written, 4u * kBlock);
    EXPECT_TRUE(overlapped);
    EXPECT_EQ(written, (std::vector{0, 2, 4}));
    EXPECT_EQ(begun, 8u); // the hand-over rendered meanwhile is dropped
}

} // namespace
} // namespace qv
