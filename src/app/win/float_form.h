// "TFloatForm": the small read-out that floats beside the mouse over the filter plot: one or two
// lines on a coloured card with rounded corners. It never takes the focus; keys pressed while it
// is under the mouse go to the window it belongs to.
#pragma once

#include "platform/win/gdi.h"
#include "platform/win/window.h"

#include <string>
#include <vector>

namespace qv {

class FloatForm final : public WindowBase {
public:
    FloatForm(HINSTANCE instance, HWND owner);
    // Shows lines at the screen point cursor + (10, 10), kept inside bounds (screen
    // coordinates): left of the cursor past the right edge, above it past the bottom.
    void ShowAt(const std::vector<std::string>& lines, COLORREF colour, HFONT font, POINT cursor,
                const RECT& bounds);
    void Hide();
    const std::vector<std::wstring>& Lines() const { return lines_; }

private:
    void Paint();

    HWND owner_;
    std::vector<std::wstring> lines_;
    COLORREF colour_ = 0;
    HFONT font_ = nullptr;
};

} // namespace qv
