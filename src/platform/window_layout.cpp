#include "platform/window_layout.h"

#include <set>
#include <string>

namespace qv {

bool IsContainer(ControlKind kind) {
    return kind == ControlKind::GroupBox || kind == ControlKind::Panel || kind == ControlKind::Tab;
}

bool RectInside(const LayoutRect& inner, const LayoutRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

bool RectsOverlap(const LayoutRect& a, const LayoutRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

int TextRoom(ControlKind kind, int width) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::Toggle:
        return width - 8;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return width - 16; // the box and its gap
    case ControlKind::DropList:
    case ControlKind::DropEdit:
        return width - 23; // the arrow and the borders
    case ControlKind::GroupBox:
        return width - 16; // the caption sits in the frame's top line
    default:
        return width;
    }
}

int TextCellsUtf8(const char* text) {
    int cells = 0;
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        char32_t c = *p;
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (n > 1) {
            c &= 0x3F >> (n - 1);
            for (int k = 1; k < n && p[k]; ++k)
                c = (c << 6) | (p[k] & 0x3F);
        }
        for (int k = 0; k < n && *p; ++k)
            ++p;
        cells += c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F) ? 1 : 2;
    }
    return cells;
}

int TextCellsShiftJis(const char* text) {
    // Every byte is one cell: the half-width characters are single bytes, the full-width ones
    // double.
    return static_cast<int>(std::string(text).size());
}

std::vector<std::string> CheckLayout(const WindowLayout& layout) {
    std::vector<std::string> faults;
    const auto fault = [&](const LayoutCell& c, const std::string& what) {
        faults.push_back(std::string(layout.name) + " " + std::to_string(c.id) + ": " + what);
    };
    for (const LayoutRect& area : layout.areas) {
        if (!RectInside(area, layout.client))
            faults.push_back(std::string(layout.name) + ": an area lies outside the window");
    }
    std::set<int> ids;
    for (const LayoutCell& c : layout.cells) {
        if (c.id != 0 && !ids.insert(c.id).second)
            fault(c, "id used twice");
        if (c.area < 0 || c.area > static_cast<int>(layout.areas.size())) {
            fault(c, "no such area");
            continue;
        }
        const LayoutRect area =
            c.area == 0 ? layout.client
                        : LayoutRect{0, 0, layout.areas[c.area - 1].w, layout.areas[c.area - 1].h};
        if (!RectInside(c.rect, area))
            fault(c, "outside its area");
        const int room = TextRoom(c.kind, c.rect.w);
        for (int lang : {kJapanese, kEnglish}) {
            if (c.kind != ControlKind::Tab && 6 * TextCellsUtf8(c.caption(lang)) > room)
                fault(c, std::string("caption \"") + c.caption(lang) + "\" does not fit");
        }
        for (const char* item : c.items) {
            if (6 * TextCellsShiftJis(item) > room)
                fault(c, std::string("item \"") + item + "\" does not fit");
        }
    }
    for (const LayoutCell& a : layout.cells) {
        for (const LayoutCell& b : layout.cells) {
            if (&a >= &b || a.area != b.area || !RectsOverlap(a.rect, b.rect))
                continue;
            const bool together = a.exclusion == 0 || a.exclusion != b.exclusion;
            const bool contained = (IsContainer(a.kind) && RectInside(b.rect, a.rect)) ||
                                   (IsContainer(b.kind) && RectInside(a.rect, b.rect));
            if (together && !contained)
                fault(a, "overlaps " + std::to_string(b.id));
        }
    }
    return faults;
}

} // namespace qv
