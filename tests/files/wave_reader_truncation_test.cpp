// Valid files cut at every byte offset: the reader fails with one of its texts or reads a
// consistent prefix of the samples, never more and never other bytes.
#include "files/wave_header.h"
#include "text_file_helpers.h"
#include "wave_bytes.h"

#include <gtest/gtest.h>

#include <set>

namespace qv {
namespace {

using test::Bytes;
using test::Chunk;
using test::FmtContent;

bool IsReaderText(const std::string& text) {
    static const std::set<std::string> texts = {
        "file not found",
        "Unable to read file.  (header)",
        "Not RIFF/RF64 file",
        "Unknown file format.  (No data)",
        "Chunk table full.",
        "Unable to read file.  (No memory)",
        "Unknown Wave format.  (LIST)",
        "Unable to seek file.",
        "Sub chunk nesting level over.  (LIST)",
        "Unable to read file.  (ds64/JUNK)",
        "Unable to read file.  (fmt)",
        "Unknown Wave format.  (fact)",
        "Unknown Wave format.  (cue)",
        "Unknown Wave format.  (data)",
        "Unable to read file.  (other)",
        "Unable to read file.  (bext)",
    };
    return texts.count(text) > 0 || text.rfind("Unknown Wave format.  (fmtsize=", 0) == 0;
}

struct Sample {
    const char* name;
    Bytes file;
    size_t dataOffset;
    size_t dataSize;
};

Sample RichFile() {
    Bytes chunks = Chunk("JUNK", Bytes(28, 0));
    test::Append(chunks, Chunk("fmt ", FmtContent(1, 2, 44100, 16)));
    test::Append(chunks, Chunk("fact", {25, 0, 0, 0}));
    Bytes cue;
    test::Put32(cue, 1);
    test::Put32(cue, 4);
    test::Put32(cue, 0);
    test::Put(cue, "data");
    test::Put32(cue, 0);
    test::Put32(cue, 0);
    test::Put32(cue, 0);
    test::Append(chunks, Chunk("cue ", cue));
    Bytes labl;
    test::Put32(labl, 4);
    test::Put(labl, "marker");
    labl.push_back(0);
    test::Append(chunks, test::List("adtl", Chunk("labl", labl)));
    test::Append(chunks, Chunk("bext", Bytes(602, 'b')));
    test::Append(chunks, test::List("INFO", Chunk("ISFT", {'q', 'v', 0})));
    const size_t dataOffset = 12 + chunks.size() + 8;
    test::Append(chunks, Chunk("data", test::PatternBytes(100)));
    test::Append(chunks, test::List("INFO", Chunk("ICMT", {'e', 'n', 'd', 0})));
    return {"rich", test::Riff(chunks), dataOffset, 100};
}

Sample WriterFile(int32_t bitCode, uint16_t channels, uint32_t dataBytes) {
    Bytes file = BuildWaveHeader(MakeOutputFormat(8000, bitCode, channels), 1, dataBytes);
    const size_t offset = file.size();
    test::Append(file, test::PatternBytes(dataBytes, 99));
    if (dataBytes & 1)
        file.push_back(0);
    return {"writer", file, offset, dataBytes};
}

Sample Rf64File() {
    Bytes chunks = Chunk("ds64", test::Ds64Content(4 + 36 + 24 + 8 + 96 + 12, 96, 24));
    test::Append(chunks, Chunk("fmt ", FmtContent(3, 1, 8000, 32)));
    test::Append(chunks, test::ChunkClaiming("data", 0xFFFFFFFFu, test::PatternBytes(96, 5)));
    test::Append(chunks, Chunk("tail", {1, 2, 3, 4}));
    return {"rf64", test::Rf64(chunks), 12 + 36 + 24 + 8, 96};
}

TEST(WaveReaderTruncationTest, EveryPrefixFailsCleanlyOrReadsAPrefix) {
    const Sample samples[] = {RichFile(), WriterFile(8, 1, 77), WriterFile(24, 6, 180), Rf64File()};
    for (const Sample& s : samples) {
        const Bytes data(s.file.begin() + static_cast<ptrdiff_t>(s.dataOffset),
                         s.file.begin() + static_cast<ptrdiff_t>(s.dataOffset + s.dataSize));
        size_t playableFrom = SIZE_MAX;
        for (size_t length = 0; length <= s.file.size(); ++length) {
            SCOPED_TRACE(testing::Message() << s.name << " cut at " << length);
            test::MemoryWave w(
                Bytes(s.file.begin(), s.file.begin() + static_cast<ptrdiff_t>(length)));
            if (w.Set()) {
                EXPECT_TRUE(IsReaderText(w.reader.GetErrorText())) << w.reader.GetErrorText();
                EXPECT_FALSE(w.reader.DataFileOpen());
                continue;
            }
            EXPECT_TRUE(w.reader.GetErrorText().empty());
            if (!w.playable)
                continue;
            playableFrom = std::min(playableFrom, length);
            // Whatever the cut leaves of the data; the frames count only whole ones.
            const size_t left = length > s.dataOffset ? length - s.dataOffset : 0;
            const size_t expected = std::min(left, s.dataSize);
            EXPECT_EQ(w.reader.Parsed().dataOffset, s.dataOffset);
            EXPECT_EQ(w.reader.Parsed().dataSize, expected);
            EXPECT_EQ(w.reader.GetDataFrameCount(), expected / w.format.blockAlign);
            const Bytes got = w.ReadData(5);
            ASSERT_EQ(got.size(), expected);
            EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
        }
        // Once the data chunk's header is there the file reads (what follows the data may be
        // cut anywhere, except inside a known chunk after it).
        EXPECT_EQ(playableFrom, s.dataOffset) << s.name;
    }
}

} // namespace
} // namespace qv
