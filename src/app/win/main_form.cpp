// The main window's life: its start in the program's order, its place and size, the messages it
// handles, and what it shows when the session changes.
#include "app/win/main_form.h"

#include "app/help_topics.h"
#include "app/main_controls.h"
#include "app/main_texts.h"
#include "app/win/filter_config_form.h"
#include "app/win/freq_bar_form.h"
#include "app/win/user_wave_dlg.h"
#include "engine/wave_play_rec.h"
#include "engine/win/win_driver_catalog.h"
#include "fftlib/fft_library.h"
#include "files/ini_file.h"
#include "platform/app_title.h"
#include "platform/file_checks.h"
#include "platform/win/hand_over.h"
#include "platform/win/html_help.h"
#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"
#include "platform/win/window_messages.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"TMainForm";
constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr int kDisplayPanelHeight = 200; // the lower panel at the first start
constexpr int kMinDisplayHeight = 40;

} // namespace

MainForm::MainForm(HINSTANCE instance)
    : instance_(instance), session_({.ui = ui_,
                                     .keys = keys_,
                                     .host = *this,
                                     .fileExists = FileExists,
                                     .canListFiles = CanListFolder,
                                     .openIni = [](const std::string& p) { return OpenIniFile(p); },
                                     .bindFftLibrary =
                                         [this](const std::string& dir, FftApi& api) {
                                             return LoadFftLibrary(dir, api, ui_, kAppTitle);
                                         },
                                     .systemIsJapanese = GetUserDefaultLangID() == 0x0411}) {
    Handlers();
}

MainForm::~MainForm() {
    session_.Detach(*this);
    session_.Shutdown();
}

bool MainForm::Create(const std::string& programDir, const std::string& commandLine,
                      int showCommand) {
    if (!session_.Open(programDir))
        return false;
    if (session_.Language() == 1)
        kt1_ = RegisterUiFont(instance_, ui_, kMsgUnableToLoadFont);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                             ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const std::wstring caption = Utf8ToWide(session_.Caption());
    Blueprint plan{kClassName, kStyle, WS_EX_ACCEPTFILES};
    plan.title = caption.c_str();
    plan.icon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    if (!CreateWindowOf(instance_, plan))
        return false;
    ui_.SetOwner(Hwnd());
    session_.StartEngine(std::make_unique<WinDriverCatalog>(ui_));
    BuildControls();
    session_.Attach(*this);
    session_.ApplyStartSet();
    SelectPage(0);
    const AppSettings& s = session_.Settings();
    scope_ = std::make_unique<ScopePanel>(instance_, Hwnd(), font_, session_.Language(),
                                          ScopeColors{s.backColor, s.diagramBackColor, s.frameColor,
                                                      s.scaleColor, s.lineColorL, s.lineColorR,
                                                      s.charColor});
    scope_->View().xDispRate = session_.XMagnification();
    scope_->View().yDispRate = session_.YMagnification();
    scope_->View().ShowStartLevels();
    scope_->magnificationChanged = [this] {
        session_.XMagnification() = scope_->View().xDispRate;
        session_.YMagnification() = scope_->View().yDispRate;
    };
    PlaceWindow();
    PlaceScope();
    ShowWindow(Hwnd(), showCommand);
    UpdateWindow(Hwnd());
    session_.ProcessCommandLine(commandLine);
    return true;
}

void MainForm::Handlers() {
    On(WM_COMMAND, [this](const WindowMessage& m) {
        if (LOWORD(m.w) == ScopePanel::kChannelBoxId && HIWORD(m.w) == CBN_SELCHANGE) {
            const auto chosen = SendMessageW(scope_->ChannelBox(), CB_GETCURSEL, 0, 0);
            session_.SetDisplayChannel(static_cast<int>(std::max<LRESULT>(chosen, 0)));
        } else if (!refreshing_) {
            if (Control* c = Find(LOWORD(m.w))) {
                if (c->row->kind == ControlKind::UnitLabel)
                    OnUnitLabel(*c, HIWORD(m.w) == STN_DBLCLK);
                else
                    OnCommand(*c, HIWORD(m.w));
            }
        }
        return LRESULT{0};
    });
    On(WM_NOTIFY, [this](const WindowMessage& m) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.l);
        if (header->code == UDN_DELTAPOS) {
            OnNotify(*header, m.l);
            return LRESULT{TRUE}; // the buttons keep no position of their own
        }
        OnNotify(*header, m.l);
        return LRESULT{0};
    });
    // The frequency field of a combo box shows red above half the sample rate.
    On(WM_CTLCOLOREDIT, [this](const WindowMessage& m) {
        const HWND parent = GetParent(reinterpret_cast<HWND>(m.l));
        for (const Control& c : rows_) {
            if (c.hwnd == parent && c.row->role == RowRole::Slot &&
                c.row->slotControl == SlotControl::Freq &&
                session_.Controls().Red(c.row->slot, SlotControl::Freq)) {
                SetBkColor(reinterpret_cast<HDC>(m.w), RGB(255, 96, 96));
                return reinterpret_cast<LRESULT>(redBrush_.Get());
            }
        }
        return Default(m);
    });
    // The width is fixed; the height gives or takes only the display panel.
    On(WM_GETMINMAXINFO, [this](const WindowMessage& m) {
        if (rows_.empty())
            return Default(m);
        auto* limits = reinterpret_cast<MINMAXINFO*>(m.l);
        const SIZE least = FrameFor(kMainClientArea.h + kMinDisplayHeight);
        limits->ptMinTrackSize = {least.cx, least.cy};
        limits->ptMaxTrackSize.x = limits->ptMinTrackSize.x;
        return LRESULT{0};
    });
    // The control area in the button face, the display panel below it in BackColor.
    On(WM_ERASEBKGND, [this](const WindowMessage& m) {
        RECT r{};
        GetClientRect(Hwnd(), &r);
        const auto dc = reinterpret_cast<HDC>(m.w);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        r.top = Scale(kMainClientArea.h);
        if (backBrush_)
            FillRect(dc, &r, backBrush_);
        return LRESULT{1};
    });
    On(WM_SIZE, [this](const WindowMessage& m) {
        InvalidateRect(Hwnd(), nullptr, TRUE);
        if (scope_)
            PlaceScope();
        return Default(m);
    });
    // The filter box and its panel take the filter's colour while the filter is on.
    On(WM_CTLCOLORSTATIC, [this](const WindowMessage& m) {
        if (const Control* box = Find(ToolbarControl::FilterOn);
            box && box->hwnd == reinterpret_cast<HWND>(m.l) &&
            session_.Controls().ToolbarChecked(ToolbarControl::FilterOn)) {
            SetBkColor(reinterpret_cast<HDC>(m.w), session_.Settings().filterPointColor);
            return reinterpret_cast<LRESULT>(filterBrush_.Get());
        }
        return Default(m);
    });
    On(WM_DRAWITEM, [this](const WindowMessage& m) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.l);
        if (item->CtlID != kFilterPanelId)
            return Default(m);
        RECT r = item->rcItem;
        const bool on = session_.Controls().ToolbarChecked(ToolbarControl::FilterOn);
        FillRect(item->hDC, &r, on ? filterBrush_.Get() : GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(item->hDC, &r, EDGE_ETCHED, BF_RECT);
        return LRESULT{TRUE};
    });
    On(kMsgRunMainStep, [](const WindowMessage& m) {
        reinterpret_cast<WavePlayRec*>(m.l)->RunMainStep(static_cast<MainStep>(m.w));
        return LRESULT{0};
    });
    On(kMsgAutoPlay, [this](const WindowMessage&) {
        if (session_.PlayEnabled()) // a second "/P" set may open while the first plays
            session_.Play();
        return LRESULT{0};
    });
    On(kMsgPlaybackBegins, [this](const WindowMessage&) {
        session_.OnPlaybackBegins();
        return LRESULT{0};
    });
    On(kMsgPlaybackEnds, [this](const WindowMessage&) {
        session_.OnPlaybackEnds();
        return LRESULT{0};
    });
    On(WM_TIMER, [this](const WindowMessage& m) {
        if (m.w == kTimerAutoPlay)
            session_.OnAutoPlayTimer();
        if (m.w == kTimerOpenPending) {
            KillTimer(Hwnd(), kTimerOpenPending);
            session_.OpenPending();
        }
        return LRESULT{0};
    });
    // The second start waits in its SendMessage: the record is copied and opened afterwards.
    On(WM_COPYDATA, [this](const WindowMessage& m) {
        if (const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(m.l)) {
            handedOver_.push_back(ReadHandOver(*data));
            PostMessageW(Hwnd(), kMsgHandedOver, 0, 0);
        }
        return LRESULT{TRUE};
    });
    On(kMsgHandedOver, [this](const WindowMessage&) {
        if (!handedOver_.empty()) {
            const std::string line = handedOver_.front();
            handedOver_.erase(handedOver_.begin());
            session_.ProcessCommandLine(line);
        }
        return LRESULT{0};
    });
    On(WM_DROPFILES, [this](const WindowMessage& m) {
        OnDrop(reinterpret_cast<HDROP>(m.w));
        return LRESULT{0};
    });
    On(WM_CONTEXTMENU, [this](const WindowMessage& m) {
        ShowContextMenu(reinterpret_cast<HWND>(m.w), {GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l)});
        return LRESULT{0};
    });
    On(WM_ACTIVATE, [this](const WindowMessage& m) {
        if (LOWORD(m.w) != WA_INACTIVE && !activationPosted_) {
            activationPosted_ = true;
            PostMessageW(Hwnd(), kMsgFirstActivation, 0, 0);
        }
        return Default(m);
    });
    On(kMsgFirstActivation, [this](const WindowMessage&) {
        session_.FirstActivation();
        SyncFilterEditor();
        return LRESULT{0};
    });
    On(kMsgDisplayWaitQuery, [this](const WindowMessage&) {
        return static_cast<LRESULT>(session_.Engine().LongestAfterFillWait());
    });
    On(WM_CLOSE, [this](const WindowMessage&) {
        Close();
        return LRESULT{0};
    });
    // Windows is ending the user's session: keep what closing the window would keep.
    On(WM_QUERYENDSESSION, [](const WindowMessage&) { return LRESULT{TRUE}; });
    On(WM_ENDSESSION, [this](const WindowMessage& m) {
        if (m.w) {
            session_.Stop();
            RecordPlace();
            session_.SaveSettingsAndSet();
        }
        return LRESULT{0};
    });
    On(WM_DESTROY, [this](const WindowMessage&) {
        RecordPlace();
        PostQuitMessage(0);
        return LRESULT{0};
    });
}

// A write in progress ends first (with a whole file), and the window then closes.
void MainForm::Close() {
    if (!session_.RequestClose())
        return;
    session_.Stop();
    RecordPlace();
    session_.SaveSettingsAndSet();
    DestroyWindow(Hwnd());
}

void MainForm::RecordPlace() {
    RECT r{};
    if (GetWindowRect(Hwnd(), &r))
        session_.SetWindowPlace(r.left, r.top, r.bottom - r.top);
    if (filterForm_)
        filterForm_->KeepPlace();
    if (freqBar_)
        freqBar_->KeepPlace();
}

// The control area over the display panel, at the saved place, inside the work area.
SIZE MainForm::FrameFor(int clientHeight) const {
    RECT frame{0, 0, Scale(kMainClientArea.w), Scale(clientHeight)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void MainForm::PlaceWindow() {
    const AppSettings& s = session_.Settings();
    const SIZE frame = FrameFor(kMainClientArea.h + kDisplayPanelHeight);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.cx;
    int height = s.height > 0 ? s.height : frame.cy;
    height = std::min<int>(height, work.bottom - work.top);
    const int x = std::clamp<int>(s.posX, work.left, std::max<int>(work.left, work.right - width));
    const int y = std::clamp<int>(s.posY, work.top, std::max<int>(work.top, work.bottom - height));
    SetWindowPos(Hwnd(), nullptr, x, y, width, height, SWP_NOZORDER);
}

void MainForm::PlaceScope() {
    RECT area{};
    GetClientRect(Hwnd(), &area);
    area.top = Scale(kMainClientArea.h);
    area.bottom = std::max(area.bottom, area.top + 1);
    scope_->Place(area, static_cast<int>(Dpi()), font_);
    RelayoutScope();
}

void MainForm::RelayoutScope() {
    const Generator& g = session_.Gen();
    if (scope_)
        scope_->Relayout(static_cast<int32_t>(g.filterSize), session_.DisplayRate(),
                         g.format.bitCode == 8, g.format.channels, session_.Fft());
}

// A new DPI (the window moved to another monitor): the table, the fonts and the display again,
// the control area at its new scale with the display panel keeping its share.
void MainForm::DpiChanged() {
    font_.Reset(CreateUiFont(session_.Language(), Dpi()));
    for (Control& c : rows_) {
        const RECT p = PlacedRect(c.row->kind, c.row->rect, Dpi());
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        SetWindowPos(c.hwnd, nullptr, p.left, p.top, p.right, p.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const RECT area = Scale(kPageArea);
    for (const auto& page : pages_)
        SetWindowPos(page->Hwnd(), nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The suggested place keeps its height (at least the least one); the width is the table's.
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const SIZE least = FrameFor(kMainClientArea.h + kMinDisplayHeight);
    SetWindowPos(Hwnd(), nullptr, 0, 0, least.cx,
                 std::max<int>(window.bottom - window.top, least.cy),
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    PlaceScope();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void MainForm::SessionChanged(const SessionChanges& changes) {
    const ControlChanges& controls = changes.controls;
    refreshing_ = true;
    for (Control& c : rows_) {
        const LayoutRow& r = *c.row;
        bool changed = changes.all;
        if (!changed && r.slot >= 0 && r.slotControl != SlotControl::Count)
            changed = controls.Has(r.slot, r.slotControl);
        if (!changed && r.role == RowRole::Toolbar)
            changed = controls.Has(r.toolbarControl);
        if (changed)
            ShowRow(c);
    }
    refreshing_ = false;
    if (changes.caption)
        SetWindowTextW(Hwnd(), Utf8ToWide(session_.Caption()).c_str());
    if (changes.buttons || changes.run || changes.progress)
        ShowRun();
    if (changes.all || controls.Has(ToolbarControl::FilterOn))
        SyncFilterEditor();
    if (!scope_)
        return;
    if (changes.displayLayout)
        RelayoutScope();
    if (changes.displayChannel)
        SendMessageW(scope_->ChannelBox(), CB_SETCURSEL, session_.DisplayChannel(), 0);
    if (changes.clearTrace)
        scope_->View().Clear();
    if (changes.clearLevels)
        scope_->View().ClearLevels();
    if (changes.startLevels)
        scope_->View().ShowStartLevels();
    if (changes.clearTrace || changes.clearLevels || changes.startLevels)
        scope_->Redraw();
}

// The display callback: the engine's after-fill step and a write's block.
void MainForm::BlockRendered() {
    if (!scope_)
        return;
    if (scope_->Rate() != session_.DisplayRate())
        RelayoutScope();
    const Generator& g = session_.Gen();
    if (scope_->View().Update(g, g.format.channels, session_.Busy() || session_.Playing(),
                              keys_.CtrlDown()))
        scope_->Redraw();
}

// --- The session's host.

void MainForm::RunOnMainThread(WavePlayRec& engine, MainStep step) {
    SendMessageW(Hwnd(), kMsgRunMainStep, static_cast<WPARAM>(step),
                 reinterpret_cast<LPARAM>(&engine));
}

void MainForm::PostNotification(EngineNotification notification) {
    PostMessageW(Hwnd(),
                 notification == EngineNotification::PlaybackBegins ? kMsgPlaybackBegins
                                                                    : kMsgPlaybackEnds,
                 0, 0);
}

void MainForm::PumpMessages() {
    PumpWindowMessages();
}

void MainForm::PostAutoPlay() {
    PostMessageW(Hwnd(), kMsgAutoPlay, 0, 0);
}

void MainForm::SetAutoPlayTimer(long ms) {
    KillTimer(Hwnd(), kTimerAutoPlay);
    if (ms > 0)
        SetTimer(Hwnd(), kTimerAutoPlay, static_cast<UINT>(ms), nullptr);
}

void MainForm::OpenHelp(const std::string& path, unsigned long context) {
    (void)OpenHelpTopic(path, HelpTopic(context));
}

// A modal window disables the main window, its owner, while it is up.
bool MainForm::ModalShown() const {
    return !IsWindowEnabled(Hwnd());
}

void MainForm::RetryOpenPending() {
    SetTimer(Hwnd(), kTimerOpenPending, 200, nullptr);
}

// The user-wave window, at the main window's first waveform box (5, 5 pixels in).
bool MainForm::ShowUserWaveWindow(int master) {
    POINT at{};
    if (const Control* box = Find(0, SlotControl::Waveform)) {
        RECT r{};
        GetWindowRect(box->hwnd, &r);
        at = {r.left + Scale(5), r.top + Scale(5)};
    }
    UserWaveDlg dialog(instance_, Hwnd(), font_, session_, master, at);
    dialog.Run();
    return true;
}

} // namespace qv
