// The engine is built with the settings file's values.
#include "app/engine_settings.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(EngineSettingsTest, TakesTheSettingsKeysAndShiftsThePriority) {
    AppSettings s;
    s.playDriverType = 3;
    s.useWfExtensible = true;
    s.wasLatency = 35;
    s.wasEventMode = false;
    s.dsPlayLatency = 80;
    s.languageIndex = 1;
    const std::pair<int, int> priorities[] = {{-2, 1}, {0, 3}, {2, 5}, {-9, 1}, {7, 5}};
    for (auto [setting, level] : priorities) {
        s.playThreadPriority = setting;
        const EngineSettings e = EngineSettingsFrom(s);
        EXPECT_EQ(e.playPriority, level) << setting;
        EXPECT_EQ(e.driverType, PlayDriverType::Wasapi);
        EXPECT_TRUE(e.useExtensible);
        EXPECT_FALSE(e.useWfDirect);
        EXPECT_EQ(e.wasLatencyMs, 35);
        EXPECT_FALSE(e.wasEventMode);
        EXPECT_EQ(e.dsPlayLatencyMs, 80);
        EXPECT_EQ(e.languageIndex, 1);
    }
    // The program's defaults: MME, highest priority, 20 ms event-driven WASAPI.
    const EngineSettings d = EngineSettingsFrom(AppSettings{});
    EXPECT_EQ(d.driverType, PlayDriverType::Mme);
    EXPECT_EQ(d.playPriority, 5);
    EXPECT_EQ(d.wasLatencyMs, 20);
    EXPECT_TRUE(d.wasEventMode);
}

} // namespace
} // namespace qv
