#include "app/win/wave5_sync_form.h"

#include "generator/number_text.h"

#include <commctrl.h>

#include <span>
#include <string>

namespace qv {

namespace {

constexpr const char* kDiffs[] = {"-100", "-50", "-20", "-10", "-5", "-2", "-1", "0",
                                  "1",    "2",   "5",   "10",  "20", "50", "100"};
// Just and equal-tempered interval ratios.
constexpr const char* kRatios[] = {"0.1",
                                   "0.2",
                                   "0.25",
                                   "0.33333333333333",
                                   "0.5",
                                   "0.666666666666667",
                                   "0.667419927085017",
                                   "0.749153538438341",
                                   "0.75",
                                   "0.793700525984100",
                                   "0.840896415253714",
                                   "1",
                                   "1.189207115002721",
                                   "1.259921049894873",
                                   "1.333333333333333",
                                   "1.334839854170034",
                                   "1.498307076876681",
                                   "1.5",
                                   "2",
                                   "3",
                                   "4",
                                   "5",
                                   "10"};

constexpr SettingsRow kRows[] = {
    {0, WC_BUTTONW, BS_GROUPBOX, {6, 2, 200, 64}, {"Wave5 周波数", "Wave5 frequency"}},
    {Wave5SyncForm::kDiffRadio,
     WC_BUTTONW,
     BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
     {16, 20, 72, 16},
     {"Wave1 +", "Wave1 +"}},
    {Wave5SyncForm::kDiffBox,
     WC_COMBOBOXW,
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
     {92, 18, 104, 200},
     {"", ""}},
    {Wave5SyncForm::kRatioRadio,
     WC_BUTTONW,
     BS_AUTORADIOBUTTON,
     {16, 42, 72, 16},
     {"Wave1 x", "Wave1 x"}},
    {Wave5SyncForm::kRatioBox,
     WC_COMBOBOXW,
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
     {92, 40, 104, 200},
     {"", ""}},
    {SettingsWindow::kCloseId,
     WC_BUTTONW,
     BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
     {126, 72, 80, 24},
     {"閉じる", "Close"}},
};
constexpr SIZE kClient{212, 102};

} // namespace

Wave5SyncForm::Wave5SyncForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                             const Wave5SyncSettings& settings, POINT at, Changed changed)
    : RecordWindow(instance, owner, font, languageIndex,
                   languageIndex == kEnglish ? L"Sync. Wave5" : L"Wave5の同期", kClient, kRows, at,
                   settings, std::move(changed)) {
    Fill(kDiffBox, kDiffs, FormatNumber15(settings_.diff));
    Fill(kRatioBox, kRatios, FormatNumber15(settings_.ratio));
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
