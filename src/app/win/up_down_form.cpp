#include "app/win/up_down_form.h"

#include "generator/number_text.h"
#include "platform/language.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>

#include <span>
#include <string>

namespace qv {

namespace {

constexpr const char* kFreqValues[] = {"1",  "2",   "5",   "10",  "20",
                                       "50", "100", "200", "500", "1000"};
constexpr const char* kAmpValues[] = {"0.1", "0.2", "0.5", "1",  "2",   "3",
                                      "6",   "10",  "20",  "50", "100", "0xFF"};
constexpr const char* kFreqPercents[] = {"0.1", "0.2", "0.5", "1",  "2", "5", "5.94630943592953",
                                         "10",  "20",  "50",  "100"};
constexpr const char* kAmpPercents[] = {"0.1", "0.2", "0.5", "1", "2", "5", "10", "20", "50"};
constexpr const char* kTransitions[] = {"0", "0.1", "0.2", "0.5", "1.0"};

// The window's controls in 96-DPI pixels of its client area.
constexpr SettingsRow kRows[] = {
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
    {SettingsWindow::kCloseId,
     WC_BUTTONW,
     BS_DEFPUSHBUTTON | WS_TABSTOP,
     {126, 140, 80, 24},
     {"閉じる", "Close"}},
};
constexpr SIZE kClient{212, 170};

} // namespace

UpDownForm::UpDownForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                       bool frequency, const UpDownSettings& settings, POINT at, Changed changed)
    : RecordWindow(instance, owner, font, languageIndex,
                   frequency ? L"F/P Up/Down"
                             : (languageIndex == kEnglish ? L"Amp Up/Down" : L"振幅 Up/Down"),
                   kClient, kRows, at, settings, std::move(changed)) {
    Fill(kValueBox, frequency ? std::span<const char* const>(kFreqValues) : kAmpValues,
         FormatNumber15(settings_.value));
    Fill(kPercentBox, frequency ? std::span<const char* const>(kFreqPercents) : kAmpPercents,
         FormatNumber15(settings_.percent));
    Fill(kTransitionBox, kTransitions, TransitionTimeText(settings_.transition));
    ShowState();
    Ready();
}

// The radio buttons and the two options follow the settings: reset buffer only for an
// instant change, the log path only for a transition.
void UpDownForm::ShowState() {
    const Showing showing(*this);
    CheckRadioButton(Window(), kValueRadio, kPercentRadio,
                     settings_.percentMode ? kPercentRadio : kValueRadio);
    CheckDlgButton(Window(), kResetBuffer, settings_.resetBuffer ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Window(), kLog, settings_.log ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(Control(kResetBuffer), settings_.transition == 0);
    EnableWindow(Control(kLog), settings_.transition != 0);
}

bool UpDownForm::OnCommand(int id, int code) {
    const bool edited = code == CBN_EDITCHANGE || code == CBN_SELCHANGE;
    switch (id) {
    case kValueRadio:
    case kPercentRadio:
        settings_.percentMode = id == kPercentRadio;
        break;
    case kValueBox:
    case kPercentBox:
        if (!edited)
            return false;
        (id == kValueBox ? settings_.value : settings_.percent) = StepValue(ChosenText(id, code));
        break;
    case kTransitionBox: {
        if (!edited)
            return false;
        const std::string typed = ChosenText(id, code);
        const double seconds = ReadDecimal(typed);
        settings_.transition = ClampTransitionTime(seconds);
        // An out-of-range time is written back corrected.
        if (settings_.transition != seconds && !typed.empty())
            SetText(kTransitionBox, TransitionTimeText(settings_.transition));
        break;
    }
    case kResetBuffer:
        settings_.resetBuffer = IsDlgButtonChecked(Window(), kResetBuffer) == BST_CHECKED;
        break;
    case kLog:
        settings_.log = IsDlgButtonChecked(Window(), kLog) == BST_CHECKED;
        break;
    default:
        return false;
    }
    return true;
}

} // namespace qv
