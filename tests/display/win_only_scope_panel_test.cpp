// The lower panel in this process, hidden, over a generator that renders a 1 kHz sine at -10 dB:
// the picture's pixels show the trace starting at the trigger and crossing the 0 line once a
// period, in LineColor_L, and the meters read -10.0.
#include "display/win/scope_panel.h"
#include "fftlib/fft_api.h"
#include "generator/generator_fixture.h"
#include "platform/language.h"
#include "platform/win/text_conversion.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

constexpr COLORREF kLineL = RGB(0, 255, 0);

// The picture's pixels, top row first, as COLORREF values.
std::vector<COLORREF> Pixels(HBITMAP picture, int& width, int& height) {
    BITMAP bm{};
    GetObjectW(picture, sizeof bm, &bm);
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RGBQUAD> raw(static_cast<size_t>(width) * height);
    const HDC dc = GetDC(nullptr);
    GetDIBits(dc, picture, 0, height, raw.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    std::vector<COLORREF> out;
    for (const RGBQUAD& q : raw)
        out.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return out;
}

TEST(ScopePanelTest, TheTraceOfASineAndItsMeters) {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 556, 240, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const FftApi api = DirectFftApi();
    Generator g;
    test::SetFormat(g, 48000, "16", 2);
    test::SetSlot(g, 0, kSine, "1000", "-10", kDb, 3);
    g.slots[0].phase = 90; // the block starts at the crest: only the trigger puts 0 first
    g.PrepareGenerator();
    {
        ScopePanel panel(GetModuleHandleW(nullptr), parent, font, kEnglish,
                         {RGB(0, 0, 0), RGB(0, 0, 0), RGB(208, 32, 32), RGB(144, 32, 32), kLineL,
                          RGB(255, 0, 255), RGB(64, 255, 64)});
        panel.Place({0, 0, 556, 240}, 96);
        panel.Relayout(4096, 48000, false, 2, api);
        (void)test::FillBytes(g, 4096);
        ASSERT_TRUE(panel.View().Update(g, 2, true, false));
        panel.Redraw();

        wchar_t text[16] = {};
        GetWindowTextW(panel.Meter(1), text, 16);
        EXPECT_EQ(WideToShiftJis(text), "-10.0");
        int width = 0, height = 0;
        const std::vector<COLORREF> px = Pixels(panel.Picture(), width, height);
        const ScopeView& v = panel.View();
        const int middle = v.PlotTop() + v.Scale().gridY[1];
        // Columns where the trace touches the 0 line; rising crossings alternate with falling.
        std::vector<int> crossings;
        for (int x = v.PlotLeft(); x < v.PlotLeft() + v.PlotWidth(); ++x) {
            const bool on = px[static_cast<size_t>(middle) * width + x] == kLineL;
            if (on && (crossings.empty() || x > crossings.back() + 3))
                crossings.push_back(x);
        }
        ASSERT_GE(crossings.size(), 20u);
        EXPECT_LE(crossings[0] - v.PlotLeft(), 1); // the trigger's sample comes first
        // A period of 48 samples spans 48 (width - 1) / (samples shown - 1) pixels.
        const double period = 48.0 * (v.PlotWidth() - 1) / (v.Scale().displaySampleCount - 1);
        const size_t rises = (crossings.size() - 1) / 2;
        const double measured = (crossings[2 * rises] - crossings[0]) / static_cast<double>(rises);
        EXPECT_NEAR(measured, period, 0.5);
    }
    DestroyWindow(parent);
}

} // namespace
} // namespace qv
