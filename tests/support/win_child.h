// A window's descendant by its control id (nullptr when it has none), for the Windows tests and
// the probe of the GUI scripts.
#pragma once

#include <windows.h>

namespace qv::test {

inline HWND Child(HWND top, int id) {
    struct Search {
        int id;
        HWND found = nullptr;
    } search{id};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM l) {
            auto* s = reinterpret_cast<Search*>(l);
            if (GetDlgCtrlID(h) != s->id)
                return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace qv::test
