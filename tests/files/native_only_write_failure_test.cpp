// Running out of space in the middle of a file: a child process gets a small file-size limit
// and writes; the write must be reported and leave no file behind.
#include "file_size_limit.h"
#include "files/disk_space.h"
#include "files/wave_writer.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace qv {
namespace {

namespace fs = std::filesystem;

// 10 + the writer's result, or the failure codes of WriteUnderFileSizeLimit.
int WriteUnderLimit(const std::string& path, rlim_t limit, uint64_t dataBytes) {
    return test::WriteUnderFileSizeLimit(path, limit, [&](test::RecordingUi& ui) {
        test::ScriptedKeys keys;
        std::string name = path;
        WaveWriteJob job{.lastWaveFile = name,
                         .format = MakeOutputFormat(48000, 16, 2),
                         .rateFactor = 1,
                         .dataBytes = dataBytes,
                         .blocks = {.writeBlockBytes = 4096,
                                    .fill = test::ConstantFill(0x5A),
                                    .afterBlock = {},
                                    .progress = {},
                                    .ui = ui,
                                    .keys = keys,
                                    .languageIndex = 1,
                                    .caption = "Quorvale - " + path}};
        return WriteWaveFile(job);
    });
}

TEST(WriteFailureTest, AFullDiskMidFileReportsAndDeletes) {
    const std::string path = (fs::temp_directory_path() / "qv_full_disk_test.wav").string();
    EXPECT_EQ(WriteUnderLimit(path, 20000, 100000), 9); // 10 + (-1)
    EXPECT_FALSE(fs::exists(path));
}

TEST(WriteFailureTest, ARefusedHeaderReportsAndDeletes) {
    const std::string path = (fs::temp_directory_path() / "qv_full_disk_header.wav").string();
    EXPECT_EQ(WriteUnderLimit(path, 20, 100000), 9);
    EXPECT_FALSE(fs::exists(path));
}

TEST(DiskSpaceTest, ReportsTheShortageWithBothSizes) {
    test::RecordingUi ui;
    std::string path = (fs::temp_directory_path() / "big.wav").string();
    uint64_t available = 0;
    EXPECT_TRUE(CheckDiskSpace(path, &available, "cap", 1, 1, ui));
    EXPECT_GT(available, 0u);
    EXPECT_TRUE(ui.messages.empty());
    const uint64_t huge = 1ull << 62;
    EXPECT_FALSE(CheckDiskSpace(path, &available, "cap", 1, huge, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    const test::RecordedMessage& m = ui.messages[0];
    const std::string dir = fs::temp_directory_path().string();
    const std::string expected = "Insufficient disk space on disk " + dir + "   (" +
                                 MegabyteText(available) + ")\n\n" + path + "  (" +
                                 MegabyteText(huge) + ")";
    // The free count may move between the two queries; compare the shape around it.
    EXPECT_EQ(m.text.substr(0, m.text.find('(')), expected.substr(0, expected.find('(')));
    EXPECT_NE(m.text.find(")\n\n" + path + "  (4398046511104.00MB)"), std::string::npos);
    EXPECT_EQ(m.caption, "cap");
    EXPECT_FALSE(m.ownedByMain);
    EXPECT_EQ(MegabyteText(1048576 + 10486 * 7), "1.07MB");
    EXPECT_EQ(MegabyteText(10485), "0.00MB");
}

} // namespace
} // namespace qv
