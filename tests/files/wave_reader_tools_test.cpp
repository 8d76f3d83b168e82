// Files made by sox, ffmpeg and sndfile-convert (tests/files/wave_tool_files.sh makes them and
// runs this test with QV_WAVE_TOOL_MANIFEST set; without it the test is skipped): the reader
// must give the format the tool wrote, the frame count libsndfile sees and exactly the sample
// bytes the tool was given, and must stay sound when the files are cut at every byte.
#include "wave_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace qv {
namespace {

using test::Bytes;

struct ToolFile {
    std::string wav, raw;
    unsigned tag = 0, channels = 0, rate = 0, bits = 0;
    uint64_t frames = 0;
    int isFloat = 0, playable = 0, rf64 = 0, bext = 0;
};

Bytes Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The manifest's folder, as the platform spells it (a Windows path under Wine).
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<ToolFile> LoadManifest(const std::string& path) {
    std::vector<ToolFile> files;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::istringstream fields(line);
        ToolFile f;
        fields >> f.wav >> f.raw >> f.tag >> f.channels >> f.rate >> f.bits >> f.frames >>
            f.isFloat >> f.playable >> f.rf64 >> f.bext;
        if (!fields)
            ADD_FAILURE() << "bad manifest line: " << line;
        else
            files.push_back(f);
    }
    return files;
}

TEST(WaveReaderToolFiles, ReadAsTheToolsWroteThem) {
    const char* manifest = std::getenv("QV_WAVE_TOOL_MANIFEST");
    if (manifest == nullptr || *manifest == 0)
        GTEST_SKIP() << "run by tests/files/wave_reader_tools_test.sh";
    const std::string folder = FolderOf(manifest);
    const std::vector<ToolFile> files = LoadManifest(manifest);
    ASSERT_GE(files.size(), 90u);
    for (const ToolFile& f : files) {
        SCOPED_TRACE(f.wav);
        test::RecordingUi ui;
        NoKeysDown keys;
        WaveReader reader(WaveReaderEnvironment{ui, keys}); // the real file system
        WaveFormatRecord format{};
        bool playable = false;
        uint32_t floatBits = 0xDEAD;
        ASSERT_FALSE(reader.SetSource(folder + f.wav, format, playable, floatBits))
            << reader.GetErrorText();
        EXPECT_EQ(format.formatTag, f.tag);
        EXPECT_EQ(format.channels, f.channels);
        EXPECT_EQ(format.sampleRate, f.rate);
        EXPECT_EQ(reader.Parsed().isRf64, f.rf64 != 0);
        EXPECT_EQ(reader.Parsed().hasBext, f.bext != 0);
        EXPECT_EQ(playable, f.playable != 0);
        if (!f.playable) {
            EXPECT_EQ(ui.messages.size(), 1u);
            EXPECT_FALSE(reader.OpenWaveFile(false));
            continue;
        }
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(format.bitsPerSample, f.bits);
        EXPECT_EQ(format.blockAlign, f.channels * f.bits / 8);
        EXPECT_EQ(format.avgBytesPerSec, f.rate * format.blockAlign);
        EXPECT_EQ(floatBits, f.isFloat ? 32u : 0u);
        if (format.formatTag == kFormatTagExtensible) {
            EXPECT_EQ(format.extensionSize, 22);
            EXPECT_EQ(format.subFormat, f.isFloat ? kSubFormatFloat : kSubFormatPcm);
        }
        EXPECT_EQ(reader.GetDataFrameCount(), f.frames);

        // The dialog's sequence, in pieces of 7 frames.
        const Bytes raw = Load(folder + f.raw);
        ASSERT_FALSE(raw.empty());
        ASSERT_TRUE(reader.OpenWaveFile(false));
        Bytes data, piece(7 * format.blockAlign);
        for (;;) {
            const size_t got = reader.ReadWaveData(piece.data(), piece.size());
            data.insert(data.end(), piece.begin(), piece.begin() + static_cast<ptrdiff_t>(got));
            if (got < piece.size())
                break;
        }
        reader.CloseWaveFile();
        // Every data byte comes, a last partial frame included.
        ASSERT_EQ(data.size(), reader.Parsed().dataSize);
        EXPECT_EQ(data.size() / format.blockAlign, f.frames);
        // ffmpeg counts the pad byte of odd RF64 data in ds64; libsndfile and we take it as data.
        EXPECT_TRUE(std::equal(raw.begin(), raw.end(), data.begin()));
        EXPECT_LE(data.size() - raw.size(), 1u);
    }
}

TEST(WaveReaderToolFiles, CutAtEveryByte) {
    const char* manifest = std::getenv("QV_WAVE_TOOL_MANIFEST");
    if (manifest == nullptr || *manifest == 0)
        GTEST_SKIP() << "run by tests/files/wave_reader_tools_test.sh";
    const std::string folder = FolderOf(manifest);
    int checked = 0;
    for (const ToolFile& f : LoadManifest(manifest)) {
        // A few files of each tool and form.
        if (f.wav != "sox_s24_3.wav" && f.wav != "sox_u8_1.wav" && f.wav != "ff_bwf.wav" &&
            f.wav != "ff_bwf_rf64.wav" && f.wav != "ff_junk.wav" && f.wav != "sf_f32_2.wav" &&
            f.wav != "sf_s16_8.rf64")
            continue;
        ++checked;
        const Bytes file = Load(folder + f.wav);
        const Bytes raw = Load(folder + f.raw);
        test::MemoryWave whole(file);
        ASSERT_FALSE(whole.Set()) << f.wav;
        const uint64_t offset = whole.reader.Parsed().dataOffset;
        for (size_t length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(testing::Message() << f.wav << " cut at " << length);
            test::MemoryWave w(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
            if (w.Set()) {
                EXPECT_FALSE(w.reader.GetErrorText().empty());
                continue;
            }
            if (!w.playable)
                continue;
            const Bytes got = w.ReadData(5);
            EXPECT_EQ(w.reader.Parsed().dataOffset, offset);
            ASSERT_LE(got.size(), raw.size() + 1);
            ASSERT_EQ(got.size(),
                      std::min<uint64_t>(length - offset, whole.reader.Parsed().dataSize));
            EXPECT_TRUE(std::equal(
                got.begin(), got.begin() + static_cast<ptrdiff_t>(std::min(got.size(), raw.size())),
                raw.begin()));
        }
    }
    EXPECT_EQ(checked, 7);
}

} // namespace
} // namespace qv
