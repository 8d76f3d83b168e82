// The DirectSound path against the system's devices (under Wine: its mixer over the ALSA file
// device of the test environment): the format test, the text of a refused format, the halves
// that the latency gives and the completions that the copy reports.
#include "engine/win/direct_sound_path.h"
#include "engine/win/ds_device.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace qv {
namespace {

WaveFormatRecord Stereo(uint16_t tag, uint16_t bits) {
    WaveFormatRecord f{.formatTag = tag, .channels = 2, .sampleRate = 48000};
    f.bitsPerSample = bits;
    f.blockAlign = uint16_t(bits / 4);
    f.avgBytesPerSec = 48000u * f.blockAlign;
    return f;
}

// A device over a ring of buffers of 16-bit stereo frames.
struct DsRig {
    DsRig(int buffers, int frames, int latencyMs, uint16_t tag = kFormatTagPcm)
        : ring(size_t(buffers * frames * 4)) {
        list.Enumerate(text);
        for (int i = 0; i < buffers; ++i)
            buffers_.push_back({ring.data() + i * frames * 4, uint32_t(frames * 4)});
        StreamSetup setup;
        setup.format = setup.deviceFormat = Stereo(tag, 16);
        setup.dsLatencyMs = latencyMs;
        text.Clear();
        opened = device.Open(DeviceLink{done, text}, 0, setup) && device.Prepare(buffers_);
    }
    // The signals raised so far.
    int Pending() {
        int n = 0;
        while (done.TryTake())
            ++n;
        return n;
    }
    // Waits up to 3 s for signals; those raised by then.
    int WaitForSome() {
        for (int ms = 0; ms < 3000; ++ms) {
            if (const int n = Pending())
                return n;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return 0;
    }

    DsDeviceList list;
    DsDevice device{list};
    ErrorText text;
    BufferDoneSignal done;
    std::vector<uint8_t> ring;
    std::vector<RingBuffer> buffers_;
    bool opened = false;
};

TEST(DsDeviceTest, TheFormatTestTriesABufferPerFormat) {
    test::RecordingUi ui;
    auto path = MakeDirectSoundPath(ui);
    ErrorText text;
    ASSERT_FALSE(path->Enumerate(text)) << text.Get();
    EXPECT_FALSE(path->BeginFormatTest(path->Count(false) + 1, {}));
    ASSERT_TRUE(path->BeginFormatTest(0, {}));
    EXPECT_TRUE(path->TestFormat(0, Stereo(kFormatTagPcm, 16), false));
    EXPECT_TRUE(path->TestFormat(0, Stereo(kFormatTagFloat, 32), true));
    EXPECT_TRUE(path->TestFormat(0, ToExtensible(Stereo(kFormatTagPcm, 24)), false));
    EXPECT_FALSE(path->TestFormat(0, Stereo(0x1234, 16), false)); // a tag no device knows
    path->EndFormatTest();

    DsRig refused(2, 4800, 0, 0x1234);
    EXPECT_FALSE(refused.opened);
    EXPECT_STREQ(refused.text.Get(), "Unsupported format:  48000Hz 16bit 2ch");
}

// Halves of 100 ms (latency 0) or of the latency; a half copy reports every ring buffer it
// completes: several when the buffers are small, none when it ends inside a large one.
TEST(DsDeviceTest, TheCopyReportsEveryRingBufferItCompletes) {
    DsRig small(8, 1200, 0);
    ASSERT_TRUE(small.opened) << small.text.Get();
    EXPECT_EQ(small.device.HalfBytes(), 4800u * 4);
    EXPECT_EQ(small.device.SecondaryBytes(), 9600u * 4);
    small.device.StartCopyThread();
    ASSERT_TRUE(small.device.Start());
    EXPECT_EQ(small.Pending(), 8); // the start copies both halves: 9600 frames
    small.device.Reset(8);
    small.device.Release();

    DsRig large(2, 6000, 50);
    ASSERT_TRUE(large.opened) << large.text.Get();
    EXPECT_EQ(large.device.HalfBytes(), 2400u * 4);
    large.device.StartCopyThread();
    for (int pass = 0; pass < 2; ++pass) { // the second after a flush, which counts afresh
        ASSERT_TRUE(large.device.Start());
        EXPECT_EQ(large.Pending(), 0); // 4800 frames, short of the first buffer's end
        EXPECT_EQ(large.WaitForSome(), 1) << "the first notification's copy: 7200 frames";
        ASSERT_TRUE(large.device.Flush());
        large.done.Reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(large.Pending(), 0) << "copied while stopped";
    }
    large.device.Reset(2);
    large.device.Release();
    EXPECT_TRUE(large.text.Empty()) << large.text.Get();
}

} // namespace
} // namespace qv
