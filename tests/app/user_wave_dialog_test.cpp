// The user-wave window's model: which channel item each way of showing it selects, and what
// closing stores.
#include "app/user_wave_dialog.h"
#include "files/text_file_helpers.h"
#include "files/wave_bytes.h"
#include "platform/key_state.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(UserWaveDialogTest, StoredSelectionStaysUnlessANewFileIsChosenOrNoneIsRegistered) {
    test::ScratchDir dir;
    test::WriteSilentWave(dir.File("2ch.wav"), 2, 4);
    test::RecordingUi ui;
    const NoKeysDown keys;
    const UserWaveLoadEnvironment env{
        .ui = ui, .keys = keys, .languageIndex = kEnglish, .appTitle = "Quorvale", .progress = {}};
    using R = UserWaveRequest;
    const struct {
        R request;        // how the window is shown (Chosen: with the file registered)
        bool chooseAfter; // a file chosen in it afterwards
        const char* stored;
        int32_t code;
    } cases[] = {
        {R::Chosen, false, "uR", 258},        {R::Deferred, false, "uR", 258},
        {R::FromParamFile, false, "uR", 258}, {R::Chosen, true, "ALL", 255},
        {R::NoFile, false, "uR", 0}, // an empty list stores nothing
    };
    for (const auto& c : cases) {
        UserWaveSet set;
        set.userWavePath = dir.File("2ch.wav");
        set.channelSelectionText = "uR";
        set.channelSelection = 0;
        if (c.request == R::Chosen) {
            ASSERT_TRUE(LoadUserWave(set, R::Deferred, env));
        }
        set.registerRequest = static_cast<int>(c.request);
        UserWaveDialog d(set, 0, kEnglish);
        d.Show(env);
        if (c.chooseAfter)
            d.Choose(set.userWavePath, env);
        d.Close();
        EXPECT_EQ(set.channelSelectionText, c.stored);
        EXPECT_EQ(set.channelSelection, c.code);
    }
}

} // namespace
} // namespace qv
