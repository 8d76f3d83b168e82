// The windows on the window kit, in this process: moved to a 144-DPI monitor the main window lays
// its table out again with every text fitting, as the settings windows fit theirs in both
// languages; and when Windows ends the user's session the program keeps what closing keeps.
#include "app/win/up_down_form.h"
#include "app/win/wave5_sync_form.h"
#include "platform/win/gdi.h"
#include "platform/win/ui_font.h"
#include "support/main_form_program.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace qv {
namespace {

TEST(WindowKitTest, AtHundredFortyFourDpiTheMainWindowIsLaidOutAgainAndEveryTextFits) {
    for (int englishMode : {0, 1}) {
        Program p(englishMode);
        ASSERT_TRUE(p.created);
        const HWND w = p.form.Window();
        RECT was{};
        GetWindowRect(w, &was);
        RECT suggested{was.left, was.top, was.left + (was.right - was.left) * 3 / 2,
                       was.top + (was.bottom - was.top) * 3 / 2};
        SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        RECT client{};
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, 834) << "556 pixels at 96 DPI";
        const HWND play = Child(w, 2100); // {92, 3, 40, 22} in the table
        RECT r{};
        GetWindowRect(play, &r);
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 138);
        EXPECT_EQ(r.right - r.left, 60);
        EXPECT_EQ(r.bottom - r.top, 33);
        EXPECT_EQ(CutTexts(w), std::vector<std::wstring>{}) << "language " << englishMode;
    }
}

TEST(WindowKitTest, TheSettingsWindowsFitTheirTextsInBothLanguages) {
    for (int lang : {kJapanese, kEnglish}) {
        const Font font(CreateUiFont(lang, 96));
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        UpDownForm freq(instance, nullptr, font, lang, true, {}, {0, 0}, {});
        UpDownForm amp(instance, nullptr, font, lang, false, {}, {0, 0}, {});
        Wave5SyncForm sync(instance, nullptr, font, lang, {}, {0, 0}, {});
        for (const SettingsWindow* w :
             {static_cast<const SettingsWindow*>(&freq), static_cast<const SettingsWindow*>(&amp),
              static_cast<const SettingsWindow*>(&sync)})
            EXPECT_EQ(CutTexts(w->Window()), std::vector<std::wstring>{}) << "language " << lang;
    }
}

TEST(MainFormSessionTest, EndingTheWindowsSessionSavesAsClosingDoes) {
    Program p(1);
    ASSERT_TRUE(p.created);
    const HWND freq = Child(p.form.Window(), SlotId(1, SlotControl::Freq));
    SetWindowTextW(freq, L"1234");
    Notify(freq, CBN_EDITCHANGE);
    EXPECT_TRUE(SendMessageW(p.form.Window(), WM_QUERYENDSESSION, 0, 0));
    SendMessageW(p.form.Window(), WM_ENDSESSION, TRUE, 0);
    std::ifstream ini(p.scratch.File("QV.INI"), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(ini), {}};
    EXPECT_NE(text.find("Freq=1234\r\n"), std::string::npos) << text;
}

} // namespace
} // namespace qv
