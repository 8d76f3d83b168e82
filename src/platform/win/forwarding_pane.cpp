#include "platform/win/forwarding_pane.h"

namespace qv {

ForwardingPane::ForwardingPane(HINSTANCE instance, HWND parent, HWND handler, const RECT& area) {
    for (UINT message :
         {WM_COMMAND, WM_NOTIFY, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CONTEXTMENU})
        On(message,
           [handler](const WindowMessage& m) { return SendMessageW(handler, m.id, m.w, m.l); });
    CreateWindowOf(instance,
                   {L"QvPage",
                    WS_CHILD | WS_CLIPSIBLINGS,
                    WS_EX_CONTROLPARENT,
                    parent,
                    0,
                    L"",
                    {area.left, area.top, area.right - area.left, area.bottom - area.top}});
}

} // namespace qv
