// The main window in this process, hidden, driven by the messages its controls send: it shows
// what the controls model decides, and every text fits its control in the control's own font.
#include "support/main_form_program.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(MainFormTest, AUserWaveHidesTheBandLimitAndAUnitLabelCyclesTheUnits) {
    Program p(1);
    ASSERT_TRUE(p.created);
    const HWND w = p.form.Window();
    const HWND waveform = Child(w, SlotId(0, SlotControl::Waveform));
    const HWND freq = Child(w, SlotId(0, SlotControl::Freq));
    const HWND bandLimit = Child(w, SlotId(0, SlotControl::BandLimit));
    const HWND userWave = Child(w, SlotId(0, SlotControl::UserWaveButton));
    ASSERT_TRUE(waveform && freq && bandLimit && userWave);
    SendMessageW(waveform, CB_SETCURSEL, 10, 0); // user wave
    Notify(waveform, CBN_SELCHANGE);
    EXPECT_FALSE(IsWindowEnabled(freq));
    EXPECT_FALSE(Shown(bandLimit));
    EXPECT_TRUE(Shown(userWave));
    SendMessageW(waveform, CB_SETCURSEL, 1, 0); // sine
    Notify(waveform, CBN_SELCHANGE);
    EXPECT_TRUE(IsWindowEnabled(freq));
    EXPECT_TRUE(Shown(bandLimit));

    // Typing into the frequency field: the text stays as typed and the caret where it was.
    const HWND field = GetWindow(freq, GW_CHILD);
    SetWindowTextW(freq, L"44");
    SendMessageW(field, EM_SETSEL, 2, 2);
    Notify(freq, CBN_EDITCHANGE);
    DWORD caret = 0;
    SendMessageW(field, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    EXPECT_EQ(Text(freq), L"44");
    EXPECT_EQ(caret, 2u);
    // A text that is no frequency stays as typed until the box is left, then the value shows.
    SetWindowTextW(freq, L"x4");
    Notify(freq, CBN_EDITCHANGE);
    EXPECT_EQ(Text(freq), L"x4");
    Notify(freq, CBN_KILLFOCUS);
    EXPECT_EQ(Text(freq), L"44");

    // The sample rate typed a keystroke at a time stays as typed; Enter takes it, limited.
    HWND rate = nullptr;
    for (const LayoutRow& r : MainLayout()) {
        if (r.role == RowRole::Toolbar && r.toolbarControl == ToolbarControl::SampleRate)
            rate = Child(w, r.id);
    }
    ASSERT_TRUE(rate);
    for (const wchar_t* typed : {L"5", L"50", L"500"}) {
        SetWindowTextW(rate, typed);
        Notify(rate, CBN_EDITCHANGE);
        EXPECT_EQ(Text(rate), typed);
    }
    const MSG enter{GetWindow(rate, GW_CHILD), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(p.form.PreTranslate(enter));
    EXPECT_EQ(Text(rate), L"1000");

    // The amplitude's unit label: dB -> value -> percent, the text re-expressed each time.
    HWND label = nullptr, amp = Child(w, SlotId(0, SlotControl::Amp));
    for (const LayoutRow& r : MainLayout()) {
        if (r.role == RowRole::AmpUnit && r.slot == 0)
            label = Child(w, r.id);
    }
    ASSERT_TRUE(label && amp);
    EXPECT_EQ(Text(label), L"dB");
    Notify(label, STN_DBLCLK);
    EXPECT_EQ(Text(label), L"val");
    EXPECT_EQ(Text(amp), L"10361.8352090737");
    Notify(label, STN_DBLCLK);
    EXPECT_EQ(Text(label), L"%");
    EXPECT_EQ(Text(amp), L"31.6227766016838");
}

TEST(MainFormTest, EveryTextFitsItsControlInBothLanguages) {
    for (int englishMode : {0, 1}) {
        Program p(englishMode);
        ASSERT_TRUE(p.created);
        for (const LayoutRow& r : MainLayout()) {
            const HWND h = Child(p.form.Window(), r.id);
            ASSERT_TRUE(h) << r.id;
            RECT rc{};
            GetClientRect(h, &rc);
            const int room = rc.right - (r.kind == ControlKind::CheckBox ? 16
                                         : r.kind == ControlKind::Button ? 6
                                                                         : 0);
            if (r.kind == ControlKind::DropList || r.kind == ControlKind::DropEdit) {
                const int items = static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0));
                for (int i = 0; i < items; ++i) {
                    wchar_t item[64] = {};
                    SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                    EXPECT_LE(Width(h, item), rc.right - GetSystemMetrics(SM_CXVSCROLL) - 4)
                        << r.id << " item " << i << " language " << englishMode;
                }
            } else if (r.kind != ControlKind::Tab && r.kind != ControlKind::GroupBox &&
                       r.kind != ControlKind::Edit) {
                EXPECT_LE(Width(h, Text(h)), room) << r.id << " language " << englishMode;
            }
        }
    }
}

} // namespace
} // namespace qv
