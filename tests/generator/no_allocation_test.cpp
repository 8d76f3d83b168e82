// The render path must never allocate: it runs on the playback thread, where an allocation can
// block behind another thread's lock and glitch the output.
#include "allocation_counter.h"
#include "fftlib/fft_api.h"
#include "generator/generator.h"
#include "generator_fixture.h"
#include "support/fake_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The replacements below pair malloc with free; GCC cannot see through the replacement.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<bool>& g_counting = qv::test::countingAllocations;
std::atomic<long>& g_allocations = qv::test::allocationCount;
} // namespace

void* operator new(std::size_t size) {
    if (g_counting.load(std::memory_order_relaxed))
        g_allocations.fetch_add(1);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_counting.load(std::memory_order_relaxed))
        g_allocations.fetch_add(1);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace qv {
namespace {

TEST(NoAllocationTest, FillOutputBufferNeverAllocates) {
    for (const char* bits : {"8", "16", "24", "32", "F32"}) {
        Generator g;
        test::SetFormat(g, 48000, bits, 8);
        for (int i = 0; i < kSlotCount; ++i) {
            const int waveform = 1 + i % 6;
            test::SetSlot(g, i, waveform, "1234.5", "-3", kDb, 255);
        }
        g.slots[0].delay = 100;
        g.slots[4].waveform = kUserWave;
        g.userWaves[1].userWaveSamples.assign(8 * 3, 0.25);
        g.userWaves[1].userWaveChannels = 8;
        g.userWaves[1].userWaveFrames = 3;
        test::FakeEngine engine;
        g.engine = &engine;
        g.PrepareGenerator();
        std::vector<uint8_t> block(g.BlockBytes());

        g_allocations = 0;
        g_counting = true;
        for (uint32_t k = 0; k < 200; ++k) {
            g.FillOutputBuffer(block.data(), g.BlockBytes() - (k % 3) * g.format.blockAlign,
                               k % 50);
        }
        g_counting = false;
        EXPECT_EQ(g_allocations.load(), 0) << bits;
    }
}

TEST(NoAllocationTest, TheFilterStageNeverAllocatesEither) {
    static const FftApi fft = DirectFftApi();
    Generator g;
    test::SetFormat(g, 48000, "24", 2);
    test::SetSlot(g, 0, kSquare, "1000", "-6", kDb, 3);
    test::SetSlot(g, 1, kPinkNoise, "1000", "-20", kDb, 1);
    g.AttachFft(&fft);
    g.filterOn = true;
    g.overSampleRate = 4;
    g.filterSize = 1024;
    g.ApplyOutputFormat();
    test::FakeEngine engine;
    g.engine = &engine;
    g.PrepareGenerator();
    std::vector<uint8_t> block(g.BlockBytes());
    g_allocations = 0;
    g_counting = true;
    for (uint32_t k = 0; k < 50; ++k) {
        g.FillOutputBuffer(block.data(), g.BlockBytes(), k % 20);
        if (k == 25) // a new kernel handed over while rendering
            g.filterDesigner.Design(g.filterDesign, 1024, 4, true, true);
    }
    g_counting = false;
    EXPECT_EQ(g_allocations.load(), 0);
}

TEST(NoAllocationTest, TheCounterSeesAllocations) {
    g_allocations = 0;
    g_counting = true;
    auto* p = new std::vector<int>(100);
    g_counting = false;
    delete p;
    EXPECT_GE(g_allocations.load(), 2);
}

} // namespace
} // namespace qv
