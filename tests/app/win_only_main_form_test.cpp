// The main window in this process, hidden, driven by the messages its controls send: it shows
// what the controls model decides, and every text fits its control in the control's own font.
#include "app/win/main_form.h"
#include "files/text_file_helpers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

HWND Child(HWND top, int id) {
    struct Search {
        int id;
        HWND found = nullptr;
    } search{id};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM l) {
            auto* s = reinterpret_cast<Search*>(l);
            if (GetDlgCtrlID(h) != s->id)
                return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int SlotId(int slot, SlotControl c) {
    for (const LayoutRow& r : MainLayout()) {
        if (r.role == RowRole::Slot && r.slot == slot && r.slotControl == c)
            return r.id;
    }
    return 0;
}

std::wstring Text(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

// Shown by its own state (the window itself stays hidden in these tests).
bool Shown(HWND h) {
    return (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A control's notification, as the control itself sends it to its parent.
void Notify(HWND control, int code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

struct Program {
    explicit Program(int englishMode) {
        const std::string dir = scratch.File("x").substr(0, scratch.File("x").size() - 1);
        CopyFileA(QV_KT54DLL_DIR "/KT54DLL.DLL", (dir + "KT54DLL.DLL").c_str(), FALSE);
        std::ofstream(dir + "QV.INI")
            << "[Special]\r\nEnglishMode=" << englishMode << "\r\n"
            << "[Wave1]\r\nWaveform=" << (englishMode ? "sine" : "\xBB\xB2\xDD\x94g") << "\r\n";
        created = form.Create(dir, "", SW_HIDE);
    }
    ~Program() {
        if (created)
            DestroyWindow(form.Window());
    }
    test::ScratchDir scratch;
    // The program keeps its library for its life; the test's copy goes with its folder.
    struct ReleaseLibrary {
        ~ReleaseLibrary() {
            if (const HMODULE library = GetModuleHandleW(L"KT54DLL.DLL"))
                FreeLibrary(library);
        }
    } release;
    MainForm form{GetModuleHandleW(nullptr)};
    bool created = false;
};

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

// Text width in the control's own font.
int Width(HWND h, const std::wstring& text) {
    const HDC dc = GetDC(h);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return size.cx;
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
