// The main window's control area as data: every control with its kind, parent, position and
// size in 96-DPI pixels (scaled by the monitor's DPI when the window is built), the model control
// it shows, and its caption in both languages. Built for a 6 x 12 pixel font: 556 pixels wide,
// 239 high above the display panel.
#pragma once

#include "app/control_changes.h"
#include "platform/language.h"
#include "platform/window_layout.h"

#include <span>

namespace qv {

enum class LayoutParent : uint8_t { Window, Page1, Page2 };

// What a row shows: a slot control of its slot, a tool-bar control, or only its caption.
enum class RowRole : uint8_t {
    Slot,
    Toolbar,
    Caption,
    FreqUnit, // the unit labels of a slot's frequency, amplitude and offset
    AmpUnit,
    OffsetUnit,
    FreqUpDown, // the masters' up/down buttons
    AmpUpDown,
    Play,
    Stop,
    Tabs,
};

struct LayoutRow {
    int id; // the control id its notifications carry
    ControlKind kind;
    LayoutParent parent;
    LayoutRect rect; // in the parent's client area
    RowRole role;
    int slot; // -1 outside the slot groups
    SlotControl slotControl;
    ToolbarControl toolbarControl;
    Text2 caption; // UTF-8; empty for controls that show the model's text
    // Rows with the same non-zero exclusion are never visible together (they may share space).
    int exclusion;
    Text2 hint = {"", ""}; // the tooltip of a control whose hint does not change
};

inline constexpr LayoutRect kMainClientArea{0, 0, 556, 239};
// The exclusion of the format boxes and the progress bar that replaces them during a write.
inline constexpr int kFormatOrProgress = 2;
inline constexpr int kProgressBarId = 2104;
inline constexpr int kFilterPanelId = 2102; // the panel behind the filter box
// The area of the pages, in the window's client area (inside the tab control).
inline constexpr LayoutRect kPageArea{2, 76, 552, 160};

std::span<const LayoutRow> MainLayout();
// The same table as the layout check reads every window's: the pages are areas 1 and 2.
const WindowLayout& MainWindowLayout();

} // namespace qv
