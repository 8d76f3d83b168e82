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

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, bool buttonFace,
                         HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    wc.hbrBackground = buttonFace ? reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1) : nullptr;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
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
