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
    const bool number = id == kValueBox || id == kPercentBox || id == kTransitionBox;
    double& setting = id == kValueBox     ? settings_.value
                      : id == kPercentBox ? settings_.percent
                                          : settings_.transition;
    // Left with a text that is no number, or one the setting limits: the value in force again.
    if (number && code == CBN_KILLFOCUS) {
        const std::string shown =
            id == kTransitionBox ? TransitionTimeText(setting) : FormatNumber15(setting);
        const Notation notation = id == kTransitionBox ? Notation::Decimal : Notation::DecimalOrHex;
        if (const auto again = EntryToShowAgain(ChosenText(id, code), notation, setting, shown)) {
            MessageBeep(MB_OK);
            SetText(id, *again);
        }
        return false;
    }
    switch (id) {
    case kValueRadio:
    case kPercentRadio:
        settings_.percentMode = id == kPercentRadio;
        break;
    case kValueBox:
    case kPercentBox:
    case kTransitionBox: {
        if (!edited)
            return false;
        const auto typed =
            UsableNumber(ChosenText(id, code),
                         id == kTransitionBox ? Notation::Decimal : Notation::DecimalOrHex);
        if (!typed)
            return false; // the value in force stays until the box is left
        setting = id == kTransitionBox ? ClampTransitionTime(*typed) : *typed;
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
