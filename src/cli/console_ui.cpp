#include "cli/console_ui.h"

#include <cstdio>

namespace qv {

MsgResult ConsoleUi::Message(const std::string& text, const std::string& caption, MsgIcon icon,
                             MsgButtons buttons, bool ownedByMain) {
    (void)icon;
    (void)ownedByMain;
    ++shown_;
    std::fprintf(stderr, "\n[%s]\n%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgResult::Yes;
    }
    return MsgResult::Ok;
}

} // namespace qv
