// The WAV/RF64 reader on files built byte by byte: formats, data sizes and their limits, the
// chunk walk with its levels and its record, cue labels, and every error text.
#include "files/wave_header.h"
#include "files/wave_reader.h"
#include "files/wave_reader_messages.h"
#include "support/fake_ui.h"
#include "text_file_helpers.h"
#include "wave_bytes.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

using test::Bytes;
using test::Chunk;
using test::ChunkClaiming;
using test::FmtContent;
using test::List;
using test::MemoryWave;
using test::Riff;

Bytes Pattern(size_t n, uint32_t seed = 7) {
    return test::PatternBytes(n, seed);
}

Bytes Slice(const Bytes& b, size_t from, size_t count) {
    return Bytes(b.begin() + static_cast<ptrdiff_t>(from),
                 b.begin() + static_cast<ptrdiff_t>(from + count));
}

// fmt + data: the simplest playable file.
Bytes Simple(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data) {
    Bytes chunks = Chunk("fmt ", FmtContent(tag, channels, rate, bits));
    test::Append(chunks, Chunk("data", data));
    return Riff(chunks);
}

std::string Id(const std::array<char, 4>& id) {
    return std::string(id.begin(), id.end());
}

TEST(WaveReaderTest, ReadsWhatTheWriterWrites) {
    const Bytes data = Pattern(4 * 1000);
    Bytes file = BuildWaveHeader(MakeOutputFormat(44100, 16, 2), 1, 4000);
    test::Append(file, data);
    MemoryWave w(file);
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_TRUE(w.reader.GetErrorText().empty());
    EXPECT_TRUE(w.playable);
    EXPECT_EQ(w.floatBits, 0u);
    EXPECT_EQ(w.format.formatTag, kFormatTagPcm);
    EXPECT_EQ(w.format.channels, 2);
    EXPECT_EQ(w.format.sampleRate, 44100u);
    EXPECT_EQ(w.format.avgBytesPerSec, 176400u);
    EXPECT_EQ(w.format.blockAlign, 4);
    EXPECT_EQ(w.format.bitsPerSample, 16);
    EXPECT_EQ(w.format.extensionSize, 0); // bytes the 16-byte chunk lacks are zero
    EXPECT_EQ(w.reader.Parsed().dataOffset, 44u);
    EXPECT_EQ(w.reader.Parsed().dataSize, 4000u);
    EXPECT_EQ(w.reader.GetDataFrameCount(), 1000u);
    EXPECT_FALSE(w.reader.DataFileOpen()); // SetSource leaves the data closed
    EXPECT_TRUE(w.reader.FileMode());
    EXPECT_TRUE(w.reader.FormatSet());
    EXPECT_FALSE(w.reader.Failed());
    EXPECT_EQ(w.reader.FileName(), "mem.wav");
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(w.ReadData(7), data);
}

TEST(WaveReaderTest, ShortLastPieceIsFilledWithSilence) {
    const Bytes data = {1, 2, 3, 4, 5, 6};
    MemoryWave w16(Simple(1, 1, 8000, 16, data));
    ASSERT_FALSE(w16.Set());
    ASSERT_TRUE(w16.reader.OpenWaveFile(false));
    uint8_t buffer[8];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(w16.reader.ReadWaveData(buffer, 4), 4u);
    EXPECT_EQ(w16.reader.DataRemaining(), 2u);
    EXPECT_EQ(w16.reader.ReadWaveData(buffer, 8), 2u);
    EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{5, 6, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(w16.reader.ReadWaveData(buffer, 2), 0u);
    w16.reader.CloseWaveFile();
    EXPECT_EQ(w16.reader.ReadWaveData(buffer, 2), 0u);

    MemoryWave w8(Simple(1, 1, 8000, 8, data));
    ASSERT_FALSE(w8.Set());
    ASSERT_TRUE(w8.reader.OpenWaveFile(false));
    EXPECT_EQ(w8.reader.Parsed().silenceByte, 0x80);
    EXPECT_EQ(w8.reader.ReadWaveData(buffer, 8), 6u);
    EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{1, 2, 3, 4, 5, 6, 0x80, 0x80}));
}

TEST(WaveReaderTest, WithoutOpenDataNothingIsRead) {
    MemoryWave w(Simple(1, 1, 8000, 16, {1, 2}));
    uint8_t buffer[2] = {9, 9};
    EXPECT_EQ(w.reader.ReadWaveData(buffer, 2), 0u);
    EXPECT_EQ(buffer[0], 9); // untouched
}

TEST(WaveReaderTest, ExtensibleFormsAndFloat) {
    for (uint16_t channels : {3, 6, 8}) {
        const Bytes data = Pattern(channels * 3 * 10);
        Bytes file = BuildWaveHeader(MakeOutputFormat(96000, 24, channels), 1,
                                     static_cast<uint32_t>(data.size()));
        test::Append(file, data);
        MemoryWave w(file);
        ASSERT_FALSE(w.Set());
        EXPECT_TRUE(w.playable);
        EXPECT_EQ(w.floatBits, 0u);
        EXPECT_EQ(w.format.formatTag, kFormatTagExtensible);
        EXPECT_EQ(w.format.extensionSize, 22);
        EXPECT_EQ(w.format.validBits, 24);
        EXPECT_EQ(w.format.channelMask, ChannelMaskFor(channels));
        EXPECT_EQ(w.format.subFormat, kSubFormatPcm);
        EXPECT_EQ(w.reader.Parsed().dataOffset, 68u);
        EXPECT_EQ(w.reader.GetDataFrameCount(), 10u);
        EXPECT_EQ(w.ReadData(4), data);
    }
    // The IEEE-float sub-format of the extensible form gives the float bit length.
    Bytes floatFile = BuildWaveHeader(MakeOutputFormat(48000, -32, 4), 1, 32);
    test::Append(floatFile, Pattern(32));
    MemoryWave ext(floatFile);
    ASSERT_FALSE(ext.Set());
    EXPECT_EQ(ext.format.formatTag, kFormatTagExtensible);
    EXPECT_EQ(ext.format.subFormat, kSubFormatFloat);
    EXPECT_EQ(ext.floatBits, 32u);
    EXPECT_TRUE(ext.playable);

    MemoryWave plain(Simple(kFormatTagFloat, 2, 48000, 32, Pattern(16)));
    ASSERT_FALSE(plain.Set());
    EXPECT_EQ(plain.floatBits, 32u);
    EXPECT_TRUE(plain.playable);
}

TEST(WaveReaderTest, ExtensibleWithAnotherSubFormatIsNotPlayable) {
    std::array<uint8_t, 16> adpcm = kSubFormatPcm;
    adpcm[0] = 2;
    Bytes chunks = Chunk("fmt ", test::ExtensibleFmtContent(2, 44100, 16, adpcm));
    test::Append(chunks, Chunk("data", Pattern(8)));
    MemoryWave w(Riff(chunks));
    EXPECT_FALSE(w.Set());
    EXPECT_FALSE(w.playable);
    EXPECT_EQ(w.floatBits, 0u);
}

TEST(WaveReaderTest, DataSizeAllOnesInPlainRiffReadsToTheEnd) {
    const Bytes data = Pattern(1234);
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, ChunkClaiming("data", 0xFFFFFFFFu, data));
    MemoryWave w(Riff(chunks, "WAVE", 0xFFFFFFFF));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_EQ(w.reader.Parsed().dataSize, 1234u);
    EXPECT_EQ(w.reader.GetDataFrameCount(), 617u);
    EXPECT_EQ(w.ReadData(100), data);
}

TEST(WaveReaderTest, DataLongerThanTheFileIsCut) {
    const Bytes data = Pattern(300);
    Bytes chunks = Chunk("fmt ", FmtContent(1, 2, 8000, 16));
    test::Append(chunks, ChunkClaiming("data", 100000, data));
    MemoryWave w(Riff(chunks));
    ASSERT_FALSE(w.Set());
    EXPECT_EQ(w.reader.Parsed().dataSize, 300u);
    EXPECT_EQ(w.reader.GetDataFrameCount(), 75u);
    EXPECT_EQ(w.ReadData(), data);
}

TEST(WaveReaderTest, OddEightBitDataKeepsItsSizeAndThePadIsSkipped) {
    const Bytes data = {0x00, 0x7F, 0x80, 0xFF, 0x12};
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 11025, 8));
    test::Append(chunks, Chunk("data", data)); // a pad byte follows
    test::Append(chunks, Chunk("abcd", {1, 2, 3, 4}));
    MemoryWave w(Riff(chunks));
    ASSERT_FALSE(w.Set());
    EXPECT_EQ(w.reader.Parsed().dataSize, 5u);
    EXPECT_EQ(w.reader.GetDataFrameCount(), 5u);
    EXPECT_EQ(w.ReadData(2), data);
    // The walk went on after the padded data chunk and met the next chunk where it is.
    const auto& entries = w.reader.Parsed().record.entries;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(Id(entries[2].identifier), "abcd");
    EXPECT_EQ(entries[2].position, 12u + 24 + 8 + 6);
    EXPECT_EQ(entries[2].content, (Bytes{1, 2, 3, 4}));
}

TEST(WaveReaderTest, Rf64TakesTheDataSizeFromDs64) {
    const Bytes data = Pattern(600);
    Bytes chunks = Chunk("ds64", test::Ds64Content(4 + 36 + 24 + 8 + 600 + 12, 600, 150));
    test::Append(chunks, Chunk("fmt ", FmtContent(1, 2, 48000, 16)));
    test::Append(chunks, ChunkClaiming("data", 0xFFFFFFFFu, data));
    test::Append(chunks, Chunk("tail", {9, 8, 7, 6}));
    MemoryWave w(test::Rf64(chunks));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    const WaveParse& p = w.reader.Parsed();
    EXPECT_TRUE(p.isRf64);
    EXPECT_EQ(p.dataSize, 600u);
    EXPECT_EQ(p.dataOffset, 12u + 36 + 24 + 8);
    EXPECT_EQ(p.record.ds64.riffSize, 4u + 36 + 24 + 8 + 600 + 12);
    EXPECT_EQ(p.record.ds64.dataSize, 600u);
    EXPECT_EQ(p.record.ds64.sampleCount, 150u);
    EXPECT_EQ(w.ReadData(64), data);
    // The data chunk is skipped by its ds64 size: the chunk after it is met.
    ASSERT_EQ(p.record.entries.size(), 4u);
    EXPECT_EQ(Id(p.record.entries[3].identifier), "tail");
    EXPECT_EQ(p.record.entries[3].content, (Bytes{9, 8, 7, 6}));
}

TEST(WaveReaderTest, HugeDs64SizesAreCutToTheFile) {
    const Bytes data = Pattern(64);
    Bytes chunks = Chunk("ds64", test::Ds64Content(uint64_t{1} << 63, uint64_t{1} << 63, 0));
    test::Append(chunks, Chunk("fmt ", FmtContent(1, 1, 8000, 16)));
    test::Append(chunks, ChunkClaiming("data", 0xFFFFFFFFu, data));
    MemoryWave w(test::Rf64(chunks));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_EQ(w.reader.Parsed().dataSize, 64u);
    EXPECT_EQ(w.ReadData(), data);

    Bytes allOnes = Chunk("ds64", test::Ds64Content(~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}));
    test::Append(allOnes, Chunk("fmt ", FmtContent(1, 1, 8000, 16)));
    test::Append(allOnes, ChunkClaiming("data", 0xFFFFFFFFu, data));
    MemoryWave w2(test::Rf64(allOnes));
    ASSERT_FALSE(w2.Set()) << w2.reader.GetErrorText();
    EXPECT_EQ(w2.reader.Parsed().dataSize, 64u);
}

TEST(WaveReaderTest, HugeChunkAfterTheDataEndsQuietlyWithoutAHugeBuffer) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, Chunk("data", Pattern(10)));
    test::Append(chunks, ChunkClaiming("huge", 0xFFFFFFF0u, {1, 2, 3}));
    MemoryWave w(Riff(chunks, "WAVE", 0xFFFFFFFF));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_TRUE(w.playable);
    const auto& entries = w.reader.Parsed().record.entries;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].bytesRead, 3u);
    EXPECT_EQ(entries[2].content.size(), 3u);
}

TEST(WaveReaderTest, HugeChunkBeforeTheDataFails) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, ChunkClaiming("huge", 0xFFFFFFF0u, Pattern(20)));
    MemoryWave w(Riff(chunks, "WAVE", 0xFFFFFFFF));
    EXPECT_TRUE(w.Set());
    EXPECT_EQ(w.reader.GetErrorText(), "Unable to read file.  (other)");
    EXPECT_TRUE(w.reader.Failed());
    EXPECT_TRUE(w.ui.messages.empty()); // the caller shows the error text
}

// count LISTs, each inside the one before; the innermost holds a chunk.
Bytes NestedLists(int count) {
    Bytes inner = Chunk("note", {1, 2});
    for (int i = 0; i < count; ++i)
        inner = List("abcd", inner);
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, inner);
    test::Append(chunks, Chunk("data", {1, 2, 3, 4}));
    return Riff(chunks);
}

TEST(WaveReaderTest, ListsNestFiveLevelsDeep) {
    MemoryWave w(NestedLists(5));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_TRUE(w.playable);
    const auto& entries = w.reader.Parsed().record.entries;
    ASSERT_EQ(entries.size(), 8u);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(Id(entries[static_cast<size_t>(i)].identifier), "LIST");
        EXPECT_EQ(Id(entries[static_cast<size_t>(i)].listType), "abcd");
        EXPECT_EQ(entries[static_cast<size_t>(i)].level, i);
        EXPECT_EQ(entries[static_cast<size_t>(i)].position, 12u + 24 + 12 * (i - 1));
    }
    EXPECT_EQ(Id(entries[6].identifier), "note");
    EXPECT_EQ(entries[6].level, 6);
    EXPECT_EQ(Id(entries[7].identifier), "data"); // back at the top level after the lists
    EXPECT_EQ(entries[7].level, 1);
    EXPECT_EQ(w.ReadData(), (Bytes{1, 2, 3, 4}));

    MemoryWave six(NestedLists(6));
    EXPECT_TRUE(six.Set());
    EXPECT_EQ(six.reader.GetErrorText(), "Sub chunk nesting level over.  (LIST)");
}

// fmt, count - 2 chunks, data: count entries in all.
Bytes ManyChunks(size_t count) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    for (size_t i = 0; i + 2 < count; ++i)
        test::Append(chunks, Chunk("JUNK", {static_cast<uint8_t>(i)}));
    test::Append(chunks, Chunk("data", {1, 2}));
    return Riff(chunks);
}

TEST(WaveReaderTest, TheRecordHoldsFourHundredChunks) {
    MemoryWave full(ManyChunks(400));
    ASSERT_FALSE(full.Set()) << full.reader.GetErrorText();
    EXPECT_TRUE(full.playable);
    ASSERT_EQ(full.reader.Parsed().record.entries.size(), 400u);
    EXPECT_EQ(full.reader.Parsed().record.entries.back().number, 400u);

    MemoryWave over(ManyChunks(401));
    EXPECT_TRUE(over.Set());
    EXPECT_EQ(over.reader.GetErrorText(), "Chunk table full.");
}

TEST(WaveReaderTest, ZeroSizeChunkEndsTheWalkAndTheFileIsNotPlayable) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 2, 44100, 16));
    test::Append(chunks, ChunkClaiming("zero", 0));
    test::Append(chunks, Chunk("data", Pattern(8)));
    for (int language : {kEnglish, kJapanese}) {
        MemoryWave w(Riff(chunks), false, language);
        EXPECT_FALSE(w.Set()); // not a failure: the warning is shown instead
        EXPECT_FALSE(w.playable);
        EXPECT_TRUE(w.reader.GetErrorText().empty());
        EXPECT_EQ(w.format.channels, 2); // the format is still handed out
        ASSERT_EQ(w.ui.messages.size(), 1u);
        EXPECT_EQ(w.ui.messages[0].text, language == kEnglish
                                             ? "This file is not valid PCM wave file."
                                             : "このファイルは有効なPCMファイルではありません");
        EXPECT_EQ(w.ui.messages[0].caption, "Quorvale");
        EXPECT_EQ(w.ui.messages[0].icon, MsgIcon::Warning);
        // Without the message flag the same file is simply refused.
        EXPECT_FALSE(w.reader.OpenWaveFile(false));
        EXPECT_TRUE(w.reader.GetErrorText().empty());
        EXPECT_EQ(w.ui.messages.size(), 1u);
        EXPECT_FALSE(w.reader.DataFileOpen());
    }
}

TEST(WaveReaderTest, FmtChunkOfFourteenBytes) {
    Bytes fmt = FmtContent(1, 1, 8000, 16);
    fmt.resize(14);
    Bytes chunks = Chunk("fmt ", fmt);
    test::Append(chunks, Chunk("data", Pattern(8)));
    const Bytes file = Riff(chunks);
    MemoryWave w(file);
    EXPECT_TRUE(w.Set());
    EXPECT_EQ(w.reader.GetErrorText(), "Unknown Wave format.  (fmtsize=14, fizesize=" +
                                           std::to_string(file.size() - 8) + ")");
    EXPECT_TRUE(w.reader.Failed());

    // Sizes up to 50 are taken (the first 40 bytes); 52 is refused, the all-ones size printed
    // as the signed number it becomes.
    Bytes fmt50 = test::ExtensibleFmtContent(2, 8000, 16, kSubFormatPcm);
    fmt50.resize(50, 0xAB);
    Bytes ok = Chunk("fmt ", fmt50);
    test::Append(ok, Chunk("data", Pattern(8)));
    MemoryWave w50(Riff(ok));
    ASSERT_FALSE(w50.Set()) << w50.reader.GetErrorText();
    EXPECT_EQ(w50.format.subFormat, kSubFormatPcm);
    EXPECT_TRUE(w50.playable);

    Bytes big = Chunk("fmt ", Bytes(52));
    MemoryWave w52(Riff(big, "WAVE", 0xFFFFFFFF));
    EXPECT_TRUE(w52.Set());
    EXPECT_EQ(w52.reader.GetErrorText(), "Unknown Wave format.  (fmtsize=52, fizesize=-1)");
}

TEST(WaveReaderTest, OtherFormTypesOnlyWhileCtrlIsHeld) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 2, 44100, 16));
    test::Append(chunks, Chunk("data", Pattern(16)));
    const Bytes avi = Riff(chunks, "AVI ");
    MemoryWave plain(avi);
    EXPECT_TRUE(plain.Set());
    EXPECT_EQ(plain.reader.GetErrorText(), "Not RIFF/RF64 file");

    MemoryWave ctrl(avi, true);
    ASSERT_FALSE(ctrl.Set()) << ctrl.reader.GetErrorText();
    EXPECT_TRUE(ctrl.playable);
    EXPECT_EQ(ctrl.ReadData(), Pattern(16));

    // Ctrl does not open RF64 files of another form type.
    Bytes rf = test::Rf64(chunks);
    std::memcpy(rf.data() + 8, "AVI ", 4);
    MemoryWave rfCtrl(rf, true);
    EXPECT_TRUE(rfCtrl.Set());
    EXPECT_EQ(rfCtrl.reader.GetErrorText(), "Not RIFF/RF64 file");
}

TEST(WaveReaderTest, HeaderErrors) {
    MemoryWave shortFile(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'});
    EXPECT_TRUE(shortFile.Set());
    EXPECT_EQ(shortFile.reader.GetErrorText(), "Unable to read file.  (header)");

    Bytes rifx = Simple(1, 1, 8000, 16, {1, 2});
    rifx[3] = 'X';
    MemoryWave w(rifx);
    EXPECT_TRUE(w.Set());
    EXPECT_EQ(w.reader.GetErrorText(), "Not RIFF/RF64 file");

    Bytes rf64 = test::Rf64(Chunk("fmt ", FmtContent(1, 1, 8000, 16)));
    rf64[4] = 0xFE; // RF64 must carry the all-ones size field
    MemoryWave badRf(rf64);
    EXPECT_TRUE(badRf.Set());
    EXPECT_EQ(badRf.reader.GetErrorText(), "Not RIFF/RF64 file");

    MemoryWave noData(Riff(Chunk("fmt ", FmtContent(1, 1, 8000, 16)), "WAVE", 1000));
    EXPECT_TRUE(noData.Set());
    EXPECT_EQ(noData.reader.GetErrorText(), "Unknown file format.  (No data)");

    MemoryWave empty(Bytes{});
    EXPECT_TRUE(empty.Set());
    EXPECT_EQ(empty.reader.GetErrorText(), "Unable to read file.  (header)");
}

TEST(WaveReaderTest, NamesThatCannotBeOpened) {
    MemoryWave w(Simple(1, 1, 8000, 16, {1, 2}));
    WaveFormatRecord format{};
    bool playable = true;
    uint32_t floatBits = 0;
    EXPECT_TRUE(w.reader.SetSource("", format, playable, floatBits));
    EXPECT_TRUE(w.reader.GetErrorText().empty()); // an empty name fails without a text
    EXPECT_TRUE(w.reader.SetSource("other.wav", format, playable, floatBits));
    EXPECT_EQ(w.reader.GetErrorText(), "file not found");
    EXPECT_TRUE(w.reader.Failed());
    EXPECT_FALSE(w.reader.FormatSet());
    EXPECT_TRUE(w.ui.messages.empty());
    // OpenWaveFile without a name uses the current source, here the failed one.
    EXPECT_FALSE(w.reader.OpenWaveFile(false));
    EXPECT_EQ(w.reader.GetErrorText(), "file not found");
    ASSERT_FALSE(w.Set());
    EXPECT_FALSE(w.reader.Failed());
}

TEST(WaveReaderTest, FormatsThatAreNotPlayable) {
    struct Case {
        uint16_t tag, channels, bits;
        int blockAlign;
        uint32_t rate;
    };
    const Case cases[] = {
        {1, 0, 16, 0, 8000},      // no channel
        {1, 65535, 16, -1, 8000}, // the block align cannot hold 65535 x 2 bytes
        {1, 2, 16, 0, 8000},      // block align 0
        {1, 2, 16, 2, 8000},      // block align of one channel
        {1, 2, 16, 6, 8000},      // block align too large
        {1, 1, 0, 1, 8000},       // bits 0
        {1, 1, 7, 1, 8000},       // bits 7
        {1, 1, 33, 5, 8000},      // bits 33
        {1, 1, 64, 8, 8000},      // 64-bit integers
        {3, 1, 64, 8, 8000},      // 64-bit float
        {3, 1, 16, 2, 8000},      // 16-bit float
        {2, 1, 4, 1, 8000},       // ADPCM
        {1, 1, 16, 2, 0},         // no sample rate
    };
    for (const Case& c : cases) {
        Bytes chunks = Chunk("fmt ", FmtContent(c.tag, c.channels, c.rate, c.bits, c.blockAlign));
        test::Append(chunks, Chunk("data", Pattern(40)));
        MemoryWave w(Riff(chunks));
        SCOPED_TRACE(testing::Message() << "tag " << c.tag << " channels " << c.channels << " bits "
                                        << c.bits << " align " << c.blockAlign);
        EXPECT_FALSE(w.Set());
        EXPECT_FALSE(w.playable);
        EXPECT_EQ(w.ui.messages.size(), 1u);
        EXPECT_FALSE(w.reader.OpenWaveFile(false));
        if (w.format.blockAlign == 0) {
            EXPECT_EQ(w.reader.GetDataFrameCount(), 0u);
        }
    }
    // The 65535-channel 8-bit file is consistent; its frame count is the data size over 65535.
    Bytes chunks = Chunk("fmt ", FmtContent(1, 65535, 8000, 8));
    test::Append(chunks, Chunk("data", Pattern(65535 * 2 + 7)));
    MemoryWave wide(Riff(chunks));
    ASSERT_FALSE(wide.Set());
    EXPECT_TRUE(wide.playable);
    EXPECT_EQ(wide.reader.GetDataFrameCount(), 2u);
}

TEST(WaveReaderTest, TheLastFmtChunkCountsAndMayComeAfterTheData) {
    const Bytes data = Pattern(24);
    Bytes twice = Chunk("fmt ", FmtContent(1, 1, 8000, 8));
    test::Append(twice, Chunk("fmt ", FmtContent(3, 2, 96000, 32)));
    test::Append(twice, Chunk("data", data));
    MemoryWave w(Riff(twice));
    ASSERT_FALSE(w.Set());
    EXPECT_EQ(w.format.formatTag, kFormatTagFloat);
    EXPECT_EQ(w.format.channels, 2);
    EXPECT_EQ(w.format.sampleRate, 96000u);
    EXPECT_EQ(w.floatBits, 32u);
    EXPECT_EQ(w.reader.Parsed().silenceByte, 0);
    EXPECT_EQ(w.reader.GetDataFrameCount(), 3u);

    Bytes late = Chunk("data", data);
    test::Append(late, Chunk("fmt ", FmtContent(1, 3, 44100, 16)));
    MemoryWave l(Riff(late));
    ASSERT_FALSE(l.Set());
    EXPECT_TRUE(l.playable);
    EXPECT_EQ(l.reader.Parsed().dataOffset, 20u);
    EXPECT_EQ(l.reader.GetDataFrameCount(), 4u);
    EXPECT_EQ(l.ReadData(), data);
}

TEST(WaveReaderTest, FirstDataChunkIsTheData) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, Chunk("data", {1, 2, 3, 4}));
    test::Append(chunks, Chunk("data", {5, 6}));
    MemoryWave w(Riff(chunks));
    ASSERT_FALSE(w.Set());
    EXPECT_EQ(w.reader.Parsed().dataOffset, 44u);
    EXPECT_EQ(w.ReadData(), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(w.reader.Parsed().record.entries.size(), 3u);
}

Bytes CuePoints(uint32_t declaredCount, const std::vector<std::pair<uint32_t, uint32_t>>& points) {
    Bytes cue;
    test::Put32(cue, declaredCount);
    for (auto [identifier, position] : points) {
        test::Put32(cue, identifier);
        test::Put32(cue, position);
        test::Put(cue, "data");
        test::Put32(cue, 0);
        test::Put32(cue, 0);
        test::Put32(cue, position);
    }
    return cue;
}

Bytes Labl(uint32_t identifier, std::string_view text, bool nul = true) {
    Bytes b;
    test::Put32(b, identifier);
    test::Put(b, text);
    if (nul)
        b.push_back(0);
    return b;
}

TEST(WaveReaderTest, CuePointsTakeLabelsAndLengthsFromAdtl) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, Chunk("cue ", CuePoints(3, {{1, 100}, {2, 200}, {7, 700}})));
    Bytes adtl = Chunk("labl", Labl(2, "second"));
    test::Append(adtl, Chunk("labl", Labl(1, std::string(50, 'x') + "tail")));
    Bytes ltxt;
    test::Put32(ltxt, 7);
    test::Put32(ltxt, 4410);
    test::Put(ltxt, "rgn ");
    test::Append(adtl, Chunk("ltxt", ltxt));
    test::Append(adtl, Chunk("labl", Labl(9, "no such cue")));
    test::Append(chunks, List("adtl", adtl));
    test::Append(chunks, Chunk("data", Pattern(20)));
    MemoryWave w(Riff(chunks));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    const auto& cues = w.reader.Parsed().cues;
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ(cues[0].identifier, 1u);
    EXPECT_EQ(cues[0].position, 100u);
    EXPECT_EQ(cues[0].label, std::string(40, 'x')); // at most 40 bytes
    EXPECT_EQ(cues[1].label, "second");
    EXPECT_EQ(cues[1].length, 0u);
    EXPECT_EQ(cues[2].identifier, 7u);
    EXPECT_EQ(cues[2].position, 700u);
    EXPECT_EQ(cues[2].label, "");
    EXPECT_EQ(cues[2].length, 4410u);
    // The sub-chunks are walked as chunks of level 2 as well.
    const auto& entries = w.reader.Parsed().record.entries;
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(Id(entries[2].listType), "adtl");
    EXPECT_EQ(Id(entries[3].identifier), "labl");
    EXPECT_EQ(entries[3].level, 2);
    EXPECT_EQ(Id(entries[7].identifier), "data");
    EXPECT_EQ(entries[7].level, 1);
}

TEST(WaveReaderTest, CueCountIsLimited) {
    std::vector<std::pair<uint32_t, uint32_t>> points;
    for (uint32_t i = 0; i < 120; ++i)
        points.emplace_back(i, i * 10);
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, Chunk("cue ", CuePoints(120, points)));
    test::Append(chunks, Chunk("data", Pattern(2)));
    MemoryWave many(Riff(chunks));
    ASSERT_FALSE(many.Set());
    ASSERT_EQ(many.reader.Parsed().cues.size(), 100u);
    EXPECT_EQ(many.reader.Parsed().cues[99].position, 990u);

    // A count beyond the points the chunk holds takes only those.
    Bytes lying = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(lying, Chunk("cue ", CuePoints(0xFFFFFFFF, {{5, 50}, {6, 60}})));
    test::Append(lying, Chunk("data", Pattern(2)));
    MemoryWave l(Riff(lying));
    ASSERT_FALSE(l.Set());
    ASSERT_EQ(l.reader.Parsed().cues.size(), 2u);
    EXPECT_EQ(l.reader.Parsed().cues[1].identifier, 6u);
}

TEST(WaveReaderTest, LabelsOfALyingAdtlStayInsideTheList) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, Chunk("cue ", CuePoints(1, {{1, 10}})));
    Bytes adtl = ChunkClaiming("labl", 0xFFFFFFF0u, Labl(1, "abc", false));
    test::Append(chunks, List("adtl", adtl));
    test::Append(chunks, Chunk("data", Pattern(2)));
    MemoryWave w(Riff(chunks));
    // The label is cut at the list's end; the sub-walk then finds the lying sub-chunk too long.
    w.Set();
    EXPECT_EQ(w.reader.Parsed().cues.at(0).label, "abc");
}

TEST(WaveReaderTest, BextJunkFactAndListAreRecorded) {
    Bytes bext(602, 0);
    std::memcpy(bext.data(), "desc", 4);
    Bytes chunks = Chunk("JUNK", Bytes(28, 0));
    test::Append(chunks, Chunk("bext", bext));
    test::Append(chunks, Chunk("fmt ", FmtContent(3, 1, 8000, 32)));
    test::Append(chunks, Chunk("fact", {5, 0, 0, 0}));
    test::Append(chunks, List("INFO", Chunk("INAM", {'T', 'i', 't', 0})));
    const size_t dataPosition = chunks.size() + 12;
    const Bytes data = Pattern(2000);
    test::Append(chunks, Chunk("data", data));
    const Bytes file = Riff(chunks);
    MemoryWave w(file);
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    const WaveParse& p = w.reader.Parsed();
    EXPECT_TRUE(p.hasBext);
    EXPECT_FALSE(p.isRf64);
    EXPECT_EQ(p.dataOffset, dataPosition + 8);
    const ChunkRecord& r = p.record;
    EXPECT_EQ(r.fileSize, file.size());
    EXPECT_EQ(Bytes(r.header.begin(), r.header.end()), Slice(file, 0, 12));
    EXPECT_EQ(r.bytesBeforeData, dataPosition + 8);
    EXPECT_TRUE(r.hasBext);
    EXPECT_TRUE(r.formatPlayable);
    EXPECT_EQ(r.format.formatTag, kFormatTagFloat);
    ASSERT_EQ(r.entries.size(), 7u);
    const char* ids[] = {"JUNK", "bext", "fmt ", "fact", "LIST", "INAM", "data"};
    const int levels[] = {1, 1, 1, 1, 1, 2, 1};
    uint64_t position = 12;
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(r.entries[i].number, i + 1);
        EXPECT_EQ(Id(r.entries[i].identifier), ids[i]);
        EXPECT_EQ(r.entries[i].level, levels[i]);
        EXPECT_EQ(r.entries[i].position, position);
        // The list's header and type, then its sub-chunk; other chunks are passed whole.
        position += i == 4 ? 12 : r.entries[i].sizeField + 8 + (r.entries[i].sizeField & 1);
    }
    EXPECT_EQ(r.entries[1].content, bext);
    EXPECT_EQ(r.entries[3].content, (Bytes{5, 0, 0, 0}));
    EXPECT_EQ(Id(r.entries[4].listType), "INFO");
    EXPECT_EQ(r.entries[4].sizeField, 16u);
    EXPECT_EQ(r.entries[6].sizeField, 2000u);
    EXPECT_EQ(r.entries[6].content, Slice(data, 0, 512));
    EXPECT_EQ(r.dataTail.position, dataPosition + 8 + 2000 - 512);
    EXPECT_EQ(r.dataTail.content, Slice(data, 2000 - 512, 512));
}

TEST(WaveReaderTest, SmallDataIsRecordedWholeAtBothEnds) {
    const Bytes data = Pattern(10);
    MemoryWave w(Simple(1, 1, 8000, 16, data));
    ASSERT_FALSE(w.Set());
    const ChunkRecord& r = w.reader.Parsed().record;
    EXPECT_EQ(r.entries.at(1).content, data);
    EXPECT_EQ(r.dataTail.content, data);
    EXPECT_EQ(r.dataTail.position, 44u);
}

TEST(WaveReaderTest, ShortReadsOfEachChunkKind) {
    struct Case {
        const char* id;
        const char* text;
    };
    const Case cases[] = {
        {"fmt ", "Unable to read file.  (fmt)"},       {"fact", "Unknown Wave format.  (fact)"},
        {"cue ", "Unknown Wave format.  (cue)"},       {"bext", "Unable to read file.  (bext)"},
        {"JUNK", "Unable to read file.  (ds64/JUNK)"}, {"LIST", "Unknown Wave format.  (LIST)"},
        {"xyzw", "Unable to read file.  (other)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const uint32_t size = std::string_view(c.id) == "fact" ? 4 : 16;
        // Before the data: every kind fails.
        // Fewer bytes than the size field claims ("INFO" keeps a LIST's type readable).
        const Bytes some = size == 4 ? Bytes{1, 2} : Bytes{'I', 'N', 'F', 'O', 1, 2};
        Bytes before = ChunkClaiming(c.id, size, some);
        MemoryWave w(Riff(before, "WAVE", 100));
        EXPECT_TRUE(w.Set());
        EXPECT_EQ(w.reader.GetErrorText(), c.text);
        // After the data: only an unknown chunk ends quietly.
        Bytes after = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
        test::Append(after, Chunk("data", {1, 2}));
        test::Append(after, ChunkClaiming(c.id, size, some));
        MemoryWave a(Riff(after, "WAVE", 100));
        const bool quiet = std::string_view(c.id) == "xyzw";
        EXPECT_EQ(a.Set(), !quiet);
        EXPECT_EQ(a.reader.GetErrorText(), quiet ? "" : c.text);
    }
    // In an RF64 file a short ds64 fails with the same text as JUNK.
    MemoryWave ds(test::Rf64(ChunkClaiming("ds64", 28, Bytes(20))));
    EXPECT_TRUE(ds.Set());
    EXPECT_EQ(ds.reader.GetErrorText(), "Unable to read file.  (ds64/JUNK)");
}

TEST(WaveReaderTest, TrailingBytesAfterTheDataAreIgnored) {
    // The RIFF size covers them, so the walk tries to read one more header.
    Bytes chunks = Chunk("fmt ", FmtContent(1, 2, 8000, 16));
    test::Append(chunks, Chunk("data", Pattern(16)));
    chunks.insert(chunks.end(), {'L', 'I', 'S', 'T', 9});
    MemoryWave w(Riff(chunks));
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_TRUE(w.playable);
    EXPECT_EQ(w.ReadData(), Pattern(16));
}

TEST(WaveReaderTest, TheWalkEndsWithTheRiffForm) {
    // Bytes after the RIFF form (here a bad "fmt " chunk) are not chunks of the file, also when
    // a LIST came before.
    Bytes chunks = Chunk("fmt ", FmtContent(1, 1, 8000, 16));
    test::Append(chunks, List("INFO", Chunk("ICMT", Bytes(30, 'c'))));
    test::Append(chunks, Chunk("data", Pattern(6)));
    Bytes file = Riff(chunks);
    Bytes fmt = FmtContent(1, 1, 8000, 16);
    fmt.resize(14);
    test::Append(file, Chunk("fmt ", fmt));
    MemoryWave w(file);
    ASSERT_FALSE(w.Set()) << w.reader.GetErrorText();
    EXPECT_TRUE(w.playable);
    EXPECT_EQ(w.reader.Parsed().record.entries.size(), 4u);

    // A RIFF size that ends before the data leaves the data unseen.
    MemoryWave early(Riff(chunks, "WAVE", 4 + 24));
    EXPECT_FALSE(early.Set());
    EXPECT_FALSE(early.playable);
    EXPECT_EQ(early.reader.Parsed().record.entries.size(), 1u);
}

TEST(WaveReaderTest, ReadsRealFiles) {
    test::ScratchDir dir;
    const std::string path = dir.File("real.wav");
    const Bytes data = Pattern(3 * 333);
    Bytes file = BuildWaveHeader(MakeOutputFormat(22050, 24, 1), 1, 999);
    test::Append(file, data);
    file.push_back(0); // pad byte
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
    }
    test::RecordingUi ui;
    NoKeysDown keys;
    WaveReader reader(WaveReaderEnvironment{ui, keys});
    WaveFormatRecord format{};
    bool playable = false;
    uint32_t floatBits = 1;
    ASSERT_FALSE(reader.SetSource(path, format, playable, floatBits)) << reader.GetErrorText();
    EXPECT_TRUE(playable);
    EXPECT_EQ(format.bitsPerSample, 24);
    EXPECT_EQ(reader.GetDataFrameCount(), 333u);
    ASSERT_TRUE(reader.OpenWaveFile(false));
    Bytes got(1000, 0xEE);
    EXPECT_EQ(reader.ReadWaveData(got.data(), got.size()), 999u);
    EXPECT_EQ(Slice(got, 0, 999), data);
    EXPECT_EQ(got[999], 0); // silence
    reader.CloseWaveFile();

    EXPECT_TRUE(reader.SetSource(dir.File("missing.wav"), format, playable, floatBits));
    EXPECT_EQ(reader.GetErrorText(), "file not found");
    std::filesystem::create_directory(dir.File("folder.wav"));
    EXPECT_TRUE(reader.SetSource(dir.File("folder.wav"), format, playable, floatBits));
    EXPECT_EQ(reader.GetErrorText(), "file not found");
}

} // namespace
} // namespace qv
