#include "app/win/wave5_sync_form.h"

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
    switch (id) {
    case kDiffRadio:
    case kRatioRadio:
        settings_.ratioMode = id == kRatioRadio;
        break;
    case kDiffBox:
        if (!edited)
            return false;
        settings_.diff = ReadDecimal(ChosenText(id, code));
        break;
    case kRatioBox: {
        if (!edited)
            return false;
        const std::string typed = ChosenText(id, code);
        settings_.ratio = SyncRatio(ReadDecimal(typed));
        if (ReadDecimal(typed) == 0 && !typed.empty())
            SetText(kRatioBox, "1"); // a ratio of 0 would silence Wave5's link
        break;
    }
    default:
        return false;
    }
    return true;
}

} // namespace qv
