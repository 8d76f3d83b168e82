// F1's context numbers name pages that the help's sources hold, in both languages, and no others.
#include "app/help_topics.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv {
namespace {

TEST(HelpTopicsTest, EveryContextNamesAPageOfTheHelpsSources) {
    int pages = 0;
    for (unsigned long context = 0; context < 2100; ++context) {
        const std::string topic = HelpTopic(context);
        if (topic.empty())
            continue;
        ++pages;
        EXPECT_TRUE(std::filesystem::exists(std::string(QV_HELP_DIR) + "/" + topic)) << topic;
    }
    int sources = 0;
    for (const auto& f : std::filesystem::recursive_directory_iterator(QV_HELP_DIR))
        sources += f.path().extension() == ".htm";
    EXPECT_EQ(pages, sources); // every page reachable by a number
    EXPECT_EQ(HelpTopic(2), "en/index.htm");
    EXPECT_EQ(HelpTopic(1008), "ja/contents.htm");
    EXPECT_EQ(HelpTopic(1101), "ja/main_window.htm");
}

} // namespace
} // namespace qv
