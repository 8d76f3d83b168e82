#include "app/write_command.h"
#include "files/text_writer.h"
#include "generator/generator.h"
#include "support/fake_ui.h"
#include "text_file_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace qv {
namespace {

namespace fs = std::filesystem;

// The text the format calls for, produced with the C library's printf: a second, independent
// rendering of every number.
std::string PrintfText(const OutputFormat& f, uint64_t declaredFrames,
                       const std::vector<uint8_t>& data) {
    char tmp[128];
    std::string out;
    auto line = [&](const char* fmt, const char* key, auto value) {
        std::snprintf(tmp, sizeof tmp, fmt, key, value);
        out += tmp;
    };
    const bool isFloat = f.bitCode == -32;
    line("\"%s\",%s\r\n", "Quorvale Text Format", "1.00");
    line("\"%s\",%d\r\n", "Sampling Frequency", static_cast<int>(f.sampleRate));
    std::snprintf(tmp, sizeof tmp, "\"%s\",%s%d\r\n", "Bits", isFloat ? "-" : "",
                  static_cast<int>(f.bitsPerSample));
    out += tmp;
    line("\"%s\",%d\r\n", "Channels", static_cast<int>(f.channels));
    line("\"%s\",%d\r\n", "Samples", static_cast<int>(declaredFrames));
    line("\"%s\",%u\r\n", "Max", isFloat ? 1u : 1u << (f.bitsPerSample - 1));
    line("\"%s\",%d\r\n", "Data", static_cast<int>(declaredFrames * f.channels));
    const size_t size = f.bitsPerSample / 8;
    int inLine = 0;
    for (size_t at = 0; at + size <= data.size(); at += size) {
        const uint8_t* p = &data[at];
        if (isFloat) {
            float v;
            std::memcpy(&v, p, 4);
            std::snprintf(tmp, sizeof tmp, "%.7f,", static_cast<double>(v));
        } else {
            int64_t v = 0;
            for (size_t k = 0; k < size; ++k)
                v |= int64_t{p[k]} << (8 * k);
            if (size == 1)
                v -= 128;
            else if (v >= int64_t{1} << (8 * size - 1))
                v -= int64_t{1} << (8 * size);
            std::snprintf(tmp, sizeof tmp, "%d,", static_cast<int>(v));
        }
        out += tmp;
        if (++inLine == 10) {
            out.back() = '\r';
            out += '\n';
            inLine = 0;
        }
    }
    if (inLine > 0) {
        out.back() = '\r';
        out += '\n';
    }
    return out;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t crlf; (crlf = text.find("\r\n", start)) != std::string::npos; start = crlf + 2)
        lines.push_back(text.substr(start, crlf - start));
    EXPECT_EQ(start, text.size()) << "the text does not end with CR LF";
    return lines;
}

struct TextWriterTest : ::testing::Test {
    test::ScratchDir dir;
    test::RecordingUi ui;
    test::ScriptedKeys noKeys;
    test::SampleStream stream;
    std::vector<std::pair<uint64_t, uint64_t>> progress;

    int Write(std::string& name, const OutputFormat& format, uint64_t frames, const KeyState& keys,
              uint32_t blockBytes = 4004, int language = 1) {
        TextWriteJob job{
            .lastTextFile = name,
            .format = format,
            .frames = frames,
            .blocks = {
                .writeBlockBytes = blockBytes,
                .fill = [this](uint8_t* out, uint32_t bytes,
                               uint32_t) { return stream.Fill(out, bytes); },
                .afterBlock = {},
                .progress = [this](uint64_t pos, uint64_t max) { progress.emplace_back(pos, max); },
                .ui = ui,
                .keys = keys,
                .languageIndex = language,
                .caption = "Quorvale - " + name}};
        return WriteTextFile(job);
    }
};

TEST_F(TextWriterTest, OneSecondOfStereoSixteenBit) {
    const OutputFormat f = MakeOutputFormat(44100, 16, 2);
    stream.bytes = test::PatternBytes(44100 * 4);
    std::string name = dir.File("one.QVT");
    ASSERT_EQ(Write(name, f, 44100, noKeys), 0);
    const std::string text = test::ReadFileBytes(name);
    const std::string header = "\"Quorvale Text Format\",1.00\r\n"
                               "\"Sampling Frequency\",44100\r\n"
                               "\"Bits\",16\r\n"
                               "\"Channels\",2\r\n"
                               "\"Samples\",44100\r\n"
                               "\"Max\",32768\r\n"
                               "\"Data\",88200\r\n";
    ASSERT_EQ(text.substr(0, header.size()), header);
    const auto lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 7u + 8820u); // no short last line
    for (size_t i = 7; i < lines.size(); ++i) {
        ASSERT_EQ(std::count(lines[i].begin(), lines[i].end(), ','), 9) << "line " << i;
    }
    EXPECT_EQ(lines[7].substr(0, 13), "0,-32768,-1,3"); // the extremes, then the pattern
    EXPECT_EQ(text, PrintfText(f, 44100, stream.bytes));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), (std::pair<uint64_t, uint64_t>{0, 44100}));
    EXPECT_EQ(progress.back(), (std::pair<uint64_t, uint64_t>{44100, 44100}));
}

TEST_F(TextWriterTest, EveryIntegerFormatAndChannelCountMatchesPrintf) {
    for (int32_t bits : {8, 16, 24, 32}) {
        for (uint16_t ch : {1, 2, 3, 8}) {
            const OutputFormat f = MakeOutputFormat(48000, bits, ch);
            const uint64_t frames = 997; // leaves a short last line for most layouts
            stream = test::SampleStream{test::PatternBytes(frames * f.blockAlign, bits * 100 + ch)};
            std::string name = dir.File("fmt.qvt");
            ASSERT_EQ(Write(name, f, frames, noKeys, 960), 0);
            EXPECT_EQ(test::ReadFileBytes(name), PrintfText(f, frames, stream.bytes))
                << bits << " bit, " << ch << " channels";
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TextWriterTest, IntegerExtremesAndFullScaleInTheHeader) {
    struct Case {
        int32_t bits;
        std::vector<uint8_t> bytes;
        const char* values;
        const char* max;
    };
    const Case cases[] = {
        {8, {0x00, 0xFF, 0x80}, "-128,127,0", "128"},
        {16, {0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF}, "-32768,32767,-1", "32768"},
        {24,
         {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF},
         "-8388608,8388607,-1",
         "8388608"},
        {32,
         {0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF},
         "-2147483648,2147483647,-1",
         "2147483648"},
    };
    for (const Case& c : cases) {
        stream = test::SampleStream{c.bytes};
        std::string name = dir.File("ext.QVT");
        ASSERT_EQ(Write(name, MakeOutputFormat(8000, c.bits, 1), 3, noKeys), 0);
        const auto lines = SplitCrLf(test::ReadFileBytes(name));
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[2], "\"Bits\"," + std::to_string(c.bits));
        EXPECT_EQ(lines[5], std::string("\"Max\",") + c.max);
        EXPECT_EQ(lines[7], c.values);
    }
}

std::vector<uint8_t> FloatBytes(std::initializer_list<float> values) {
    std::vector<uint8_t> b(values.size() * 4);
    std::memcpy(b.data(), values.begin(), b.size());
    return b;
}

TEST_F(TextWriterTest, FloatWithSevenDecimals) {
    const float fullScale = 1.0f - 1.0f / 8388608.0f; // 1 - 2^-23
    stream.bytes = FloatBytes({fullScale, 0.5f, -1.0f, 0.0f, 1e-9f, -1e-9f, 0.25f, 0.1f,
                               -0.33333334f, 1.5f, 123456.78f, -2.0f});
    std::string name = dir.File("float.QVT");
    ASSERT_EQ(Write(name, MakeOutputFormat(96000, -32, 1), 12, noKeys), 0);
    const std::string text = test::ReadFileBytes(name);
    const auto lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[2], "\"Bits\",-32");
    EXPECT_EQ(lines[5], "\"Max\",1");
    EXPECT_EQ(lines[6], "\"Data\",12");
    EXPECT_EQ(lines[7], "0.9999999,0.5000000,-1.0000000,0.0000000,0.0000000,-0.0000000,"
                        "0.2500000,0.1000000,-0.3333333,1.5000000");
    EXPECT_EQ(lines[8], "123456.7812500,-2.0000000");

    // Many values against printf, across block borders.
    std::vector<float> many(4321);
    uint32_t seed = 7;
    for (float& v : many) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<int32_t>(seed)) / 2147483648.0f;
    }
    stream = test::SampleStream{std::vector<uint8_t>(many.size() * 4)};
    std::memcpy(stream.bytes.data(), many.data(), stream.bytes.size());
    const OutputFormat three = MakeOutputFormat(48000, -32, 3);
    ASSERT_EQ(Write(name, three, 4321 / 3, noKeys, 1000), 0);
    stream.bytes.resize(4321 / 3 * 12);
    EXPECT_EQ(test::ReadFileBytes(name), PrintfText(three, 4321 / 3, stream.bytes));
}

TEST_F(TextWriterTest, MonoTwentyFourBitOfFifteenFramesEndsWithFiveValues) {
    stream.bytes = test::PatternBytes(45);
    const uint8_t extremes[] = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F};
    std::copy_n(extremes, 6, stream.bytes.begin());
    std::string name = dir.File("short.QVT");
    ASSERT_EQ(Write(name, MakeOutputFormat(44100, 24, 1), 15, noKeys, 9), 0);
    const auto lines = SplitCrLf(test::ReadFileBytes(name));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], "\"Samples\",15");
    EXPECT_EQ(lines[6], "\"Data\",15");
    EXPECT_EQ(std::count(lines[7].begin(), lines[7].end(), ','), 9);
    EXPECT_EQ(std::count(lines[8].begin(), lines[8].end(), ','), 4);
    EXPECT_EQ(lines[7].substr(0, 17), "-8388608,8388607,");
}

TEST_F(TextWriterTest, ZeroFramesGiveTheHeaderOnly) {
    std::string name = dir.File("zero.QVT");
    ASSERT_EQ(Write(name, MakeOutputFormat(44100, 16, 2), 0, noKeys), 0);
    const auto lines = SplitCrLf(test::ReadFileBytes(name));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "\"Samples\",0");
    EXPECT_EQ(lines[6], "\"Data\",0");
}

TEST_F(TextWriterTest, EscapeKeepsTheLinesWrittenUnderTheRequestedHeader) {
    const OutputFormat f = MakeOutputFormat(48000, 16, 2);
    stream.bytes = test::PatternBytes(10000 * 4);
    std::string name = dir.File("cancel.QVT");
    test::ScriptedKeys escapeOnSecondBlock(2);
    ASSERT_EQ(Write(name, f, 10000, escapeOnSecondBlock, 4004), 0);
    // Two blocks of 1001 frames: 4004 values, 400 full lines and one of four values.
    const std::string text = test::ReadFileBytes(name);
    std::vector<uint8_t> written(stream.bytes.begin(), stream.bytes.begin() + 8008);
    std::string expected = PrintfText(f, 10000, written);
    EXPECT_EQ(text, expected);
    const auto lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 7u + 401u);
    EXPECT_EQ(lines[4], "\"Samples\",10000");
    EXPECT_EQ(std::count(lines.back().begin(), lines.back().end(), ','), 3);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Stop file writing.\n\n" + name);
    EXPECT_EQ(ui.messages[0].caption, "Quorvale - " + name);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(ui.messages[0].ownedByMain);
    EXPECT_EQ(progress.back(), (std::pair<uint64_t, uint64_t>{2002, 10000}));
}

TEST_F(TextWriterTest, AShortRenderEndsTheFileWithoutAMessage) {
    const OutputFormat f = MakeOutputFormat(48000, 8, 1);
    stream.bytes = test::PatternBytes(5000);
    stream.limit = 1234;
    std::string name = dir.File("sweep.QVT");
    ASSERT_EQ(Write(name, f, 5000, noKeys, 1000), 0);
    stream.bytes.resize(1234);
    EXPECT_EQ(test::ReadFileBytes(name), PrintfText(f, 5000, stream.bytes));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TextWriterTest, AWrongExtensionIsReportedAndCorrected) {
    const std::pair<const char*, const char*> cases[] = {
        {"take.txt", "take.QVT"}, {"take", "take.QVT"}, {"a.b.qv", "a.b.QVT"}};
    for (auto [given, corrected] : cases) {
        std::string name = dir.File(given);
        ui.messages.clear();
        EXPECT_EQ(Write(name, MakeOutputFormat(44100, 16, 2), 10, noKeys), -1);
        EXPECT_EQ(name, dir.File(corrected));
        EXPECT_FALSE(fs::exists(dir.File(given)));
        EXPECT_FALSE(fs::exists(dir.File(corrected)));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "File Extent is not 'QVT'.\n\n" + dir.File(given));
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    }
    // The corrected name is accepted by the next write, as is any letter case.
    std::string next = dir.File("take.QVT");
    stream.bytes = test::PatternBytes(40);
    EXPECT_EQ(Write(next, MakeOutputFormat(44100, 16, 2), 10, noKeys), 0);
    std::string lower = dir.File("lower.qVt");
    stream = test::SampleStream{test::PatternBytes(40)};
    EXPECT_EQ(Write(lower, MakeOutputFormat(44100, 16, 2), 10, noKeys), 0);
    EXPECT_TRUE(fs::exists(lower));
}

TEST_F(TextWriterTest, AnUncreatableFileIsReported) {
    std::string name = dir.File("missing_dir/out.QVT");
    EXPECT_EQ(Write(name, MakeOutputFormat(44100, 16, 2), 10, noKeys), -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to create file.\n\n" + name);
    EXPECT_FALSE(fs::exists(name));
}

TEST_F(TextWriterTest, JapaneseMessages) {
    std::string name = dir.File("x.txt");
    EXPECT_EQ(Write(name, MakeOutputFormat(44100, 16, 2), 10, noKeys, 4004, 0), -1);
    std::string uncreatable = dir.File("missing_dir/x.QVT");
    EXPECT_EQ(Write(uncreatable, MakeOutputFormat(44100, 16, 2), 10, noKeys, 4004, 0), -1);
    std::string cancelled = dir.File("x.QVT");
    stream.bytes = test::PatternBytes(40);
    test::ScriptedKeys escape(1);
    EXPECT_EQ(Write(cancelled, MakeOutputFormat(44100, 16, 2), 10, escape, 4004, 0), 0);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "ファイル拡張子が 'QVT' ではありません\n\n" + dir.File("x.txt"));
    EXPECT_EQ(ui.messages[1].text, "ファイルが作成できません\n\n" + uncreatable);
    EXPECT_EQ(ui.messages[2].text, "ファイル作成を中止しました\n\n" + cancelled);
}

// The Write command's text target holds the same samples as its WAV target.
TEST(TextWriteCommandTest, TheTextFileHoldsTheValuesOfTheWaveFile) {
    test::ScratchDir dir;
    for (const char* bits : {"8", "16", "24", "32", "F32"}) {
        for (int ch : {1, 2, 6}) {
            auto setUp = [&](Generator& g) {
                g.texts.fileLength = "0.05";
                g.texts.sampleRate = "48000";
                g.texts.bitLen = bits;
                g.texts.channelIndex = ch - 1;
                g.slots[0].outChMask = 255;
                g.slots[1].waveform = kTriangle;
                g.slots[1].outChMask = 1;
                g.texts.slot[1].freq = "440";
                g.ApplyOutputFormat();
            };
            auto gw = std::make_unique<Generator>(), gt = std::make_unique<Generator>();
            setUp(*gw);
            setUp(*gt);
            test::RecordingUi ui;
            test::ScriptedKeys keys;
            const WriteEnvironment env{.ui = ui,
                                       .keys = keys,
                                       .languageIndex = 1,
                                       .appTitle = "Quorvale",
                                       .progress = {},
                                       .afterBlock = {}};
            std::string wav = dir.File("cmd.wav"), qvt = dir.File("cmd.QVT");
            ASSERT_EQ(RunWaveWrite(*gw, wav, env), 0);
            ASSERT_EQ(RunTextWrite(*gt, qvt, env), 0);
            const std::string w = test::ReadFileBytes(wav);
            const size_t header = ch > 2 ? 68 : 44;
            const std::vector<uint8_t> data(w.begin() + header, w.end());
            ASSERT_EQ(data.size(), 2400u * gt->format.blockAlign);
            EXPECT_EQ(test::ReadFileBytes(qvt), PrintfText(gt->format, 2400, data))
                << bits << " bit, " << ch << " channels";
            EXPECT_TRUE(ui.messages.empty());
        }
    }
}

TEST(TextWriteCommandTest, AWrongNameIsCorrectedAndANegativeLengthWritesNothing) {
    test::ScratchDir dir;
    auto g = std::make_unique<Generator>();
    g->texts.fileLength = "0.01";
    test::RecordingUi ui;
    test::ScriptedKeys keys;
    const WriteEnvironment env{.ui = ui,
                               .keys = keys,
                               .languageIndex = 1,
                               .appTitle = "Quorvale",
                               .progress = {},
                               .afterBlock = {}};
    std::string name = dir.File("out.txt");
    EXPECT_EQ(RunTextWrite(*g, name, env), -1);
    EXPECT_EQ(name, dir.File("out.QVT"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Quorvale - " + dir.File("out.txt"));
    g->texts.fileLength = "-1";
    EXPECT_EQ(RunTextWrite(*g, name, env), 0);
    EXPECT_FALSE(fs::exists(name));
}

} // namespace
} // namespace qv
