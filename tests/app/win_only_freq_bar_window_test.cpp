// The frequency bar in this process: the Bar button shows it with its texts fitting in both
// languages and its slider over the band; the slider and Page Up move Wave1, and Escape hides
// the bar keeping its place. (Sweeps and glides are heard in qv_freq_bar_wintest.sh.)
#include "app/freq_bar.h"
#include "app/win/freq_bar_form.h"
#include "generator/number_text.h"
#include "platform/win/text_conversion.h"
#include "support/main_form_program.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace qv {
namespace {

double Frequency(const Program& p, int slot) {
    const HWND box = Child(p.form.Window(), SlotId(slot, SlotControl::Freq));
    return ReadDecimal(WideToUtf8(Text(box)));
}

const FreqBarForm& OpenBar(Program& p) {
    Notify(Child(p.form.Window(), SlotId(0, SlotControl::FreqBarButton)), BN_CLICKED);
    return *p.form.FreqBarWindow();
}

// A key pressed in a window, through the program's message loop.
void Key(Program& p, HWND window, WPARAM key) {
    MSG msg{window, WM_KEYDOWN, key, 0, 0, {}};
    if (!p.form.PreTranslate(msg))
        DispatchMessageW(&msg);
}

TEST(FreqBarWindowTest, TheSliderAndPageUpMoveWave1AndEscapeKeepsItsPlace) {
    for (int english : {0, 1}) {
        Program p(english, "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n"
                           "[Misc]\r\nSamplingFreq=44100\r\n");
        ASSERT_TRUE(p.created);
        const FreqBarForm& bar = OpenBar(p);
        ASSERT_TRUE(IsWindowVisible(bar.Window()));
        EXPECT_EQ(CutTexts(bar.Window()), std::vector<std::wstring>{}) << english;
        if (!english)
            continue;
        const HWND slider = bar.Slider();
        EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), 50000);
        EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 217171); // 22050 Hz

        SendMessageW(slider, TBM_SETPOS, TRUE, 165000); // 10^3.3 Hz
        SendMessageW(bar.Window(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(slider));
        EXPECT_NEAR(Frequency(p, 0), 1995.26, 0.01);
        Key(p, slider, VK_PRIOR);
        EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 165000 + FreqBar::kPageSize);
        EXPECT_NEAR(Frequency(p, 0), 1995.26 * std::pow(10, 0.0002), 0.01);

        // Escape hides it; its place stays in QV.INI.
        RECT place{};
        GetWindowRect(bar.Window(), &place);
        Key(p, slider, VK_ESCAPE);
        EXPECT_FALSE(IsWindowVisible(bar.Window()));
        SendMessageW(p.form.Window(), WM_CLOSE, 0, 0); // the program ends, saving
        p.Close();
        std::ifstream ini(p.scratch.File("QV.INI"), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(ini)), {});
        EXPECT_NE(text.find("[FreqBarWindow]\r\nPosX=" + std::to_string(place.left) +
                            "\r\nPosY=" + std::to_string(place.top) + "\r\n"),
                  std::string::npos)
            << text;
    }
}

} // namespace
} // namespace qv
