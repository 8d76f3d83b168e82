#include "app/win/edit_filter_point_form.h"

#include "app/filter_editor_texts.h"
#include "platform/win/text_conversion.h"
#include "platform/win/window_messages.h"

#include <commctrl.h>

#include <array>
#include <cstdio>

namespace qv {

namespace {

constexpr UINT_PTR kSnapTimer = kTimerPointSnap;
constexpr UINT kSnapDelayMs = 1000;

} // namespace

EditFilterPointForm::EditFilterPointForm(HINSTANCE instance, HWND owner, HFONT font,
                                         int languageIndex, FilterEditor& editor, int index,
                                         POINT at, std::function<void()> help)
    : SettingsWindow(instance, owner, font, languageIndex, kEditPointTitle, EditPointLayout(), at),
      editor_(editor), edit_(editor.BeginPointEdit(index)) {
    char group[24];
    std::snprintf(group, sizeof group, kEditPointGroup(languageIndex), edit_.index + 1);
    SetText(kGroup, group);
    SetText(kFrequency, edit_.frequencyText);
    SetText(kGain, edit_.gainText);
    EnableWindow(Control(kFrequency), edit_.frequencyEditable);
    EnableWindow(Control(kFrequencyUpDown), edit_.frequencyEditable);
    for (int id : {kFrequencyUpDown, kGainUpDown})
        SendMessageW(Control(id), UDM_SETRANGE32, static_cast<WPARAM>(-1000000), 1000000);
    // The arrow buttons: one bin, one dB.
    On(WM_NOTIFY, [this](const WindowMessage& m) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.l);
        if (header->code != UDN_DELTAPOS)
            return Default(m);
        const int step = reinterpret_cast<const NMUPDOWN*>(m.l)->iDelta > 0 ? 1 : -1;
        if (header->idFrom == static_cast<UINT_PTR>(kFrequencyUpDown))
            SnapFrequency(step);
        else if (header->idFrom == static_cast<UINT_PTR>(kGainUpDown))
            SetText(kGain, editor_.StepGainText(Text(kGain), step));
        return LRESULT{TRUE};
    });
    On(WM_HELP, [help = std::move(help)](const WindowMessage&) {
        if (help)
            help();
        return LRESULT{TRUE};
    });
    On(WM_TIMER, [this](const WindowMessage& m) {
        if (m.w == kSnapTimer) {
            KillTimer(Hwnd(), kSnapTimer);
            SnapFrequency(0);
        }
        return LRESULT{0};
    });
    Ready();
}

std::string EditFilterPointForm::Text(int id) const {
    std::array<wchar_t, 64> text{};
    GetWindowTextW(Control(id), text.data(), static_cast<int>(text.size()));
    return WideToUtf8(text.data());
}

void EditFilterPointForm::SnapFrequency(int step) {
    if (edit_.frequencyEditable)
        SetText(kFrequency, editor_.SnapFrequencyText(edit_, Text(kFrequency), step));
}

bool EditFilterPointForm::OnCommand(int id, int code) {
    // The typed frequency is snapped when the field is left and a second after the last key.
    if (id == kFrequency && code == EN_KILLFOCUS) {
        KillTimer(Hwnd(), kSnapTimer);
        SnapFrequency(0);
    } else if (id == kFrequency && code == EN_CHANGE) {
        SetTimer(Hwnd(), kSnapTimer, kSnapDelayMs, nullptr);
    }
    return false;
}

bool EditFilterPointForm::Run() {
    RunModal();
    KillTimer(Hwnd(), kSnapTimer);
    if (Cancelled())
        return false;
    editor_.ApplyPointEdit(edit_, Text(kFrequency), Text(kGain));
    return true;
}

} // namespace qv
