#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(CommandLineTest, FileTokenOptionAndPlayTime) {
    const std::string dir = "C:\\Quorvale\\";
    struct Case {
        const char *line, *path;
        bool autoPlay;
        long ms;
    };
    const Case cases[] = {
        {"", "", false, 0},
        {"tone.QV", "C:\\Quorvale\\tone.QV", false, 0},
        {"\"C:\\my sets\\a b.QV\" /P500", "C:\\my sets\\a b.QV", true, 500},
        {"\\\\server\\share\\x.QV /p", "\\\\server\\share\\x.QV", true, 0},
        {"sets\\y.QV  /Pabc", "C:\\Quorvale\\sets\\y.QV", true, 0},
        {"D:y.QV /Q", "D:y.QV", false, 0},
        {"\"unclosed name.QV", "C:\\Quorvale\\unclosed name.QV", false, 0},
    };
    for (const Case& c : cases) {
        const CommandLineRequest r = ParseCommandLine(c.line, dir);
        EXPECT_EQ(r.path, c.path) << c.line;
        EXPECT_EQ(r.autoPlay, c.autoPlay) << c.line;
        EXPECT_EQ(r.playMs, c.ms) << c.line;
    }
    EXPECT_EQ(AutoPlayMilliseconds(ParseCommandLine("a.QV /P", dir), 2.5), 2500);
    EXPECT_EQ(AutoPlayMilliseconds(ParseCommandLine("a.QV /P700", dir), 2.5), 700);
    EXPECT_EQ(AutoPlayMilliseconds(ParseCommandLine("a.QV /P", dir), -1), 0);
}

} // namespace
} // namespace qv
