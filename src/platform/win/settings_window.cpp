#include "platform/win/settings_window.h"

#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr wchar_t kClass[] = L"TSettingsForm";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

} // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                               Text2 caption, const WindowLayout& layout, POINT at)
    : owner_(owner), layout_(layout), baseFont_(font), fontDpi_(DpiOf(owner)) {
    On(WM_COMMAND, [this](const WindowMessage& m) {
        const int id = LOWORD(m.w);
        if (id == IDCANCEL || id == kCloseId) { // Esc, Close
            cancelled_ = id == IDCANCEL;
            closed_ = closed_ || OnClose();
        } else if (ready_ && !showing_ && OnCommand(id, HIWORD(m.w)))
            AfterChange();
        return LRESULT{0};
    });
    On(WM_CLOSE, [this](const WindowMessage&) {
        cancelled_ = true;
        closed_ = closed_ || OnClose();
        return LRESULT{0};
    });
    Blueprint plan{kClass, kStyle, kExStyle, owner};
    const std::wstring title = Utf8ToWide(caption(languageIndex));
    plan.title = title.c_str();
    CreateWindowOf(instance, plan);
    const SIZE size = FrameSize();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = std::clamp<int>(at.x, work.left, std::max<int>(work.left, work.right - size.cx));
    const int y = std::clamp<int>(at.y, work.top, std::max<int>(work.top, work.bottom - size.cy));
    SetWindowPos(Hwnd(), nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT shown = font;
    if (Dpi() != fontDpi_) {
        scaledFont_.Reset(ScaledFont(font, fontDpi_, Dpi()));
        shown = scaledFont_;
    }
    for (const LayoutCell& cell : layout.cells) {
        if (cell.kind == ControlKind::Custom)
            continue; // the derived window makes it
        const HWND h = controls_.Add(instance, Hwnd(), cell, languageIndex, Dpi(), shown,
                                     WS_VISIBLE | (cell.groupStart ? WS_GROUP | WS_TABSTOP : 0));
        for (const char* item : cell.items)
            SendMessageW(h, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(ShiftJisToWide(item).c_str()));
    }
    controls_.StackContainers();
}

SIZE SettingsWindow::FrameSize() const {
    RECT frame{0, 0, Scale(layout_.client.w), Scale(layout_.client.h)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void SettingsWindow::DpiChanged() {
    scaledFont_.Reset(ScaledFont(baseFont_, fontDpi_, Dpi()));
    controls_.Relayout(Dpi(), scaledFont_);
    const SIZE size = FrameSize();
    SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void SettingsWindow::RunModal() {
    EnableWindow(owner_, FALSE);
    ShowWindow(Hwnd(), SW_SHOW);
    MSG msg;
    while (!closed_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program's quit is for the main loop: the window closes and passes it on.
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            cancelled_ = true;
            closed_ = OnClose();
        } else if (!IsDialogMessageW(Hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EnableWindow(owner_, TRUE);
    ShowWindow(Hwnd(), SW_HIDE);
    SetActiveWindow(owner_);
}

RECT SettingsWindow::CellRect(int id) const {
    for (const LayoutCell& cell : layout_.cells) {
        if (cell.id == id)
            return Scale(cell.rect);
    }
    return {};
}

void SettingsWindow::SetHint(int id, const std::string& text) {
    hints_.Add(Hwnd(), Hwnd(), Control(id), text);
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

void SettingsWindow::SetText(int box, const std::string& text) {
    const Showing showing(*this);
    SetWindowTextW(Control(box), ShiftJisToWide(text).c_str());
}

} // namespace qv
