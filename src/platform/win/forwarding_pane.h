// A plain child window that holds controls and hands their notifications (commands, notices,
// colours, context menus) to another window, which handles them as its own: a tab page.
#pragma once

#include "platform/win/window.h"

namespace qv {

class ForwardingPane final : public WindowBase {
public:
    // Created hidden at area (pixels of the parent's client area).
    ForwardingPane(HINSTANCE instance, HWND parent, HWND handler, const RECT& area);
};

} // namespace qv
