// The engine's start-up tests and the Windows driver catalog, against the running system.
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "engine/win/platform_probe.h"
#include "engine/win/win_driver_catalog.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(PlatformProbeTest, WasapiNeedsVistaWithAServicePackOrLater) {
    EXPECT_FALSE(OsHasWasapi(5, 1, 3)); // XP SP3
    EXPECT_FALSE(OsHasWasapi(5, 2, 2));
    EXPECT_FALSE(OsHasWasapi(6, 0, 0)); // Vista as released
    EXPECT_TRUE(OsHasWasapi(6, 0, 1));
    EXPECT_TRUE(OsHasWasapi(6, 1, 0));
    EXPECT_TRUE(OsHasWasapi(10, 0, 0));
    // Wine presents itself as a current Windows, whose version must not be taken for XP.
    EXPECT_TRUE(ProbeOsHasWasapi());
}

TEST(PlatformProbeTest, AvrtLoadsWithBothEntries) {
    test::RecordingUi ui;
    ErrorText text;
    {
        AvrtLibrary avrt(ui);
        ASSERT_TRUE(avrt.Load(text)) << text.Get();
        EXPECT_TRUE(text.Empty());
        ASSERT_NE(avrt.setCharacteristics, nullptr);
        ASSERT_NE(avrt.revertCharacteristics, nullptr);
    }
    EXPECT_TRUE(ui.messages.empty()); // freed without a complaint
}

TEST(WinDriverCatalogTest, EveryTypeHasADevicePathAndAsioWithoutDriversSaysSo) {
    test::RecordingUi ui;
    WinDriverCatalog catalog(ui);
    ErrorText text;
    EXPECT_TRUE(catalog.Enumerate(PlayDriverType::Asio, text)); // none registered here
    EXPECT_STREQ(text.Get(), "No ASIO driver");
    EXPECT_NE(catalog.DeviceFor(PlayDriverType::Asio), nullptr);
    // Wine has DirectDraw 7 and one render endpoint.
    ASSERT_TRUE(catalog.HasDirectX7());
    EXPECT_FALSE(catalog.Enumerate(PlayDriverType::DirectSound, text)) << text.Get();
    EXPECT_NE(catalog.DeviceFor(PlayDriverType::DirectSound), nullptr);
    EXPECT_FALSE(catalog.Enumerate(PlayDriverType::Wasapi, text)) << text.Get();
    EXPECT_GE(catalog.Count(PlayDriverType::Wasapi, false), 1);
    EXPECT_NE(catalog.DeviceFor(PlayDriverType::Wasapi), nullptr);
    EXPECT_NE(catalog.DeviceFor(PlayDriverType::Mme), nullptr);
    EXPECT_STREQ(catalog.AvrtMessage(), "");

    // Entry 0 of the MME list is the mapper, whatever devices the system has.
    catalog.Enumerate(PlayDriverType::Mme, text);
    EXPECT_EQ(catalog.Name(PlayDriverType::Mme, 0, false), "Wave Mapper");
    EXPECT_EQ(
        catalog.Name(PlayDriverType::Mme, catalog.Count(PlayDriverType::Mme, false) + 1, false),
        "");
}

TEST(WinDriverCatalogTest, AnEngineSavedWithAnUnavailableTypeStartsOnMme) {
    test::RecordingUi ui;
    WinDriverCatalog catalog(ui);
    HeadlessOwner owner;
    EngineSettings settings;
    settings.driverType = PlayDriverType::Asio;
    WavePlayRec engine(
        owner, ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; }, settings);
    engine.AttachCatalog(&catalog);
    EXPECT_EQ(engine.DriverType(), PlayDriverType::Mme);
    EXPECT_EQ(engine.SetDriverType(PlayDriverType::Asio), EngineOutcome::Failed);
    EXPECT_EQ(engine.DriverType(), PlayDriverType::Mme);
    EXPECT_EQ(engine.GetErrorText(), "No ASIO driver");
    EXPECT_EQ(engine.GetDeviceName(0, false), "Wave Mapper");
}

} // namespace
} // namespace qv
