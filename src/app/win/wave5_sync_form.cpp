#include "app/win/wave5_sync_form.h"

#include "generator/live_controls.h"
#include "generator/number_text.h"

#include <commctrl.h>

#include <string>

namespace qv {

Wave5SyncForm::Wave5SyncForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                             const Wave5SyncSettings& settings, POINT at, Changed changed)
    : RecordWindow(instance, owner, font, languageIndex, kWave5SyncCaption, Wave5SyncLayout(), at,
                   settings, std::move(changed)) {
    SetText(kDiffBox, FormatNumber15(settings_.diff));
    SetText(kRatioBox, FormatNumber15(settings_.ratio));
    ShowState();
    Ready();
}

void Wave5SyncForm::ShowState() {
    const Showing showing(*this);
    CheckRadioButton(Window(), kDiffRadio, kRatioRadio,
                     settings_.ratioMode ? kRatioRadio : kDiffRadio);
}

bool Wave5SyncForm::OnCommand(int id, int code) {
    const bool edited = code == CBN_EDITCHANGE || code == CBN_SELCHANGE;
    const bool number = id == kDiffBox || id == kRatioBox;
    double& setting = id == kDiffBox ? settings_.diff : settings_.ratio;
    // Left with a text that is no number, or a ratio of 0 (which would silence Wave5's link):
    // the value in force again.
    if (number && code == CBN_KILLFOCUS) {
        if (const auto again = EntryToShowAgain(ChosenText(id, code), Notation::Decimal, setting,
                                                FormatNumber15(setting))) {
            MessageBeep(MB_OK);
            SetText(id, *again);
        }
        return false;
    }
    switch (id) {
    case kDiffRadio:
    case kRatioRadio:
        settings_.ratioMode = id == kRatioRadio;
        break;
    case kDiffBox:
    case kRatioBox: {
        if (!edited)
            return false;
        const auto typed = UsableNumber(ChosenText(id, code), Notation::Decimal);
        if (!typed)
            return false; // the value in force stays until the box is left
        setting = id == kRatioBox ? SyncRatio(*typed) : *typed;
        break;
    }
    default:
        return false;
    }
    return true;
}

} // namespace qv
