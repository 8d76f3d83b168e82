#include "app/main_controls.h"
#include "app/open_param_file.h"
#include "generator/generator.h"
#include "platform/language.h"
#include "support/fake_ui.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

#include <map>

namespace qv {
namespace {

// Files by path, each a MemoryIni that outlives the IniFile handed out for it.
struct Files {
    class Handle final : public IniFile {
    public:
        explicit Handle(test::MemoryIni& ini) : ini_(ini) {}
        std::string Read(std::string_view s, std::string_view k) const override {
            return ini_.Read(s, k);
        }
        bool Write(std::string_view s, std::string_view k, std::string_view v) override {
            return ini_.Write(s, k, v);
        }

    private:
        test::MemoryIni& ini_;
    };
    OpenParamEnvironment Environment(test::RecordingUi& ui) {
        OpenParamEnvironment env{
            .ui = ui,
            .appTitle = "Quorvale",
            .fileExists = [this](const std::string& p) { return files.count(p) > 0; },
            .openIni = [this](const std::string& p) { return std::make_unique<Handle>(files[p]); },
            .reregisterUserWave =
                [this](int m, const std::string& p) {
                    reregistered.push_back(std::to_string(m) + ":" + p);
                    return true;
                }};
        return env;
    }
    std::map<std::string, test::MemoryIni> files;
    std::vector<std::string> reregistered;
};

TEST(OpenParamFileTest, ChecksLoadsAppliesAndNamesTheFile) {
    Files f;
    test::RecordingUi ui;
    const OpenParamEnvironment env = f.Environment(ui);
    Generator g;
    MainControls c(g, kEnglish);
    OpenedNames names;

    EXPECT_FALSE(OpenParamFile("C:\\sets\\a.txt", g, c, env, names));
    EXPECT_FALSE(OpenParamFile("C:\\sets\\b.qv", g, c, env, names));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "File Extent is not 'QV'.\n\nC:\\sets\\a.txt");
    EXPECT_EQ(ui.messages[1].text, "Unable to open file.\n\nC:\\sets\\b.qv");
    EXPECT_EQ(ui.messages[1].caption, "Quorvale");

    test::MemoryIni& ini = f.files["C:\\sets\\tone.v2.QV"];
    ini.Set("Wave1", "Waveform", "user wave");
    ini.Set("Wave1", "UserWave", "C:\\waves\\burst.wav");
    ini.Set("Wave5", "Waveform", "sine");
    ini.Set("Wave5", "UserWave", "C:\\waves\\old.wav");
    ini.Set("Wave2", "Waveform", "triangle");
    g.userWaves[1].userWaveFrames = 10;
    ASSERT_TRUE(OpenParamFile("C:\\sets\\tone.v2.QV", g, c, env, names));
    EXPECT_EQ(g.slots[1].waveform, kTriangle);
    EXPECT_EQ(f.reregistered, std::vector<std::string>{"0:C:\\waves\\burst.wav"});
    EXPECT_EQ(g.userWaves[1].userWavePath, ""); // Wave5 plays no user wave: released
    EXPECT_EQ(g.userWaves[1].userWaveFrames, 0u);
    EXPECT_EQ(names.caption, "Quorvale - tone.v2");
    EXPECT_EQ(names.lastWaveFile, "tone.v2.WAV");
    EXPECT_EQ(names.lastTextFile, "tone.v2.QVT");
}

TEST(OpenParamFileTest, InitFileIsCreatedOnceWithItsComment) {
    Files f;
    test::RecordingUi ui;
    const OpenParamEnvironment env = f.Environment(ui);
    for (int lang : {kEnglish, kJapanese}) {
        f.files.clear();
        Generator g;
        MainControls c(g, lang);
        ASSERT_TRUE(CreateInitParamFile("C:\\Quorvale\\", c, env));
        const test::MemoryIni& init = f.files["C:\\Quorvale\\INIT.QV"];
        EXPECT_EQ(init.Read("File", "Comment"),
                  lang == kEnglish ? "All parameters are reset to initial value."
                                   : "\x91S\xCA\xDF\xD7\xD2\xB0\xC0\x82\xF0\x8F\x89\x8A\xFA\x92l"
                                     "\x82\xC9\x96\xDF\x82\xB5\x82\xDC\x82\xB5\x82\xBD");
        EXPECT_EQ(c.ToolbarText(ToolbarControl::Comment),
                  lang == kEnglish ? "INIT.QV has made for initialize."
                                   : "\x8F\x89\x8A\xFA\x89\xBB\x97p INIT.QV \x82\xF0"
                                     "\x8D\xEC\x90\xAC\x82\xB5\x82\xDC\x82\xB5\x82\xBD");
        EXPECT_EQ(init.Read("Wave1", "Freq"), "1000");
        EXPECT_FALSE(CreateInitParamFile("C:\\Quorvale\\", c, env));
    }
}

} // namespace
} // namespace qv
