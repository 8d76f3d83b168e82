#include "files/settings_file.h"
#include "platform/language.h"
#include "support/fake_ui.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::MemoryIni;
using test::RecordingUi;

struct Reading {
    AppSettings Read(MemoryIni& ini) {
        AppSettings s;
        s.height = 400;
        env.programDirectory = "C:\\Program\\";
        env.canListFiles = [](const std::string& dir) { return dir != "D:\\gone\\"; };
        env.ui = &ui;
        ReadSettings(ini, s, SettingsPart::All, env);
        return s;
    }
    SettingsEnvironment env;
    RecordingUi ui;
};

TEST(SettingsFileTest, AFirstStartHasEveryDefault) {
    MemoryIni ini;
    Reading r;
    const AppSettings s = r.Read(ini);
    EXPECT_EQ(s.dispHelp, -1);
    EXPECT_EQ(s.height, 400);
    EXPECT_EQ(s.lastWaveFile, "WAVE.WAV");
    EXPECT_EQ(s.lastDirectory, "C:\\Program\\"); // the file dialogs start there
    EXPECT_EQ(s.frameColor, 0x2020D0u);
    EXPECT_EQ(s.wasLatency, 20);
    EXPECT_TRUE(s.wasEventMode);
    EXPECT_EQ(s.playThreadPriority, 2);
    EXPECT_EQ(s.languageIndex, kEnglish); // the system is not Japanese
    EXPECT_TRUE(r.ui.messages.empty());
}

TEST(SettingsFileTest, RangesColoursAndTheirMessage) {
    MemoryIni ini;
    ini.Set("Window", "DispHelp", "5");
    ini.Set("Misc", "WAS_Latency", "0");
    ini.Set("Misc", "PlayBuffer_ms", "5");
    ini.Set("Misc", "PlayDriverType", "4");
    ini.Set("Misc", "PlayDeviceNum", "7 devices");
    ini.Set("Diagram", "BackColor", "0xFF0000");
    ini.Set("Diagram", "DiagramBackColor", "$FF");
    ini.Set("Diagram", "FrameColor", "red");
    ini.Set("Diagram", "ScaleColor", "0x80000000");  // -2^31, beyond the range: default, no message
    ini.Set("Diagram", "LineColor_L", "4294967291"); // beyond 32-bit decimal: default
    ini.Set("Diagram", "LineColor_R", "0xFFFFFFFB"); // -5 as a 32-bit pattern
    ini.Set("Diagram", "CharColor", "255");
    ini.Set("Diagram", "WaveXDispMagRate", "21");
    Reading r;
    r.env.messageLanguage = kEnglish;
    const AppSettings s = r.Read(ini);
    EXPECT_EQ(s.dispHelp, -1);
    EXPECT_EQ(s.wasLatency, 20);
    EXPECT_EQ(s.playBufferMs, 500);
    EXPECT_EQ(s.playDriverType, 0);
    EXPECT_EQ(s.playDeviceNum, 7);
    EXPECT_EQ(s.backColor, 0xFF0000u);
    EXPECT_EQ(s.diagramBackColor, 0xFFu);
    EXPECT_EQ(s.frameColor, 0x2020D0u);
    EXPECT_EQ(s.scaleColor, 0x202090u);
    EXPECT_EQ(s.lineColorL, 0xFF00u);
    EXPECT_EQ(s.lineColorR, 0xFFFFFFFBu);
    EXPECT_EQ(s.charColor, 255u);
    EXPECT_EQ(s.waveXMag, 4);
    ASSERT_EQ(r.ui.messages.size(), 1u);
    EXPECT_EQ(r.ui.messages[0].text,
              "Illegal hex value found in QV.INI.\nIt has processed as default value.\n\n red");
    EXPECT_EQ(r.ui.messages[0].caption, "Quorvale");
}

TEST(SettingsFileTest, ANegativeColourReadsBackAsWritten) {
    MemoryIni ini;
    ini.Set("Diagram", "BackColor", "-5");
    Reading r;
    AppSettings s = r.Read(ini);
    EXPECT_EQ(s.backColor, 0xFFFFFFFBu);
    MemoryIni out;
    ASSERT_TRUE(WriteSettings(out, s));
    EXPECT_EQ(out.Read("Diagram", "BackColor"), "0xFFFFFFFB");
    Reading again;
    EXPECT_EQ(again.Read(out).backColor, 0xFFFFFFFBu);
    EXPECT_TRUE(again.ui.messages.empty());
}

TEST(SettingsFileTest, VersionDirectoryAndLanguageRules) {
    MemoryIni ini;
    ini.Set("Window", "DispHelp", "1");
    ini.Set("Version", "Ver", "1.2");
    ini.Set("File", "Dir", "D:\\gone");
    Reading r;
    AppSettings s = r.Read(ini);
    EXPECT_EQ(s.dispHelp, -2);
    EXPECT_EQ(s.lastDirectory, "C:\\Program\\");

    ini.entries.clear();
    ini.Set("Window", "DispHelp", "1");
    ini.Set("Version", "Ver", "1.5");
    ini.Set("File", "Dir", "D:\\music");
    s = r.Read(ini);
    EXPECT_EQ(s.dispHelp, 1);
    EXPECT_EQ(s.lastDirectory, "D:\\music\\");

    for (const auto& [mode, japaneseSystem, expected] :
         {std::tuple{"", true, kJapanese}, std::tuple{"", false, kEnglish},
          std::tuple{"0", false, kJapanese}, std::tuple{"3", true, kEnglish},
          std::tuple{"-4", true, kJapanese}}) {
        MemoryIni lang;
        if (*mode)
            lang.Set("Special", "EnglishMode", mode);
        r.env.systemIsJapanese = japaneseSystem;
        EXPECT_EQ(r.Read(lang).languageIndex, expected) << mode << " " << japaneseSystem;
    }
}

TEST(SettingsFileTest, WritesTheKeptKeysInOrderAndReadsThemBack) {
    AppSettings s;
    s.lastDirectory = "C:\\Music";
    s.lastWaveFile = std::string(120, 'n');
    s.backColor = 0xFF0000;
    s.dispHelp = 1;
    s.playBufferMs = 100; // hand-edit only: not written
    MemoryIni ini;
    ASSERT_TRUE(WriteSettings(ini, s));
    EXPECT_EQ(s.lastDirectory, "C:\\Music\\");
    EXPECT_EQ(ini.written.front().key, "PosX");
    EXPECT_EQ(ini.written.back().key, "WAS_EventMode");
    EXPECT_EQ(ini.Read("Version", "Ver"), "1.5");
    EXPECT_EQ(ini.Read("Diagram", "BackColor"), "0x00FF0000");
    EXPECT_EQ(ini.Read("File", "Name"), std::string(99, 'n'));
    EXPECT_EQ(ini.Read("Misc", "PlayBuffer_ms"), "");
    EXPECT_EQ(ini.Read("Special", "EnglishMode"), "");
    EXPECT_EQ(ini.written.size(), 34u);

    Reading r;
    const AppSettings back = r.Read(ini);
    EXPECT_EQ(back.backColor, 0xFF0000u);
    EXPECT_EQ(back.dispHelp, 1);
    EXPECT_EQ(back.lastDirectory, "C:\\Music\\");

    // Placement selectors read one value each.
    ini.Set("Window", "PosX", "17");
    AppSettings p;
    EXPECT_EQ(ReadSettings(ini, p, SettingsPart::PosX, r.env), 0); // the first PosX written, 0
    MemoryIni place;
    place.Set("Window", "PosY", "33");
    place.Set("Window", "Height", "6000");
    p.height = 380;
    EXPECT_EQ(ReadSettings(place, p, SettingsPart::PosY, r.env), 33);
    EXPECT_EQ(ReadSettings(place, p, SettingsPart::Height, r.env), 380);

    ini.writesLeft = 3;
    EXPECT_FALSE(WriteSettings(ini, s));
}

} // namespace
} // namespace qv
