// Controls made from the rows of a window's layout table, placed at the window's DPI and placed
// again when it changes.
#pragma once

#include "platform/window_layout.h"

#include <windows.h>

#include <string>
#include <vector>

namespace qv {

const wchar_t* ControlClass(ControlKind kind);
DWORD ControlStyle(ControlKind kind);

// A control's rectangle in pixels at dpi; a drop-down list's height is that of its open list.
RECT PlacedRect(ControlKind kind, const LayoutRect& r, UINT dpi);

// Creates a control of a kind at a table's place (scaled to dpi) with its text and font; hidden
// unless extraStyle says WS_VISIBLE.
HWND CreateLayoutControl(HINSTANCE instance, HWND parent, int id, ControlKind kind,
                         const LayoutRect& rect, const std::wstring& text, UINT dpi, HFONT font,
                         DWORD extraStyle = 0);

// A container (group, panel, tab) goes under its siblings, so the controls it holds show.
void StackUnder(HWND container);

// The controls of one window (or one area of it), each with the cell it was made from.
class LayoutControls {
public:
    struct Control {
        LayoutCell cell;
        HWND hwnd;
    };

    // Creates the control of a cell in parent with its caption in the language, its kind's
    // style plus extraStyle, and font.
    HWND Add(HINSTANCE instance, HWND parent, const LayoutCell& cell, int languageIndex, UINT dpi,
             HFONT font, DWORD extraStyle = 0);
    // Every control at the new DPI with the new font (WM_DPICHANGED).
    void Relayout(UINT dpi, HFONT font);
    // The containers under the controls they hold (after the last Add).
    void StackContainers();

    HWND Find(int id) const;
    std::vector<Control>& All() { return controls_; }
    const std::vector<Control>& All() const { return controls_; }

private:
    std::vector<Control> controls_;
};

} // namespace qv
