// The main window's popup menus: the unit labels, the frequency field, sweep and modulation.
#include "app/win/main_form.h"
#include "app/win/up_down_form.h"
#include "platform/win/text_conversion.h"

#include <string>
#include <vector>

namespace qv {

namespace {

// A popup menu of items (text, command, checked) and sub-menus, shown at a screen point; the
// chosen command, or 0.
struct MenuItem {
    std::string text; // UTF-8
    UINT command;     // 0 for a sub-menu     // 0 for a sub-menu
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
    if (r.role == RowRole::FreqUpDown || r.role == RowRole::AmpUpDown) {
        // The buttons' settings window, at the cursor; each change holds at once.
        const bool freq = r.role == RowRole::FreqUpDown;
        const LiveSettings& live = controls_->Live();
        UpDownForm form(instance_, hwnd_, font_, controls_->Language(), freq,
                        freq ? live.freq : live.amp, at, [this, freq](const UpDownSettings& set) {
                            LiveSettings changed = controls_->Live();
                            (freq ? changed.freq : changed.amp) = set;
                            controls_->SetLiveSettings(changed);
                        });
        form.RunModal();
    } else if (r.role == RowRole::FreqUnit) {
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

} // namespace qv
