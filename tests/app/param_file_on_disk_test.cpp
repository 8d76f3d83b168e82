// Parameter files through the platform's INI backend (the Win32 routines in the Windows build).
#include "app/main_controls.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "files/text_file_helpers.h"
#include "generator/generator.h"
#include "platform/language.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ParamFileOnDiskTest, JapaneseItemTextsAreShiftJisBytesInTheFile) {
    test::ScratchDir dir;
    const std::string path = dir.File("ja.QV");
    {
        Generator g;
        MainControls c(g, kJapanese);
        ParamSet set(kJapanese);
        c.ApplyParamTable(set);
        c.OnBandLimit(0, 1); // 加算
        ParamSet captured(kJapanese);
        c.CaptureParamTable(captured);
        ASSERT_TRUE(SaveParamFile(*OpenIniFile(path), captured, std::nullopt));
    }
    const std::string bytes = Bytes(path);
    EXPECT_NE(bytes.find("[Wave1]\r\nWaveform=\xBB\xB2\xDD\x94g\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("BandLimitType=\x89\xC1\x8EZ\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("File]\r\nComment"), std::string::npos); // no comment given

    ParamSet back(kJapanese);
    LoadParamFile(*OpenIniFile(path), back);
    Generator g;
    MainControls c(g, kJapanese);
    c.ApplyParamTable(back);
    EXPECT_EQ(g.slots[0].waveform, kSine);
    EXPECT_EQ(g.slots[0].bandLimitType, 1);
}

TEST(ParamFileOnDiskTest, SavingKeepsKeysTheSaveDoesNotWrite) {
    test::ScratchDir dir;
    const std::string path = dir.File("old.QV");
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Filter]\r\nResponseRate=16\r\nPoints=5\r\nP4=  10,-1\r\nP5=2048,0\r\n"
               "[Extra]\r\nNote=kept\r\n[Wave3]\r\nFreq=123\r\n";
    }
    // Opened (P1 ... P3 missing: the flat response), then saved over itself.
    Generator g;
    MainControls c(g, kEnglish);
    ParamSet set(kEnglish);
    LoadParamFile(*OpenIniFile(path), set);
    c.ApplyParamTable(set);
    ParamSet captured(kEnglish);
    c.CaptureParamTable(captured);
    ASSERT_TRUE(SaveParamFile(*OpenIniFile(path), captured, std::string("new comment")));
    auto ini = OpenIniFile(path);
    EXPECT_EQ(ini->Read("Filter", "ResponseRate"), "16");
    EXPECT_EQ(ini->Read("Filter", "P4"), "10,-1"); // values are read without leading blanks
    EXPECT_EQ(ini->Read("Filter", "Points"), "2");
    EXPECT_EQ(ini->Read("Filter", "P2"), "2048,0");
    EXPECT_EQ(ini->Read("Extra", "Note"), "kept");
    EXPECT_EQ(ini->Read("Wave3", "Freq"), "123");
    EXPECT_EQ(ini->Read("File", "Comment"), "new comment");
    // Points bounds the loop: the surplus P4 and P5 are ignored when the file is read again.
    ParamSet back(kEnglish);
    LoadParamFile(*ini, back);
    EXPECT_EQ(back.filter.pointCount, 2);
    EXPECT_EQ(back.filter.responseRate, 16);
}

} // namespace
} // namespace qv
