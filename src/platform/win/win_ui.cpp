#include "platform/win/win_ui.h"

#include "platform/win/text_conversion.h"

namespace qv {

void PumpWindowMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) { // left for the message loop to end on
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

MsgResult WinUi::Message(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons, bool ownedByMain) {
    UINT type = buttons == MsgButtons::YesNoCancel ? MB_YESNOCANCEL
                : buttons == MsgButtons::YesNo     ? MB_YESNO
                                                   : MB_OK;
    switch (icon) {
    case MsgIcon::Warning:
        type |= MB_ICONWARNING;
        break;
    case MsgIcon::Question:
        type |= MB_ICONQUESTION;
        break;
    case MsgIcon::Information:
        type |= MB_ICONINFORMATION;
        break;
    case MsgIcon::Error:
        type |= MB_ICONERROR;
        break;
    }
    const HWND owner = ownedByMain ? owner_ : nullptr;
    switch (MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), type)) {
    case IDYES:
        return MsgResult::Yes;
    case IDNO:
        return MsgResult::No;
    case IDCANCEL:
        return MsgResult::Cancel;
    default:
        return MsgResult::Ok;
    }
}

void WinUi::Beep() {
    MessageBeep(MB_OK);
}

} // namespace qv
