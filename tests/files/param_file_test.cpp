#include "files/param_file.h"
#include "generator/item_lists.h"
#include "platform/language.h"
#include "support/fake_ui.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::MemoryIni;

TEST(ParamFileTest, MissingAndEmptyKeysTakeTheirDefaults) {
    MemoryIni ini;
    ini.Set("Wave1", "Freq", "");
    ini.Set("wave2", "FREQ", "440");
    ini.Set("Misc", "SamplingFreq", "48000 Hz and then some text beyond the slot width");
    for (int lang : {kJapanese, kEnglish}) {
        ParamSet set(lang);
        LoadParamFile(ini, set);
        EXPECT_EQ(set.texts.Get("Wave1", "Freq"), "1000");
        EXPECT_EQ(set.texts.Get("Wave2", "Freq"), "440");
        EXPECT_EQ(set.texts.Get("Misc", "SamplingFreq"), "48000 Hz and then some text bey");
        // The item defaults select sine and no band limit in either interface.
        EXPECT_EQ(set.texts.Get("Wave1", "Waveform"),
                  lang == kEnglish ? "sine" : "\xBB\xB2\xDD\x94g");
        EXPECT_EQ(set.texts.Get("Wave5", "BandLimitType"), BandLimitItems(lang)[0]);
        EXPECT_EQ(set.filter.pointCount, 2);
    }
}

TEST(ParamFileTest, FilterNumbersOutsideTheirRangesTakeTheirDefaults) {
    MemoryIni ini;
    ini.Set("Filter", "OverSampleRate", "3");
    ini.Set("Filter", "Size1", "3000");
    ini.Set("Filter", "ResponseRate", "12");
    ini.Set("Filter", "AmpScale_dB_Max", "41");
    ini.Set("Filter", "AmpScale_dB_Min", "-10");
    ini.Set("Filter", "KaiserAlpha", "abc");
    ParamSet set(kEnglish);
    LoadParamFile(ini, set);
    EXPECT_EQ(set.texts.Get("Filter", "OverSampleRate"), "1");
    EXPECT_EQ(set.texts.Get("Filter", "Size1"), "4096");
    EXPECT_EQ(set.filter.responseRate, 8);
    EXPECT_EQ(set.filter.ampScaleMaxDb, 20);
    EXPECT_EQ(set.filter.ampScaleMinDb, -100);
    EXPECT_EQ(set.filter.kaiserAlpha, 6.0);

    MemoryIni good;
    good.Set("Filter", "OverSampleRate", "16");
    good.Set("Filter", "Size1", "16384");
    good.Set("Filter", "ResponseRate", "16");
    good.Set("Filter", "KaiserAlpha", "2.5");
    good.Set("Filter", "AmpScale_dB_Min", "-160");
    ParamSet g(kEnglish);
    LoadParamFile(good, g);
    EXPECT_EQ(g.texts.Get("Filter", "OverSampleRate"), "16");
    EXPECT_EQ(g.texts.Get("Filter", "Size1"), "16384");
    EXPECT_EQ(g.filter.responseRate, 16);
    EXPECT_EQ(g.filter.kaiserAlpha, 2.5);
    EXPECT_EQ(g.filter.ampScaleMinDb, -160);
}

TEST(ParamFileTest, PointsLoadOntoTheGridAndAMissingOneGivesTheFlatResponse) {
    MemoryIni ini;
    ini.Set("Misc", "SamplingFreq", "-48000");
    ini.Set("Filter", "Size1", "1024");
    ini.Set("Filter", "Points", "3");
    ini.Set("Filter", "P1", "   0,-20");
    ini.Set("Filter", "P2", "  64;-3.5");
    ini.Set("Filter", "P3", "2048,0");
    ParamSet set(kEnglish);
    LoadParamFile(ini, set);
    // Drawn for N = 4096 (last bin 2048), moved onto the 1024 grid.
    ASSERT_EQ(set.filter.pointCount, 3);
    EXPECT_EQ(set.filter.points[1].binIndex, 16);
    EXPECT_EQ(set.filter.points[1].gainDb, -3.5);
    EXPECT_EQ(set.filter.points[1].frequency, 16 * 48000.0 / 1024);
    EXPECT_EQ(set.filter.points[2].binIndex, 512);
    EXPECT_EQ(set.filter.points[0].gainDb, -20.0);

    ini.entries.pop_back(); // P3 missing: the flat two-point response, the comment kept
    ini.Set("Filter", "Comment", "kept");
    ParamSet flat(kEnglish);
    LoadParamFile(ini, flat);
    ASSERT_EQ(flat.filter.pointCount, 2);
    EXPECT_EQ(flat.filter.points[1].binIndex, 512);
    EXPECT_EQ(flat.filter.points[1].frequency, 24000.0);
    EXPECT_EQ(flat.filter.points[1].gainDb, 0.0);
    EXPECT_EQ(flat.filter.comment, "kept");
    EXPECT_EQ(flat.texts.Get("Filter", "Points"), "2");
}

TEST(ParamFileTest, ATableTheFilterFileWouldRefuseLoadsFlatWithOneMessage) {
    for (const char* p2 : {"2000000000,-6", "-5,-6", "  64,nan", "  64,inf", "   0,-6"}) {
        MemoryIni ini;
        ini.Set("Filter", "Points", "3");
        ini.Set("Filter", "P1", "   0,-20");
        ini.Set("Filter", "P2", p2);
        ini.Set("Filter", "P3", "2048,0");
        ParamSet set(kEnglish);
        LoadParamFile(ini, set);
        EXPECT_TRUE(set.invalidFilterPoints) << p2;
        ASSERT_EQ(set.filter.pointCount, 2) << p2;
        EXPECT_EQ(set.filter.points[1].binIndex, 2048);
        EXPECT_EQ(set.filter.points[1].gainDb, 0.0);
        test::RecordingUi ui;
        ReportInvalidFilterPoints(set, "a.QV", ui, kEnglish, "Quorvale");
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Invalid filter points.\n\na.QV");
    }
}

TEST(ParamFileTest, SaveWritesEveryKeyInOrderAndReadsBackTheSame) {
    ParamSet set(kJapanese);
    set.texts.Set("File", "Length", "2.5");
    set.texts.Set("Wave1", "UserWave", std::string(150, 'p'));
    set.texts.Set("Wave1", "GateOnPeriod", "4.5");
    set.filter.pointCount = 3;
    set.filter.points[0] = {0, 0, -20};
    set.filter.points[1] = {64, 689.0625, -3.5};
    set.filter.points[2] = {2048, 22050, 0.123456789012};
    MemoryIni ini;
    ASSERT_TRUE(SaveParamFile(ini, set, std::nullopt));
    // File comment not written without one; ResponseRate never; points after Points.
    EXPECT_EQ(ini.written[0].key, "Length");
    EXPECT_EQ(ini.written[1].key, "SamplingFreq");
    EXPECT_EQ(ini.Read("Filter", "ResponseRate"), "");
    EXPECT_EQ(ini.Read("Wave1", "UserWave"), std::string(99, 'p'));
    EXPECT_EQ(ini.Read("Filter", "P2"), "  64,-3.5");
    EXPECT_EQ(ini.Read("Filter", "P3"), "2048,0.123456789");
    EXPECT_EQ(ini.written.back().key, "P3");
    EXPECT_EQ(ini.written[ini.written.size() - 4].key, "Points");

    ParamSet back(kEnglish);
    LoadParamFile(ini, back);
    for (const ParamKey& k : ParamTextTable::Keys()) {
        if (k.key != "UserWave" && k.key != "ResponseRate" && k.key != "Points") {
            EXPECT_EQ(back.texts.Get(k.section, k.key), set.texts.Get(k.section, k.key))
                << k.section << "." << k.key;
        }
    }
    EXPECT_EQ(back.filter.pointCount, 3);
    EXPECT_EQ(back.filter.points[1].gainDb, -3.5);

    ASSERT_TRUE(SaveParamFile(ini, set, std::string(200, 'c')));
    EXPECT_EQ(ini.Read("File", "Comment"), std::string(99, 'c'));
    ini.writesLeft = 5;
    EXPECT_FALSE(SaveParamFile(ini, set, std::nullopt));
}

TEST(RescalePointsTest, QuarterSizeDividesIndicesAndSeparatesCollisions) {
    FilterDesign d;
    d.pointCount = 5;
    d.points[0] = {0, 0, 0};
    d.points[1] = {4, 0, -1};
    d.points[2] = {5, 0, -2};
    d.points[3] = {2045, 0, -3};
    d.points[4] = {2048, 0, -4};
    RescalePoints(d, 1024, 48000, true);
    EXPECT_EQ(d.points[1].binIndex, 1);
    EXPECT_EQ(d.points[2].binIndex, 2); // 5/4 = 1 again: moved one bin up
    EXPECT_EQ(d.points[3].binIndex, 511);
    EXPECT_EQ(d.points[4].binIndex, 512);
    EXPECT_EQ(d.points[2].frequency, 2 * 48000.0 / 1024);

    // Crowded at the top: pulled back below N/2 + 1 from the end.
    d.points[2] = {2046, 0, 0};
    d.points[3] = {2047, 0, 0};
    d.points[4] = {2048, 0, 0};
    d.pointCount = 5;
    RescalePoints(d, 1024, 48000, false);
    EXPECT_EQ(d.points[2].binIndex, 510);
    EXPECT_EQ(d.points[3].binIndex, 511);
    EXPECT_EQ(d.points[4].binIndex, 512);

    // Crowded at the bottom: a point moved up is not overtaken by the next one.
    d.pointCount = 4;
    d.points[0] = {0, 0, 0};
    d.points[1] = {2, 0, 0};
    d.points[2] = {3, 0, 0};
    d.points[3] = {2400, 0, 0};
    RescalePoints(d, 1024, 48000, true);
    EXPECT_EQ(d.points[1].binIndex, 1);
    EXPECT_EQ(d.points[2].binIndex, 2);
    EXPECT_EQ(d.points[3].binIndex, 512);

    // A huge index ahead of smaller ones (a hand-edited file): bins end rising and within N/2.
    d.pointCount = 3;
    d.points[0] = {2147483000, 0, 0};
    d.points[1] = {64, 0, 0};
    d.points[2] = {512, 0, 0};
    RescalePoints(d, 4096, 48000, true);
    EXPECT_EQ(d.points[2].binIndex, 2048);
    EXPECT_EQ(d.points[1].binIndex, 2047);
    EXPECT_EQ(d.points[0].binIndex, 2046);
}

} // namespace
} // namespace qv
