// A text write that runs out of space: a child process gets a small file-size limit and writes;
// the failure must be reported and leave no file behind.
#include "fake_ui.h"
#include "files/text_writer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

// Exit codes of the child: 10 + the writer's result, 20 when a message other than the
// expected one came, 30 when the file was left on disk.
int WriteTextUnderLimit(const std::string& path, rlim_t limit, uint64_t frames) {
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit r {
            limit, limit
        };
        setrlimit(RLIMIT_FSIZE, &r);
        test::RecordingUi ui;
        test::ScriptedKeys keys;
        std::vector<uint8_t> buffer(4000, 0x5A);
        std::string name = path;
        TextWriteJob job{.lastTextFile = name,
                         .format = MakeOutputFormat(48000, 16, 2),
                         .buffer = buffer.data(),
                         .writeBlockBytes = 4000,
                         .frames = frames,
                         .fill = [](uint8_t*, uint32_t bytes, uint32_t) { return bytes; },
                         .afterBlock = {},
                         .progress = {},
                         .ui = ui,
                         .keys = keys,
                         .languageIndex = 1,
                         .caption = "Quorvale - " + path};
        const int result = WriteTextFile(job);
        if (ui.messages.size() != 1 || ui.messages[0].text != "Unable to write file.\n\n" + path)
            _exit(20);
        if (fs::exists(path))
            _exit(30);
        _exit(10 + result);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
