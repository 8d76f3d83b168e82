// The main window's keyboard: it sees every key first. Space plays or stops (with or without
// Ctrl) unless a control that keeps Space for itself has the focus; Ctrl alone with D, O, S or W
// clicks the device, load, save or write button; F1 opens the help.
#pragma once

namespace qv {

struct KeyPress {
    unsigned key; // the virtual-key code: ' ', 'A' ... 'Z', kKeyF1
    bool ctrl = false, shift = false, alt = false;
    bool focusKeepsSpace = false; // a slot check box or the comment box has the focus
};

inline constexpr unsigned kKeyF1 = 0x70;

enum class KeyCommand {
    None,    // not the main window's key: the focused control gets it
    Handled, // taken, and nothing more to do
    PlayOrStop,
    Help,
    // Ctrl with a letter: the window clicks the button (the session says so only while the
    // button is enabled).
    Device,
    Load,
    Save,
    Write,
};

KeyCommand MainKeyCommand(const KeyPress& key);

} // namespace qv
