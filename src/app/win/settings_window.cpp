#include "app/win/settings_window.h"

#include "platform/win/text_conversion.h"
#include "platform/win/win_ui.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr wchar_t kClass[] = L"TSettingsForm";

} // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                               const wchar_t* caption, SIZE client,
                               std::span<const SettingsRow> rows, POINT at)
    : owner_(owner) {
    RegisterWindowClass(instance, kClass, Proc);
    const HDC screen = GetDC(owner);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(owner, screen);
    const auto px = [dpi](LONG v) { return MulDiv(v, dpi > 0 ? dpi : 96, 96); };
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, px(client.cx), px(client.cy)};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = std::clamp<int>(at.x, work.left, std::max<int>(work.left, work.right - width));
    const int y = std::clamp<int>(at.y, work.top, std::max<int>(work.top, work.bottom - height));
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClass, caption, style, x, y,
                            width, height, owner, nullptr, instance, this);
    for (const SettingsRow& r : rows) {
        const HWND h = CreateWindowExW(
            0, r.cls, Utf8ToWide(r.caption(languageIndex)).c_str(), WS_CHILD | WS_VISIBLE | r.style,
            px(r.rect.left), px(r.rect.top), px(r.rect.right), px(r.rect.bottom), hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(r.id)), instance, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

SettingsWindow::~SettingsWindow() {
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

void SettingsWindow::RunModal() {
    EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    MSG msg;
    while (!closed_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            closed_ = true;
        else if (!IsDialogMessageW(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EnableWindow(owner_, TRUE);
    ShowWindow(hwnd_, SW_HIDE);
    SetActiveWindow(owner_);
}

std::string SettingsWindow::ChosenText(int box, int code) const {
    std::array<wchar_t, 64> text{};
    const HWND h = Control(box);
    const auto i = code == CBN_SELCHANGE ? SendMessageW(h, CB_GETCURSEL, 0, 0) : -1;
    if (i >= 0 && SendMessageW(h, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(text.size()))
        SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    else
        GetWindowTextW(h, text.data(), static_cast<int>(text.size()));
    return WideToShiftJis(text.data());
}

void SettingsWindow::Fill(int box, std::span<const char* const> items, const std::string& text) {
    const Showing showing(*this);
    for (const char* item : items)
        SendMessageW(Control(box), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(ShiftJisToWide(item).c_str()));
    SetText(box, text);
}

void SettingsWindow::SetText(int box, const std::string& text) {
    const Showing showing(*this);
    SetWindowTextW(Control(box), ShiftJisToWide(text).c_str());
}

LRESULT CALLBACK SettingsWindow::Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (self && (LOWORD(w) == IDCANCEL || LOWORD(w) == kCloseId)) // Esc, Close
            self->closed_ = true;
        else if (self && self->ready_ && !self->showing_ && self->OnCommand(LOWORD(w), HIWORD(w)))
            self->AfterChange();
        return 0;
    case WM_CLOSE:
        if (self)
            self->closed_ = true;
        return 0;
    default:
        return DefWindowProcW(hwnd, message, w, l);
    }
}

} // namespace qv
