// The driver types' lists and the switch between them, with a scripted catalog.
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "support/fake_device.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <map>

namespace qv {
namespace {

// Each type either plays on its own fake device, with a few named devices, or fails with a text.
class ScriptedCatalog final : public DriverCatalog {
public:
    struct Type {
        bool fails = false;
        const char* text = "";
        int devices = 0;
        test::FakeDevice* device = nullptr;
    };
    bool Enumerate(PlayDriverType type, ErrorText& text) override {
        ++enumerations[type];
        const Type& t = types[type];
        if (*t.text)
            text.Set(t.text);
        return t.fails;
    }
    int Count(PlayDriverType type, bool) const override { return types.at(type).devices; }
    std::string Name(PlayDriverType type, int entry, bool) const override {
        return std::to_string(static_cast<int>(type)) + ":" + std::to_string(entry);
    }
    Device* DeviceFor(PlayDriverType type) override { return types[type].device; }
    void Release(PlayDriverType type) override { ++releases[type]; }

    std::map<PlayDriverType, Type> types;
    std::map<PlayDriverType, int> enumerations, releases;
};

struct Switchboard {
    Switchboard() {
        catalog.types[PlayDriverType::Mme] = {false, "No Wave Input device", 2, &mme};
        catalog.types[PlayDriverType::DirectSound] = {true, "DirectX 7 or later required", 0,
                                                      nullptr};
        catalog.types[PlayDriverType::Asio] = {true, "No ASIO driver", 0, nullptr};
        catalog.types[PlayDriverType::Wasapi] = {false, "", 3, &wasapi};
    }
    ScriptedCatalog catalog;
    test::FakeDevice mme, wasapi;
    HeadlessOwner owner;
    test::RecordingUi ui;
};

TEST(DriverSwitchTest, AConfiguredTypeThatFailsFallsBackToMme) {
    Switchboard s;
    EngineSettings settings;
    settings.driverType = PlayDriverType::Asio;
    WavePlayRec engine(
        s.owner, s.ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; }, settings);
    engine.AttachCatalog(&s.catalog);
    EXPECT_EQ(engine.DriverType(), PlayDriverType::Mme);
    EXPECT_FALSE(engine.DriverFailed());
    // Outputs but no inputs: the input message stays without failing.
    EXPECT_EQ(engine.GetErrorText(), "No Wave Input device");
    EXPECT_EQ(engine.GetDeviceCount(false), 2);
    EXPECT_EQ(engine.GetDeviceName(1, false), "0:1");
}

TEST(DriverSwitchTest, SwitchingKeepsTheOldTypeWhenTheNewOneFails) {
    Switchboard s;
    WavePlayRec engine(
        s.owner, s.ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; }, EngineSettings{});
    engine.AttachCatalog(&s.catalog);
    EXPECT_EQ(engine.SetDriverType(PlayDriverType::Mme),
              EngineOutcome::Done); // the same type: nothing
    EXPECT_EQ(engine.SetDriverType(static_cast<PlayDriverType>(-1)), EngineOutcome::Done);
    EXPECT_EQ(s.catalog.enumerations[PlayDriverType::Mme], 1);

    EXPECT_EQ(engine.SetDriverType(PlayDriverType::DirectSound), EngineOutcome::Failed);
    EXPECT_EQ(engine.DriverType(), PlayDriverType::Mme);
    EXPECT_EQ(s.catalog.enumerations[PlayDriverType::Mme], 2); // rebuilt
    EXPECT_EQ(s.catalog.releases[PlayDriverType::Mme], 1);
    EXPECT_TRUE(engine.DriverFailed());
    EXPECT_EQ(engine.GetDeviceCount(false), 2);

    EXPECT_EQ(engine.SetDriverType(PlayDriverType::Wasapi), EngineOutcome::Done);
    EXPECT_EQ(engine.DriverType(), PlayDriverType::Wasapi);
    EXPECT_FALSE(engine.DriverFailed());
    EXPECT_EQ(engine.GetErrorText(), "");
    EXPECT_EQ(engine.GetDeviceCount(false), 3);
    EXPECT_EQ(engine.GetDeviceName(2, false), "3:2");
}

} // namespace
} // namespace qv
