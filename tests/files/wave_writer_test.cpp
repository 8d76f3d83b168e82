#include "app/write_command.h"
#include "files/wave_header.h"
#include "files/wave_writer.h"
#include "files/write_length.h"
#include "generator/generator.h"
#include "support/fake_ui.h"
#include "text_file_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qv {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

using TempDir = test::ScratchDir;

TEST(WaveHeaderTest, CanonicalFormForOneAndTwoChannels) {
    const auto h = BuildWaveHeader(MakeOutputFormat(44100, 16, 2), 1, 176400);
    ASSERT_EQ(h.size(), 44u);
    EXPECT_EQ(std::string(h.begin(), h.begin() + 4), "RIFF");
    EXPECT_EQ(U32(h, 4), 176436u);
    EXPECT_EQ(std::string(h.begin() + 8, h.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32(h, 16), 16u);
    EXPECT_EQ(U16(h, 20), 1);
    EXPECT_EQ(U16(h, 22), 2);
    EXPECT_EQ(U32(h, 24), 44100u);
    EXPECT_EQ(U32(h, 28), 176400u);
    EXPECT_EQ(U16(h, 32), 4);
    EXPECT_EQ(U16(h, 34), 16);
    EXPECT_EQ(std::string(h.begin() + 36, h.begin() + 40), "data");
    EXPECT_EQ(U32(h, 40), 176400u);

    const auto f = BuildWaveHeader(MakeOutputFormat(48000, -32, 1), 1, 0);
    ASSERT_EQ(f.size(), 44u);
    EXPECT_EQ(U16(f, 20), 3); // float keeps the short form with one or two channels
    EXPECT_EQ(U16(f, 34), 32);
    EXPECT_EQ(U32(f, 4), 36u);
}

TEST(WaveHeaderTest, ExtensibleFormFromThreeChannels) {
    const uint8_t floatGuid[16] = {3,    0, 0, 0,    0, 0,    0x10, 0,
                                   0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    for (uint16_t ch = 3; ch <= 8; ++ch) {
        for (int32_t bits : {8, 16, 24, 32, -32}) {
            const OutputFormat fmt = MakeOutputFormat(96000, bits, ch);
            const auto h = BuildWaveHeader(fmt, 4, 1000);
            ASSERT_EQ(h.size(), 68u);
            EXPECT_EQ(U32(h, 4), 1060u);
            EXPECT_EQ(U32(h, 16), 40u);
            EXPECT_EQ(U16(h, 20), 0xFFFE);
            EXPECT_EQ(U16(h, 22), ch);
            EXPECT_EQ(U32(h, 24), 384000u); // rate x oversampling factor
            EXPECT_EQ(U32(h, 28), fmt.avgBytesPerSec * 4);
            EXPECT_EQ(U16(h, 32), fmt.blockAlign);
            EXPECT_EQ(U16(h, 36), 22);
            EXPECT_EQ(U16(h, 38), fmt.bitsPerSample);
            EXPECT_EQ(U32(h, 40), (1u << ch) - 1);
            EXPECT_EQ(h[44], bits == -32 ? 3 : 1);
            if (bits == -32) {
                EXPECT_EQ(0, std::memcmp(h.data() + 44, floatGuid, 16));
            }
            EXPECT_EQ(std::string(h.begin() + 60, h.begin() + 64), "data");
            EXPECT_EQ(U32(h, 64), 1000u);
        }
    }
}

TEST(WriteLengthTest, SecondsFramesAndTheTwoGigabyteLimit) {
    const OutputFormat cd = MakeOutputFormat(44100, 16, 2);
    WriteLength one = ComputeWriteLength("1", cd, 1);
    EXPECT_TRUE(one.write);
    EXPECT_EQ(one.dataBytes, 176400u);
    EXPECT_EQ(ComputeWriteLength("0", cd, 1).dataBytes, 0u);
    EXPECT_TRUE(ComputeWriteLength("0", cd, 1).write);
    EXPECT_FALSE(ComputeWriteLength("-1", cd, 1).write);
    EXPECT_EQ(ComputeWriteLength("abc", cd, 1).dataBytes, 0u);
    EXPECT_EQ(ComputeWriteLength("2.5 s", cd, 1).frames, 110250u);
    const OutputFormat big = MakeOutputFormat(384000, -32, 8);
    WriteLength cut = ComputeWriteLength("1000", big, 1);
    EXPECT_NEAR(cut.frames / 384000.0, 174.76, 0.005);
    EXPECT_LE(cut.dataBytes, 2147483392u);
    EXPECT_GT(cut.dataBytes, 2147483392u - 64);
    WriteLength over = ComputeWriteLength("1", MakeOutputFormat(48000, 16, 2), 4);
    EXPECT_EQ(over.frames, 48000u);
    EXPECT_EQ(over.dataBytes, 48000u * 4 * 4);
    EXPECT_EQ(ParamNameFor("/x/y.z/take.one.wav"), "take.one.QV");
    EXPECT_EQ(ParamNameFor("C:\\dir\\noext"), "noext.QV");
}

TEST(ExtensionTest, CheckAndCorrection) {
    EXPECT_TRUE(HasExtension("a.wav", "WAV"));
    EXPECT_TRUE(HasExtension("A.WaV", "WAV"));
    EXPECT_FALSE(HasExtension("a.wv", "WAV"));
    EXPECT_FALSE(HasExtension("wav", "WAV"));
    EXPECT_FALSE(HasExtension("a.wave", "WAV"));
    EXPECT_EQ(ReplaceExtension("take.wv", ".WAV"), "take.WAV");
    EXPECT_EQ(ReplaceExtension("take", ".WAV"), "take.WAV");
    EXPECT_EQ(ReplaceExtension("a.b.c", ".WAV"), "a.b.WAV");
    EXPECT_EQ(ReplaceExtension(".hidden", ".WAV"), ".hidden.WAV");
    EXPECT_EQ(ReplaceExtension("dir.v2/take", ".WAV"), "dir.v2/take.WAV");
}

// A fill function whose bytes tell block and position apart.
uint32_t PatternFill(uint8_t* out, uint32_t bytes, uint32_t block) {
    for (uint32_t i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(block * 31 + i);
    return bytes;
}

struct WriterFixture : ::testing::Test {
    TempDir dir;
    test::RecordingUi ui;

    int Write(std::string& name, uint64_t dataBytes, const KeyState& keys, FillFunction fill,
              uint16_t channels = 2) {
        WaveWriteJob job{.lastWaveFile = name,
                         .format = MakeOutputFormat(48000, 16, channels),
                         .rateFactor = 1,
                         .dataBytes = dataBytes,
                         .blocks = {.writeBlockBytes = 4000,
                                    .fill = std::move(fill),
                                    .afterBlock = {},
                                    .progress = {},
                                    .ui = ui,
                                    .keys = keys,
                                    .languageIndex = 1,
                                    .caption = "Quorvale - " + name}};
        return WriteWaveFile(job);
    }
};

TEST_F(WriterFixture, WritesBlocksInOrderBehindAConsistentHeader) {
    std::string name = dir.File("out.wav");
    test::ScriptedKeys keys;
    ASSERT_EQ(Write(name, 10000, keys, PatternFill), 0);
    const auto b = ReadAll(name);
    ASSERT_EQ(b.size(), 10044u);
    EXPECT_EQ(U32(b, 4), 10036u);
    EXPECT_EQ(U32(b, 40), 10000u);
    for (uint32_t i = 0; i < 10000; ++i) {
        ASSERT_EQ(b[44 + i], static_cast<uint8_t>((i / 4000) * 31 + i % 4000)) << i;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WriterFixture, ZeroLengthGivesAHeaderOnly) {
    std::string name = dir.File("empty.WAV");
    std::string multi = dir.File("empty6.wav");
    test::ScriptedKeys keys;
    ASSERT_EQ(Write(name, 0, keys, PatternFill), 0);
    ASSERT_EQ(Write(multi, 0, keys, PatternFill, 6), 0);
    EXPECT_EQ(ReadAll(name).size(), 44u);
    EXPECT_EQ(U32(ReadAll(name), 40), 0u);
    EXPECT_EQ(ReadAll(multi).size(), 68u);
    EXPECT_EQ(U32(ReadAll(multi), 64), 0u);
}

TEST_F(WriterFixture, EscapeKeepsAValidShorterFile) {
    std::string name = dir.File("cancel.wav");
    test::ScriptedKeys keys(2);
    ASSERT_EQ(Write(name, 40000, keys, PatternFill), 0);
    const auto b = ReadAll(name);
    ASSERT_EQ(b.size(), 44u + 8000);
    EXPECT_EQ(U32(b, 4), b.size() - 8);
    EXPECT_EQ(U32(b, 40), 8000u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Stop file writing.\n\n" + name);
    EXPECT_EQ(ui.messages[0].caption, "Quorvale - " + name);
}

TEST_F(WriterFixture, AShortRenderEndsTheFileWithoutAMessage) {
    std::string name = dir.File("sweep.wav");
    test::ScriptedKeys keys;
    auto fill = [](uint8_t* out, uint32_t bytes, uint32_t block) -> uint32_t {
        if (block == 1)
            return PatternFill(out, 1000, block);
        return block > 1 ? 0 : PatternFill(out, bytes, block);
    };
    ASSERT_EQ(Write(name, 40000, keys, fill), 0);
    const auto b = ReadAll(name);
    ASSERT_EQ(b.size(), 44u + 5000);
    EXPECT_EQ(U32(b, 40), 5000u);
    EXPECT_EQ(U32(b, 4), 5036u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WriterFixture, AWrongExtensionIsReportedAndCorrected) {
    for (auto [given, corrected] : {std::pair{"take.wv", "take.WAV"}, {"take", "take.WAV"}}) {
        std::string name = dir.File(given);
        test::ScriptedKeys keys;
        ui.messages.clear();
        EXPECT_EQ(Write(name, 100, keys, PatternFill), -1);
        EXPECT_EQ(name, dir.File(corrected));
        EXPECT_FALSE(fs::exists(dir.File(given)));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  std::string("File Extent is not 'WAV'.\n\n") + dir.File(given));
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    }
}

TEST_F(WriterFixture, AnUncreatableFileIsReported) {
    std::string name = dir.File("missing_dir/out.wav");
    test::ScriptedKeys keys;
    EXPECT_EQ(Write(name, 100, keys, PatternFill), -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to create file.\n\n" + name);
    EXPECT_FALSE(fs::exists(name));
}

TEST_F(WriterFixture, JapaneseMessages) {
    std::string name = dir.File("x.txt");
    test::ScriptedKeys keys;
    WaveWriteJob job{.lastWaveFile = name,
                     .format = MakeOutputFormat(48000, 16, 2),
                     .rateFactor = 1,
                     .dataBytes = 4,
                     .blocks = {.writeBlockBytes = 4000,
                                .fill = PatternFill,
                                .afterBlock = {},
                                .progress = {},
                                .ui = ui,
                                .keys = keys,
                                .languageIndex = 0,
                                .caption = "c"}};
    EXPECT_EQ(WriteWaveFile(job), -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.substr(0, ui.messages[0].text.find('\n')),
              "ファイル拡張子が 'WAV' ではありません");
}

TEST(WriteCommandTest, TheFileHoldsExactlyWhatTheFillOperationProduces) {
    TempDir dir;
    for (const char* bits : {"8", "16", "24", "32", "F32"}) {
        for (int ch : {1, 2, 3, 8}) {
            Generator g;
            g.texts.fileLength = "0.3";
            g.texts.sampleRate = "48000";
            g.texts.bitLen = bits;
            g.texts.channelIndex = ch - 1;
            g.slots[0].outChMask = 255;
            g.slots[1].waveform = kTriangle;
            g.slots[1].outChMask = 1;
            g.texts.slot[1].freq = "440";
            g.ApplyOutputFormat();

            // What the renderer gives, block by block, from a fresh start.
            Generator reference = g;
            reference.PrepareGenerator();
            const uint32_t total = 14400 * reference.format.blockAlign;
            std::vector<uint8_t> expected, block(reference.BlockBytes());
            for (uint32_t k = 0; expected.size() < total; ++k) {
                const uint32_t want = std::min<uint32_t>(block.size(), total - expected.size());
                const uint32_t got = reference.FillOutputBuffer(block.data(), want, k);
                expected.insert(expected.end(), block.begin(), block.begin() + got);
            }

            std::string name = dir.File("cmd.wav");
            test::RecordingUi ui;
            test::ScriptedKeys keys;
            int progressCalls = 0;
            const WriteEnvironment env{.ui = ui,
                                       .keys = keys,
                                       .languageIndex = 1,
                                       .appTitle = "Quorvale",
                                       .progress = [&](uint64_t, uint64_t) { ++progressCalls; },
                                       .afterBlock = {}};
            ASSERT_EQ(RunWaveWrite(g, name, env), 0);
            const auto file = ReadAll(name);
            const size_t header = ch > 2 ? 68 : 44;
            ASSERT_EQ(file.size(), header + total) << bits << " " << ch;
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + header))
                << bits << " bit, " << ch << " channels";
            EXPECT_GT(progressCalls, 0);
        }
    }
}

} // namespace
} // namespace qv
