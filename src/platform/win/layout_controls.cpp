#include "platform/win/layout_controls.h"

#include "platform/win/text_conversion.h"

#include <commctrl.h>

namespace qv {

const wchar_t* ControlClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
    case ControlKind::Toggle:
        return WC_BUTTONW;
    case ControlKind::DropList:
    case ControlKind::DropEdit:
        return WC_COMBOBOXW;
    case ControlKind::Edit:
        return WC_EDITW;
    case ControlKind::UpDown:
        return UPDOWN_CLASSW;
    case ControlKind::Progress:
        return PROGRESS_CLASSW;
    case ControlKind::Tab:
        return WC_TABCONTROLW;
    case ControlKind::Slider:
        return TRACKBAR_CLASSW;
    default:
        return WC_STATICW;
    }
}

DWORD ControlStyle(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
        return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::DefaultButton:
        return BS_DEFPUSHBUTTON | WS_TABSTOP;
    case ControlKind::CheckBox:
        return BS_AUTOCHECKBOX | WS_TABSTOP;
    case ControlKind::RadioButton:
        return BS_AUTORADIOBUTTON;
    case ControlKind::GroupBox:
        return BS_GROUPBOX;
    case ControlKind::Toggle:
        return BS_CHECKBOX | BS_PUSHLIKE; // its owner sets it down or up
    case ControlKind::Slider:
        return TBS_HORZ | TBS_NOTICKS | WS_TABSTOP;
    case ControlKind::DropList:
        return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::DropEdit:
        return CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::Edit:
        return ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    case ControlKind::RightLabel:
        return SS_RIGHT;
    case ControlKind::UnitLabel:
        return SS_NOTIFY | SS_CENTER;
    case ControlKind::Meter:
        return SS_CENTER | SS_SUNKEN;
    case ControlKind::Link:
        return SS_NOTIFY;
    case ControlKind::Panel:
        return SS_OWNERDRAW;
    default:
        return 0;
    }
}

RECT PlacedRect(ControlKind kind, const LayoutRect& r, UINT dpi) {
    const auto px = [dpi](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };
    const bool list = kind == ControlKind::DropList || kind == ControlKind::DropEdit;
    return {px(r.x), px(r.y), px(r.w), list ? px(200) : px(r.h)}; // left, top, width, height
}

HWND CreateLayoutControl(HINSTANCE instance, HWND parent, int id, ControlKind kind,
                         const LayoutRect& rect, const std::wstring& text, UINT dpi, HFONT font,
                         DWORD extraStyle) {
    const RECT p = PlacedRect(kind, rect, dpi);
    const HWND h = CreateWindowExW(
        0, ControlClass(kind), text.c_str(),
        WS_CHILD | WS_CLIPSIBLINGS | ControlStyle(kind) | extraStyle, p.left, p.top, p.right,
        p.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

HWND LayoutControls::Add(HINSTANCE instance, HWND parent, const LayoutCell& cell, int languageIndex,
                         UINT dpi, HFONT font, DWORD extraStyle) {
    const HWND h =
        CreateLayoutControl(instance, parent, cell.id, cell.kind, cell.rect,
                            Utf8ToWide(cell.caption(languageIndex)), dpi, font, extraStyle);
    controls_.push_back({cell, h});
    return h;
}

void LayoutControls::Relayout(UINT dpi, HFONT font) {
    for (const Control& c : controls_) {
        const RECT p = PlacedRect(c.cell.kind, c.cell.rect, dpi);
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(c.hwnd, nullptr, p.left, p.top, p.right, p.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(c.hwnd, nullptr, TRUE);
    }
}

void StackUnder(HWND container) {
    SetWindowPos(container, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void LayoutControls::StackContainers() {
    for (const Control& c : controls_) {
        if (IsContainer(c.cell.kind))
            StackUnder(c.hwnd);
    }
}

HWND LayoutControls::Find(int id) const {
    for (const Control& c : controls_) {
        if (c.cell.id == id)
            return c.hwnd;
    }
    return nullptr;
}

} // namespace qv
