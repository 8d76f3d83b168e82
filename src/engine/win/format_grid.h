// The format list's grid: a header row of bit lengths, a header column of sample rates and a
// cell per format, one of them selected; a double-click on a cell chooses it.
#pragma once

#include "engine/format_query.h"
#include "platform/win/window.h"

#include <functional>
#include <string>

namespace qv {

class FormatGrid final : public WindowBase {
public:
    FormatGrid(HINSTANCE instance, HWND parent, const RECT& place, HFONT font, std::string corner);

    void SetCell(int row, int column, const std::string& text); // 0-based data cells
    void Select(int row, int column);
    std::pair<int, int> Selected() const { return selected_; }
    std::string CellText(int row, int column) const { return cells_[row][column]; }
    void Enable(bool on);
    // A double-click on a data cell.
    std::function<void(int row, int column)> chosen;

private:
    void Paint(HDC dc);
    // The cell under a point, or {-1, -1}.
    std::pair<int, int> CellAt(POINT at) const;
    RECT CellRect(int gridRow, int gridColumn) const;

    HFONT font_;
    std::string corner_;
    std::array<std::array<std::string, 5>, 11> cells_{};
    std::pair<int, int> selected_{-1, -1};
    bool enabled_ = true;
};

} // namespace qv
