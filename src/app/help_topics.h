// The pages of the help file QV.chm by their context numbers: 2 the start page, 8 the contents,
// 101 ... 114 a page per window, the keyboard, the command line, qvrender and each file
// format; the Japanese page of a topic is its number + 1000. The program opens a page by its
// path inside the file (the compiler on this side does not keep a usable context map).
#pragma once

#include <string>

namespace qv {

// The page of each window that has its own (English numbers).
enum class HelpPage : unsigned long {
    MainWindow = 101,
    DeviceDialog,
    FormatList,
    FilterEditor,
    FilterPoint,
    UserWave,
    FreqBar,
};

// "en/main_window.htm" for 101, "ja/main_window.htm" for 1101; "" for a number without a page.
std::string HelpTopic(unsigned long context);

} // namespace qv
