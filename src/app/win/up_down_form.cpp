#include "app/win/up_down_form.h"

#include "generator/number_text.h"
#include "platform/language.h"
#include "platform/win/text_conversion.h"
#include "platform/win/win_ui.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <span>
#include <string>

namespace qv {

namespace {

constexpr wchar_t kClass[] = L"TUpDownForm";

constexpr const char* kFreqValues[] = {"1",  "2",   "5",   "10",  "20",
                                       "50", "100", "200", "500", "1000"};
constexpr const char* kAmpValues[] = {"0.1", "0.2", "0.5", "1",  "2",   "3",
                                      "6",   "10",  "20",  "50", "100", "0xFF"};
constexpr const char* kFreqPercents[] = {"0.1", "0.2", "0.5", "1",  "2", "5", "5.94630943592953",
                                         "10",  "20",  "50",  "100"};
constexpr const char* kAmpPercents[] = {"0.1", "0.2", "0.5", "1", "2", "5", "10", "20", "50"};
constexpr const char* kTransitions[] = {"0", "0.1", "0.2", "0.5", "1.0"};

// The window's controls in 96-DPI pixels of its client area.
struct Row {
    int id;
    const wchar_t* cls;
    DWORD style;
    RECT rect; // left, top, width, height
    Text2 caption;
};
constexpr Row kRows[] = {
    {0, WC_BUTTONW, BS_GROUPBOX, {6, 2, 200, 64}, {"変化量", "variation"}},
    {UpDownForm::kValueRadio,
     WC_BUTTONW,
     BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
     {16, 20, 72, 16},
     {"数値", "value"}},
    {UpDownForm::kValueBox,
     WC_COMBOBOXW,
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
     {92, 18, 104, 200},
     {"", ""}},
    {UpDownForm::kPercentRadio, WC_BUTTONW, BS_AUTORADIOBUTTON, {16, 42, 72, 16}, {"%", "%"}},
    {UpDownForm::kPercentBox,
     WC_COMBOBOXW,
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
     {92, 40, 104, 200},
     {"", ""}},
    {0, WC_BUTTONW, BS_GROUPBOX, {6, 70, 200, 64}, {"変化時間", "transition time"}},
    {UpDownForm::kTransitionBox,
     WC_COMBOBOXW,
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
     {16, 88, 56, 200},
     {"", ""}},
    {0, WC_STATICW, 0, {76, 91, 24, 14}, {"秒", "sec"}},
    {UpDownForm::kResetBuffer,
     WC_BUTTONW,
     BS_AUTOCHECKBOX | WS_TABSTOP,
     {16, 112, 112, 16},
     {"ﾘｾｯﾄ ﾊﾞｯﾌｧｰ", "reset buffer"}},
    {UpDownForm::kLog,
     WC_BUTTONW,
     BS_AUTOCHECKBOX | WS_TABSTOP,
     {132, 112, 64, 16},
     {"ﾛｸﾞ", "log"}},
    {UpDownForm::kClose,
     WC_BUTTONW,
     BS_DEFPUSHBUTTON | WS_TABSTOP,
     {126, 140, 80, 24},
     {"閉じる", "Close"}},
};
constexpr SIZE kClient{212, 170};

std::string BoxText(HWND box) {
    std::array<wchar_t, 64> text{};
    GetWindowTextW(box, text.data(), static_cast<int>(text.size()));
    return WideToShiftJis(text.data());
}

void Fill(HWND box, std::span<const char* const> items, const std::string& text) {
    for (const char* item : items)
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ShiftJisToWide(item).c_str()));
    SetWindowTextW(box, ShiftJisToWide(text).c_str());
}

} // namespace

UpDownForm::UpDownForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                       bool frequency, const UpDownSettings& settings, POINT at, Changed changed)
    : owner_(owner), frequency_(frequency), settings_(settings), changed_(std::move(changed)) {
    RegisterWindowClass(instance, kClass, Proc);
    const HDC screen = GetDC(owner);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(owner, screen);
    const auto px = [dpi](LONG v) { return MulDiv(v, dpi > 0 ? dpi : 96, 96); };
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, px(kClient.cx), px(kClient.cy)};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = std::clamp<int>(at.x, work.left, std::max<int>(work.left, work.right - width));
    const int y = std::clamp<int>(at.y, work.top, std::max<int>(work.top, work.bottom - height));
    const wchar_t* caption =
        frequency ? L"F/P Up/Down" : (languageIndex == kEnglish ? L"Amp Up/Down" : L"振幅 Up/Down");
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClass, caption, style, x, y,
                            width, height, owner, nullptr, instance, this);
    for (const Row& r : kRows) {
        const HWND h = CreateWindowExW(
            0, r.cls, Utf8ToWide(r.caption(languageIndex)).c_str(), WS_CHILD | WS_VISIBLE | r.style,
            px(r.rect.left), px(r.rect.top), px(r.rect.right), px(r.rect.bottom), hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(r.id)), instance, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    showing_ = true; // filling the boxes is not an edit
    Fill(Control(kValueBox), frequency ? std::span<const char* const>(kFreqValues) : kAmpValues,
         FormatNumber15(settings_.value));
    Fill(Control(kPercentBox),
         frequency ? std::span<const char* const>(kFreqPercents) : kAmpPercents,
         FormatNumber15(settings_.percent));
    Fill(Control(kTransitionBox), kTransitions, TransitionTimeText(settings_.transition));
    showing_ = false;
    ShowState();
}

UpDownForm::~UpDownForm() {
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

void UpDownForm::RunModal() {
    EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    MSG msg;
    while (!closed_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            closed_ = true;
        else if (!IsDialogMessageW(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EnableWindow(owner_, TRUE);
    ShowWindow(hwnd_, SW_HIDE);
    SetActiveWindow(owner_);
}

// The radio buttons and the two options follow the settings: reset buffer only for an
// instant change, the log path only for a transition.
void UpDownForm::ShowState() {
    showing_ = true;
    CheckRadioButton(hwnd_, kValueRadio, kPercentRadio,
                     settings_.percentMode ? kPercentRadio : kValueRadio);
    CheckDlgButton(hwnd_, kResetBuffer, settings_.resetBuffer ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, kLog, settings_.log ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(Control(kResetBuffer), settings_.transition == 0);
    EnableWindow(Control(kLog), settings_.transition != 0);
    showing_ = false;
}

void UpDownForm::OnCommand(int id, int code) {
    if (showing_ && id != IDCANCEL)
        return;
    const bool text = code == CBN_EDITCHANGE || code == CBN_SELCHANGE;
    const auto chosen = [&](int box) {
        if (code != CBN_SELCHANGE)
            return BoxText(Control(box));
        const auto i = SendMessageW(Control(box), CB_GETCURSEL, 0, 0);
        std::array<wchar_t, 64> item{};
        if (i >= 0 && SendMessageW(Control(box), CB_GETLBTEXTLEN, i, 0) < 64)
            SendMessageW(Control(box), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        return WideToShiftJis(item.data());
    };
    switch (id) {
    case kValueRadio:
    case kPercentRadio:
        settings_.percentMode = id == kPercentRadio;
        break;
    case kValueBox:
        if (!text)
            return;
        settings_.value = StepValue(chosen(kValueBox));
        break;
    case kPercentBox:
        if (!text)
            return;
        settings_.percent = StepValue(chosen(kPercentBox));
        break;
    case kTransitionBox: {
        if (!text && code != CBN_KILLFOCUS)
            return;
        const std::string typed = chosen(kTransitionBox);
        const double seconds = ReadDecimal(typed);
        settings_.transition = ClampTransitionTime(seconds);
        // An out-of-range time is written back corrected.
        if (settings_.transition != seconds && !typed.empty()) {
            showing_ = true;
            SetWindowTextW(Control(kTransitionBox),
                           ShiftJisToWide(TransitionTimeText(settings_.transition)).c_str());
            showing_ = false;
        }
        break;
    }
    case kResetBuffer:
        settings_.resetBuffer = IsDlgButtonChecked(hwnd_, kResetBuffer) == BST_CHECKED;
        break;
    case kLog:
        settings_.log = IsDlgButtonChecked(hwnd_, kLog) == BST_CHECKED;
        break;
    case kClose:
    case IDCANCEL: // Esc, as the dialog manager hands it on
        closed_ = true;
        return;
    default:
        return;
    }
    ShowState();
    if (changed_)
        changed_(settings_);
}

LRESULT CALLBACK UpDownForm::Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<UpDownForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (self)
            self->OnCommand(LOWORD(w), HIWORD(w));
        return 0;
    case WM_CLOSE:
        if (self)
            self->closed_ = true;
        return 0;
    default:
        return DefWindowProcW(hwnd, message, w, l);
    }
}

} // namespace qv
