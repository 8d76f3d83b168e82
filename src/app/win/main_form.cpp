#include "app/win/main_form.h"

#include "app/engine_settings.h"
#include "engine/win/engine_window_messages.h"
#include "fftlib/fft_library.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"TMainForm";
constexpr UINT kRunMainStep = WM_APP + 1; // wParam: the step, lParam: the engine
constexpr int kDisplayPanelHeight = 200;  // the lower panel (its contents come with the display)
constexpr int kMinDisplayHeight = 40;
// What the caption says after the version: which build of the program this is.
constexpr char kCaptionNotice[] = "(x64)";

// The window's DPI where the system can say it (Windows 10 and later, Wine), else the screen's.
UINT DpiOf(HWND hwnd) {
    using GetDpi = UINT(WINAPI*)(HWND);
    const auto get = reinterpret_cast<GetDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get && get(hwnd) > 0)
        return get(hwnd);
    const HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(ShiftJisToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

MainForm::MainForm(HINSTANCE instance)
    : instance_(instance), openEnv_{.ui = ui_,
                                    .appTitle = kAppTitle,
                                    .fileExists = FileExists,
                                    .openIni = [](const std::string& p) { return OpenIniFile(p); },
                                    .reregisterUserWave =
                                        [this](int master, const std::string&) {
                                            return RegisterUserWaveOf(
                                                master, UserWaveRequest::FromParamFile);
                                        }} {}

MainForm::~MainForm() {
    if (engine_)
        engine_->Stop();
    if (font_)
        DeleteObject(font_);
    for (HBRUSH brush : {redBrush_, filterBrush_, backBrush_}) {
        if (brush)
            DeleteObject(brush);
    }
    CoUninitialize();
}

bool MainForm::Create(const std::string& programDir, const std::string& commandLine,
                      int showCommand) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    programDir_ = programDir;
    settingsPath_ = programDir_ + "QV.INI";

    SettingsEnvironment env;
    env.programDirectory = programDir_;
    env.canListFiles = [](const std::string& dir) {
        WIN32_FIND_DATAW data;
        const HANDLE h = FindFirstFileW(ShiftJisToWide(dir + "*.*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        FindClose(h);
        return true;
    };
    env.systemIsJapanese = GetUserDefaultLangID() == 0x0411;
    env.ui = &ui_;
    const auto settingsFile = OpenIniFile(settingsPath_);
    (void)ReadSettings(*settingsFile, settings_, SettingsPart::All, env);
    const int lang = settings_.languageIndex;

    if (!LoadFftLibrary(programDir_, fft_, ui_, kAppTitle))
        return false;
    generator_.AttachFft(&fft_);
    generator_.ui = &ui_;
    fft_.createFft(10, 4096, 0, 0); // the pink-noise source's transform

    ParamSet set(lang);
    LoadParamFile(*settingsFile, set);
    ReportInvalidFilterPoints(set, settingsPath_, ui_, lang, kAppTitle);
    helpPath_ = programDir_ + "QV.chm";

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                             ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClass(instance_, kClassName, WindowProc, true,
                        LoadIconW(instance_, MAKEINTRESOURCEW(1)));
    const std::string caption =
        std::string(kAppTitle) + "  Ver. 1.50" + (lang == kEnglish ? "E  " : "  ") + kCaptionNotice;
    hwnd_ = CreateWindowExW(
        WS_EX_ACCEPTFILES, kClassName, Utf8ToWide(caption).c_str(),
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, this);
    if (!hwnd_)
        return false;
    ui_.SetOwner(hwnd_);
    dpi_ = DpiOf(hwnd_);

    controls_ = std::make_unique<MainControls>(generator_, lang);
    catalog_ = std::make_unique<WinDriverCatalog>(ui_);
    // A driver type this system cannot run falls back to MME.
    const auto type = static_cast<PlayDriverType>(settings_.playDriverType);
    if ((type == PlayDriverType::DirectSound && !catalog_->HasDirectX7()) ||
        (type == PlayDriverType::Wasapi && !catalog_->OsHasWasapi()))
        settings_.playDriverType = 0;
    engine_ = std::make_unique<WavePlayRec>(
        *this, ui_,
        [this](uint8_t* buffer, uint32_t bytes, uint32_t block) {
            return generator_.FillOutputBuffer(buffer, bytes, block);
        },
        EngineSettingsFrom(settings_));
    engine_->AttachCatalog(catalog_.get());
    engine_->SetFullVolume(settings_.playWithFullVol);
    if (settings_.playDeviceNum >= engine_->GetDeviceCount(false))
        settings_.playDeviceNum = 0;
    play_ = std::make_unique<PlayCommand>(generator_, *controls_, *engine_);

    BuildControls();
    controls_->ApplyParamTable(set);
    (void)CreateInitParamFile(programDir_, *controls_, openEnv_);
    (void)play_->OfferFormat();
    Refresh(controls_->TakeChanges(), true);
    SelectPage(0);
    EnablePlayButton(true);
    EnableStopButton(false);
    scope_ = std::make_unique<ScopePanel>(
        instance_, hwnd_, font_, lang,
        ScopeColors{settings_.backColor, settings_.diagramBackColor, settings_.frameColor,
                    settings_.scaleColor, settings_.lineColorL, settings_.lineColorR,
                    settings_.charColor});
    scope_->View().xDispRate = settings_.waveXMag;
    scope_->View().yDispRate = settings_.waveYMag;
    PlaceWindow();
    PlaceScope();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    startGood_ = true;
    ProcessCommandLine(commandLine);
    return true;
}

// The control area over the display panel, at the saved place, inside the work area.
SIZE MainForm::FrameFor(int clientHeight) const {
    RECT frame{0, 0, Scale(kMainClientArea.w), Scale(clientHeight)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void MainForm::PlaceWindow() {
    const SIZE frame = FrameFor(kMainClientArea.h + kDisplayPanelHeight);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.cx;
    int height = settings_.height > 0 ? settings_.height : frame.cy;
    height = std::min<int>(height, work.bottom - work.top);
    const int x =
        std::clamp<int>(settings_.posX, work.left, std::max<int>(work.left, work.right - width));
    const int y =
        std::clamp<int>(settings_.posY, work.top, std::max<int>(work.top, work.bottom - height));
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER);
}

void MainForm::PlaceScope() {
    RECT area{};
    GetClientRect(hwnd_, &area);
    area.top = Scale(kMainClientArea.h);
    area.bottom = std::max(area.bottom, area.top + 1);
    scope_->Place(area, static_cast<int>(dpi_));
    RelayoutScope();
}

// The captured frames' rate: an oversampled write keeps the filter's rate.
double MainForm::ScopeRate() const {
    return static_cast<double>(generator_.format.sampleRate) *
           (generator_.oversampledWrite ? generator_.overSampleRate : 1);
}

void MainForm::RelayoutScope() {
    if (scope_)
        scope_->Relayout(static_cast<int32_t>(generator_.filterSize), ScopeRate(),
                         generator_.format.bitCode == 8, generator_.format.channels, fft_);
}

void MainForm::UpdateDisplay() {
    if (scope_ && scope_->Rate() != ScopeRate())
        RelayoutScope();
    const bool running = writing_ || engine_->PlaybackRunning();
    if (scope_ && scope_->View().Update(generator_, generator_.format.channels, running,
                                        GetKeyState(VK_CONTROL) < 0))
        scope_->Redraw();
}

void MainForm::ClearScope() {
    scope_->View().Clear();
    scope_->Redraw();
}

// The first time the window comes to the front: the user waves of the last run are loaded
// again (their messages now have a window to sit on) and a first start or a new version says
// where the help is.
void MainForm::FirstActivation() {
    PumpWindowMessages();
    // A set opened from the command line has registered its own waves and may be playing them.
    if (!engine_->PlaybackRunning()) {
        (void)RegisterUserWaves(generator_, [this](int master, const std::string&) {
            return RegisterUserWaveOf(master, UserWaveRequest::Deferred);
        });
        Refresh(controls_->TakeChanges(), false);
        (void)play_->OfferFormat();
    }
    if (settings_.dispHelp < 0) {
        const bool en = controls_->Language() == kEnglish;
        const char* text =
            settings_.dispHelp == -2
                ? (en ? "This is the new version.\nPlease refer to the Help file for the "
                        "modifications.\n\n The Help file can be opened by pressing F1 key at any "
                        "time. \n\n (This message is not displayed from next time)"
                      : "新バージョンです。\n前バージョンからの変更点についてはHelpファイルを参照"
                        "してください。\n\n 起動中、「F1キー」を押すことで何時でもHelpを見ることが"
                        "出来ます。\n\n （このメッセージは次回からは表示されません）")
                : (en ? "Please refer to the Help file for the usage and notes.\n\n The Help file "
                        "can be opened by pressing F1 key at any time. \n\n (This message is not "
                        "displayed from next time)"
                      : "使い方や注意点についてはHelpファイルを参照してください。\n\n 起動中、"
                        "「F1キー」を押すことで何時でもHelpを見ることが出来ます。\n\n "
                        "（このメッセージは次回からは表示されません）");
        ui_.Message(text, kAppTitle, MsgIcon::Warning);
        ShowHelp();
        settings_.dispHelp = 1;
    }
    activated_ = true;
}

bool MainForm::RegisterUserWaveOf(int master, UserWaveRequest request) {
    const NoKeysDown noKeys;
    const UserWaveLoadEnvironment env{.ui = ui_,
                                      .keys = noKeys,
                                      .languageIndex = controls_->Language(),
                                      .appTitle = kAppTitle,
                                      .progress = {}};
    return RegisterUserWave(generator_.userWaves[master / 4], master == 4, request, env);
}

void MainForm::RunOnMainThread(WavePlayRec& engine, MainStep step) {
    SendMessageW(hwnd_, kRunMainStep, static_cast<WPARAM>(step), reinterpret_cast<LPARAM>(&engine));
}

void MainForm::PostNotification(EngineNotification notification) {
    PostMessageW(hwnd_, WindowMessageOf(notification), 0, 0);
}

void MainForm::EnablePlayButton(bool enabled) {
    if (Control* c = Find(RowRole::Play))
        EnableWindow(c->hwnd, enabled);
}

void MainForm::EnableStopButton(bool enabled) {
    if (Control* c = Find(RowRole::Stop))
        EnableWindow(c->hwnd, enabled);
}

LRESULT CALLBACK MainForm::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<MainForm*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return form ? form->Handle(message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

LRESULT MainForm::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(w) == ScopePanel::kChannelBoxId && HIWORD(w) == CBN_SELCHANGE) {
            const auto chosen = SendMessageW(scope_->ChannelBox(), CB_GETCURSEL, 0, 0);
            generator_.dispChannel = static_cast<int>(std::max<LRESULT>(chosen, 0));
            return 0;
        }
        if (!refreshing_ && controls_) {
            if (Control* c = Find(LOWORD(w))) {
                if (c->row->kind == ControlKind::UnitLabel)
                    OnUnitLabel(*c, HIWORD(w) == STN_DBLCLK);
                else
                    OnCommand(*c, HIWORD(w));
            }
        }
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(l);
        if (header->code == TCN_SELCHANGE) {
            SelectPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        } else if (header->code == UDN_DELTAPOS) {
            const auto* ud = reinterpret_cast<const NMUPDOWN*>(l);
            if (Control* c = Find(static_cast<int>(header->idFrom))) {
                const int delta = ud->iDelta > 0 ? 120 : -120;
                if (c->row->role == RowRole::FreqUpDown)
                    controls_->OnFreqStep(c->row->slot, delta);
                else
                    controls_->OnAmpStep(c->row->slot, delta);
                Refresh(controls_->TakeChanges(), false);
            }
            return TRUE; // the buttons keep no position of their own
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        // The frequency field of a combo box shows red above half the sample rate.
        const HWND parent = GetParent(reinterpret_cast<HWND>(l));
        for (const Control& c : rows_) {
            if (c.hwnd == parent && c.row->role == RowRole::Slot &&
                c.row->slotControl == SlotControl::Freq &&
                controls_->Red(c.row->slot, SlotControl::Freq) && message == WM_CTLCOLOREDIT) {
                SetBkColor(reinterpret_cast<HDC>(w), RGB(255, 96, 96));
                return reinterpret_cast<LRESULT>(redBrush_);
            }
        }
        break;
    }
    case WM_GETMINMAXINFO:
        // The width is fixed; the height gives or takes only the display panel.
        if (controls_) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(l);
            const SIZE least = FrameFor(kMainClientArea.h + kMinDisplayHeight);
            limits->ptMinTrackSize = {least.cx, least.cy};
            limits->ptMaxTrackSize.x = limits->ptMinTrackSize.x;
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        // The control area in the button face, the display panel below it in BackColor.
        RECT r{};
        GetClientRect(hwnd_, &r);
        const auto dc = reinterpret_cast<HDC>(w);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        r.top = Scale(kMainClientArea.h);
        if (backBrush_)
            FillRect(dc, &r, backBrush_);
        return 1;
    }
    case WM_SIZE:
        InvalidateRect(hwnd_, nullptr, TRUE);
        if (scope_)
            PlaceScope();
        break;
    case WM_CTLCOLORSTATIC:
        // The filter box and its panel take the filter's colour while the filter is on.
        if (const Control* box = Find(ToolbarControl::FilterOn);
            box && box->hwnd == reinterpret_cast<HWND>(l) &&
            controls_->ToolbarChecked(ToolbarControl::FilterOn)) {
            SetBkColor(reinterpret_cast<HDC>(w), settings_.filterPointColor);
            return reinterpret_cast<LRESULT>(filterBrush_);
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (item->CtlID != kFilterPanelId)
            break;
        RECT r = item->rcItem;
        const bool on = controls_->ToolbarChecked(ToolbarControl::FilterOn);
        FillRect(item->hDC, &r, on ? filterBrush_ : GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(item->hDC, &r, EDGE_ETCHED, BF_RECT);
        return TRUE;
    }
    case kRunMainStep:
        reinterpret_cast<WavePlayRec*>(l)->RunMainStep(static_cast<MainStep>(w));
        return 0;
    case kAutoPlay:
        Play();
        return 0;
    case kWmPlaybackBegins:
        KillTimer(hwnd_, kTimer1);
        if (autoPlay_ && autoPlayMs_ > 0)
            SetTimer(hwnd_, kTimer1, static_cast<UINT>(autoPlayMs_), nullptr);
        autoPlay_ = false;
        return 0;
    case kWmPlaybackEnds: {
        const std::string deferred = play_->Stopped();
        if (GetKeyState(VK_CONTROL) >= 0) // Ctrl keeps the last picture
            ClearScope();
        Refresh(controls_->TakeChanges(), false);
        if (!deferred.empty())
            pendingOpen_ = deferred;
        OpenPending();
        return 0;
    }
    case WM_TIMER:
        if (w == kTimer1) {
            KillTimer(hwnd_, kTimer1);
            if (engine_->PlaybackRunning())
                Stop();
        }
        return 0;
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(l);
        if (data && data->lpData && data->cbData > 0) {
            const char* text = static_cast<const char*>(data->lpData);
            ProcessCommandLine(
                std::string(text, strnlen(text, std::min<DWORD>(data->cbData, 359))));
        }
        return TRUE;
    }
    case WM_DROPFILES: {
        const HDROP drop = reinterpret_cast<HDROP>(w);
        std::array<wchar_t, MAX_PATH> name{};
        if (DragQueryFileW(drop, 0, name.data(), static_cast<UINT>(name.size())) > 0) {
            pendingOpen_ = WideToShiftJis(name.data());
            if (engine_->PlaybackRunning())
                Stop();
            else
                OpenPending();
        }
        DragFinish(drop);
        return 0;
    }
    case WM_CONTEXTMENU: {
        POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        ShowContextMenu(reinterpret_cast<HWND>(w), at);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(w) != WA_INACTIVE && !activationPosted_) {
            activationPosted_ = true;
            PostMessageW(hwnd_, kFirstActivation, 0, 0);
        }
        break;
    case kDisplayWaitQuery:
        return static_cast<LRESULT>(engine_->LongestAfterFillWait());
    case kFirstActivation:
        FirstActivation();
        return 0;
    case WM_CLOSE:
        if (writing_) { // the write ends first, with a whole file, and the window then closes
            closeAfterWrite_ = true;
            return 0;
        }
        if (play_)
            play_->Stop();
        SaveSettingsAndSet();
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, w, l);
}

} // namespace qv
