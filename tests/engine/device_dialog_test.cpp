// The device dialog without its window, over a scripted catalog: a driver switch puts device
// and channel back to their first entries (and a refused one keeps the type, with its message),
// the latency keeps to 1 ... 200 ms, and the format list's grid of a device that takes only
// 24-bit integer samples through WASAPI, stopped or whole.
#include "engine/device_dialog.h"
#include "engine/driver_table.h"
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "platform/language.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv {
namespace {

// A path whose devices take only 24-bit integer samples, at every rate and channel count.
class Only24BitPath final : public DriverPath {
public:
    bool Enumerate(ErrorText&) override { return false; }
    int Count(bool) const override { return 3; }
    std::string Name(int entry, bool) const override { return "Device " + std::to_string(entry); }
    Device* Open() override { return nullptr; }
    void Release() override {}
    bool TestFormat(int, const WaveFormatRecord& f, bool) override {
        ++tests;
        return f.bitsPerSample == 24 && f.subFormat != kSubFormatFloat;
    }
    int tests = 0;
    // ASIO's side: a driver of four outputs (none once unplugged) whose panel answers or not.
    std::vector<std::string> ChannelNames(int) override {
        return unplugged ? std::vector<std::string>{}
                         : std::vector<std::string>{"Out 1", "Out 2", "Out 3", "Out 4"};
    }
    bool ControlPanel(int) override { return panelAnswers; }
    bool unplugged = false, panelAnswers = true;
};

struct Dialog {
    Dialog() {
        std::vector<DriverRow> rows;
        rows.push_back({PlayDriverType::Mme, {}, std::make_unique<Only24BitPath>(), true});
        rows.push_back({PlayDriverType::DirectSound, [] { return "DirectX 7 or later required"; }});
        rows.push_back({PlayDriverType::Asio, {}, std::make_unique<Only24BitPath>()});
        rows.push_back({PlayDriverType::Wasapi, {}, std::make_unique<Only24BitPath>()});
        catalog = std::make_unique<DriverTable>(std::move(rows));
        engine.AttachCatalog(catalog.get());
        (void)engine.SetSource(ToFormatRecord(MakeOutputFormat(48000, 24, 2)));
        box.emplace(engine, *catalog, settings, ui, kEnglish);
    }
    test::RecordingUi ui;
    HeadlessOwner owner;
    std::unique_ptr<DriverTable> catalog;
    WavePlayRec engine{owner, ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; }, {}};
    AppSettings settings;
    std::optional<DeviceDialog> box;
    DeviceDialog& dialog = *box;
};

TEST(DeviceDialogTest, ADriverSwitchStartsAtTheFirstDeviceAndALatencyKeepsItsLimits) {
    Dialog d;
    EXPECT_EQ(d.dialog.DeviceItems().size(), 4u); // the mapper and three devices
    d.dialog.SelectDevice(2);
    EXPECT_FALSE(d.dialog.SelectDriver(1));
    EXPECT_EQ(d.ui.messages.back().text,
              "Unable to load selected driver.\n\nDirectX 7 or later required");
    EXPECT_EQ(d.dialog.DriverItem(), 0);
    EXPECT_EQ(d.settings.playDeviceNum, 2);
    ASSERT_TRUE(d.dialog.SelectDriver(3));
    EXPECT_EQ(d.settings.playDriverType, 3);
    EXPECT_EQ(d.settings.playDeviceNum, 0);
    EXPECT_EQ(d.dialog.DeviceItems().size(), 3u); // no default entry
    EXPECT_TRUE(d.dialog.Visible().latency && d.dialog.Visible().info);
    EXPECT_FALSE(d.dialog.Visible().extensible || d.dialog.Visible().fullVolume);
    for (const auto& [typed, kept] : {std::pair{"0", 1}, {"350", 200}, {"20", 20}, {"x", 1}})
        EXPECT_EQ(d.dialog.SetLatencyText(typed), kept) << typed;
    EXPECT_EQ(d.engine.Settings().wasLatencyMs, 1);
}

TEST(DeviceDialogTest, TheGridOfADeviceThatTakesOnly24Bits) {
    Dialog d;
    ASSERT_TRUE(d.dialog.SelectDriver(3));
    const FormatTable whole = QueryPlayFormats(*d.dialog.Path(), d.dialog.Query(false, false));
    for (const auto& row : whole) // 8, 16, 24, F32 work on one and two channels; 24 is its own
        EXPECT_EQ(
            (std::array{FormatCellText(row[0]), FormatCellText(row[1]), FormatCellText(row[2]),
                        FormatCellText(row[3]), FormatCellText(row[4])}),
            (std::array<std::string, 5>{"   12", "   12", "   *12", "    -", "   12"}));
    EXPECT_EQ(d.dialog.CurrentCell(), (std::pair{4, 2})); // 48000 Hz, 24 bits

    FormatQuery q = d.dialog.Query(false, true);
    int cells = 0;
    q.progress = [&](int, int, uint16_t) { return ++cells == 3; }; // Stop after three cells
    const FormatTable stopped = QueryPlayFormats(*d.dialog.Path(), q);
    EXPECT_EQ(FormatCellText(stopped[0][2]), "*12345678");
    EXPECT_EQ(FormatCellText(stopped[1][0]), "    -");
    EXPECT_EQ(FormatCellText(stopped[10][4]), "    -");
}

TEST(DeviceDialogTest, AsioListsTheDriversOutputsAndItsPanelReadsThemAgain) {
    Dialog d;
    ASSERT_TRUE(d.dialog.SelectDriver(2));
    auto& path = static_cast<Only24BitPath&>(*d.dialog.Path());
    EXPECT_EQ(d.dialog.ChannelItems().size(), 4u);
    EXPECT_TRUE(d.dialog.ChannelsEnabled() && d.dialog.InfoEnabled() && d.dialog.Visible().panel);
    d.dialog.SelectChannel(3);
    EXPECT_FALSE(d.dialog.PressPanel()); // the driver's own panel, not the system's
    EXPECT_EQ(d.settings.asioPlayChNum, 0);
    path.panelAnswers = false, path.unplugged = true;
    d.dialog.SelectChannel(2);
    EXPECT_FALSE(d.dialog.PressPanel());
    EXPECT_EQ(d.ui.messages.back().text, "Unable to open Control Panel");
    EXPECT_EQ(d.settings.asioPlayChNum, 2); // nothing was read again
    d.dialog.SelectDevice(1);
    EXPECT_EQ(d.dialog.ChannelItems(), std::vector<std::string>{"Not available"});
    EXPECT_FALSE(d.dialog.ChannelsEnabled() || d.dialog.InfoEnabled());
}

TEST(DeviceDialogTest, CellTextsPadToTheirLength) {
    for (const auto& [flags, text] : {std::pair<uint16_t, const char*>{0, "    -"},
                                      {0x8000, "    -"},
                                      {0x0001, "    1"},
                                      {0x8003, "   *12"},
                                      {0x000F, "  1234"},
                                      {0x803F, " *123456"}})
        EXPECT_EQ(FormatCellText(flags), text) << flags;
}

} // namespace
} // namespace qv
