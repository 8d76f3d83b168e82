// The program session as its windows use it: files from the command line, a second start or a
// drop, "/P", Space with Ctrl, the meters at the end of a run, a refused format, a new channel
// count in every view, the waveform hint of a registered wave, files that arrive during a write,
// the frequency bar's sweep at the band's edge and on Stop, F1's help pages in each language, the
// start message of a first start or a new version, and the order of the end.
#include "app/freq_bar.h"
#include "app/main_texts.h"
#include "files/wave_bytes.h"
#include "platform/language.h"
#include "support/session_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace qv {
namespace {

using test::SessionFixture;

std::string LastMessage(const SessionFixture& f) {
    return f.ui.messages.empty() ? "" : f.ui.messages.back().text;
}

std::string MonoWave(const SessionFixture& f) {
    test::WriteSilentWave(f.dir + "tone.wav", 1, 100);
    return f.dir + "tone.wav";
}

TEST(ProgramSessionTest, OnlyADroppedFileCanBeAUserWave) {
    for (const bool dropped : {false, true}) {
        SessionFixture f;
        if (dropped)
            f.session.DropFile(MonoWave(f), 4); // the page of Wave5 shown
        else
            f.session.ProcessCommandLine("tone.wav"); // as a second start hands it over too
        EXPECT_EQ(LastMessage(f).substr(0, 12), dropped ? "" : "File Extent ");
        EXPECT_EQ(f.session.Gen().userWaves[1].userWaveFrames, dropped ? 100u : 0u);
    }
}

TEST(ProgramSessionTest, TheUserWaveButtonOpensItsWindowForAUserWaveAtRest) {
    SessionFixture f("[Wave1]\r\nWaveform=user wave\r\n");
    std::vector<std::pair<int, int>> shown; // master, request
    f.host.userWaveWindow = [&](int m) {
        shown.emplace_back(m, f.session.Gen().userWaves[m / 4].registerRequest);
        return true;
    };
    f.session.UserWaveButton(4); // Wave5 plays sine
    f.session.UserWaveButton(0); // nothing registered: empty
    f.session.DropFile(MonoWave(f), 0);
    f.session.UserWaveButton(0); // the dropped file registered
    f.session.Play();
    ASSERT_TRUE(f.Begun());
    f.session.UserWaveButton(0); // not while it plays
    f.session.Stop();
    ASSERT_TRUE(f.Ended());
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{0, 2}, {0, 1}, {0, 0}}));
    EXPECT_EQ(f.session.Gen().userWaves[0].registerRequest, 0);
}

TEST(ProgramSessionTest, SlashPPlaysWhatItOpenedForThatSetsLength) {
    SessionFixture f;
    f.Put("tone.QV", "[File]\r\nLength=3\r\n[Wave1]\r\nWaveform=sine\r\n");
    f.session.ProcessCommandLine("missing.QV /P");
    EXPECT_EQ(LastMessage(f).substr(0, 20), "Unable to open file.");
    EXPECT_EQ(f.host.autoPlays, 0); // a failed open plays nothing
    f.session.ProcessCommandLine("tone.QV /P");
    ASSERT_EQ(f.host.autoPlays, 1);
    f.session.Play(); // the posted Space
    ASSERT_TRUE(f.Begun());
    EXPECT_EQ(f.host.timerMs, 3000); // not the 10 s of the set before
    f.session.OnAutoPlayTimer();
    EXPECT_TRUE(f.Ended());
}

TEST(ProgramSessionTest, TheStartsSetRegistersItsOwnWavesOnceAndArrivalsWaitForItsWindows) {
    SessionFixture f("[Wave5]\r\nWaveform=user wave\r\nUserWave=last.wav\r\n", {},
                     test::Start::Constructed);
    const std::string wave = MonoWave(f);
    f.Put("uw.QV", "[Wave1]\r\nWaveform=user wave\r\nUserWave=" + wave + "\r\n");
    f.Put("other.QV", "[Wave1]\r\nWaveform=square\r\n");
    std::vector<std::pair<int, int>> shown; // master, request
    f.host.userWaveWindow = [&](int m) {
        shown.emplace_back(m, f.session.Gen().userWaves[m / 4].registerRequest);
        if (shown.size() == 1)
            f.session.ProcessCommandLine("other.QV /P"); // a second start while it is up
        return false;                                    // the session loads the wave itself
    };
    f.session.ProcessCommandLine("uw.QV /P");
    EXPECT_TRUE(shown.empty()); // nothing before the window is up
    f.session.FirstActivation();
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{0, -1}})); // not the last run's wave
    EXPECT_EQ(f.session.Caption(), "Quorvale - other");
    EXPECT_EQ(f.host.autoPlays, 2); // each opened set asks to play
    // A file handed over while a modal window is up opens once it has closed.
    f.host.modal = true;
    f.session.ProcessCommandLine("uw.QV");
    EXPECT_EQ(f.host.retries, 1);
    EXPECT_EQ(f.session.Caption(), "Quorvale - other");
    f.host.modal = false;
    f.session.OpenPending();
    EXPECT_EQ(f.session.Caption(), "Quorvale - uw");
}

TEST(ProgramSessionTest, SpaceWithCtrlPlaysAndStopsAndEveryEndBlanksTheMeters) {
    SessionFixture f;
    EXPECT_TRUE(f.view.Saw(&SessionChanges::startLevels));
    for (const bool ctrl : {true, false}) {
        f.keys.ctrl = ctrl;
        EXPECT_EQ(f.session.OnKey({' ', ctrl}), KeyCommand::Handled);
        ASSERT_TRUE(f.Begun());
        f.view.seen.clear();
        f.session.OnKey({' ', ctrl});
        ASSERT_TRUE(f.Ended());
        EXPECT_TRUE(f.view.Saw(&SessionChanges::clearLevels));
        EXPECT_EQ(f.view.Saw(&SessionChanges::clearTrace), !ctrl); // Ctrl keeps the picture
    }
    EXPECT_EQ(f.session.OnKey({' ', false, false, false, true}), KeyCommand::None);
}

TEST(ProgramSessionTest, TheBarsSweepEndsThePlaybackAtTheEdgeAndStopReleasesIt) {
    SessionFixture f;
    FreqBar& bar = f.session.Bar();
    bar.SetBand(44100, true);
    bar.SliderMoved(bar.PositionOf(20000));
    f.session.Play();
    ASSERT_TRUE(f.Begun());
    bar.PressSweep(true);
    f.view.seen.clear();
    for (int i = 0; i < 100 && bar.Sweeping(); ++i)
        f.session.TickBar();
    EXPECT_FALSE(bar.Sweeping());
    EXPECT_TRUE(f.view.Saw(&SessionChanges::freqBar));
    ASSERT_TRUE(f.Ended());
    f.session.Play();
    ASSERT_TRUE(f.Begun());
    bar.PressSweep(false);
    f.session.Stop();
    EXPECT_FALSE(bar.Sweeping());
    ASSERT_TRUE(f.Ended());
}

TEST(ProgramSessionTest, PlayWithAFormatTheEngineRefusedChangesNothing) {
    SessionFixture f;
    f.session.Play();
    ASSERT_TRUE(f.Begun());
    EXPECT_FALSE(f.session.OfferFormat()); // not while it plays
    f.session.Stop();
    ASSERT_TRUE(f.Ended());
    f.view.seen.clear();
    f.session.Play();
    EXPECT_TRUE(f.view.seen.empty());
    EXPECT_FALSE(f.session.Playing());
}

TEST(ProgramSessionTest, ANewChannelCountShowsTheFirstPairInEveryView) {
    SessionFixture f("[Misc]\r\nCh=4ch\r\n");
    test::RecordingView beside;
    f.session.Attach(beside);
    f.session.SetDisplayChannel(2); // "3ch + 4ch"
    EXPECT_EQ(f.session.DisplayChannel(), 2);
    f.session.Controls().OnChannels(1); // stereo
    f.session.Publish();
    EXPECT_EQ(f.session.DisplayChannel(), 0);
    for (const test::RecordingView* v : {&f.view, &beside}) {
        EXPECT_TRUE(v->Saw(&SessionChanges::displayChannel));
        EXPECT_TRUE(std::any_of(v->seen.begin(), v->seen.end(), [](const SessionChanges& c) {
            return c.controls.Has(ToolbarControl::Channels);
        }));
    }
    f.session.Detach(beside);
}

TEST(ProgramSessionTest, TheWaveformHintNamesTheWaveRegisteredWithTheSet) {
    SessionFixture f;
    test::Bytes chunks = test::Chunk("fmt ", test::FmtContent(1, 1, 44100, 16));
    test::Append(chunks, test::Chunk("data", test::Bytes(200, 0)));
    const test::Bytes wav = test::Riff(chunks);
    const std::string wave = f.dir + "Mesures \xC3\xA9.wav";
    f.Put("Mesures \xC3\xA9.wav", std::string(wav.begin(), wav.end()));
    f.Put("set.QV", "[Wave1]\r\nWaveform=user wave\r\nUserWave=" + wave + "\r\n");
    f.session.OpenParamFile(f.dir + "set.QV");
    EXPECT_EQ(f.session.Controls().Hint(0, SlotControl::Waveform), wave);
}

TEST(ProgramSessionTest, AFileArrivingDuringAWriteOpensWhenTheWriteEnds) {
    for (const bool drop : {true, false}) {
        SessionFixture f;
        f.Put("next.QV", "[Wave1]\r\nWaveform=square\r\n");
        std::string captionThen;
        f.view.onBlock = [&] {
            if (!captionThen.empty())
                return;
            drop ? f.session.DropFile(f.dir + "next.QV", 0)
                 : f.session.ProcessCommandLine("next.QV");
            captionThen = f.session.Caption();
        };
        f.session.Write(false, f.dir + "out.wav");
        EXPECT_EQ(captionThen, "Quorvale - " + f.dir + "out.wav");
        EXPECT_EQ(f.session.Caption(), "Quorvale - next");
        EXPECT_EQ(f.session.Controls().Selected(0, SlotControl::Waveform), 2);
    }
}

std::vector<int32_t> released;
bool savedFirst = false;
std::string settingsPath;

TEST(ProgramSessionTest, F1OpensTheStartPageThenTheContentsOrAWindowsPageInTheLanguage) {
    for (const auto& [language, start] : {std::pair{kEnglish, 2ul}, {kJapanese, 1002ul}}) {
        SessionFixture f("", {}, test::Start::Constructed);
        f.session.Settings().languageIndex = language;
        f.session.FirstActivation();
        const size_t before = f.host.helpContexts.size();
        f.session.Help(), f.session.Help(), f.session.HelpOn(HelpPage::FreqBar);
        EXPECT_EQ(
            std::vector(f.host.helpContexts.begin() + long(before), f.host.helpContexts.end()),
            (std::vector<unsigned long>{start, start + 6, start + 105}));
        f.session.Settings().dispHelp = 0; // F1 switched off
        f.session.Help(), f.session.HelpOn(HelpPage::UserWave);
        EXPECT_EQ(f.host.helpContexts.size(), before + 3);
    }
}

TEST(ProgramSessionTest, TheStartMessageShowsOnceForAFirstStartOrANewVersion) {
    const struct {
        std::string ini, message, savedHelp;
    } cases[] = {
        {"", std::string(kMsgFirstStart(kEnglish)), "DispHelp=1"},
        {"[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.2\r\n",
         std::string(kMsgNewVersion(kEnglish)), "DispHelp=1"},
        {"[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n", "", "DispHelp=1"},
        {"[Window]\r\nDispHelp=0\r\n[Version]\r\nVer=1.5\r\n", "", "DispHelp=0"},
    };
    for (const auto& c : cases) {
        SessionFixture f(c.ini, {}, test::Start::Constructed);
        f.session.FirstActivation();
        EXPECT_EQ(LastMessage(f), c.message) << c.ini;
        EXPECT_EQ(f.host.helpContexts.size(), c.message.empty() ? 0u : 1u) << c.ini;
        f.session.Shutdown();
        std::ifstream in(FsPath(f.dir + "QV.INI"), std::ios::binary);
        const std::string saved(std::istreambuf_iterator<char>(in), {});
        EXPECT_NE(saved.find(c.savedHelp + "\r\n"), std::string::npos) << c.ini;
        EXPECT_NE(saved.find("Ver=1.5\r\n"), std::string::npos) << c.ini;
    }
}

TEST(ProgramSessionTest, TheEndSavesThenLetsGoOfTheEngineThenOfTheLibrary) {
    SessionFixture f("", [](FftApi& api) {
        api.releaseFft = [](int32_t slot) {
            released.push_back(slot);
            std::ifstream ini(settingsPath);
            savedFirst = std::string(std::istreambuf_iterator<char>(ini), {}).find("[Wave8]") !=
                         std::string::npos;
        };
    });
    settingsPath = f.dir + "QV.INI";
    f.session.Shutdown();
    EXPECT_FALSE(f.session.EngineAlive());
    EXPECT_EQ(released, std::vector<int32_t>{10});
    EXPECT_TRUE(savedFirst);
}

} // namespace
} // namespace qv
