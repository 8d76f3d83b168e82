// Windows as data: every control of a window with its kind, container, place and size in
// 96-DPI pixels (scaled by the window's DPI when it is built), its caption in both languages and
// the fixed items of its list. One check holds every window's table to the same rules: each
// control inside its container, no two that can be seen together overlapping, and every caption
// and item fitting its control in the 6 x 12 pixel cell the windows are made for.
#pragma once

#include "platform/language.h"

#include <span>
#include <string>
#include <vector>

namespace qv {

enum class ControlKind : uint8_t {
    Button,
    DefaultButton, // the button Enter clicks
    CheckBox,
    RadioButton,
    DropList, // a drop-down list
    DropEdit, // a drop-down list with a text field
    Edit,
    Label,
    RightLabel, // a label whose text ends at its right edge
    UnitLabel,  // a label that opens the unit menu and cycles the unit on a double-click
    Meter,      // a sunken box with a centred reading
    Link,       // a label that opens something when clicked
    GroupBox,
    UpDown,
    Progress,
    Panel,
    Tab,
    Slider, // a track bar
    Toggle, // a push button that stays down until it is pressed again
    Custom, // a window of the program's own that draws itself
};

struct LayoutRect {
    int x, y, w, h;
};

// Containers hold other cells: groups, panels and tab controls.
bool IsContainer(ControlKind kind);
bool RectInside(const LayoutRect& inner, const LayoutRect& outer);
bool RectsOverlap(const LayoutRect& a, const LayoutRect& b);

// The pixels of a control's width its text may take (the rest is arrow, box or border).
int TextRoom(ControlKind kind, int width);

// Text width in cells of the 6 x 12 font: ASCII and half-width katakana one cell, every other
// character two (UTF-8 or Shift-JIS text).
int TextCellsUtf8(const char* text);
int TextCellsShiftJis(const char* text);

struct LayoutCell {
    int id;
    ControlKind kind;
    int area; // the area it lies in: 0 the client area, else an index into WindowLayout::areas
    LayoutRect rect;
    Text2 caption = {"", ""};
    // Cells with the same non-zero exclusion are never visible together (they may share space).
    int exclusion = 0;
    std::span<const char* const> items = {}; // a list's fixed items (Shift-JIS)
    bool groupStart = false; // the first control of a group the arrow keys move within
};

struct WindowLayout {
    const char* name;
    LayoutRect client;
    // Areas below the client area (tab pages): areas[k - 1] is area k, in client coordinates;
    // its cells are placed in the area's own coordinates.
    std::vector<LayoutRect> areas;
    std::vector<LayoutCell> cells;
};

// The Close button of a modal window (Enter as well).
inline constexpr int kCloseButtonId = 1;

// What is wrong with a table, one line per fault; empty when it holds.
std::vector<std::string> CheckLayout(const WindowLayout& layout);

} // namespace qv
