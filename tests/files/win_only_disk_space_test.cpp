// Windows path rules of the free-space check: the current drive is prefixed to a path without
// one, and the message names the drive.
#include "files/disk_space.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <direct.h>

namespace qv {
namespace {

TEST(WinDiskSpaceTest, ARelativePathGetsTheCurrentDrive) {
    test::RecordingUi ui;
    std::string path = "take.wav";
    uint64_t available = 0;
    EXPECT_TRUE(CheckDiskSpace(path, &available, "cap", 1, 1, ui));
    const char drive = static_cast<char>('A' + _getdrive() - 1);
    EXPECT_EQ(path, std::string(1, drive) + ":take.wav");
    EXPECT_GT(available, 0u);
}

TEST(WinDiskSpaceTest, TheShortageMessageNamesTheDrive) {
    test::RecordingUi ui;
    std::string path = "C:\\out\\take.wav";
    EXPECT_FALSE(CheckDiskSpace(path, nullptr, "cap", 1, 1ull << 62, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Insufficient disk space on disk C:   (", 0), 0u)
        << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("\n\nC:\\out\\take.wav  (4398046511104.00MB)"),
              std::string::npos);
    EXPECT_FALSE(CheckDiskSpace(path, nullptr, "cap", 0, 1ull << 62, ui));
    EXPECT_EQ(ui.messages[1].text.rfind("ディスク C: の空き容量が足りません  (", 0), 0u);
}

} // namespace
} // namespace qv
