#include "display/win/scope_panel.h"

#include "display/channel_texts.h"
#include "platform/language.h"
#include "platform/win/text_conversion.h"
#include "platform/win/win_ui.h"

#include <commctrl.h>

#include <algorithm>

namespace qv {

namespace {

constexpr wchar_t kPanelClass[] = L"QvDisplayPanel";
constexpr wchar_t kScopeClass[] = L"QvScope";

// The strip above the oscilloscope, in 96-DPI pixels.
constexpr int kStripHeight = 24;
constexpr int kLabelX = 2, kLabelWidth = 84, kBoxX = 88, kBoxWidth = 88;
constexpr int kMeterX = 180, kMeterWidth = 44, kMeterGap = 2;

struct Magnification {
    const wchar_t* text;
    int32_t factor;
};
constexpr Magnification kXRates[] = {
    {L" x1", 1}, {L" x2", 2}, {L" x4", 4}, {L"x10", 10}, {L"x20", 20}};
constexpr Magnification kYRates[] = {{L" x1", 1},  {L" x2", 2},  {L" x4", 4},
                                     {L"x10", 10}, {L"x20", 20}, {L"x100", 100}};

ScopePanel* PanelOf(HWND hwnd) {
    return reinterpret_cast<ScopePanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Text centred on x (horizontally) at top y.
void TextCentred(HDC dc, int x, int y, const std::string& text) {
    const std::wstring w = Utf8ToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    TextOutW(dc, x - size.cx / 2, y, w.c_str(), static_cast<int>(w.size()));
}

} // namespace

ScopePanel::ScopePanel(HINSTANCE instance, HWND parent, HFONT font, int languageIndex,
                       const ScopeColors& colors)
    : instance_(instance), font_(font), language_(languageIndex), colors_(colors) {
    backBrush_ = CreateSolidBrush(colors.back);
    // The axis labels keep to the 6-pixel cell the plot's margins are made for.
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    lf.lfWidth = (lf.lfHeight < 0 ? -lf.lfHeight * 6 / 10 : lf.lfHeight / 2);
    labelFont_ = CreateFontIndirectW(&lf);
    redBrush_ = CreateSolidBrush(RGB(255, 0, 0));
    RegisterWindowClass(instance, kPanelClass, PanelProc, false);
    RegisterWindowClass(instance, kScopeClass, ScopeProc, false);

    panel_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"",
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1, 1, parent, nullptr,
                             instance, nullptr);
    SetWindowLongPtrW(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        const HWND h =
            CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 1, 1, panel_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h;
    };
    label_ =
        child(WC_STATICW, languageIndex == kEnglish ? L"Disp.Channel" : L"表示ﾁｬﾝﾈﾙ", SS_RIGHT, 0);
    channelBox_ =
        child(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kChannelBoxId);
    for (HWND& meter : meters_)
        meter = child(WC_STATICW, L"", SS_CENTER | SS_SUNKEN, 0);
    scope_ = child(kScopeClass, L"", 0, 0);
    SetWindowLongPtrW(scope_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ScopePanel::~ScopePanel() {
    if (panel_ && IsWindow(panel_))
        DestroyWindow(panel_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(backBrush_), static_cast<HGDIOBJ>(redBrush_),
                           static_cast<HGDIOBJ>(picture_), static_cast<HGDIOBJ>(labelFont_)}) {
        if (object)
            DeleteObject(object);
    }
}

void ScopePanel::Place(const RECT& area, int dpi) {
    dpi_ = dpi;
    const auto px = [dpi](int v) { return MulDiv(v, dpi, 96); };
    const int width = area.right - area.left, height = area.bottom - area.top;
    MoveWindow(panel_, area.left, area.top, width, height, TRUE);
    MoveWindow(label_, px(kLabelX), px(6), px(kLabelWidth), px(14), TRUE);
    MoveWindow(channelBox_, px(kBoxX), px(2), px(kBoxWidth), px(200), TRUE);
    for (int c = 0; c < 8; ++c)
        MoveWindow(meters_[c], px(kMeterX + c * (kMeterWidth + kMeterGap)), px(3), px(kMeterWidth),
                   px(18), TRUE);
    scopeWidth_ = std::max(width, 1);
    scopeHeight_ = std::max(height - px(kStripHeight), 1);
    MoveWindow(scope_, 0, px(kStripHeight), scopeWidth_, scopeHeight_, TRUE);
    if (api_)
        Relayout(n_, rate_, eightBit_, channels_, *api_);
}

void ScopePanel::Relayout(int32_t n, double rate, bool eightBit, int channels, const FftApi& api) {
    const bool newList = channels != channels_ || SendMessageW(channelBox_, CB_GETCOUNT, 0, 0) <= 0;
    n_ = n, rate_ = rate, eightBit_ = eightBit, channels_ = channels, api_ = &api;
    if (newList) {
        SendMessageW(channelBox_, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : DisplayChannelItems(channels))
            SendMessageW(channelBox_, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        SendMessageW(channelBox_, CB_SETCURSEL, 0, 0);
    }
    view_.Layout(scopeWidth_, scopeHeight_, n, rate, eightBit, api, dpi_);
    Redraw();
}

void ScopePanel::Redraw() {
    Render();
    InvalidateRect(scope_, nullptr, FALSE);
    ShowMeters();
}

void ScopePanel::Render() {
    const HDC screen = GetDC(scope_);
    const HDC dc = CreateCompatibleDC(screen);
    BITMAP have{};
    if (picture_)
        GetObjectW(picture_, sizeof have, &have);
    if (!picture_ || have.bmWidth != scopeWidth_ || have.bmHeight != scopeHeight_) {
        if (picture_)
            DeleteObject(picture_);
        picture_ = CreateCompatibleBitmap(screen, scopeWidth_, scopeHeight_);
    }
    ReleaseDC(scope_, screen);
    const HGDIOBJ oldBitmap = SelectObject(dc, picture_);
    RECT all{0, 0, scopeWidth_, scopeHeight_};
    FillRect(dc, &all, backBrush_);
    if (scopeHeight_ >= 5) {
        const int32_t w = view_.PlotWidth(), h = view_.PlotHeight();
        const int32_t left = view_.PlotLeft(), top = view_.PlotTop();
        const PlotScale& s = view_.Scale();
        // Frame and labels.
        const HPEN framePen = CreatePen(PS_SOLID, 0, colors_.frame);
        const HGDIOBJ oldPen = SelectObject(dc, framePen);
        const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, left - 1, top - 1, w + left + 1, h + top + 1);
        const HGDIOBJ oldFont = SelectObject(dc, labelFont_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colors_.chars);
        for (int k = 0; k < s.tickCount; ++k)
            TextCentred(dc, s.tickX[k] + left, h + top + 2, TickLabel(k + 1, s.tickStep));
        if (s.tickCount >= 2)
            TextCentred(dc, (s.tickX[s.tickCount - 2] + s.tickX[s.tickCount - 1]) / 2 + left,
                        h + top + 3, TickUnit(s.tickStep));
        const auto levels = LevelLabels(view_.EightBit(), view_.yDispRate);
        for (int g = 0; g < 3; ++g) {
            const std::wstring text = Utf8ToWide(levels[g]);
            RECT r{0, s.gridY[g] + top - 8, left - 2, s.gridY[g] + top + 8};
            DrawTextW(dc, text.c_str(), -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        }
        // The plot: background, dotted grid, the second trace under the first.
        SetViewportOrgEx(dc, left, top, nullptr);
        IntersectClipRect(dc, 0, 0, w, h);
        const HBRUSH plotBrush = CreateSolidBrush(colors_.diagramBack);
        RECT plot{0, 0, w, h};
        FillRect(dc, &plot, plotBrush);
        DeleteObject(plotBrush);
        const HPEN dotted = CreatePen(PS_DOT, 0, colors_.scale);
        SelectObject(dc, dotted);
        SetBkMode(dc, TRANSPARENT);
        for (int k = 0; k < s.tickCount; ++k) {
            MoveToEx(dc, s.tickX[k], 0, nullptr);
            LineTo(dc, s.tickX[k], h);
        }
        for (int32_t y : s.gridY) {
            MoveToEx(dc, 0, y, nullptr);
            LineTo(dc, w, y);
        }
        const auto trace = [&](std::span<const ScreenPoint> points, COLORREF colour) {
            if (points.size() < 2)
                return;
            const HPEN pen = CreatePen(PS_SOLID, 0, colour);
            const HGDIOBJ before = SelectObject(dc, pen);
            static_assert(sizeof(ScreenPoint) == sizeof(POINT));
            Polyline(dc, reinterpret_cast<const POINT*>(points.data()),
                     static_cast<int>(points.size()));
            SelectObject(dc, before);
            DeleteObject(pen);
        };
        trace(view_.PointsB(), colors_.lineR);
        trace(view_.PointsA(), colors_.lineL);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(dotted);
        DeleteObject(framePen);
    }
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
}

void ScopePanel::ShowMeters() {
    const ScopeCapture& capture = view_.Capture();
    for (int c = 0; c < 8; ++c) {
        const std::wstring text = c < channels_ ? Utf8ToWide(capture.meters[c]) : L"";
        SetWindowTextW(meters_[c], text.c_str());
        ShowWindow(meters_[c], c < channels_ ? SW_SHOWNA : SW_HIDE);
        InvalidateRect(meters_[c], nullptr, TRUE);
    }
}

void ScopePanel::ShowMenu(POINT at) {
    const bool timeStrip = at.x >= view_.PlotLeft() && at.y >= view_.PlotHeight() + view_.PlotTop();
    const bool levelStrip = at.x < view_.PlotLeft();
    if (!timeStrip && !levelStrip)
        return;
    const std::span<const Magnification> items =
        timeStrip ? std::span<const Magnification>(kXRates) : kYRates;
    const int32_t current = timeStrip ? view_.xDispRate : view_.yDispRate;
    const HMENU menu = CreatePopupMenu();
    for (const Magnification& m : items)
        AppendMenuW(menu, MF_STRING | (m.factor == current ? MF_CHECKED : 0),
                    static_cast<UINT_PTR>(m.factor), m.text);
    ClientToScreen(scope_, &at);
    const auto chosen = static_cast<int32_t>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, scope_, nullptr));
    DestroyMenu(menu);
    if (chosen == 0)
        return;
    (timeStrip ? view_.xDispRate : view_.yDispRate) = chosen;
    if (api_)
        Relayout(n_, rate_, eightBit_, channels_, *api_);
}

LRESULT CALLBACK ScopePanel::PanelProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    ScopePanel* self = PanelOf(hwnd);
    switch (message) {
    case WM_ERASEBKGND:
        if (self) {
            RECT r{};
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(w), &r, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        break;
    case WM_COMMAND:
        return SendMessageW(GetParent(hwnd), message, w, l);
    case WM_CTLCOLORSTATIC:
        // A meter whose block clipped shows red.
        if (self) {
            for (int c = 0; c < 8; ++c) {
                if (self->meters_[c] == reinterpret_cast<HWND>(l) &&
                    self->view_.Capture().clipped[c]) {
                    SetBkColor(reinterpret_cast<HDC>(w), RGB(255, 0, 0));
                    return reinterpret_cast<LRESULT>(self->redBrush_);
                }
            }
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, w, l);
}

LRESULT CALLBACK ScopePanel::ScopeProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    ScopePanel* self = PanelOf(hwnd);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd, &ps);
        if (self && self->picture_) {
            const HDC source = CreateCompatibleDC(dc);
            const HGDIOBJ old = SelectObject(source, self->picture_);
            BitBlt(dc, 0, 0, self->scopeWidth_, self->scopeHeight_, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the picture covers everything
    case WM_RBUTTONDOWN:
        if (self)
            self->ShowMenu({static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))});
        return 0;
    default:
        return DefWindowProcW(hwnd, message, w, l);
    }
}

} // namespace qv
