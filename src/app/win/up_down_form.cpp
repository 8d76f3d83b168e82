#include "app/win/up_down_form.h"

#include "generator/number_text.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>

#include <string>

namespace qv {

UpDownForm::UpDownForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                       bool frequency, const UpDownSettings& settings, POINT at, Changed changed)
    : RecordWindow(instance, owner, font, languageIndex,
                   frequency ? kFreqUpDownCaption : kAmpUpDownCaption, UpDownLayout(frequency), at,
                   settings, std::move(changed)) {
    SetText(kValueBox, FormatNumber15(settings_.value));
    SetText(kPercentBox, FormatNumber15(settings_.percent));
    SetText(kTransitionBox, TransitionTimeText(settings_.transition));
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
