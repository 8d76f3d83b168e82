#include "engine/win/format_grid.h"

#include "engine/device_dialog_layout.h"
#include "platform/win/gdi.h"
#include "platform/win/text_conversion.h"

#include <windowsx.h>

#include <cstdio>

namespace qv {

FormatGrid::FormatGrid(HINSTANCE instance, HWND parent, const RECT& place, HFONT font,
                       std::string corner)
    : font_(font), corner_(std::move(corner)) {
    On(WM_PAINT, [this](const WindowMessage&) {
        PAINTSTRUCT ps;
        Paint(BeginPaint(Hwnd(), &ps));
        EndPaint(Hwnd(), &ps);
        return LRESULT{0};
    });
    On(WM_ERASEBKGND, [](const WindowMessage&) { return LRESULT{1}; });
    On(WM_LBUTTONDOWN, [this](const WindowMessage& m) {
        if (const auto cell = CellAt({GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l)});
            enabled_ && cell.first >= 0)
            Select(cell.first, cell.second);
        return LRESULT{0};
    });
    On(WM_LBUTTONDBLCLK, [this](const WindowMessage& m) {
        const auto cell = CellAt({GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l)});
        if (enabled_ && cell.first >= 0 && chosen)
            chosen(cell.first, cell.second);
        return LRESULT{0};
    });
    CreateWindowOf(instance,
                   {L"QvFormatGrid",
                    WS_CHILD | WS_VISIBLE | WS_BORDER,
                    0,
                    parent,
                    FormatListIds::kGrid,
                    L"",
                    {place.left, place.top, place.right - place.left, place.bottom - place.top},
                    nullptr,
                    false,
                    CS_DBLCLKS});
}

void FormatGrid::SetCell(int row, int column, const std::string& text) {
    cells_[row][column] = text;
    const RECT r = CellRect(row + 1, column + 1);
    InvalidateRect(Hwnd(), &r, FALSE);
}

void FormatGrid::Select(int row, int column) {
    selected_ = {row, column};
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void FormatGrid::Enable(bool on) {
    enabled_ = on;
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

RECT FormatGrid::CellRect(int gridRow, int gridColumn) const {
    const int header = Scale(kGridHeaderWidth), column = Scale(kGridColumnWidth);
    const int height = Scale(kGridRowHeight);
    const int left = gridColumn == 0 ? 0 : header + (gridColumn - 1) * column;
    const int width = gridColumn == 0 ? header : column;
    return {left, gridRow * height, left + width, (gridRow + 1) * height};
}

std::pair<int, int> FormatGrid::CellAt(POINT at) const {
    for (int r = 1; r <= 11; ++r) {
        for (int c = 1; c <= 5; ++c) {
            const RECT rc = CellRect(r, c);
            if (PtInRect(&rc, at))
                return {r - 1, c - 1};
        }
    }
    return {-1, -1};
}

void FormatGrid::Paint(HDC screen) {
    RECT all{};
    GetClientRect(Hwnd(), &all);
    const MemoryDc dc(screen);
    const Bitmap picture(CreateCompatibleBitmap(screen, all.right, all.bottom));
    const Selection bitmap(dc, picture);
    const Selection font(dc, font_);
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    const Pen linePen(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW)));
    const Selection pen(dc, linePen);
    SetBkMode(dc, TRANSPARENT);
    for (int r = 0; r <= 11; ++r) {
        for (int c = 0; c <= 5; ++c) {
            RECT rc = CellRect(r, c);
            std::string text;
            const bool header = r == 0 || c == 0;
            const bool selected = !header && selected_ == std::pair{r - 1, c - 1};
            char buffer[16];
            if (r == 0 && c == 0) {
                text = corner_;
            } else if (r == 0) {
                std::snprintf(buffer, sizeof buffer, "%6s", kFormatBitLabels[c - 1]);
                text = buffer;
            } else if (c == 0) {
                std::snprintf(buffer, sizeof buffer, "%7u", kFormatRates[r - 1]);
                text = buffer;
            } else {
                text = cells_[r - 1][c - 1];
            }
            FillRect(dc, &rc,
                     GetSysColorBrush(header     ? COLOR_BTNFACE
                                      : selected ? COLOR_HIGHLIGHT
                                                 : COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(selected   ? COLOR_HIGHLIGHTTEXT
                                         : enabled_ ? COLOR_WINDOWTEXT
                                                    : COLOR_GRAYTEXT));
            MoveToEx(dc, rc.right - 1, rc.top, nullptr);
            LineTo(dc, rc.right - 1, rc.bottom - 1);
            LineTo(dc, rc.left - 1, rc.bottom - 1);
            rc.right -= Scale(3);
            const std::wstring wide = Utf8ToWide(text);
            DrawTextW(dc, wide.c_str(), -1, &rc,
                      (header && r == 0 && c > 0 ? DT_RIGHT
                       : header                  ? DT_LEFT
                                                 : DT_RIGHT) |
                          DT_VCENTER | DT_SINGLELINE);
        }
    }
    BitBlt(screen, 0, 0, all.right, all.bottom, dc, 0, 0, SRCCOPY);
}

} // namespace qv
