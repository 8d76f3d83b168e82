#include "app/help_topics.h"

namespace qv {

namespace {

constexpr const char* kPages[] = {"main_window",  "device_dialog", "format_list", "filter_editor",
                                  "filter_point", "user_wave",     "freq_bar",    "keyboard",
                                  "command_line", "qvrender",      "param_file",  "settings_file",
                                  "text_format",  "filter_file"}; // 101 ... 114

} // namespace

std::string HelpTopic(unsigned long context) {
    const std::string folder = context >= 1000 ? "ja/" : "en/";
    const unsigned long id = context % 1000;
    if (context >= 2000)
        return {};
    if (id == 2)
        return folder + "index.htm";
    if (id == 8)
        return folder + "contents.htm";
    if (id >= 101 && id < 101 + std::size(kPages))
        return folder + kPages[id - 101] + ".htm";
    return {};
}

} // namespace qv
