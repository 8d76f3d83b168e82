// The WASAPI row's answers to the device dialog, against Wine's endpoint: the format test and
// the Info text. Wine takes every exclusive format timer-driven and refuses event-driven
// exclusive streams with AUDCLNT_E_DEVICE_IN_USE, which puts the failure paths to the test.
#include "engine/win/win_driver_catalog.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <regex>

namespace qv {
namespace {

StreamSetup StreamOf(int bitCode, bool eventMode) {
    StreamSetup setup;
    setup.format = ToFormatRecord(MakeOutputFormat(48000, bitCode, 2));
    setup.wasLatencyMs = 20;
    setup.wasEventMode = eventMode;
    return setup;
}

class WasapiPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ErrorText text;
        ASSERT_FALSE(catalog.Enumerate(PlayDriverType::Wasapi, text)) << text.Get();
        path = catalog.PathFor(PlayDriverType::Wasapi);
        ASSERT_NE(path, nullptr);
    }
    test::RecordingUi ui;
    WinDriverCatalog catalog{ui};
    DriverPath* path = nullptr;
};

TEST_F(WasapiPathTest, TheTrialOpeningAsksWithTheEventModeAndTheQueryDoesNot) {
    const WaveFormatRecord f24 = StreamOf(24, false).format;
    ASSERT_TRUE(path->BeginFormatTest(0, StreamOf(16, false)));
    EXPECT_TRUE(path->TestFormat(0, f24, false));
    EXPECT_TRUE(path->TestFormat(0, StreamOf(-32, false).format, false));
    path->EndFormatTest();

    ASSERT_TRUE(path->BeginFormatTest(0, StreamOf(16, true)));
    EXPECT_FALSE(path->TestFormat(0, f24, false)); // refused, as Play would be
    EXPECT_TRUE(path->TestFormat(0, f24, true));
    path->EndFormatTest();

    const int count = catalog.Count(PlayDriverType::Wasapi, false);
    EXPECT_FALSE(path->BeginFormatTest(count, StreamOf(16, false)));
}

TEST_F(WasapiPathTest, InfoDescribesTheStreamAsPlayWouldPrepareIt) {
    const std::string name = catalog.Name(PlayDriverType::Wasapi, 0, false);
    ASSERT_FALSE(name.empty());
    // An 8-bit stream reaches the device as 16 bits; Wine cannot count the endpoint's channels.
    const std::string info = path->InfoText(0, StreamOf(8, false), false);
    const std::regex shape("========== WASAPI Information ==========\n\\[ .+ \\]\n\n"
                           "Output Channels:\t 2\\?\nSample Rate:\t 48000\nBits/Sample:\t 16\n"
                           "Buffer size min:\t [0-9]+  \\([0-9]+\\.[0-9]ms\\)\n"
                           "\t default:\t [0-9]+  \\([0-9]+\\.[0-9]ms\\)\n"
                           "\t actual:\t [0-9]+  \\([0-9]+\\.[0-9]ms\\)\n"
                           "Stream latency:\t [0-9]+  \\([0-9]+\\.[0-9]ms\\)\n\n"
                           "Mode:\t\t exclusive-mode\nBuffering:  \t timer-driven\n"
                           "MMCSS task:\t \"Pro Audio\"\n");
    EXPECT_TRUE(std::regex_match(info, shape)) << info;
    EXPECT_NE(info.find("[ " + name + " ]"), std::string::npos);

    EXPECT_EQ(path->InfoText(0, StreamOf(16, false), false), info);

    // With Shift: the endpoint volume after the same text (no channel lines without a count).
    const std::string detailed = path->InfoText(0, StreamOf(16, false), true);
    ASSERT_GT(detailed.size(), info.size());
    EXPECT_EQ(detailed.substr(0, info.size()), info);
    EXPECT_TRUE(std::regex_match(detailed.substr(info.size()),
                                 std::regex("\nMaster Volume:\t [-0-9.]+dB  \\([0-9.]+\\)\n"
                                            "Volume Min:[^]*Hardware support:\n\t Volume:\t "
                                            "(Yes|No)\n\t Mute:\t (Yes|No)\n\t Meter:\t (Yes|No)")))
        << detailed;

    // A preparation that fails ends the text with its error, after the stream's own format.
    const std::string refused = path->InfoText(0, StreamOf(24, true), false);
    EXPECT_EQ(refused, "========== WASAPI Information ==========\n[ " + name +
                           " ]\n\nSample Rate:\t 48000\nBits/Sample:\t 24\n\n\n"
                           " Error: Unable to initialize. (AUDCLNT_E_DEVICE_IN_USE)");
}

} // namespace
} // namespace qv
