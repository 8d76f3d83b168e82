// What the program adds to the system's own controls: their right click handed to a window of
// ours as WM_CONTEXTMENU, naming the control.
#pragma once

#include <windows.h>

namespace qv {

enum class ContextClick {
    Field,      // a combo box's text field: its menu gives way to the combo box's own
    ButtonDown, // a control that takes the press itself (up/down buttons): posted on the press
};

void ForwardContextMenu(HWND control, HWND target, ContextClick click);

} // namespace qv
