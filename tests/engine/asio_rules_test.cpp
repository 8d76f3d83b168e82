// The ASIO path's rules without a driver: the conversion table into each driver sample type
// (against the table's own formulas), the ring's wrap and the buffers a switch finishes, the
// driver list's cut names, the bit-length refusal, the used outputs, the message answers and
// the position between switches.
#include "engine/asio_copy.h"
#include "engine/asio_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qv {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> b) {
    return std::vector<uint8_t>(b.begin(), b.end());
}

TEST(AsioRulesTest, EveryStreamSampleLandsInEveryDriverTypeAsTheTableSays) {
    // One mono frame of each stream code: its bytes, and what types 16, 17, 18 must hold
    // (empty: nothing written).
    const float x = -0.25f;
    uint8_t f[4];
    std::memcpy(f, &x, 4);
    const struct {
        SampleCode code;
        std::vector<uint8_t> frame, t16, t17, t18;
    } cases[] = {
        {SampleCode::U8, Bytes({0x90}), Bytes({0, 0x10}), Bytes({0, 0, 0x10}),
         Bytes({0, 0, 0, 0x10})},
        {SampleCode::S16, Bytes({0x34, 0x92}), Bytes({0x34, 0x92}), Bytes({0, 0x34, 0x92}),
         Bytes({0, 0, 0x34, 0x92})},
        {SampleCode::S24, Bytes({1, 2, 0x83}), {}, Bytes({1, 2, 0x83}), Bytes({0, 1, 2, 0x83})},
        {SampleCode::S32, Bytes({1, 2, 3, 4}), {}, {}, Bytes({1, 2, 3, 4})},
        // trunc(-0.25 * 2^23) = -2097152 = 0xE00000
        {SampleCode::F32,
         Bytes({f[0], f[1], f[2], f[3]}),
         {},
         Bytes({0, 0, 0xE0}),
         Bytes({0, 0, 0, 0xE0})},
    };
    for (const auto& c : cases) {
        for (const auto& [type, want] :
             {std::pair{16, &c.t16}, std::pair{17, &c.t17}, std::pair{18, &c.t18}}) {
            AsioCopy copy;
            copy.Configure(c.frame.data(), c.frame.size(), uint32_t(c.frame.size()), c.code, 1);
            std::vector<uint8_t> half(4, 0xEE);
            const AsioOutput out{half.data(), type};
            EXPECT_EQ(copy.Copy({&out, 1}, 1), 0);
            const size_t width = size_t(AsioSampleBytes(type));
            const std::vector<uint8_t> got(half.begin(), half.begin() + long(width));
            EXPECT_EQ(got, want->empty() ? std::vector<uint8_t>(width, 0xEE) : *want)
                << int(c.code) << " to type " << type;
        }
    }
}

TEST(AsioRulesTest, ChannelsWrapAtTheRingsEndAndEachFinishedBufferIsCountedOnce) {
    // Stereo 16-bit, a ring of two 2-frame buffers; outputs take channels 0 and 1.
    const std::vector<int16_t> ring = {1, -1, 2, -2, 3, -3, 4, -4};
    AsioCopy copy;
    copy.Configure(reinterpret_cast<const uint8_t*>(ring.data()), 16, 8, SampleCode::S16, 2);
    int16_t left[3], right[3];
    const AsioOutput outs[] = {{reinterpret_cast<uint8_t*>(left), 16},
                               {reinterpret_cast<uint8_t*>(right), 16}};
    EXPECT_EQ(copy.Copy(outs, 3), 0);
    EXPECT_EQ(copy.Finished(false), 1);
    EXPECT_EQ(copy.Copy(outs, 3), 0); // frames 4, 1, 2 after the wrap
    EXPECT_EQ((std::vector<int16_t>{left[0], left[1], left[2], right[0]}),
              (std::vector<int16_t>{4, 1, 2, -4}));
    EXPECT_EQ(copy.Finished(false), 2); // 6 frames: buffers 2 and 3 ended
    copy.Rewind();
    EXPECT_EQ(copy.Copy(outs, 1), 0);
    EXPECT_EQ(left[0], 1);
}

TEST(AsioRulesTest, TypesWithoutARowGetSilenceAndTheirNumberOrTheUnhandledCode) {
    const std::vector<int16_t> ring = {100, 200};
    for (const auto& [type, code, zeroed] :
         {std::tuple{19, 19, 8}, {20, 20, 16}, {25, 25, 8}, {1, -999, 0}, {3, -999, 0}}) {
        AsioCopy copy;
        copy.Configure(reinterpret_cast<const uint8_t*>(ring.data()), 4, 4, SampleCode::S16, 1);
        std::vector<uint8_t> half(16, 0xEE);
        const AsioOutput out{half.data(), type};
        EXPECT_EQ(copy.Copy({&out, 1}, 2), code) << type;
        EXPECT_EQ(std::count(half.begin(), half.end(), 0), zeroed) << type;
        EXPECT_EQ(copy.Finished(true), 1); // the error is heard at once
    }
}

TEST(AsioRulesTest, NamesBitsOutputsMessagesAndPosition) {
    EXPECT_EQ(AsioListName(std::string(40, 'a') + "b"), std::string(28, 'a') + "...");
    EXPECT_EQ(AsioListName(std::string(32, 'c')), std::string(32, 'c'));
    for (const auto& [type, bits] : {std::pair{16, 16},
                                     {17, 24},
                                     {18, 32},
                                     {19, -32},
                                     {20, -64},
                                     {24, 32},
                                     {27, 32},
                                     {0, 0},
                                     {11, 0}})
        EXPECT_EQ(AsioBitCode(type), bits) << type;
    EXPECT_EQ(AsioBitLengthRefusal(24, false, 16), "Unsupported bit length. [24]");
    EXPECT_EQ(AsioBitLengthRefusal(32, true, 16), "Unsupported bit length. [F32]");
    EXPECT_EQ(AsioBitLengthRefusal(32, true, 24), ""); // float samples carry 24 bits
    EXPECT_EQ(AsioBitLengthRefusal(16, false, -32), "");
    EXPECT_EQ(AsioBitLengthRefusal(16, false, 0), "Unsupported bit length. [16]"); // big-endian
    EXPECT_EQ(AsioUsedOutputs(2, false, 6, 8), 2);
    EXPECT_EQ(AsioUsedOutputs(4, false, 6, 8), 2);
    EXPECT_EQ(AsioUsedOutputs(1, true, 0, 8), 2);
    for (const auto& [selector, value, answer] : {std::tuple{1, 3, 1},
                                                  {1, 10, 0},
                                                  {1, 1, 0},
                                                  {2, 0, 2},
                                                  {3, 0, 1},
                                                  {7, 0, 1},
                                                  {8, 0, 0},
                                                  {9, 0, 1},
                                                  {99, 0, 0}})
        EXPECT_EQ(AsioMessageAnswer(selector, value), answer) << selector << " " << value;
    EXPECT_EQ(AsioPosition(0, 256, 3, 48000), 0u);
    EXPECT_EQ(AsioPosition(512, 256, 2, 48000), 512u + 256 * 2 / 5); // 5 ms buffers
    EXPECT_EQ(AsioPosition(512, 256, 5000, 48000), 512u + 256 * 1000 / 5);
}

} // namespace
} // namespace qv
