// The user-wave window's model: the lists a wave offers for Wave1 and Wave5, which item each way
// of showing selects and what closing stores, and the registration that closes by itself.
#include "app/user_wave_dialog.h"
#include "files/text_file_helpers.h"
#include "files/wave_bytes.h"
#include "platform/key_state.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace qv {
namespace {

struct Fixture {
    // A 16-bit wave of four frames with the channel count.
    std::string Wave(uint16_t channels) {
        test::Bytes chunks = test::Chunk("fmt ", test::FmtContent(1, channels, 44100, 16));
        test::Append(chunks, test::Chunk("data", test::Bytes(8u * channels, 0)));
        const std::string path = dir.File((std::to_string(channels) + "ch.wav").c_str());
        const test::Bytes bytes = test::Riff(chunks);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::vector<std::string> Texts(const UserWaveDialog::List& list) {
        std::vector<std::string> texts;
        for (const UserWaveItem& item : list.items)
            texts.push_back(item.text);
        return texts;
    }
    test::ScratchDir dir;
    test::RecordingUi ui;
    NoKeysDown keys;
    UserWaveLoadEnvironment env{
        .ui = ui, .keys = keys, .languageIndex = kEnglish, .appTitle = "Quorvale", .progress = {}};
    UserWaveSet set;
};

TEST(UserWaveDialogTest, ListsByChannelsAndMaster) {
    using Texts = std::vector<std::string>;
    const struct {
        uint16_t channels;
        int master;
        Texts channelItems;
        bool channelEnabled;
        Texts modItems;
        bool modVisible;
    } cases[] = {
        {1, 4, {"ALL"}, false, {"uL"}, true},
        {2, 0, {"ALL", "uL", "uR", "uL + uR", "uL - uR", "uR - uL"}, true, {}, false},
        {3, 4, {"ALL", "u1ch", "u2ch", "u3ch"}, true, {"u1ch", "u2ch", "u3ch"}, true},
    };
    for (const auto& c : cases) {
        Fixture f;
        UserWaveDialog d(f.set, c.master, kEnglish);
        d.Choose(f.Wave(c.channels), f.env);
        EXPECT_EQ(f.Texts(d.Channels()), c.channelItems);
        EXPECT_EQ(d.Channels().enabled, c.channelEnabled);
        EXPECT_EQ(f.Texts(d.ModSignals()), c.modItems);
        EXPECT_EQ(d.ModSignals().visible, c.modVisible);
        EXPECT_EQ(d.Caption("Quorvale"), "Quorvale - User wave " + std::to_string(c.master + 1));
    }
}

TEST(UserWaveDialogTest, StoredSelectionStaysUnlessANewFileIsChosen) {
    const struct {
        UserWaveRequest request; // how the window is shown
        bool chooseAfter;        // a file chosen in it afterwards
        const char* stored;
        int32_t code;
    } cases[] = {
        {UserWaveRequest::Chosen, false, "uR", 258},
        {UserWaveRequest::Deferred, false, "uR", 258},
        {UserWaveRequest::FromParamFile, false, "uR", 258},
        {UserWaveRequest::Chosen, true, "ALL", 255},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.set.userWavePath = f.Wave(2);
        f.set.channelSelectionText = "uR";
        if (c.request == UserWaveRequest::Chosen) { // the registered file, as the button shows it
            ASSERT_TRUE(LoadUserWave(f.set, UserWaveRequest::Deferred, f.env));
        }
        f.set.registerRequest = static_cast<int>(c.request);
        UserWaveDialog d(f.set, 0, kEnglish);
        d.Show(f.env);
        if (c.chooseAfter)
            d.Choose(f.set.userWavePath, f.env);
        d.Close();
        EXPECT_EQ(f.set.channelSelectionText, c.stored);
        EXPECT_EQ(f.set.channelSelection, c.code);
    }
}

TEST(UserWaveDialogTest, ARegistrationAfterAParameterFileClosesAfterTwoSeconds) {
    Fixture f;
    f.set.userWavePath = f.Wave(2);
    f.set.registerRequest = static_cast<int>(UserWaveRequest::FromParamFile);
    UserWaveDialog d(f.set, 4, kEnglish);
    d.Show(f.env);
    EXPECT_EQ(d.Countdown(), 2);
    EXPECT_FALSE(d.Tick());
    EXPECT_EQ(d.Countdown(), 1);
    EXPECT_TRUE(d.Tick());
}

TEST(UserWaveDialogTest, StartingEmptyOffersNothingAndStoresNothing) {
    Fixture f;
    f.set.channelSelectionText = "uL";
    f.set.registerRequest = static_cast<int>(UserWaveRequest::NoFile);
    UserWaveDialog d(f.set, 4, kEnglish);
    d.Show(f.env);
    EXPECT_EQ(d.InfoLine(), "");
    EXPECT_TRUE(d.Channels().items.empty());
    EXPECT_FALSE(d.Channels().enabled);
    EXPECT_FALSE(d.ModSignals().enabled);
    d.Close();
    EXPECT_EQ(f.set.channelSelectionText, "uL");
    EXPECT_EQ(d.Countdown(), 0);
}

} // namespace
} // namespace qv
