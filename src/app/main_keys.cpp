#include "app/main_keys.h"

namespace qv {

KeyCommand MainKeyCommand(const KeyPress& key) {
    if (key.key == ' ')
        return key.focusKeepsSpace ? KeyCommand::None : KeyCommand::PlayOrStop;
    if (key.key == kKeyF1)
        return KeyCommand::Help;
    if (!key.ctrl || key.shift || key.alt)
        return KeyCommand::None;
    switch (key.key) {
    case 'D':
        return KeyCommand::Device;
    case 'O':
        return KeyCommand::Load;
    case 'S':
        return KeyCommand::Save;
    case 'W':
        return KeyCommand::Write;
    default:
        return KeyCommand::None;
    }
}

} // namespace qv
