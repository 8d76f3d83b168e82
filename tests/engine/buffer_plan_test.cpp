// The buffer plan: 2 to 170 ring buffers, the prefill target and the ring size.
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

struct Plan {
    HeadlessOwner owner;
    test::RecordingUi ui;
    WavePlayRec engine{owner, ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; },
                       EngineSettings{}};
};

TEST(BufferPlanTest, OneBufferBecomesTwo) {
    Plan p;
    EXPECT_TRUE(p.engine.SetPlayBuffers(1, 4096, 0, 0, 0));
    EXPECT_EQ(p.engine.BufferCount(), 2);
    EXPECT_EQ(p.engine.PrefillTarget(), 2);
    EXPECT_EQ(p.engine.RingBytes(), 8192);
    EXPECT_EQ(p.engine.GetErrorText(), "");
}

TEST(BufferPlanTest, MoreThan170BuffersAreCutWithAMessage) {
    Plan p;
    EXPECT_FALSE(p.engine.SetPlayBuffers(341, 100, 0, 0, 0));
    EXPECT_EQ(p.engine.BufferCount(), 170);
    EXPECT_EQ(p.engine.PrefillTarget(), 170);
    EXPECT_EQ(p.engine.RingBytes(), 17000);
    EXPECT_EQ(p.engine.GetErrorText(), "Buffer not enough  (1/3)");

    EXPECT_FALSE(p.engine.SetPlayBuffers(171, 100, 0, 0, 0));
    EXPECT_EQ(p.engine.GetErrorText(), "Buffer not enough  (1/2)");
    EXPECT_TRUE(p.engine.SetPlayBuffers(170, 100, 0, 0, 0));
    EXPECT_EQ(p.engine.BufferCount(), 170);
    EXPECT_EQ(p.engine.GetErrorText(), ""); // emptied by the next call
}

TEST(BufferPlanTest, AnExplicitPrefillIsKept) {
    Plan p;
    EXPECT_TRUE(p.engine.SetPlayBuffers(10, 64, 0, 0, 3));
    EXPECT_EQ(p.engine.PrefillTarget(), 3);
}

} // namespace
} // namespace qv
