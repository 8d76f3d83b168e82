#include "app/user_wave_loader.h"
#include "files/text_file_helpers.h"
#include "files/wave_bytes.h"
#include "generator/user_wave_lists.h"
#include "platform/key_state.h"
#include "platform/language.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

WaveFormatRecord Format(uint16_t tag, uint16_t channels, uint16_t bits, uint32_t rate = 44100) {
    WaveFormatRecord f;
    f.formatTag = tag;
    f.channels = channels;
    f.bitsPerSample = bits;
    f.sampleRate = rate;
    f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    return f;
}

TEST(UserWaveLoaderTest, ConversionOfEverySourceFormat) {
    double out[4];
    const uint8_t b8[] = {0x00, 0x80, 0xFF, 0x7F};
    ConvertUserWaveFrames(b8, 4, Format(1, 1, 8), out);
    EXPECT_EQ(out[0], -1.0);
    EXPECT_EQ(out[1], 0.0);
    EXPECT_EQ(out[2], 127.0 / 128);
    const uint8_t b16[] = {0x00, 0x80, 0xFF, 0x7F};
    ConvertUserWaveFrames(b16, 1, Format(1, 2, 16), out);
    EXPECT_EQ(out[0], -1.0);
    EXPECT_EQ(out[1], 32767.0 / 32768);
    const uint8_t b24[] = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F};
    ConvertUserWaveFrames(b24, 2, Format(1, 1, 24), out);
    EXPECT_EQ(out[0], -1.0);
    EXPECT_EQ(out[1], 1.0 - 1.0 / 8388608);
    const uint8_t b32[] = {0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x40};
    ConvertUserWaveFrames(b32, 2, Format(1, 1, 32), out);
    EXPECT_EQ(out[0], -1.0);
    EXPECT_EQ(out[1], 0.5);
    const float f[] = {0.25f, -1.5f};
    ConvertUserWaveFrames(reinterpret_cast<const uint8_t*>(f), 2, Format(3, 1, 32), out);
    EXPECT_EQ(out[0], 0.25);
    EXPECT_EQ(out[1], -1.5); // float values pass unchanged
    WaveFormatRecord ext = Format(0xFFFE, 1, 32);
    ext.subFormat = kSubFormatFloat;
    ConvertUserWaveFrames(reinterpret_cast<const uint8_t*>(f), 1, ext, out);
    EXPECT_EQ(out[0], 0.25);
}

TEST(UserWaveLoaderTest, InfoLineInBothForms) {
    UserWaveSet set;
    EXPECT_EQ(UserWaveInfoLine(set, kEnglish), "");
    set.userWaveFormat = Format(1, 2, 16);
    set.userWaveChannels = 2;
    set.userWaveFrames = 44100;
    EXPECT_EQ(UserWaveInfoLine(set, kEnglish), "Samples: 44100  (44100s/s 16bit 2ch)  1.00sec");
    set.userWaveFormat = Format(3, 1, 32, 8000);
    set.userWaveChannels = 1;
    set.userWaveFrames = 12000;
    EXPECT_EQ(UserWaveInfoLine(set, kEnglish), "Samples: 12000  ( 8000s/s F32bit 1ch)  1.50sec");
    set.userWaveFormat = WaveFormatRecord{};
    set.userWaveChannels = 3;
    EXPECT_EQ(UserWaveInfoLine(set, kJapanese), "ｻﾝﾌﾟﾙ数： 12000  (3ch)");
}

TEST(UserWaveLoaderTest, SelectionListsAndCodes) {
    const auto mono = ChannelSelectionItems(1);
    ASSERT_EQ(mono.size(), 1u);
    EXPECT_EQ(mono[0].text, "ALL");
    EXPECT_EQ(ModSignalItems(1).front().text, "uL");
    const auto stereo = ChannelSelectionItems(2);
    ASSERT_EQ(stereo.size(), 6u);
    EXPECT_EQ(stereo[3].text, "uL + uR");
    EXPECT_EQ(stereo[3].code, 259);
    EXPECT_EQ(ModSignalItems(2).size(), 5u);
    const auto three = ChannelSelectionItems(3);
    ASSERT_EQ(three.size(), 4u);
    EXPECT_EQ(three[2].text, "u2ch");
    EXPECT_EQ(three[2].code, 2);
    EXPECT_EQ(ChannelSelectionItems(8).back().code, 128);
    bool fellBack = false;
    EXPECT_EQ(SelectionCode(three, "u3ch", &fellBack), 4);
    EXPECT_FALSE(fellBack);
    EXPECT_EQ(SelectionCode(three, "uL", &fellBack), 255);
    EXPECT_TRUE(fellBack);
}

TEST(UserWaveLoaderTest, TextFilesScaleByMaxAndClamp) {
    test::ScratchDir dir;
    test::RecordingUi ui;
    NoKeysDown keys;
    const UserWaveLoadEnvironment env{
        .ui = ui, .keys = keys, .languageIndex = kEnglish, .appTitle = "Quorvale", .progress = {}};
    UserWaveSet set;
    set.userWavePath = dir.File("clip.qvt");
    {
        std::ofstream out(set.userWavePath, std::ios::binary);
        out << "\"Channels\",2\r\n\"Max\",32767\r\n\"Samples\",2\r\n\"Data\",4\r\n"
               "40000,-32767,16383.5,-40000\r\n";
    }
    ASSERT_TRUE(LoadUserWaveTextFile(set, env));
    EXPECT_EQ(set.userWaveFrames, 2u);
    EXPECT_EQ(set.userWaveChannels, 2);
    EXPECT_EQ(set.userWaveFormat.sampleRate, 0u);
    EXPECT_EQ(set.userWaveSamples, (std::vector<double>{1.0, -1.0, 0.5, -1.0}));

    set.userWavePath = dir.File("clip.txt");
    EXPECT_FALSE(LoadUserWaveTextFile(set, env));
    set.userWavePath = dir.File("none.QVT");
    EXPECT_FALSE(LoadUserWaveTextFile(set, env));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "File Extent is not 'QVT'.\n\n" + dir.File("clip.txt"));
    EXPECT_EQ(ui.messages[1].text, "Unable to open file.\n\n" + dir.File("none.QVT"));
    EXPECT_EQ(set.userWaveFrames, 2u); // a failed read leaves the set to the caller
}

void WriteBytes(const std::string& path, const test::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST(UserWaveLoaderTest, WavFilesRegisterWithTheirSelections) {
    test::ScratchDir dir;
    test::RecordingUi ui;
    NoKeysDown keys;
    const UserWaveLoadEnvironment env{
        .ui = ui, .keys = keys, .languageIndex = kEnglish, .appTitle = "Quorvale", .progress = {}};
    // 24-bit stereo, three frames: -1, 1 - 2^-23 on the left; 0.5 and its negative on the right.
    test::Bytes data = {0x00, 0x00, 0x80, 0x00, 0x00, 0x40, 0xFF, 0xFF, 0x7F,
                        0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    test::Bytes chunks = test::Chunk("fmt ", test::FmtContent(1, 2, 1, 24));
    test::Append(chunks, test::Chunk("data", data));
    UserWaveSet set;
    set.userWavePath = dir.File("three.wav");
    WriteBytes(set.userWavePath, test::Riff(chunks));
    set.channelSelectionText = "uR";
    set.modSignalSelectionText = "u3ch"; // not offered for two channels: the first item
    ASSERT_TRUE(RegisterUserWave(set, true, UserWaveRequest::FromParamFile, env));
    EXPECT_EQ(set.userWaveFrames, 3u);
    EXPECT_EQ(set.userWaveSamples,
              (std::vector<double>{-1.0, 0.5, 1.0 - 1.0 / 8388608, -0.5, 0.0, 0.0}));
    EXPECT_EQ(set.channelSelection, 258);
    EXPECT_EQ(set.channelSelectionText, "uR");
    EXPECT_EQ(set.modSignalSelection, 257);
    EXPECT_EQ(set.modSignalSelectionText, "uL");
    EXPECT_EQ(UserWaveInfoLine(set, kEnglish), "Samples: 3  (    1s/s 24bit 2ch)  3.00sec");
    EXPECT_TRUE(ui.messages.empty());

    // A damaged .WAV is tried as a text file and reported with the text format's message; the
    // set is then empty.
    WriteBytes(set.userWavePath, {'R', 'I', 'F', 'F', 1, 2});
    EXPECT_FALSE(RegisterUserWave(set, true, UserWaveRequest::FromParamFile, env));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "File Extent is not 'QVT'.\n\n" + dir.File("three.wav"));
    EXPECT_EQ(set.userWaveFrames, 0u);
    EXPECT_EQ(set.userWavePath, "");
    EXPECT_EQ(set.userWaveSamples.size(), 22u); // the empty set's zeros
    // A file that is not there says so.
    set.userWavePath = dir.File("gone.wav");
    EXPECT_FALSE(RegisterUserWave(set, true, UserWaveRequest::FromParamFile, env));
    EXPECT_EQ(ui.messages.back().text, "Unable to open file.\n\n" + dir.File("gone.wav"));

    // Request 2 loads nothing.
    set.userWavePath = dir.File("three.wav");
    EXPECT_FALSE(LoadUserWave(set, UserWaveRequest::NoFile, env));
    EXPECT_EQ(ui.messages.size(), 2u);
}

} // namespace
} // namespace qv
