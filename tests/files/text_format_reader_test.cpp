#include "files/text_format_reader.h"
#include "files/text_writer.h"
#include "support/fake_ui.h"
#include "text_file_helpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv {
namespace {

using Status = TextReadStatus;

struct TextFormatReaderTest : ::testing::Test {
    test::ScratchDir dir;
    test::RecordingUi ui;
    TextFormatData data;

    Status Read(const std::string& bytes, const char* name = "in.QVT") {
        return ReadTextFormat(name, bytes, ui, 1, "Quorvale", data);
    }

    // Writes raw samples with the writer and reads the file back.
    Status RoundTrip(const OutputFormat& f, const std::vector<uint8_t>& bytes) {
        test::SampleStream stream{bytes};
        test::ScriptedKeys keys;
        // Blocks hold whole frames, as the renderer's blocks do.
        const uint32_t blockBytes = 37u * f.blockAlign;
        std::string name = dir.File("round.QVT");
        TextWriteJob job{.lastTextFile = name,
                         .format = f,
                         .frames = bytes.size() / f.blockAlign,
                         .blocks = {.writeBlockBytes = blockBytes,
                                    .fill = [&](uint8_t* out, uint32_t n,
                                                uint32_t) { return stream.Fill(out, n); },
                                    .afterBlock = {},
                                    .progress = {},
                                    .ui = ui,
                                    .keys = keys,
                                    .languageIndex = 1,
                                    .caption = "c"}};
        EXPECT_EQ(WriteTextFile(job), 0);
        return ReadTextFormat(name, test::ReadFileBytes(name), ui, 1, "Quorvale", data);
    }
};

// What a stored sample should read back as: the integer over full scale, or for floats the
// seven-decimal text read by the C library.
double Expected(const uint8_t* p, int32_t bitCode) {
    if (bitCode == -32) {
        float f;
        std::memcpy(&f, p, 4);
        char text[64];
        std::snprintf(text, sizeof text, "%.7f", static_cast<double>(f));
        const double v = std::strtod(text, nullptr);
        return v > 1 ? 1 : v < -1 ? -1 : v;
    }
    const int size = bitCode / 8;
    int64_t v = 0;
    for (int k = 0; k < size; ++k)
        v |= int64_t{p[k]} << (8 * k);
    if (size == 1)
        v -= 128;
    else if (v >= int64_t{1} << (8 * size - 1))
        v -= int64_t{1} << (8 * size);
    return static_cast<double>(v) / static_cast<double>(int64_t{1} << (8 * size - 1));
}

TEST_F(TextFormatReaderTest, WhatTheWriterWritesReadsBackExactly) {
    for (int32_t bits : {8, 16, 24, 32, -32}) {
        for (uint16_t ch : {1, 2, 3, 8}) {
            const OutputFormat f = MakeOutputFormat(48000, bits, ch);
            const size_t frames = 123;
            std::vector<uint8_t> bytes = test::PatternBytes(frames * f.blockAlign, bits + ch);
            if (bits == -32) {
                // Finite floats in -2 ... 2: beyond full scale they are held at -1 and 1.
                uint32_t seed = ch;
                for (size_t i = 0; i < bytes.size(); i += 4) {
                    seed = seed * 1664525u + 1013904223u;
                    const float v = static_cast<float>(static_cast<int32_t>(seed)) / 1.0737e9f;
                    std::memcpy(&bytes[i], &v, 4);
                }
                const float extremes[] = {1.0f - 1.0f / 8388608.0f, -1.0f, 0.5f};
                std::memcpy(bytes.data(), extremes, sizeof extremes);
            }
            ASSERT_EQ(RoundTrip(f, bytes), Status::Ok) << bits << " bit, " << ch << " ch";
            EXPECT_EQ(data.channels, ch);
            EXPECT_EQ(data.frames, frames);
            EXPECT_EQ(data.sampleRate, 48000.0);
            EXPECT_EQ(data.bits, bits);
            ASSERT_EQ(data.samples.size(), frames * ch);
            const size_t size = f.bitsPerSample / 8;
            for (size_t i = 0; i < data.samples.size(); ++i) {
                ASSERT_EQ(data.samples[i], Expected(&bytes[i * size], bits))
                    << bits << " bit, " << ch << " ch, value " << i;
            }
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TextFormatReaderTest, EightBitExtremesAndFloatFullScale) {
    ASSERT_EQ(RoundTrip(MakeOutputFormat(8000, 8, 1), {0x00, 0xFF, 0x80}), Status::Ok);
    EXPECT_EQ(data.samples, (std::vector<double>{-1.0, 0.9921875, 0.0}));
    EXPECT_EQ(data.max, 128.0);

    const float fullScale = 1.0f - 1.0f / 8388608.0f;
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &fullScale, 4);
    ASSERT_EQ(RoundTrip(MakeOutputFormat(8000, -32, 1), bytes), Status::Ok);
    ASSERT_EQ(data.samples.size(), 1u);
    EXPECT_EQ(data.samples[0], 0.9999999);
    EXPECT_LT(data.samples[0], 1.0);
    EXPECT_EQ(data.max, 1.0);
}

TEST_F(TextFormatReaderTest, KeysInAnyOrderAndCommentsAnywhere) {
    const std::string file = "; written by hand\r\n"
                             "\"Max\",100\r\n"
                             ";\"Samples\",99 (commented out)\r\n"
                             "\"Samples\",3\r\n"
                             "  \"Data\",6\r\n"
                             "10,-20\r\n"
                             "; between data lines\r\n"
                             "30, 40 ;trailing\r\n"
                             "5e1,60\r\n"
                             "\"Channels\",2.9\r\n"; // after the data, still found
    ASSERT_EQ(Read(file), Status::Ok);
    EXPECT_EQ(data.channels, 2);
    EXPECT_EQ(data.frames, 3u);
    EXPECT_EQ(data.samples, (std::vector<double>{0.1, -0.2, 0.3, 0.4, 0.5, 0.6}));
    EXPECT_EQ(data.sampleRate, 0.0); // not there, not needed
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TextFormatReaderTest, ACommentAfterAHeaderValueHidesTheNextLine) {
    // The Max line joins the Samples line and is not seen.
    EXPECT_EQ(Read("\"Channels\",1\r\n\"Samples\",2 ;c\r\n\"Max\",10\r\n\"Data\",2\r\n1,2\r\n"),
              Status::MissingKey);
    // Behind the Data line, the first data line joins it: the samples start one line later.
    ASSERT_EQ(Read("\"Channels\",1\r\n\"Samples\",2\r\n\"Max\",10\r\n\"Data\",2 ;c\r\n"
                   "1,2\r\n3,4\r\n"),
              Status::Ok);
    EXPECT_EQ(data.samples, (std::vector<double>{0.3, 0.4}));
}

const char kHeader[] = "\"Quorvale Text Format\",1.00\r\n\"Sampling Frequency\",44100\r\n"
                       "\"Bits\",16\r\n\"Channels\",2\r\n\"Samples\",2\r\n\"Max\",32768\r\n"
                       "\"Data\",4\r\n";

TEST_F(TextFormatReaderTest, OnlyAQvtNameIsRead) {
    const std::string file = std::string(kHeader) + "1,2,3,4\r\n";
    EXPECT_EQ(Read(file, "in.txt"), Status::NotQvtExtension);
    EXPECT_EQ(Read(file, "QVT"), Status::NotQvtExtension);
    EXPECT_EQ(Read(file, "dir.QVT/in"), Status::NotQvtExtension);
    EXPECT_EQ(Read(file, "in.qVt"), Status::Ok);
    EXPECT_EQ(data.samples.size(), 4u);
}

TEST_F(TextFormatReaderTest, EachNeededKeyMustBeThere) {
    const std::string data4 = "1,2,3,4\r\n";
    for (const char* key : {"Channels", "Samples", "Max", "Data"}) {
        std::string header = kHeader;
        const size_t at = header.find(std::string("\"") + key + "\"");
        header.erase(at, header.find("\r\n", at) + 2 - at);
        EXPECT_EQ(Read(header + data4), Status::MissingKey) << key;
        EXPECT_TRUE(data.samples.empty());
    }
    for (const char* key : {"Quorvale Text Format", "Sampling Frequency", "Bits"}) {
        std::string header = kHeader;
        const size_t at = header.find(std::string("\"") + key + "\"");
        header.erase(at, header.find("\r\n", at) + 2 - at);
        EXPECT_EQ(Read(header + data4), Status::Ok) << key;
    }
    EXPECT_EQ(Read(""), Status::MissingKey);
    // LF alone does not end a line: everything after the first key is on its line.
    std::string unix = std::string(kHeader) + data4;
    for (size_t at; (at = unix.find('\r')) != std::string::npos;)
        unix.erase(at, 1);
    EXPECT_EQ(Read(unix), Status::MissingKey);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TextFormatReaderTest, AKeyLineWithoutItsValueIsReported) {
    std::string header = kHeader;
    header.replace(header.find("\"Channels\",2"), 12, "\"Channels\" 2");
    EXPECT_EQ(Read(header + "1,2,3,4\r\n"), Status::KeyLineError);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to read value.\n\n\"Channels\" 2");
    EXPECT_EQ(ui.messages[0].caption, "Quorvale");
    EXPECT_FALSE(ui.messages[0].ownedByMain);
}

TEST_F(TextFormatReaderTest, AFileThatEndsEarlyFails) {
    EXPECT_EQ(Read(std::string(kHeader) + "1,2,3\r\n"), Status::Truncated);
    EXPECT_TRUE(data.samples.empty());
    EXPECT_EQ(data.frames, 0u);
    EXPECT_EQ(Read(kHeader), Status::Truncated);
    // A huge count is refused before anything is allocated for it.
    std::string huge = kHeader;
    huge.replace(huge.find("\"Samples\",2"), 11, "\"Samples\",1e15");
    EXPECT_EQ(Read(huge + "1,2,3,4\r\n"), Status::Truncated);
    // Without a final CR LF the last character is lost: a one-digit last value is missing,
    // a longer one loses its last digit.
    EXPECT_EQ(Read(std::string(kHeader) + "1,2,3,4"), Status::Truncated);
    ASSERT_EQ(Read(std::string(kHeader) + "1,2,3,16384"), Status::Ok);
    EXPECT_EQ(data.samples.back(), 1638.0 / 32768);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TextFormatReaderTest, HeaderValuesOutsideTheirRangesFail) {
    struct Case {
        const char* from;
        const char* to;
        Status status;
    };
    const Case cases[] = {
        {"\"Channels\",2", "\"Channels\",0", Status::BadHeader},
        {"\"Channels\",2", "\"Channels\",9", Status::BadHeader},
        {"\"Channels\",2", "\"Channels\",-1", Status::BadHeader},
        {"\"Channels\",2", "\"Channels\",0.9", Status::BadHeader},
        {"\"Channels\",2", "\"Channels\",1e999", Status::BadHeader},
        {"\"Channels\",2", "\"Channels\",x", Status::BadHeader},
        {"\"Channels\",2", "\"Channels\",1.9", Status::Ok}, // the integer part: 1 channel
        {"\"Samples\",2", "\"Samples\",0", Status::BadHeader},
        {"\"Samples\",2", "\"Samples\",-3", Status::BadHeader},
        {"\"Samples\",2", "\"Samples\",0.5", Status::BadHeader},
        {"\"Max\",32768", "\"Max\",0", Status::BadHeader},
        {"\"Max\",32768", "\"Max\",-1", Status::BadHeader},
        {"\"Max\",32768", "\"Max\",1e999", Status::BadHeader},
        {"\"Max\",32768", "\"Max\",0.5", Status::Ok},
    };
    for (const Case& c : cases) {
        std::string file = std::string(kHeader) + "1,2,3,4\r\n";
        file.replace(file.find(c.from), std::strlen(c.from), c.to);
        EXPECT_EQ(Read(file), c.status) << c.to;
        if (c.status != Status::Ok) {
            EXPECT_TRUE(data.samples.empty());
        }
    }
    std::string eight = kHeader;
    eight.replace(eight.find("\"Channels\",2"), 12, "\"Channels\",8.99");
    ASSERT_EQ(Read(eight + "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\r\n"), Status::Ok);
    EXPECT_EQ(data.channels, 8);
    EXPECT_EQ(data.samples.size(), 16u);
}

TEST_F(TextFormatReaderTest, ValuesAreHeldToFullScale) {
    ASSERT_EQ(Read("\"Channels\",1\r\n\"Samples\",4\r\n\"Max\",32767\r\n\"Data\",4\r\n"
                   "40000,-40000,32767,-1e999\r\n"),
              Status::Ok);
    EXPECT_EQ(data.samples, (std::vector<double>{1.0, -1.0, 1.0, -1.0}));
}

TEST_F(TextFormatReaderTest, APositionWithoutANumberGivesZeroAndItsSeparator) {
    ASSERT_EQ(Read("\"Channels\",1\r\n\"Samples\",6\r\n\"Max\",1\r\n\"Data\",999\r\n"
                   "1, 2 ,x,-.5\r\n"),
              Status::Ok);
    EXPECT_EQ(data.samples, (std::vector<double>{1.0, 1.0, 0.0, 0.0, 0.0, -0.5}));
}

TEST_F(TextFormatReaderTest, GarbageFailsCleanly) {
    uint32_t seed = 99;
    for (int round = 0; round < 200; ++round) {
        std::string bytes(1 + round * 7, '\0');
        for (char& c : bytes) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(seed >> 16);
        }
        EXPECT_NE(Read(bytes), Status::Ok);
        EXPECT_TRUE(data.samples.empty());
    }
    EXPECT_EQ(Read("\"Channels\r\n\"Samples\",\r\n\"Max\r\n\"Data\",\r\n"), Status::MissingKey);
}

} // namespace
} // namespace qv
