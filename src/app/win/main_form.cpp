#include "app/win/main_form.h"

#include "app/command_line.h"
#include "app/engine_settings.h"
#include "app/open_param_file.h"
#include "app/user_wave_loader.h"
#include "app/write_command.h"
#include "engine/win/engine_window_messages.h"
#include "fftlib/fft_library.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "files/wave_writer.h"
#include "generator/item_lists.h"
#include "generator/number_text.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace qv {

namespace {

constexpr wchar_t kClassName[] = L"TMainForm";
constexpr UINT kRunMainStep = WM_APP + 1; // wParam: the step, lParam: the engine
constexpr UINT kAutoPlay = WM_APP + 2;    // a file opened with "/P" starts playing
constexpr UINT_PTR kTimer1 = 1;           // ends a "/P" playback
constexpr int kDisplayPanelHeight = 200;  // the lower panel (its contents come with the display)

// The window's DPI where the system can say it (Windows 10 and later, Wine), else the screen's.
UINT DpiOf(HWND hwnd) {
    using GetDpi = UINT(WINAPI*)(HWND);
    const auto get = reinterpret_cast<GetDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get)
        return get(hwnd);
    const HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int PageOf(const LayoutRow& r) {
    return r.parent == LayoutParent::Page1 ? 0 : r.parent == LayoutParent::Page2 ? 1 : -1;
}

const wchar_t* ClassFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
        return WC_BUTTONW;
    case ControlKind::DropList:
    case ControlKind::DropEdit:
        return WC_COMBOBOXW;
    case ControlKind::Edit:
        return WC_EDITW;
    case ControlKind::UpDown:
        return UPDOWN_CLASSW;
    case ControlKind::Progress:
        return PROGRESS_CLASSW;
    case ControlKind::Tab:
        return WC_TABCONTROLW;
    default:
        return WC_STATICW;
    }
}

DWORD StyleFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
        return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::CheckBox:
        return BS_AUTOCHECKBOX | WS_TABSTOP;
    case ControlKind::GroupBox:
        return BS_GROUPBOX;
    case ControlKind::DropList:
        return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::DropEdit:
        return CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::Edit:
        return ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    case ControlKind::UnitLabel:
        return SS_NOTIFY | SS_CENTER;
    case ControlKind::UpDown:
        return 0;
    case ControlKind::Panel:
        return SS_ETCHEDFRAME;
    default:
        return 0;
    }
}

std::string ExtensionFilter(std::wstring& storage, const wchar_t* description,
                            const wchar_t* pattern) {
    storage = std::wstring(description) + L'\0' + pattern + L'\0';
    return {};
}

// A file dialog; path holds the offered name and receives the chosen one.
bool AskFile(HWND owner, bool save, const wchar_t* title, const wchar_t* description,
             const wchar_t* pattern, const wchar_t* extension, const std::string& directory,
             std::string& path) {
    std::wstring filter;
    ExtensionFilter(filter, description, pattern);
    std::array<wchar_t, MAX_PATH * 2> name{};
    const std::wstring offered = ShiftJisToWide(path);
    offered.copy(name.data(), std::min(offered.size(), name.size() - 1));
    const std::wstring folder = ShiftJisToWide(directory);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = extension;
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)))
        return false;
    path = WideToShiftJis(name.data());
    return true;
}

// What a slot control's notification calls in the model: a chosen item, a text (chosen or
// typed) or a check state.
struct SlotHandlers {
    SlotControl control;
    void (MainControls::*item)(int, int);
    void (MainControls::*text)(int, std::string_view);
    void (MainControls::*check)(int, bool);
};
using MC = MainControls;
constexpr SlotHandlers kSlotHandlers[] = {
    {SlotControl::Waveform, &MC::OnWaveform, nullptr, nullptr},
    {SlotControl::OutCh, &MC::OnOutCh, nullptr, nullptr},
    {SlotControl::BandLimit, &MC::OnBandLimit, nullptr, nullptr},
    {SlotControl::Freq, nullptr, &MC::OnFrequencyText, nullptr},
    {SlotControl::Amp, nullptr, &MC::OnAmplitudeText, nullptr},
    {SlotControl::Offset, nullptr, &MC::OnOffsetText, nullptr},
    {SlotControl::Delay, nullptr, &MC::OnDelayText, nullptr},
    {SlotControl::Phase, nullptr, &MC::OnPhaseText, nullptr},
    {SlotControl::GateOn, nullptr, &MC::OnGateOnText, nullptr},
    {SlotControl::GateOff, nullptr, &MC::OnGateOffText, nullptr},
    {SlotControl::Sweep, nullptr, nullptr, &MC::OnSweep},
    {SlotControl::FollowerGate, nullptr, nullptr, &MC::OnFollowerGate},
};

} // namespace

MainForm::MainForm(HINSTANCE instance) : instance_(instance) {}

MainForm::~MainForm() {
    if (engine_)
        engine_->Stop();
    if (font_)
        DeleteObject(font_);
    if (redBrush_)
        DeleteObject(redBrush_);
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
        WIN32_FIND_DATAA data;
        const HANDLE h = FindFirstFileA((dir + "*.*").c_str(), &data);
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

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                             ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    const std::string caption = std::string(kAppTitle) + "  Ver. 1.50" +
                                (lang == kEnglish ? "E  " : "  ") + "(portable build)";
    hwnd_ = CreateWindowExW(
        WS_EX_ACCEPTFILES, kClassName, Utf8ToWide(caption).c_str(),
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, this);
    if (!hwnd_)
        return false;
    ui_.SetOwner(hwnd_);
    dpi_ = DpiOf(hwnd_);
    if (dpi_ == 0)
        dpi_ = 96;

    controls_ = std::make_unique<MainControls>(generator_, lang);
    catalog_ = std::make_unique<WinDriverCatalog>(ui_);
    engine_ = std::make_unique<WavePlayRec>(
        *this, ui_,
        [this](uint8_t* buffer, uint32_t bytes, uint32_t block) {
            return generator_.FillOutputBuffer(buffer, bytes, block);
        },
        EngineSettingsFrom(settings_));
    engine_->AttachCatalog(catalog_.get());
    play_ = std::make_unique<PlayCommand>(generator_, *controls_, *engine_);

    BuildControls();
    controls_->ApplyParamTable(set);
    const NoKeysDown noKeys;
    const UserWaveLoadEnvironment waveEnv{
        .ui = ui_, .keys = noKeys, .languageIndex = lang, .appTitle = kAppTitle, .progress = {}};
    (void)RegisterUserWaves(generator_, [&](int m, const std::string&) {
        return RegisterUserWave(generator_.userWaves[m / 4], m == 4, UserWaveRequest::Deferred,
                                waveEnv);
    });
    const OpenParamEnvironment openEnv{
        .ui = ui_,
        .appTitle = kAppTitle,
        .fileExists =
            [](const std::string& p) {
                return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
            },
        .openIni = [](const std::string& p) { return OpenIniFile(p); },
        .reregisterUserWave = {}};
    (void)CreateInitParamFile(programDir_, *controls_, openEnv);
    (void)play_->OfferFormat();
    Refresh(controls_->TakeChanges(), true);
    SelectPage(0);
    EnablePlayButton(true);
    EnableStopButton(false);

    // The window's size: the control area over the display panel, at the saved place, inside
    // the work area.
    RECT frame{0, 0, Scale(kMainClientArea.w), Scale(kMainClientArea.h + kDisplayPanelHeight)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    int height = settings_.height > 0 ? settings_.height : frame.bottom - frame.top;
    height = std::min<int>(height, work.bottom - work.top);
    int x =
        std::clamp<int>(settings_.posX, work.left, std::max<int>(work.left, work.right - width));
    int y =
        std::clamp<int>(settings_.posY, work.top, std::max<int>(work.top, work.bottom - height));
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    startGood_ = true;
    ProcessCommandLine(commandLine);
    return true;
}

RECT MainForm::Placed(const LayoutRect& r) const {
    return {Scale(r.x), Scale(r.y), Scale(r.x + r.w), Scale(r.y + r.h)};
}

// Sends a combo box field's right click to the main window as the combo box's.
LRESULT CALLBACK MainForm::FieldMenuProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                         DWORD_PTR main) {
    if (message == WM_CONTEXTMENU)
        return SendMessageW(reinterpret_cast<HWND>(main), WM_CONTEXTMENU,
                            reinterpret_cast<WPARAM>(GetParent(hwnd)), l);
    return DefSubclassProc(hwnd, message, w, l);
}

// A page of the tab control: a plain window over the tab's display area that hands its
// controls' notifications to the main window.
LRESULT CALLBACK MainForm::PageProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CONTEXTMENU:
        return SendMessageW(GetParent(hwnd), message, w, l);
    default:
        return DefWindowProcW(hwnd, message, w, l);
    }
}

void MainForm::BuildControls() {
    const int lang = controls_->Language();
    LOGFONTW lf{};
    lf.lfHeight = -Scale(10); // the cell of a 6 x 12 font
    lf.lfCharSet = lang == kJapanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, lang == kJapanese ? L"MS UI Gothic" : L"Tahoma");
    font_ = CreateFontIndirectW(&lf);
    redBrush_ = CreateSolidBrush(RGB(255, 96, 96));
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               instance_, nullptr);
    WNDCLASSEXW pageClass{};
    pageClass.cbSize = sizeof pageClass;
    pageClass.lpfnWndProc = PageProc;
    pageClass.hInstance = instance_;
    pageClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    pageClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    pageClass.lpszClassName = L"QvPage";
    RegisterClassExW(&pageClass);
    const RECT area = Placed(kPageArea);
    for (HWND& page : pages_) {
        page = CreateWindowExW(WS_EX_CONTROLPARENT, L"QvPage", L"", WS_CHILD | WS_CLIPSIBLINGS,
                               area.left, area.top, area.right - area.left, area.bottom - area.top,
                               hwnd_, nullptr, instance_, nullptr);
    }
    const auto rows = MainLayout();
    std::vector<const LayoutRow*> order;
    for (const LayoutRow& r : rows)
        order.push_back(&r);
    std::stable_partition(order.begin(), order.end(), [](const LayoutRow* r) {
        return r->kind == ControlKind::Tab || r->kind == ControlKind::GroupBox ||
               r->kind == ControlKind::Panel;
    });
    for (const LayoutRow* r : order) {
        const RECT rc = Placed(r->rect);
        const bool combo = r->kind == ControlKind::DropList || r->kind == ControlKind::DropEdit;
        const int height = combo ? Scale(200) : rc.bottom - rc.top; // the list's dropped height
        const HWND parent = PageOf(*r) < 0 ? hwnd_ : pages_[PageOf(*r)];
        const HWND h = CreateWindowExW(0, ClassFor(r->kind), Utf8ToWide(r->caption(lang)).c_str(),
                                       WS_CHILD | WS_CLIPSIBLINGS | StyleFor(r->kind), rc.left,
                                       rc.top, rc.right - rc.left, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(r->id)),
                                       instance_, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (r->kind == ControlKind::Tab) {
            for (int page = 0; page < 2; ++page) {
                std::wstring text = Utf8ToWide(page == 0 ? r->caption.ja : r->caption.en);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text.data();
                SendMessageW(h, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
            }
        }
        // The frequency field's own menu gives way to the frequency menu.
        if (r->role == RowRole::Slot && r->slotControl == SlotControl::Freq) {
            if (const HWND field = GetWindow(h, GW_CHILD))
                SetWindowSubclass(field, FieldMenuProc, 0, reinterpret_cast<DWORD_PTR>(hwnd_));
        }
        if (r->kind == ControlKind::UpDown)
            SendMessageW(h, UDM_SETRANGE32, 0, 100);
        if (r->kind == ControlKind::DropEdit || r->kind == ControlKind::DropList) {
            SendMessageW(h, CB_SETMINVISIBLE, 12, 0);
        }
        if (r->role == RowRole::Slot || r->role == RowRole::Toolbar) {
            const std::string hint =
                r->role == RowRole::Slot ? controls_->Hint(r->slot, r->slotControl) : std::string();
            if (!hint.empty()) {
                std::wstring text = Utf8ToWide(hint);
                TTTOOLINFOW info{};
                info.cbSize = sizeof info;
                info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
                info.hwnd = parent;
                info.uId = reinterpret_cast<UINT_PTR>(h);
                info.lpszText = text.data();
                SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
            }
        }
        rows_.push_back({r, h});
    }
    // Containers lie under the controls they hold, and the tab control under the group boxes.
    for (ControlKind bottom : {ControlKind::GroupBox, ControlKind::Panel, ControlKind::Tab}) {
        for (const Control& c : rows_) {
            if (c.row->kind == bottom)
                SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

MainForm::Control* MainForm::Find(int id) {
    for (Control& c : rows_) {
        if (c.row->id == id)
            return &c;
    }
    return nullptr;
}

MainForm::Control* MainForm::Find(RowRole role, int slot) {
    for (Control& c : rows_) {
        if (c.row->role == role && c.row->slot == slot)
            return &c;
    }
    return nullptr;
}

std::string MainForm::ComboText(HWND combo) const {
    std::array<wchar_t, 256> text{};
    GetWindowTextW(combo, text.data(), static_cast<int>(text.size()));
    return WideToShiftJis(text.data());
}

void MainForm::ShowRow(Control& c) {
    const LayoutRow& r = *c.row;
    const MainControls& m = *controls_;
    bool visible = true;
    bool enabled = true;
    const auto fill = [&](std::span<const char* const> items, int selected,
                          const std::string* text) {
        // A list is refilled only when it changed (a unit, the channel count): refilling clears
        // the field, which would move the caret while the user types.
        if (items.data() != c.items || items.size() != c.itemCount) {
            SendMessageW(c.hwnd, CB_RESETCONTENT, 0, 0);
            for (const char* item : items)
                SendMessageW(c.hwnd, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(ShiftJisToWide(item).c_str()));
            c.items = items.data();
            c.itemCount = items.size();
        }
        if (selected >= 0)
            SendMessageW(c.hwnd, CB_SETCURSEL, selected, 0);
        if (text && ComboText(c.hwnd) != *text)
            SetWindowTextW(c.hwnd, ShiftJisToWide(*text).c_str());
    };
    switch (r.role) {
    case RowRole::Slot:
        visible = visible && m.Visible(r.slot, r.slotControl);
        enabled = m.Enabled(r.slot, r.slotControl);
        if (r.kind == ControlKind::DropList) {
            fill(m.Items(r.slot, r.slotControl), m.Selected(r.slot, r.slotControl), nullptr);
        } else if (r.kind == ControlKind::DropEdit) {
            const std::string text = m.Text(r.slot, r.slotControl);
            fill(m.Items(r.slot, r.slotControl), -1, &text);
        } else if (r.kind == ControlKind::CheckBox) {
            SendMessageW(c.hwnd, BM_SETCHECK, m.Checked(r.slot, r.slotControl), 0);
        }
        if (r.slotControl == SlotControl::Waveform) {
            std::wstring hint = Utf8ToWide(m.Hint(r.slot, SlotControl::Waveform));
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.hwnd = GetParent(c.hwnd);
            info.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
            info.lpszText = hint.data();
            SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        }
        if (r.slotControl == SlotControl::Freq)
            InvalidateRect(c.hwnd, nullptr, TRUE); // its colour
        break;
    case RowRole::FreqUnit:
    case RowRole::AmpUnit:
    case RowRole::OffsetUnit:
        SetWindowTextW(c.hwnd, ShiftJisToWide(m.UnitLabel(r.slot, r.slotControl)).c_str());
        break;
    case RowRole::Caption:
        if (r.slot >= 0 && r.slotControl != SlotControl::Count)
            visible = visible && m.Visible(r.slot, r.slotControl);
        if (r.kind == ControlKind::Progress)
            visible = false; // shown only during a write
        break;
    case RowRole::Toolbar: {
        const ToolbarControl t = r.toolbarControl;
        enabled = m.ToolbarEnabled(t);
        if (r.kind == ControlKind::DropList) {
            fill(m.ToolbarItems(t), m.ToolbarSelected(t), nullptr);
        } else if (r.kind == ControlKind::DropEdit) {
            const std::string text = m.ToolbarText(t);
            fill(m.ToolbarItems(t), -1, &text);
        } else if (r.kind == ControlKind::CheckBox) {
            SendMessageW(c.hwnd, BM_SETCHECK, m.ToolbarChecked(t), 0);
        } else if (r.kind == ControlKind::Edit) {
            const std::wstring text = ShiftJisToWide(m.ToolbarText(t));
            std::array<wchar_t, 256> now{};
            GetWindowTextW(c.hwnd, now.data(), static_cast<int>(now.size()));
            if (text != now.data())
                SetWindowTextW(c.hwnd, text.c_str());
        }
        break;
    }
    default:
        break;
    }
    ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
    if (r.role != RowRole::Play && r.role != RowRole::Stop)
        EnableWindow(c.hwnd, enabled);
}

void MainForm::Refresh(const ControlChanges& changes, bool all) {
    refreshing_ = true;
    for (Control& c : rows_) {
        const LayoutRow& r = *c.row;
        bool changed = all;
        if (!changed && r.slot >= 0 && r.slotControl != SlotControl::Count)
            changed = changes.Has(r.slot, r.slotControl);
        if (!changed && r.role == RowRole::Toolbar)
            changed = changes.Has(r.toolbarControl);
        if (changed)
            ShowRow(c);
    }
    refreshing_ = false;
}

void MainForm::SelectPage(int page) {
    page_ = page;
    ShowWindow(pages_[page], SW_SHOWNA);
    ShowWindow(pages_[1 - page], SW_HIDE);
}

void MainForm::OnCommand(const Control& c, int code) {
    const LayoutRow& r = *c.row;
    MainControls& m = *controls_;
    const bool selChange = code == CBN_SELCHANGE;
    const bool edited = code == CBN_EDITCHANGE || code == EN_CHANGE;
    const bool clicked = code == BN_CLICKED;
    const auto selected = [&] {
        return static_cast<int>(SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0));
    };
    // The text of a drop-down with a field: the chosen item, or what was typed.
    const auto text = [&] {
        if (selChange) {
            const int i = selected();
            const int n = static_cast<int>(SendMessageW(c.hwnd, CB_GETLBTEXTLEN, i, 0));
            std::wstring item(static_cast<size_t>(n > 0 ? n : 0), L'\0');
            SendMessageW(c.hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            return WideToShiftJis(item);
        }
        return ComboText(c.hwnd);
    };
    const bool checked = SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (r.role == RowRole::Slot) {
        const int i = r.slot;
        for (const SlotHandlers& h : kSlotHandlers) {
            if (h.control != r.slotControl)
                continue;
            if (h.item && selChange)
                (m.*h.item)(i, selected());
            else if (h.text && (selChange || edited))
                (m.*h.text)(i, text());
            else if (h.check && clicked)
                (m.*h.check)(i, checked);
        }
        if (r.slotControl == SlotControl::Modulation && clicked)
            m.OnModulation(i, checked, generator_.slots[i].modulationType,
                           generator_.slots[i].modulatingSignal);
        if ((r.slotControl == SlotControl::UserWaveButton ||
             r.slotControl == SlotControl::FreqBarButton) &&
            clicked)
            ui_.Message(m.Language() == kEnglish ? "This window is not available yet."
                                                 : "このウィンドウはまだ使えません。",
                        kAppTitle, MsgIcon::Information);
    } else if (r.role == RowRole::Toolbar) {
        switch (r.toolbarControl) {
        case ToolbarControl::SampleRate:
            if (selChange || edited)
                m.OnSampleRateText(text());
            break;
        case ToolbarControl::BitLen:
            if (selChange)
                m.OnBitLen(selected());
            break;
        case ToolbarControl::Channels:
            if (selChange)
                m.OnChannels(selected());
            break;
        case ToolbarControl::FileLength:
            if (selChange || edited)
                m.OnFileLengthText(text());
            break;
        case ToolbarControl::Comment:
            if (edited)
                m.OnCommentText(ComboText(c.hwnd));
            break;
        case ToolbarControl::FilterOn:
            if (clicked)
                m.OnFilterOn(checked);
            break;
        case ToolbarControl::Load:
            if (clicked)
                Load();
            break;
        case ToolbarControl::Save:
            if (clicked)
                Save();
            break;
        case ToolbarControl::Write:
            if (clicked)
                Write();
            break;
        case ToolbarControl::Device:
            if (clicked)
                ui_.Message(m.Language() == kEnglish ? "This window is not available yet."
                                                     : "このウィンドウはまだ使えません。",
                            kAppTitle, MsgIcon::Information);
            break;
        default:
            break;
        }
        if (r.toolbarControl == ToolbarControl::SampleRate ||
            r.toolbarControl == ToolbarControl::BitLen ||
            r.toolbarControl == ToolbarControl::Channels)
            (void)play_->OfferFormat();
    } else if (r.role == RowRole::Play && clicked) {
        Play();
    } else if (r.role == RowRole::Stop && clicked) {
        Stop();
    }
    Refresh(m.TakeChanges(), false);
}

void MainForm::OnUnitLabel(const Control& c, bool doubleClick) {
    if (!doubleClick)
        return;
    const LayoutRow& r = *c.row;
    if (r.role == RowRole::FreqUnit)
        controls_->CycleFreqUnit(r.slot);
    else if (r.role == RowRole::AmpUnit)
        controls_->CycleAmpUnit(r.slot);
    else
        controls_->CycleOffsetUnit(r.slot);
    Refresh(controls_->TakeChanges(), false);
}

void MainForm::Play() {
    const PlayEnvironment env{.ui = ui_,
                              .languageIndex = controls_->Language(),
                              .deviceIndex = settings_.playDeviceNum,
                              .asioFirstChannel = settings_.asioPlayChNum};
    (void)play_->Play(env);
    Refresh(controls_->TakeChanges(), false);
}

void MainForm::Stop() {
    play_->Stop();
}

void MainForm::Write() {
    const WinKeyState keys;
    const bool text = keys.ShiftDown();
    std::string& remembered = text ? settings_.lastTextFile : settings_.lastWaveFile;
    const bool english = controls_->Language() == kEnglish;
    std::string path = remembered;
    if (!AskFile(hwnd_, true, english ? L"Write to file" : L"ファイルに書き込む",
                 text ? L"Text format file (*.QVT)" : L"Wave file (*.WAV)",
                 text ? L"*.QVT" : L"*.WAV", text ? L"QVT" : L"WAV", settings_.lastDirectory, path))
        return;
    remembered = path;
    controls_->SetControlsForRun(false);
    Refresh(controls_->TakeChanges(), false);
    Control* progress = Find(2104);
    std::array<HWND, 4> format{};
    int k = 0;
    for (const Control& c : rows_) {
        if (c.row->exclusion == 2 && c.row->kind != ControlKind::Progress && k < 4)
            ShowWindow(format[k++] = c.hwnd, SW_HIDE);
    }
    ShowWindow(progress->hwnd, SW_SHOWNA);
    const WriteEnvironment env{.ui = ui_,
                               .keys = keys,
                               .languageIndex = controls_->Language(),
                               .appTitle = std::string(kAppTitle) + " - " + path,
                               .progress =
                                   [&](uint64_t position, uint64_t maximum) {
                                       const int step =
                                           maximum ? static_cast<int>(position * 100 / maximum) : 0;
                                       SendMessageW(progress->hwnd, PBM_SETPOS, step, 0);
                                   },
                               .afterBlock = {}};
    (void)(text ? RunTextWrite(generator_, remembered, env)
                : RunWaveWrite(generator_, remembered, env));
    ShowWindow(progress->hwnd, SW_HIDE);
    SendMessageW(progress->hwnd, PBM_SETPOS, 0, 0);
    for (HWND h : format) {
        if (h)
            ShowWindow(h, SW_SHOWNA);
    }
    controls_->SetControlsForRun(true);
    Refresh(controls_->TakeChanges(), false);
}

void MainForm::Load() {
    const bool english = controls_->Language() == kEnglish;
    std::string path = paramFilePath_;
    if (AskFile(hwnd_, false, english ? L"Open parameters" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙを開く",
                english ? L"parameter file (*.QV)" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙ (*.QV)", L"*.QV", L"QV",
                programDir_, path))
        OpenFile(path);
}

void MainForm::Save() {
    const bool english = controls_->Language() == kEnglish;
    std::string path = paramFilePath_;
    if (!AskFile(hwnd_, true, english ? L"Save parameters" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙの保存",
                 english ? L"parameter file (*.QV)" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙ (*.QV)", L"*.QV", L"QV",
                 programDir_, path))
        return;
    paramFilePath_ = path;
    const OpenParamEnvironment env{.ui = ui_,
                                   .appTitle = kAppTitle,
                                   .fileExists = {},
                                   .openIni = [](const std::string& p) { return OpenIniFile(p); },
                                   .reregisterUserWave = {}};
    OpenedNames names;
    if (SaveParamSet(path, *controls_, env, names)) {
        SetWindowTextW(hwnd_, ShiftJisToWide(names.caption).c_str());
        settings_.lastWaveFile = names.lastWaveFile;
        settings_.lastTextFile = names.lastTextFile;
    }
}

void MainForm::SaveSettingsAndSet() {
    if (!startGood_)
        return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    settings_.posX = r.left;
    settings_.posY = r.top;
    settings_.height = r.bottom - r.top;
    const auto ini = OpenIniFile(settingsPath_);
    (void)WriteSettings(*ini, settings_);
    ParamSet set(controls_->Language());
    controls_->CaptureParamTable(set);
    (void)SaveParamFile(*ini, set, std::nullopt);
}

void MainForm::ProcessCommandLine(const std::string& line) {
    const CommandLineRequest request = ParseCommandLine(line, programDir_);
    if (request.path.empty())
        return;
    paramFilePath_ = request.path;
    autoPlay_ = request.autoPlay;
    autoPlayMs_ = AutoPlayMilliseconds(
        request, ReadDecimal(controls_->ToolbarText(ToolbarControl::FileLength)));
    pendingOpen_ = request.path;
    if (engine_->PlaybackRunning())
        Stop(); // the open follows when the playback has ended
    else
        OpenPending();
}

void MainForm::OpenPending() {
    const std::string path = std::exchange(pendingOpen_, std::string());
    if (path.empty() || engine_->PlaybackRunning())
        return;
    if (!HasExtension(path, "QV")) {
        ui_.Message(controls_->Language() == kEnglish
                        ? "User waves are registered in the user-wave window, which is not "
                          "available yet."
                        : "ユーザー波形の登録ウィンドウはまだ使えません。",
                    kAppTitle, MsgIcon::Information);
        return;
    }
    OpenFile(path);
    if (autoPlay_ && !engine_->PlaybackRunning())
        PostMessageW(hwnd_, kAutoPlay, 0, 0);
}

void MainForm::OpenFile(const std::string& path) {
    const OpenParamEnvironment env{.ui = ui_,
                                   .appTitle = kAppTitle,
                                   .fileExists =
                                       [](const std::string& p) {
                                           return GetFileAttributesA(p.c_str()) !=
                                                  INVALID_FILE_ATTRIBUTES;
                                       },
                                   .openIni = [](const std::string& p) { return OpenIniFile(p); },
                                   .reregisterUserWave = {}};
    OpenedNames names;
    if (OpenParamFile(path, generator_, *controls_, env, names)) {
        paramFilePath_ = path;
        SetWindowTextW(hwnd_, ShiftJisToWide(names.caption).c_str());
        settings_.lastWaveFile = names.lastWaveFile;
        settings_.lastTextFile = names.lastTextFile;
        (void)play_->OfferFormat();
    }
    Refresh(controls_->TakeChanges(), false);
}

void MainForm::ClickIfEnabled(RowRole role, ToolbarControl control) {
    for (const Control& c : rows_) {
        if (c.row->role == role && (role != RowRole::Toolbar || c.row->toolbarControl == control) &&
            IsWindowEnabled(c.hwnd) && IsWindowVisible(c.hwnd)) {
            SendMessageW(c.hwnd, BM_CLICK, 0, 0);
            return;
        }
    }
}

bool MainForm::PreTranslate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !controls_)
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0,
               alt = GetKeyState(VK_MENU) < 0;
    if (msg.wParam == VK_SPACE && !ctrl && !alt) {
        // The check boxes and the comment box keep Space for themselves.
        const HWND focus = GetFocus();
        for (const Control& c : rows_) {
            const LayoutRow& r = *c.row;
            const bool keeps = r.kind == ControlKind::CheckBox && r.role == RowRole::Slot;
            const bool comment =
                r.role == RowRole::Toolbar && r.toolbarControl == ToolbarControl::Comment;
            if (c.hwnd == focus && (keeps || comment))
                return false;
        }
        const Control* play = Find(RowRole::Play);
        if (play && IsWindowEnabled(play->hwnd))
            Play();
        else
            Stop();
        return true;
    }
    if (ctrl && !shift && !alt) {
        switch (msg.wParam) {
        case 'D':
            ClickIfEnabled(RowRole::Toolbar, ToolbarControl::Device);
            return true;
        case 'O':
            ClickIfEnabled(RowRole::Toolbar, ToolbarControl::Load);
            return true;
        case 'S':
            ClickIfEnabled(RowRole::Toolbar, ToolbarControl::Save);
            return true;
        case 'W':
            ClickIfEnabled(RowRole::Toolbar, ToolbarControl::Write);
            return true;
        default:
            break;
        }
    }
    return false;
}

namespace {

// A popup menu of items (text, command, checked) and sub-menus, shown at a screen point; the
// chosen command, or 0.
struct MenuItem {
    std::string text; // UTF-8
    UINT command;     // 0 for a sub-menu
    bool checked = false;
    std::vector<MenuItem> sub = {};
};

HMENU BuildMenu(const std::vector<MenuItem>& items) {
    const HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : items) {
        const std::wstring text = Utf8ToWide(item.text);
        if (item.sub.empty())
            AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), item.command,
                        text.c_str());
        else
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(item.sub)),
                        text.c_str());
    }
    return menu;
}

UINT TrackMenu(HWND owner, const std::vector<MenuItem>& items, POINT at) {
    const HMENU menu = BuildMenu(items);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen;
}

} // namespace

void MainForm::ShowContextMenu(HWND control, POINT at) {
    // A combo box's field belongs to its combo box.
    const Control* c = nullptr;
    for (const Control& row : rows_) {
        if (row.hwnd == control || row.hwnd == GetParent(control))
            c = &row;
    }
    if (!c || c->row->slot < 0)
        return;
    const LayoutRow& r = *c->row;
    const int i = r.slot;
    const bool en = controls_->Language() == kEnglish;
    const auto t = [en](const char* ja, const char* english) {
        return std::string(en ? english : ja);
    };
    const WaveSlot& s = generator_.slots[i];
    if (r.role == RowRole::FreqUnit) {
        const UINT chosen = TrackMenu(
            hwnd_,
            {{"Hz", 1, s.freqUnit == kHz},
             {t("Sample数 (周期)", "Samples (Period)"), 2, s.freqUnit == kSamplesPerPeriod}},
            at);
        if (chosen)
            controls_->OnFreqUnit(i, static_cast<int>(chosen) - 1);
    } else if (r.role == RowRole::AmpUnit || r.role == RowRole::OffsetUnit) {
        const int unit = r.role == RowRole::AmpUnit ? s.ampUnit : s.offsetUnit;
        const UINT chosen =
            TrackMenu(hwnd_,
                      {{"dB  (0max)", 1, unit == kDb},
                       {t("数値 (32767max)", "Value (32767max)"), 2, unit == kValue},
                       {"%  (100max)", 3, unit == kPercent}},
                      at);
        if (chosen && r.role == RowRole::AmpUnit)
            controls_->OnAmpUnit(i, static_cast<int>(chosen) - 1);
        else if (chosen)
            controls_->OnOffsetUnit(i, static_cast<int>(chosen) - 1);
    } else if (r.role == RowRole::Slot && r.slotControl == SlotControl::Freq &&
               controls_->HasFreqMenu(i)) {
        std::vector<MenuItem> sizes;
        sizes.push_back({" 2048", 100, controls_->FitItem() == " 2048"});
        for (int32_t n = 4096; n <= 131072; n *= 2)
            sizes.push_back({std::to_string(n), static_cast<UINT>(100 + n / 2048),
                             controls_->FitItem() == std::to_string(n)});
        std::vector<MenuItem> items{{t("FFT 用に最適化", "Optimize for FFT"), 1},
                                    {t("FFT ｻﾝﾌﾟﾙ数", "FFT samples"), 0, false, sizes}};
        if (i % 4 != 0) {
            std::vector<MenuItem> times;
            for (int k = 2; k <= 10; ++k)
                times.push_back({"x" + std::to_string(k), static_cast<UINT>(200 + k)});
            items.push_back(
                {i < 4 ? t("Wave1 の倍数", "Times of Wave1") : t("Wave5 の倍数", "Times of Wave5"),
                 0, false, times});
        }
        const UINT chosen = TrackMenu(hwnd_, items, at);
        if (chosen == 1)
            controls_->OnFitToFft(i);
        else if (chosen == 100)
            controls_->SetFitSampleCount(2048);
        else if (chosen > 100 && chosen < 200)
            controls_->SetFitSampleCount(static_cast<int32_t>(chosen - 100) * 2048);
        else if (chosen > 200)
            controls_->OnMultipleOfMaster(i, static_cast<int>(chosen) - 200);
    } else if (r.role == RowRole::Slot && r.slotControl == SlotControl::Sweep &&
               controls_->Enabled(i, SlotControl::Sweep)) {
        const bool periodic = controls_->SweepFreqItemsEnabled(i);
        const std::string wave = i == 0 ? "Wave1" : "Wave5";
        std::vector<MenuItem> steps{
            {t("ｽﾑｰｽﾞ (連続)", "smooth (continuously)"), 40, s.sweepStepRate == kSmoothSweep}};
        for (uint32_t n = 4; n >= 1; --n)
            steps.push_back({en ? std::to_string(n) + (n == 1 ? " time per sec" : " times per sec")
                                : std::to_string(n) + " 回/秒",
                             40 + n, s.sweepStepRate == n});
        std::vector<MenuItem> items{
            {t("周波数 (Freq)", "Frequency"),
             0,
             false,
             {{t("ﾛｸﾞ", "log"), 10, s.sweepFreqLog}, {t("ﾘﾆｱ", "linear"), 11, !s.sweepFreqLog}}},
            {t("振幅    (Amp)", "Amplitude"),
             0,
             false,
             {{t("ﾛｸﾞ", "log"), 20, s.sweepAmpLog}, {t("ﾘﾆｱ", "linear"), 21, !s.sweepAmpLog}}},
            {t("位相  (Phase)", "Phase"),
             0,
             false,
             {{"Off", 30, s.sweepPhase == 0},
              {"On (" + wave + " --> 360)", 31, s.sweepPhase == 1},
              {"On (" + wave + " --> 0)", 32, s.sweepPhase == 2}}},
            {t("変化量", "Variation"), 0, false, steps}};
        if (!periodic)
            items.erase(items.begin() + 2), items.erase(items.begin());
        const UINT chosen = TrackMenu(hwnd_, items, at);
        bool freqLog = s.sweepFreqLog, ampLog = s.sweepAmpLog;
        int phase = s.sweepPhase;
        uint32_t rate = s.sweepStepRate;
        if (chosen == 10 || chosen == 11)
            freqLog = chosen == 10;
        else if (chosen == 20 || chosen == 21)
            ampLog = chosen == 20;
        else if (chosen >= 30 && chosen <= 32)
            phase = static_cast<int>(chosen) - 30;
        else if (chosen >= 40 && chosen <= 44)
            rate = chosen == 40 ? kSmoothSweep : chosen - 40;
        if (chosen)
            controls_->OnSweepMenu(i, freqLog, ampLog, phase, rate);
    } else if (r.role == RowRole::Slot && r.slotControl == SlotControl::Modulation &&
               controls_->Enabled(i, SlotControl::Modulation)) {
        static const char* const kTypes[] = {"AM", "DSB", "FM", "PM", "PWM"};
        std::vector<MenuItem> items;
        for (int k = 0; k < 5; ++k)
            items.push_back({kTypes[k], static_cast<UINT>(10 + k), s.modulationType == k});
        if (i == 0)
            items.push_back(
                {t("変調信号", "Modulating Signal"),
                 0,
                 false,
                 {{"Wave3", 20, s.modulatingSignal == 2}, {"Wave5", 21, s.modulatingSignal == 4}}});
        const UINT chosen = TrackMenu(hwnd_, items, at);
        if (chosen >= 10 && chosen <= 14)
            controls_->OnModulation(i, s.modulation, static_cast<int>(chosen) - 10,
                                    s.modulatingSignal);
        else if (chosen == 20 || chosen == 21)
            controls_->OnModulation(i, s.modulation, s.modulationType, chosen == 21 ? 4 : 2);
    }
    Refresh(controls_->TakeChanges(), false);
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
    case WM_CLOSE:
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
