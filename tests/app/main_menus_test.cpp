// The popup menus as tables: what each offers for a slot, what it ticks, and what choosing an
// item does to the model.
#include "app/main_controls.h"
#include "app/main_menus.h"
#include "display/magnification_menu.h"
#include "generator/generator.h"
#include "platform/language.h"

#include <gtest/gtest.h>

#include <functional>

namespace qv {
namespace {

struct Case {
    const char* what;
    Menu (*build)(MainControls&, int);
    int slot;
    std::initializer_list<std::string_view> path;
    std::function<bool(const Generator&, const MainControls&)> after;
    bool ticks = true; // the chosen item is ticked afterwards
};

Menu AmpUnit(MainControls& c, int i) {
    return LevelUnitMenu(c, i, true);
}

TEST(MainMenusTest, EachItemDoesWhatItSays) {
    const Case cases[] = {
        {"samples unit",
         FreqUnitMenu,
         1,
         {"Samples (Period)"},
         [](const Generator& g, const MainControls&) { return g.slots[1].freqUnit == 1; }},
        {"percent",
         AmpUnit,
         5,
         {"%  (100max)"},
         [](const Generator& g, const MainControls&) { return g.slots[5].ampUnit == kPercent; }},
        {"3 x Wave1",
         FreqMenu,
         2,
         {"Times of Wave1", "x3"},
         [](const Generator& g, const MainControls&) { return g.slots[2].freq == 3000; },
         false},
        {"FFT size",
         FreqMenu,
         0,
         {"FFT samples", "8192"},
         [](const Generator&, const MainControls& c) { return c.FitItem() == "8192"; }},
        {"linear sweep",
         SweepMenu,
         0,
         {"Frequency", "linear"},
         [](const Generator& g, const MainControls&) { return !g.slots[0].sweepFreqLog; }},
        {"2 steps",
         SweepMenu,
         4,
         {"Variation", "2 times per sec"},
         [](const Generator& g, const MainControls&) { return g.slots[4].sweepStepRate == 2; }},
        {"phase down",
         SweepMenu,
         0,
         {"Phase", "On (Wave1 --> 0)"},
         [](const Generator& g, const MainControls&) { return g.slots[0].sweepPhase == 2; }},
        {"PM",
         ModulationMenu,
         4,
         {"PM"},
         [](const Generator& g, const MainControls&) { return g.slots[4].modulationType == 3; }},
        {"by Wave5",
         ModulationMenu,
         0,
         {"Modulating Signal", "Wave5"},
         [](const Generator& g, const MainControls&) { return g.slots[0].modulatingSignal == 4; }},
    };
    for (const Case& c : cases) {
        Generator g;
        MainControls controls(g, kEnglish);
        for (int m : {0, 4})
            controls.OnWaveform(m, kSine);
        const Menu menu = c.build(controls, c.slot);
        const MenuItem* item = FindMenuItem(menu, c.path);
        ASSERT_TRUE(item && item->action) << c.what;
        EXPECT_FALSE(item->checked) << c.what;
        item->action();
        EXPECT_TRUE(c.after(g, controls)) << c.what;
        EXPECT_EQ(FindMenuItem(c.build(controls, c.slot), c.path)->checked, c.ticks) << c.what;
    }
}

TEST(MainMenusTest, MenusOfferOnlyWhatTheSlotAllows) {
    Generator g;
    MainControls c(g, kJapanese);
    c.OnWaveform(0, kWhiteNoise); // not periodic: amplitude and steps only
    const Menu sweep = SweepMenu(c, 0);
    ASSERT_EQ(sweep.size(), 2u);
    EXPECT_EQ(sweep[0].text, "振幅    (Amp)");
    c.OnFreqUnit(1, kSamplesPerPeriod);
    EXPECT_TRUE(FreqMenu(c, 1).empty());
    c.OnWaveform(4, kOff);
    EXPECT_TRUE(ModulationMenu(c, 4).empty());
    int32_t rate = 4;
    const Menu zoom = MagnificationMenu(false, rate);
    ASSERT_EQ(zoom.size(), 6u);
    EXPECT_TRUE(zoom[2].checked);
    zoom[5].action();
    EXPECT_EQ(rate, 100);
}

} // namespace
} // namespace qv
