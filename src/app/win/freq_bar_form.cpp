#include "app/win/freq_bar_form.h"

#include "app/main_controls.h"
#include "app/win/wave5_sync_form.h"
#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace qv {

namespace {

using I = FreqBarIds;

constexpr wchar_t kClass[] = L"TFreqBarForm";
// No border: the frame is drawn, and the thick frame only lets the edges resize the window.
constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
constexpr UINT_PTR kSweepTimer = 1;

void SetRange(HWND slider, int32_t lowest, int32_t highest) {
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, lowest);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, highest);
}

} // namespace

FreqBarForm::FreqBarForm(HINSTANCE instance, HWND mainWindow, HFONT font, ProgramSession& session,
                         RECT defaultPlace)
    : instance_(instance), session_(session), bar_(session.Bar()), baseFont_(font),
      fontDpi_(DpiOf(mainWindow)) {
    On(WM_COMMAND, [this](const WindowMessage& m) {
        OnCommand(LOWORD(m.w), HIWORD(m.w));
        return LRESULT{0};
    });
    On(WM_HSCROLL, [this](const WindowMessage& m) {
        if (LOWORD(m.w) != TB_ENDTRACK)
            OnScroll(reinterpret_cast<HWND>(m.l));
        return LRESULT{0};
    });
    On(WM_PAINT, [this](const WindowMessage&) {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(Hwnd(), &ps);
        Paint(dc);
        EndPaint(Hwnd(), &ps);
        return LRESULT{0};
    });
    On(WM_SIZE, [this](const WindowMessage&) {
        Relayout();
        return LRESULT{0};
    });
    On(WM_GETMINMAXINFO, [this](const WindowMessage& m) {
        const WindowLayout& layout = FreqBarLayout();
        auto* info = reinterpret_cast<MINMAXINFO*>(m.l);
        info->ptMinTrackSize = {Scale(layout.client.w), Scale(layout.client.h)};
        info->ptMaxTrackSize.y = Scale(layout.client.h);
        return LRESULT{0};
    });
    // The whole window is client area.
    On(WM_NCCALCSIZE, [this](const WindowMessage& m) { return m.w ? LRESULT{0} : Default(m); });
    On(WM_NCHITTEST, [this](const WindowMessage& m) { return HitTest(m); });
    On(WM_NCLBUTTONDOWN, [this](const WindowMessage& m) {
        SetFocus(Hwnd());
        return Default(m);
    });
    On(WM_TIMER, [this](const WindowMessage& m) {
        if (m.w == kSweepTimer)
            session_.TickBar();
        return LRESULT{0};
    });
    On(WM_CONTEXTMENU, [this](const WindowMessage& m) {
        // A right click on the ticked sync box opens the sync window again.
        if (reinterpret_cast<HWND>(m.w) == controls_.Find(I::kSyncWave5) &&
            IsDlgButtonChecked(Hwnd(), I::kSyncWave5) == BST_CHECKED)
            OpenSyncWindow();
        return LRESULT{0};
    });
    On(WM_CLOSE, [this](const WindowMessage&) {
        Hide();
        return LRESULT{0};
    });

    Blueprint plan{kClass, kStyle, kExStyle, mainWindow};
    const std::wstring title = Utf8ToWide(kFreqBarCaption(session_.Language()));
    plan.title = title.c_str();
    CreateWindowOf(instance, plan);
    if (Dpi() != fontDpi_)
        scaledFont_.Reset(ScaledFont(font, fontDpi_, Dpi()));
    BuildControls();
    bar_.SetBand(session_.Gen().format.sampleRate, true);

    const AppSettings& s = session_.Settings();
    const bool kept = s.freqBarX != 0 || s.freqBarY != 0 || s.freqBarWidth != 0;
    const RECT at = kept ? RECT{s.freqBarX, s.freqBarY, s.freqBarWidth, 0} : defaultPlace;
    const int width = std::max<int>(at.right, Scale(FreqBarLayout().client.w));
    SetWindowPos(Hwnd(), nullptr, at.left, at.top, width, Scale(FreqBarLayout().client.h),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    session_.Attach(*this);
}

FreqBarForm::~FreqBarForm() {
    session_.Detach(*this);
}

void FreqBarForm::BuildControls() {
    const int lang = session_.Language();
    const HFONT shown = scaledFont_ ? scaledFont_.Get() : baseFont_;
    for (const LayoutCell& cell : FreqBarLayout().cells)
        controls_.Add(instance_, Hwnd(), cell, lang, Dpi(), shown, WS_VISIBLE);
    const HWND speed = controls_.Find(I::kSpeed);
    SetRange(speed, 0, FreqBar::kSpeedCount - 1);
    SendMessageW(speed, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(speed, TBM_SETPOS, TRUE, bar_.Speed());
    SendMessageW(controls_.Find(I::kSlider), TBM_SETPAGESIZE, 0, FreqBar::kPageSize);
    for (const auto& [id, hint] :
         {std::pair{I::kLog, kFreqBarHintLog}, std::pair{I::kSweepDown, kFreqBarHintSweepDown},
          std::pair{I::kSweepUp, kFreqBarHintSweepUp}, std::pair{I::kSpeed, kFreqBarHintSpeed}})
        hints_.Add(Hwnd(), Hwnd(), controls_.Find(id), hint(lang));
}

void FreqBarForm::DpiChanged() {
    scaledFont_.Reset(ScaledFont(baseFont_, fontDpi_, Dpi()));
    controls_.Relayout(Dpi(), scaledFont_);
    Relayout();
}

void FreqBarForm::Show() {
    // Inside the work area, narrowed to it when wider.
    RECT w{}, work{};
    GetWindowRect(Hwnd(), &w);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG width = std::min(w.right - w.left, work.right - work.left);
    const LONG height = w.bottom - w.top;
    const LONG x =
        std::clamp<LONG>(w.left, work.left, std::max<LONG>(work.left, work.right - width));
    const LONG y =
        std::clamp<LONG>(w.top, work.top, std::max<LONG>(work.top, work.bottom - height));
    SetWindowPos(Hwnd(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
    Refresh();
    ShowSweep();
    ShowSync();
    ShowWindow(Hwnd(), SW_SHOW);
}

void FreqBarForm::KeepPlace() {
    if (IsWindowVisible(Hwnd()))
        RecordPlace();
}

void FreqBarForm::Hide() {
    if (!IsWindowVisible(Hwnd()))
        return;
    RecordPlace();
    // A sweep needs the bar in sight to be stopped again.
    bar_.StopSweep();
    ShowSweep();
    ShowWindow(Hwnd(), SW_HIDE);
}

void FreqBarForm::RecordPlace() {
    RECT w{};
    GetWindowRect(Hwnd(), &w);
    AppSettings& s = session_.Settings();
    s.freqBarX = w.left;
    s.freqBarY = w.top;
    s.freqBarWidth = w.right - w.left;
}

// The slider spans the width between its margins, the close box keeps to the right edge.
void FreqBarForm::Relayout() {
    const HWND slider = controls_.Find(I::kSlider);
    if (!slider)
        return;
    RECT c{};
    GetClientRect(Hwnd(), &c);
    const int margin = Scale(kFreqBarSliderMargin);
    RECT s{};
    GetWindowRect(slider, &s);
    MoveWindow(slider, margin, Scale(kFreqBarSliderTop), c.right - 2 * margin, s.bottom - s.top,
               TRUE);
    const HWND close = controls_.Find(I::kClose);
    RECT b{};
    GetWindowRect(close, &b);
    MoveWindow(close, c.right - Scale(kFreqBarCloseWidth + 2), Scale(2), b.right - b.left,
               b.bottom - b.top, TRUE);
    // The scale under the thumb's centre: from the lowest position to the highest.
    RECT channel{}, thumb{};
    SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int thumbWidth = thumb.right - thumb.left;
    scale_ = bar_.Scale(margin + channel.left + thumbWidth / 2,
                        channel.right - channel.left - thumbWidth);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void FreqBarForm::Refresh() {
    bar_.SetBand(session_.Gen().format.sampleRate, bar_.LogScale());
    CheckDlgButton(Hwnd(), I::kLog, bar_.LogScale() ? BST_CHECKED : BST_UNCHECKED);
    updating_ = true;
    SetRange(controls_.Find(I::kSlider), bar_.LowestPosition(), bar_.HighestPosition());
    updating_ = false;
    ShowFrequency();
    Relayout();
}

void FreqBarForm::ShowFrequency() {
    const HWND slider = controls_.Find(I::kSlider);
    if (GetCapture() == slider)
        return; // the user's drag has the thumb
    updating_ = true;
    SendMessageW(slider, TBM_SETPOS, TRUE, bar_.Wave1Position());
    updating_ = false;
}

void FreqBarForm::ShowSweep() {
    CheckDlgButton(Hwnd(), I::kSweepDown, bar_.SweepingDown() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Hwnd(), I::kSweepUp, bar_.SweepingUp() ? BST_CHECKED : BST_UNCHECKED);
    if (bar_.Sweeping() != ticking_) {
        ticking_ = bar_.Sweeping();
        if (ticking_)
            SetTimer(Hwnd(), kSweepTimer, FreqBar::kTickMs, nullptr);
        else
            KillTimer(Hwnd(), kSweepTimer);
    }
}

void FreqBarForm::ShowSync() {
    const MainControls& m = session_.Controls();
    const HWND box = controls_.Find(I::kSyncWave5);
    EnableWindow(box, m.ToolbarEnabled(ToolbarControl::FreqBarSync));
    CheckDlgButton(Hwnd(), I::kSyncWave5,
                   m.ToolbarChecked(ToolbarControl::FreqBarSync) ? BST_CHECKED : BST_UNCHECKED);
}

void FreqBarForm::SessionChanged(const SessionChanges& changes) {
    if (!IsWindowVisible(Hwnd()))
        return;
    const ControlChanges& c = changes.controls;
    // Wave1 left unit Hz: the bar has nothing to show.
    if (!session_.Controls().Enabled(0, SlotControl::FreqBarButton)) {
        Hide();
        return;
    }
    if (changes.all || c.Has(ToolbarControl::SampleRate))
        Refresh();
    else if (c.Has(0, SlotControl::Freq))
        ShowFrequency();
    if (changes.all || changes.freqBar)
        ShowSweep();
    if (changes.all || c.Has(ToolbarControl::FreqBarSync))
        ShowSync();
}

void FreqBarForm::OnCommand(int id, int code) {
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case I::kLog:
        bar_.SetBand(session_.Gen().format.sampleRate,
                     IsDlgButtonChecked(Hwnd(), I::kLog) == BST_CHECKED);
        Refresh();
        break;
    case I::kSweepDown:
    case I::kSweepUp:
        bar_.PressSweep(id == I::kSweepUp);
        ShowSweep();
        break;
    case I::kSyncWave5: {
        const bool on = IsDlgButtonChecked(Hwnd(), I::kSyncWave5) == BST_CHECKED;
        session_.Controls().SetFreqBarSync(on);
        if (on)
            OpenSyncWindow();
        session_.Publish();
        break;
    }
    case I::kClose:
        Hide();
        break;
    default:
        break;
    }
}

// A report of the position Wave1 is already at (the release of a drag says where the thumb is)
// leaves the glide running.
void FreqBarForm::OnScroll(HWND control) {
    const auto position = static_cast<int32_t>(SendMessageW(control, TBM_GETPOS, 0, 0));
    if (control == controls_.Find(I::kSpeed)) {
        bar_.SetSpeed(position);
    } else if (control == controls_.Find(I::kSlider) && !updating_ &&
               position != bar_.Wave1Position()) {
        bar_.SliderMoved(position);
        session_.Publish();
    }
}

void FreqBarForm::MoveSlider(int32_t by) {
    const HWND slider = controls_.Find(I::kSlider);
    const auto position =
        std::clamp<int32_t>(static_cast<int32_t>(SendMessageW(slider, TBM_GETPOS, 0, 0)) + by,
                            bar_.LowestPosition(), bar_.HighestPosition());
    updating_ = true;
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    updating_ = false;
    bar_.SliderMoved(position);
    session_.Publish();
}

// The sync window below the box; each change holds at once, and Wave5 takes its frequency from
// Wave1's by the rule chosen when it closes.
void FreqBarForm::OpenSyncWindow() {
    RECT box{};
    GetWindowRect(controls_.Find(I::kSyncWave5), &box);
    Wave5SyncForm form(instance_, Hwnd(), baseFont_, session_.Language(),
                       session_.Controls().Live().sync, POINT{box.left, box.bottom},
                       [this](const Wave5SyncSettings& sync) {
                           LiveSettings live = session_.Controls().Live();
                           live.sync = sync;
                           session_.Controls().SetLiveSettings(live);
                           session_.Publish();
                       });
    form.RunModal();
    bar_.ApplyWave5Sync();
    session_.Publish();
}

// The frame, and above the slider the scale: a tick at every line, longer where a label is.
void FreqBarForm::Paint(HDC dc) {
    RECT c{};
    GetClientRect(Hwnd(), &c);
    FrameRect(dc, &c, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const Selection font(dc, scaledFont_ ? scaledFont_.Get() : baseFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const Pen tickPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    const Selection pen(dc, tickPen);
    const int bottom = Scale(kFreqBarSliderTop);
    for (int32_t x : scale_.grid) {
        MoveToEx(dc, x, bottom, nullptr);
        LineTo(dc, x, bottom - Scale(scale_.Labelled(x) ? 5 : 3));
    }
    SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    for (const AxisLabel& l : scale_.labels) {
        const std::wstring text = Utf8ToWide(l.text);
        TextOutW(dc, l.pos, bottom - Scale(6), text.c_str(), static_cast<int>(text.size()));
    }
}

// No border: the right and left edges resize, anywhere else drags the window.
LRESULT FreqBarForm::HitTest(const WindowMessage& m) {
    POINT at{GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l)};
    ScreenToClient(Hwnd(), &at);
    RECT c{};
    GetClientRect(Hwnd(), &c);
    if (at.x >= c.right - Scale(8))
        return HTRIGHT;
    if (at.x < Scale(6))
        return HTLEFT;
    return HTCAPTION;
}

bool FreqBarForm::PreTranslate(const MSG& msg) {
    if (!IsWindowVisible(Hwnd()))
        return false;
    if (msg.message == WM_MOUSEWHEEL) {
        const POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        RECT w{};
        GetWindowRect(Hwnd(), &w);
        if (!PtInRect(&w, at))
            return false;
        SetFocus(Hwnd());
        if (bar_.Wheel(GET_WHEEL_DELTA_WPARAM(msg.wParam)))
            session_.Publish();
        return true;
    }
    if (msg.hwnd != Hwnd() && !IsChild(Hwnd(), msg.hwnd))
        return false;
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_ESCAPE:
            Hide();
            return true;
        case VK_PRIOR:
        case VK_NEXT:
            MoveSlider(msg.wParam == VK_PRIOR ? FreqBar::kPageSize : -FreqBar::kPageSize);
            return true;
        case VK_F1:
            session_.HelpOn(HelpPage::FreqBar);
            return true;
        default:
            break;
        }
    }
    MSG copy = msg;
    return IsDialogMessageW(Hwnd(), &copy) != FALSE;
}

} // namespace qv
