#include "app/win/float_form.h"

#include "platform/win/text_conversion.h"

#include <algorithm>

namespace qv {

namespace {

constexpr wchar_t kClass[] = L"TFloatForm";
constexpr size_t kMaxLineLength = 55;

} // namespace

FloatForm::FloatForm(HINSTANCE instance, HWND owner) : owner_(owner) {
    On(WM_PAINT, [this](const WindowMessage&) {
        Paint();
        return LRESULT{0};
    });
    On(WM_MOUSEACTIVATE, [](const WindowMessage&) { return LRESULT{MA_NOACTIVATE}; });
    for (UINT key : {WM_KEYDOWN, WM_KEYUP}) {
        On(key, [this](const WindowMessage& m) {
            PostMessageW(owner_, m.id, m.w, m.l);
            return LRESULT{0};
        });
    }
    Blueprint plan{kClass, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, owner};
    plan.buttonFace = false;
    CreateWindowOf(instance, plan);
}

void FloatForm::ShowAt(const std::vector<std::string>& lines, COLORREF colour, HFONT font,
                       POINT cursor, const RECT& bounds) {
    lines_.clear();
    for (const std::string& line : lines)
        lines_.push_back(Utf8ToWide(line.substr(0, kMaxLineLength)));
    if (lines_.empty()) {
        Hide();
        return;
    }
    colour_ = colour;
    font_ = font;
    WindowDc dc(Hwnd());
    const Selection chosen(dc, font);
    int width = 0, lineHeight = 0;
    for (const std::wstring& line : lines_) {
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        width = std::max<int>(width, size.cx);
        lineHeight = std::max<int>(lineHeight, size.cy);
    }
    width += Scale(8);
    const int height = lineHeight * static_cast<int>(lines_.size()) + Scale(8);
    int x = cursor.x + Scale(10), y = cursor.y + Scale(10);
    if (x + width > bounds.right)
        x = cursor.x - width - Scale(5);
    if (y + height > bounds.bottom)
        y = cursor.y - height - Scale(15);
    const HRGN corners = CreateRoundRectRgn(0, 0, width + 1, height + 1, 6, 6);
    SetWindowRgn(Hwnd(), corners, FALSE); // the window owns the region from here
    SetWindowPos(Hwnd(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void FloatForm::Hide() {
    if (IsWindowVisible(Hwnd()))
        ShowWindow(Hwnd(), SW_HIDE);
}

void FloatForm::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(Hwnd(), &ps);
    RECT r;
    GetClientRect(Hwnd(), &r);
    const Brush fill(CreateSolidBrush(colour_));
    FillRect(dc, &r, fill);
    const HRGN outline = CreateRoundRectRgn(0, 0, r.right + 1, r.bottom + 1, 6, 6);
    FrameRgn(dc, outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    DeleteObject(outline);
    const Selection chosen(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int y = Scale(4);
    for (const std::wstring& line : lines_) {
        TextOutW(dc, Scale(4), y, line.c_str(), static_cast<int>(line.size()));
        y += tm.tmHeight;
    }
    EndPaint(Hwnd(), &ps);
}

} // namespace qv
