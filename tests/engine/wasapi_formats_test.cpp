// The WASAPI path's portable rules: the names of the audio-client codes, the formats offered to
// a device that refuses the stream's own, and the ring copy that widens samples and counts the
// ring buffers it finishes.
#include "engine/ring_copy.h"
#include "engine/wasapi_error_names.h"
#include "engine/wasapi_formats.h"
#include "files/wave_format_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(WasapiErrorNameTest, NamesTheTableCodesAndNothingElse) {
    const struct {
        uint32_t code;
        const char* name;
    } cases[] = {{0x88890001, "AUDCLNT_E_NOT_INITIALIZED"},
                 {0x8889000A, "AUDCLNT_E_DEVICE_IN_USE"},
                 {0x8889000D, ""}, // the gap in the table
                 {0x8889000E, "AUDCLNT_E_EXCLUSIVE_MODE_NOT_ALLOWED"},
                 {0x88890019, "AUDCLNT_E_BUFFER_SIZE_NOT_ALIGNED"},
                 {0x88890020, "AUDCLNT_E_INVALID_DEVICE_PERIOD"},
                 {0x80004002, "E_NOINTERFACE"},
                 {0x80070057, "E_INVALIDARG"},
                 {0x80004005, ""}, // E_FAIL
                 {0, ""}};
    for (const auto& c : cases)
        EXPECT_STREQ(WasapiErrorName(c.code), c.name) << std::hex << c.code;
}

WaveFormatRecord Stream(int bitCode, uint16_t channels) {
    return ToFormatRecord(MakeOutputFormat(48000, bitCode, channels));
}

// What the device is offered, in order, until nothing is left: "16", "24", "F32", ...
std::vector<std::string> Offers(const WaveFormatRecord& stream) {
    std::vector<std::string> offers;
    WaveFormatRecord f = FirstDeviceFormat(stream, false);
    do {
        EXPECT_EQ(f.formatTag, kFormatTagExtensible);
        EXPECT_EQ(f.validBits, f.bitsPerSample);
        EXPECT_EQ(f.blockAlign, f.channels * f.bitsPerSample / 8);
        EXPECT_EQ(f.avgBytesPerSec, f.sampleRate * f.blockAlign);
        offers.push_back((IsFloatFormat(f) ? "F" : "") + std::to_string(f.bitsPerSample));
    } while (NextDeviceFormat(f));
    return offers;
}

TEST(WasapiFormatTest, WidensIntegersAndFallsBackFromFloatOnce) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Offers(Stream(8, 2)), (V{"16", "24", "32"})); // 8 bits are never offered
    EXPECT_EQ(Offers(Stream(16, 2)), (V{"16", "24", "32"}));
    EXPECT_EQ(Offers(Stream(24, 6)), (V{"24", "32"}));
    EXPECT_EQ(Offers(Stream(32, 1)), (V{"32"}));
    EXPECT_EQ(Offers(Stream(-32, 2)), (V{"F32", "24", "32"}));
    EXPECT_EQ(StreamSampleCode(Stream(-32, 2), 0), SampleCode::F32); // marked by its tag alone

    const WaveFormatRecord mono = FirstDeviceFormat(Stream(8, 1), true);
    EXPECT_EQ(mono.channels, 2);
    EXPECT_EQ(mono.channelMask, 0x3u);
    EXPECT_EQ(mono.blockAlign, 4);
}

Bytes Converted(SampleCode from, SampleCode to, const Bytes& in, bool duplicate = false) {
    RingCopy copy;
    constexpr uint32_t kBytes[] = {1, 2, 3, 4, 4}; // by SampleCode
    copy.Configure(in.data(), in.size(), uint32_t(in.size()), from, to, 1, duplicate);
    const uint32_t frames = uint32_t(in.size()) / kBytes[int(from)];
    Bytes out(frames * copy.DeviceFrameBytes(), 0xEE);
    copy.Copy(out.data(), frames);
    return out;
}

Bytes FloatBytes(std::initializer_list<float> values) {
    Bytes b(values.size() * 4);
    std::memcpy(b.data(), values.begin(), b.size());
    return b;
}

TEST(RingCopyTest, WidensEverySampleTypeExactly) {
    using S = SampleCode;
    const struct {
        S from, to;
        Bytes in, out;
    } cases[] = {
        {S::U8, S::S16, {0x00, 0x80, 0xFF}, {0x00, 0x80, 0x00, 0x00, 0x00, 0x7F}},
        {S::U8, S::S24, {0x00, 0xFF}, {0x00, 0x00, 0x80, 0x00, 0x00, 0x7F}},
        {S::U8, S::S32, {0x01}, {0x00, 0x00, 0x00, 0x81}},
        {S::S16, S::S16, {0x34, 0x12}, {0x34, 0x12}},
        {S::S16, S::S24, {0x34, 0x12}, {0x00, 0x34, 0x12}},
        {S::S16, S::S32, {0x34, 0x82}, {0x00, 0x00, 0x34, 0x82}},
        {S::S24, S::S32, {0x01, 0x02, 0x83}, {0x00, 0x01, 0x02, 0x83}},
        // Float on the 24-bit scale, truncated, held to 24 bits.
        {S::F32,
         S::S24,
         FloatBytes({0.5f, -1.0f, 1.0f}),
         {0x00, 0x00, 0x40, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F}},
        {S::F32, S::S32, FloatBytes({-0.25f}), {0x00, 0x00, 0x00, 0xE0}},
        {S::F32, S::F32, FloatBytes({0.1f}), FloatBytes({0.1f})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Converted(c.from, c.to, c.in), c.out) << int(c.from) << " -> " << int(c.to);
    // One channel on two: each sample written twice, widened or not.
    EXPECT_EQ(Converted(S::S16, S::S16, {0x34, 0x12}, true), (Bytes{0x34, 0x12, 0x34, 0x12}));
    EXPECT_EQ(Converted(S::U8, S::S16, {0x81}, true), (Bytes{0x00, 0x01, 0x00, 0x01}));
}

TEST(RingCopyTest, WrapsAtTheRingEndAndFinishesOneBufferPerStep) {
    // Three buffers of four 16-bit mono frames, numbered 0 .. 11, copied to 24-bit and as is.
    Bytes ring;
    for (uint8_t i = 0; i < 12; ++i)
        ring.insert(ring.end(), {i, 0});
    for (const SampleCode device : {SampleCode::S16, SampleCode::S24}) {
        RingCopy copy;
        copy.Configure(ring.data(), ring.size(), 8, SampleCode::S16, device, 1, false);
        const int width = device == SampleCode::S16 ? 2 : 3;
        Bytes out(7 * size_t(width));
        std::vector<int> finished, first;
        for (uint32_t frames : {3u, 7u, 7u, 1u}) {
            finished.push_back(copy.Copy(out.data(), frames));
            first.push_back(out[size_t(width) - 2]); // the frame number's byte
        }
        EXPECT_EQ(finished, (std::vector<int>{0, 2, 2, 0})) << width;
        EXPECT_EQ(first, (std::vector<int>{0, 3, 10, 5})) << width; // 10, 11, 0, 1, ... wraps
        EXPECT_EQ(copy.FramesDelivered(), 18u);
        copy.Rewind();
        EXPECT_EQ(copy.Copy(out.data(), 4), 1);
        EXPECT_EQ(out[size_t(width) - 2], 0);
    }
}

} // namespace
} // namespace qv
