#include "platform/win/control_hooks.h"

#include <commctrl.h>

namespace qv {

namespace {

LRESULT CALLBACK ContextProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR click,
                             DWORD_PTR target) {
    const auto to = reinterpret_cast<HWND>(target);
    if (click == static_cast<UINT_PTR>(ContextClick::Field) && message == WM_CONTEXTMENU)
        return SendMessageW(to, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetParent(hwnd)), l);
    if (click == static_cast<UINT_PTR>(ContextClick::ButtonDown)) {
        // Posted, so the window it opens does not run inside the control's mouse handling.
        if (message == WM_RBUTTONDOWN) {
            PostMessageW(to, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                         static_cast<LPARAM>(GetMessagePos()));
            return 0;
        }
        if (message == WM_RBUTTONUP)
            return 0;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

} // namespace

void ForwardContextMenu(HWND control, HWND target, ContextClick click) {
    SetWindowSubclass(control, ContextProc, static_cast<UINT_PTR>(click),
                      reinterpret_cast<DWORD_PTR>(target));
}

} // namespace qv
