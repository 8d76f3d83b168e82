// A text write that runs out of space: a child process gets a small file-size limit and writes;
// the failure must be reported and leave no file behind.
#include "file_size_limit.h"
#include "files/text_writer.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace qv {
namespace {

namespace fs = std::filesystem;

// 10 + the writer's result, or the failure codes of WriteUnderFileSizeLimit.
int WriteTextUnderLimit(const std::string& path, rlim_t limit, uint64_t frames) {
    return test::WriteUnderFileSizeLimit(path, limit, [&](test::RecordingUi& ui) {
        test::ScriptedKeys keys;
        std::string name = path;
        TextWriteJob job{.lastTextFile = name,
                         .format = MakeOutputFormat(48000, 16, 2),
                         .frames = frames,
                         .blocks = {.writeBlockBytes = 4000,
                                    .fill = test::ConstantFill(0x5A),
                                    .afterBlock = {},
                                    .progress = {},
                                    .ui = ui,
                                    .keys = keys,
                                    .languageIndex = 1,
                                    .caption = "Quorvale - " + path}};
        return WriteTextFile(job);
    });
}

TEST(TextWriteFailureTest, AFullDiskMidFileReportsAndDeletes) {
    const std::string path = (fs::temp_directory_path() / "qv_full_disk_text.QVT").string();
    EXPECT_EQ(WriteTextUnderLimit(path, 20000, 100000), 9); // 10 + (-1)
    EXPECT_FALSE(fs::exists(path));
}

// The limit falls inside the last, short line (values "23130," are six bytes each; the header
// of these settings is 119 bytes, a full line 61).
TEST(TextWriteFailureTest, ARefusedLastShortLineReportsAndDeletes) {
    const std::string path = (fs::temp_directory_path() / "qv_full_disk_last.QVT").string();
    EXPECT_EQ(WriteTextUnderLimit(path, 119 + 61 + 10, 7), 9); // 14 values: one full line + 4
    EXPECT_FALSE(fs::exists(path));
}

TEST(TextWriteFailureTest, ARefusedHeaderReportsAndDeletes) {
    const std::string path = (fs::temp_directory_path() / "qv_full_disk_head.QVT").string();
    EXPECT_EQ(WriteTextUnderLimit(path, 20, 0), 9);
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
} // namespace qv
