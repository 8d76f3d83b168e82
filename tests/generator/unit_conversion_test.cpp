#include "generator/block_geometry.h"
#include "generator/frequency_shortcuts.h"
#include "generator/number_text.h"
#include "generator/output_format.h"
#include "generator/unit_conversion.h"
#include "generator/wave_slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace qv {
namespace {

TEST(NumberTextTest, DecimalReadingStopsAtTheFirstForeignCharacter) {
    EXPECT_EQ(ReadDecimal("12abc"), 12.0);
    EXPECT_EQ(ReadDecimal("  -3.5x"), -3.5);
    EXPECT_EQ(ReadDecimal(".5"), 0.5);
    EXPECT_EQ(ReadDecimal("1e3"), 1000.0);
    EXPECT_EQ(ReadDecimal("1e"), 1.0);
    EXPECT_EQ(ReadDecimal("2.5e-1Hz"), 0.25);
    EXPECT_EQ(ReadDecimal(""), 0.0);
    EXPECT_EQ(ReadDecimal("-"), 0.0);
    EXPECT_EQ(ReadDecimal("abc"), 0.0);
    EXPECT_EQ(ReadDecimal("inf"), 0.0);
    EXPECT_EQ(ReadDecimal("nan"), 0.0);
    EXPECT_EQ(ReadDecimal("0x10"), 0.0);
    EXPECT_TRUE(std::isinf(ReadDecimal("1e999")));
    EXPECT_EQ(ReadDecimal("1e-999"), 0.0);
    EXPECT_EQ(ReadInteger("99999999999999999999999"), 9223372036854775807LL);
    EXPECT_EQ(ReadInteger(" -42.9"), -42);
}

TEST(NumberTextTest, ValueTextsTakeHexOctalAndDecimal) {
    EXPECT_EQ(ParseValueText("0x3FFF"), 16383.0);
    EXPECT_EQ(ParseValueText("0x3FFF.8"), 16383.5);
    EXPECT_EQ(ParseValueText("0x1.0001"), 1.0 + 1.0 / 65536);
    EXPECT_EQ(ParseValueText("0x1.00018"), 1.0 + 1.0 / 65536); // four fraction digits at most
    EXPECT_EQ(ParseValueText("  -0x10"), -16.0);
    EXPECT_EQ(ParseValueText("010"), 8.0);
    EXPECT_EQ(ParseValueText("3276.7"), 3276.7);
    EXPECT_EQ(ParseValueText("0.5"), 0.5);
    EXPECT_EQ(ParseValueText("-32.767"), -32.767);
    EXPECT_EQ(ParseValueText("32767"), 32767.0);
    EXPECT_EQ(ParseValueText("0x"), 0.0);
    EXPECT_EQ(ParseValueText("junk"), 0.0);
}

TEST(NumberTextTest, NumbersAreWrittenWithFifteenSignificantDigits) {
    EXPECT_EQ(FormatNumber15(1.0), "1");
    EXPECT_EQ(FormatNumber15(0.5), "0.5");
    EXPECT_EQ(FormatNumber15(996.09375), "996.09375");
    EXPECT_EQ(FormatNumber15(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatNumber15(-300), "-300");
    EXPECT_EQ(FormatNumber15(1e-20), "1e-20");
}

TEST(UnitConversionTest, FrequencyTexts) {
    EXPECT_EQ(FreqTextToHz("0.5", kSamplesPerPeriod, 48000), 48000.0);
    EXPECT_EQ(FreqTextToHz("-7", kSamplesPerPeriod, 48000), 48000.0);
    EXPECT_EQ(FreqTextToHz("480", kSamplesPerPeriod, 48000), 100.0);
    EXPECT_EQ(FreqTextToHz("-440", kHz, 48000), 440.0);
    EXPECT_EQ(FreqTextToHz("30000", kHz, 48000), 30000.0); // above Nyquist is accepted
    EXPECT_EQ(FreqToText(1000, kSamplesPerPeriod, 48000), "48");
    EXPECT_EQ(FreqToText(0, kSamplesPerPeriod, 48000), "48000");
    EXPECT_EQ(FreqToText(1000, kHz, 48000), "1000");
}

TEST(UnitConversionTest, LevelsInEveryFormat) {
    const OutputFormat f16 = MakeOutputFormat(48000, 16, 2);
    const OutputFormat f24 = MakeOutputFormat(48000, 24, 2);
    const OutputFormat f32 = MakeOutputFormat(48000, 32, 2);
    const OutputFormat f8 = MakeOutputFormat(48000, 8, 2);
    const OutputFormat fF = MakeOutputFormat(48000, -32, 2);
    EXPECT_EQ(LevelTextToInternal("0", kDb, f16), 32767.0);
    EXPECT_EQ(LevelTextToInternal("0", kDb, fF), 8388607.0);
    EXPECT_NEAR(LevelTextToInternal("-6.0206", kDb, f16), 16383.5, 0.01);
    EXPECT_DOUBLE_EQ(LevelTextToInternal("5000", kDb, f16), 32767.0 * 1e50); // capped at 1000 dB
    EXPECT_EQ(LevelTextToInternal("0x3FFF", kValue, f24), 4194048.0);
    EXPECT_EQ(LevelTextToInternal("0x3FFF", kValue, fF), 4194048.0);
    EXPECT_EQ(LevelTextToInternal("1", kValue, f32), 65536.0);
    EXPECT_EQ(LevelTextToInternal("32767", kValue, f8), 32767.0);
    for (const OutputFormat* f : {&f8, &f16, &f24, &f32, &fF}) {
        EXPECT_EQ(LevelTextToInternal("100", kPercent, *f), f->fullScale);
    }
}

TEST(UnitConversionTest, ABitLengthChangeKeepsTheMeaningOfDbAndPercent) {
    const OutputFormat f16 = MakeOutputFormat(48000, 16, 2);
    const OutputFormat f24 = MakeOutputFormat(48000, 24, 2);
    EXPECT_DOUBLE_EQ(LevelTextToInternal("-10", kDb, f16) / 32767.0,
                     LevelTextToInternal("-10", kDb, f24) / 8388607.0);
    EXPECT_DOUBLE_EQ(LevelTextToInternal("10", kPercent, f24), 838860.7);
}

TEST(UnitConversionTest, UnitChangesReExpressTheSameLevel) {
    const OutputFormat f16 = MakeOutputFormat(48000, 16, 2);
    EXPECT_EQ(LevelToText(32767.0, kPercent, f16), "100");
    EXPECT_EQ(LevelToText(LevelTextToInternal("-20", kDb, f16), kPercent, f16), "10");
    EXPECT_EQ(LevelToText(0.0, kDb, f16), "-300");
    EXPECT_EQ(LevelToText(-32767.0, kDb, f16), "0");
    EXPECT_EQ(LevelToText(4194048.0, kValue, MakeOutputFormat(48000, 24, 2)), "16383");
}

TEST(FrequencyShortcutTest, FitToFftAndMultiples) {
    EXPECT_EQ(FitFrequencyToFft(1000, 48000, 4096), 996.09375);
    EXPECT_EQ(FitFrequencyToFft(0, 48000, 4096), 0.0);
    EXPECT_EQ(FitFrequencyToFft(1000, 44100, 131072), 44100.0 / 131072 * 2972);
    EXPECT_EQ(MultipleOfMaster(1000, 10), 10000.0);
}

TEST(OutputFormatTest, DerivedFieldsAndFullScale) {
    const OutputFormat f = MakeOutputFormat(384000, -32, 8);
    EXPECT_EQ(f.bitsPerSample, 32);
    EXPECT_EQ(f.formatTag, kFormatTagFloat);
    EXPECT_EQ(f.blockAlign, 32);
    EXPECT_EQ(f.avgBytesPerSec, 384000u * 32);
    EXPECT_EQ(MakeOutputFormat(44100, 8, 1).fullScale, 127.0);
    EXPECT_EQ(MakeOutputFormat(44100, 32, 1).fullScale, 2147483647.0);
    EXPECT_EQ(MakeOutputFormat(44100, 24, 3).blockAlign, 9);
}

TEST(OutputFormatTest, ExtensibleRecord) {
    const uint32_t masks[] = {0x1, 0x3, 0x7, 0xF, 0x1F, 0x3F, 0x7F, 0xFF};
    for (uint16_t ch = 1; ch <= 8; ++ch)
        EXPECT_EQ(ChannelMaskFor(ch), masks[ch - 1]);

    const WaveFormatRecord plain = ToFormatRecord(MakeOutputFormat(48000, -32, 2));
    EXPECT_EQ(plain.formatTag, kFormatTagFloat);
    EXPECT_EQ(plain.extensionSize, 0);
    const WaveFormatRecord ext = ToExtensible(plain);
    EXPECT_EQ(ext.formatTag, kFormatTagExtensible);
    EXPECT_EQ(ext.extensionSize, 22);
    EXPECT_EQ(ext.validBits, 32);
    EXPECT_EQ(ext.channelMask, 0x3u);
    EXPECT_EQ(ext.subFormat, kSubFormatFloat);
    EXPECT_EQ(ext.sampleRate, 48000u);
    EXPECT_EQ(ext.blockAlign, 8);
    const WaveFormatRecord again = ToExtensible(ext);
    EXPECT_EQ(0, std::memcmp(&again, &ext, sizeof ext));

    const WaveFormatRecord six = ToFormatRecord(MakeOutputFormat(48000, 24, 6));
    EXPECT_EQ(six.formatTag, kFormatTagExtensible);
    EXPECT_EQ(six.channelMask, 0x3Fu);
    EXPECT_EQ(six.subFormat, kSubFormatPcm);
    const uint8_t pcmGuid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    EXPECT_EQ(0, std::memcmp(kSubFormatPcm.data(), pcmGuid, 16));
}

TEST(BlockGeometryTest, BlocksCoverAtLeastTwentyMilliseconds) {
    EXPECT_EQ(BlockFramesFor(48000, 4096), 4096u);
    EXPECT_EQ(BlockFramesFor(384000, 4096), 8192u);
    EXPECT_EQ(BlockFramesFor(48000, 16384), 16384u);
    EXPECT_EQ(BlockFramesFor(384000, 16384), 16384u);
    EXPECT_EQ(BlockFramesFor(384000, 1024), 8192u);
    EXPECT_EQ(BlockFramesFor(1000, 1024), 1024u);
    EXPECT_EQ(DeviceBufferCount(48000, 500, 4096), 5);
    EXPECT_EQ(DeviceBufferCount(48000, 10, 4096), 1);
    EXPECT_EQ(DeviceBufferCount(384000, 2000, 8192), 93);
}

} // namespace
} // namespace qv
