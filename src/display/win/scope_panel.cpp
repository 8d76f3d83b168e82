#include "display/win/scope_panel.h"

#include "display/channel_texts.h"
#include "display/display_panel_layout.h"
#include "display/magnification_menu.h"
#include "platform/menu_item.h"
#include "platform/win/popup_menu.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>

#include <algorithm>

namespace qv {

namespace {

constexpr wchar_t kPanelClass[] = L"QvDisplayPanel";
constexpr wchar_t kScopeClass[] = L"QvScope";

// Text centred on x (horizontally) at top y.
void TextCentred(HDC dc, int x, int y, const std::string& text) {
    const std::wstring w = Utf8ToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    TextOutW(dc, x - size.cx / 2, y, w.c_str(), static_cast<int>(w.size()));
}

// The axis labels keep to the 6-pixel cell the plot's margins are made for.
HFONT LabelFont(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    lf.lfWidth = (lf.lfHeight < 0 ? -lf.lfHeight * 6 / 10 : lf.lfHeight / 2);
    return CreateFontIndirectW(&lf);
}

} // namespace

// The oscilloscope: it shows the picture and opens the magnification menus.
class ScopePanel::Scope final : public WindowBase {
public:
    Scope(HINSTANCE instance, ScopePanel& panel) {
        On(WM_PAINT, [&panel, this](const WindowMessage&) {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(Hwnd(), &ps);
            if (panel.picture_) {
                const MemoryDc source(dc);
                const Selection picture(source, panel.picture_);
                BitBlt(dc, 0, 0, panel.scopeWidth_, panel.scopeHeight_, source, 0, 0, SRCCOPY);
            }
            EndPaint(Hwnd(), &ps);
            return LRESULT{0};
        });
        On(WM_ERASEBKGND, [](const WindowMessage&) { return LRESULT{1}; }); // all is painted
        On(WM_RBUTTONDOWN, [&panel](const WindowMessage& m) {
            panel.ShowMenu({static_cast<short>(LOWORD(m.l)), static_cast<short>(HIWORD(m.l))});
            return LRESULT{0};
        });
        CreateWindowOf(instance, {kScopeClass,
                                  WS_CHILD | WS_VISIBLE,
                                  0,
                                  panel.Hwnd(),
                                  0,
                                  L"",
                                  {0, 0, 1, 1},
                                  nullptr,
                                  false});
    }
};

ScopePanel::ScopePanel(HINSTANCE instance, HWND parent, HFONT font, int languageIndex,
                       const ScopeColors& colors)
    : instance_(instance), font_(font), labelFont_(LabelFont(font)), colors_(colors),
      backBrush_(CreateSolidBrush(colors.back)), redBrush_(CreateSolidBrush(RGB(255, 0, 0))) {
    On(WM_ERASEBKGND, [this](const WindowMessage& m) {
        RECT r{};
        GetClientRect(Hwnd(), &r);
        FillRect(reinterpret_cast<HDC>(m.w), &r, GetSysColorBrush(COLOR_BTNFACE));
        return LRESULT{1};
    });
    On(WM_COMMAND,
       [this](const WindowMessage& m) { return SendMessageW(GetParent(Hwnd()), m.id, m.w, m.l); });
    // A meter shows red while its block clipped.
    On(WM_CTLCOLORSTATIC, [this](const WindowMessage& m) {
        for (int c = 0; c < 8; ++c) {
            if (Meter(c) == reinterpret_cast<HWND>(m.l) && view_.Capture().clipped[c]) {
                SetBkColor(reinterpret_cast<HDC>(m.w), RGB(255, 0, 0));
                return reinterpret_cast<LRESULT>(redBrush_.Get());
            }
        }
        return Default(m);
    });
    CreateWindowOf(instance, {kPanelClass,
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              WS_EX_CONTROLPARENT,
                              parent,
                              0,
                              L"",
                              {0, 0, 1, 1},
                              nullptr,
                              false});
    for (const LayoutCell& cell : DisplayStripLayout().cells)
        strip_.Add(instance, Hwnd(), cell, languageIndex, Dpi(), font, WS_VISIBLE);
    scope_ = std::make_unique<Scope>(instance, *this);
}

ScopePanel::~ScopePanel() {
    scope_.reset();
}

HWND ScopePanel::ChannelBox() const {
    return strip_.Find(kDisplayChannelBoxId);
}

HWND ScopePanel::Meter(int channel) const {
    return strip_.Find(kFirstMeterId + channel);
}

void ScopePanel::Place(const RECT& area, int dpi, HFONT font) {
    if (static_cast<UINT>(dpi) != Dpi() || (font && font != font_)) {
        SetDpi(static_cast<UINT>(dpi));
        if (font)
            font_ = font;
        labelFont_.Reset(LabelFont(font_));
        strip_.Relayout(Dpi(), font_);
    }
    const int width = area.right - area.left, height = area.bottom - area.top;
    MoveWindow(Hwnd(), area.left, area.top, width, height, TRUE);
    scopeWidth_ = std::max(width, 1);
    scopeHeight_ = std::max(height - Scale(kDisplayStripHeight), 1);
    MoveWindow(scope_->Hwnd(), 0, Scale(kDisplayStripHeight), scopeWidth_, scopeHeight_, TRUE);
    if (api_)
        Relayout(n_, rate_, eightBit_, channels_, *api_);
}

void ScopePanel::Relayout(int32_t n, double rate, bool eightBit, int channels, const FftApi& api) {
    const HWND box = ChannelBox();
    const bool newList = channels != channels_ || SendMessageW(box, CB_GETCOUNT, 0, 0) <= 0;
    n_ = n, rate_ = rate, eightBit_ = eightBit, channels_ = channels, api_ = &api;
    if (newList) {
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : DisplayChannelItems(channels))
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        SendMessageW(box, CB_SETCURSEL, 0, 0);
    }
    view_.Layout(scopeWidth_, scopeHeight_, n, rate, eightBit, api, static_cast<int>(Dpi()));
    Redraw();
}

void ScopePanel::Redraw() {
    Render();
    InvalidateRect(scope_->Hwnd(), nullptr, FALSE);
    ShowMeters();
}

void ScopePanel::Render() {
    {
        const WindowDc screen(scope_->Hwnd());
        BITMAP have{};
        if (picture_)
            GetObjectW(picture_, sizeof have, &have);
        if (!picture_ || have.bmWidth != scopeWidth_ || have.bmHeight != scopeHeight_)
            picture_.Reset(CreateCompatibleBitmap(screen, scopeWidth_, scopeHeight_));
    }
    const MemoryDc dc(nullptr);
    const Selection bitmap(dc, picture_);
    RECT all{0, 0, scopeWidth_, scopeHeight_};
    FillRect(dc, &all, backBrush_);
    if (scopeHeight_ < 5)
        return;
    const int32_t w = view_.PlotWidth(), h = view_.PlotHeight();
    const int32_t left = view_.PlotLeft(), top = view_.PlotTop();
    const PlotScale& s = view_.Scale();
    // Frame and labels.
    const Pen framePen(CreatePen(PS_SOLID, 0, colors_.frame));
    const Selection pen(dc, framePen);
    const Selection brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, left - 1, top - 1, w + left + 1, h + top + 1);
    const Selection font(dc, labelFont_);
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
    const Brush plotBrush(CreateSolidBrush(colors_.diagramBack));
    RECT plot{0, 0, w, h};
    FillRect(dc, &plot, plotBrush);
    const Pen dotted(CreatePen(PS_DOT, 0, colors_.scale));
    const Selection grid(dc, dotted);
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
        const Pen line(CreatePen(PS_SOLID, 0, colour));
        const Selection selected(dc, line);
        static_assert(sizeof(ScreenPoint) == sizeof(POINT));
        Polyline(dc, reinterpret_cast<const POINT*>(points.data()),
                 static_cast<int>(points.size()));
    };
    trace(view_.PointsB(), colors_.lineR);
    trace(view_.PointsA(), colors_.lineL);
}

void ScopePanel::ShowMeters() {
    const ScopeCapture& capture = view_.Capture();
    for (int c = 0; c < 8; ++c) {
        const std::wstring text = c < channels_ ? Utf8ToWide(capture.meters[c]) : L"";
        SetWindowTextW(Meter(c), text.c_str());
        ShowWindow(Meter(c), c < channels_ ? SW_SHOWNA : SW_HIDE);
        InvalidateRect(Meter(c), nullptr, TRUE);
    }
}

void ScopePanel::ShowMenu(POINT at) {
    const bool timeStrip = at.x >= view_.PlotLeft() && at.y >= view_.PlotHeight() + view_.PlotTop();
    const bool levelStrip = at.x < view_.PlotLeft();
    if (!timeStrip && !levelStrip)
        return;
    int32_t& rate = timeStrip ? view_.xDispRate : view_.yDispRate;
    ClientToScreen(scope_->Hwnd(), &at);
    if (RunPopupMenu(scope_->Hwnd(), MagnificationMenu(timeStrip, rate), at)) {
        if (api_)
            Relayout(n_, rate_, eightBit_, channels_, *api_);
        if (magnificationChanged)
            magnificationChanged();
    }
}

} // namespace qv
