#include "app/live_settings_params.h"
#include "files/param_text_table.h"
#include "platform/language.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LiveSettingsParamsTest, DefaultsLimitsAndRoundTrip) {
    ParamTextTable t(kEnglish);
    LiveSettings s;
    s.freq.value = s.amp.value = -1;
    ReadLiveSettings(t, s);
    EXPECT_FALSE(s.freq.percentMode);
    EXPECT_EQ(s.freq.value, 10.0);
    EXPECT_EQ(s.freq.percent, 5.0);
    EXPECT_EQ(s.freq.transition, 0.2);
    EXPECT_FALSE(s.freq.resetBuffer);
    EXPECT_TRUE(s.freq.log);
    EXPECT_EQ(s.amp.value, 1.0);
    EXPECT_TRUE(s.sync.ratioMode);
    EXPECT_EQ(s.sync.ratio, 1.0);

    t.Set("Misc", "AmpUpDownType", "Percent");
    t.Set("Misc", "AmpUpDownValue", "0xFF");
    t.Set("Misc", "FreqUpDownTransition", "150");
    t.Set("Misc", "AmpUpDownTransition", "-3");
    t.Set("Misc", "FreqUpDownPercent", "5.94630943592953");
    t.Set("Misc", "Wave5SyncType", "diff");
    t.Set("Misc", "Wave5SyncDiff", "-20");
    t.Set("Misc", "Wave5SyncRatio", "-1.5");
    ReadLiveSettings(t, s);
    EXPECT_TRUE(s.amp.percentMode);
    EXPECT_EQ(s.amp.value, 255.0);
    EXPECT_EQ(s.freq.transition, 100.0);
    EXPECT_EQ(s.amp.transition, 0.0);
    EXPECT_EQ(s.freq.percent, 5.94630943592953);
    EXPECT_FALSE(s.sync.ratioMode);
    EXPECT_EQ(s.sync.diff, -20.0);
    EXPECT_EQ(s.sync.ratio, 1.5);
    t.Set("Misc", "Wave5SyncRatio", "0");
    ReadLiveSettings(t, s);
    EXPECT_EQ(s.sync.ratio, 1.0);

    s.freq.transition = 0.123456;
    ParamTextTable out(kEnglish);
    WriteLiveSettings(s, out);
    EXPECT_EQ(out.Get("Misc", "FreqUpDownTransition"), "0.123");
    EXPECT_EQ(out.Get("Misc", "AmpUpDownType"), "percent");
    EXPECT_EQ(out.Get("Misc", "FreqUpDownPercent"), "5.94630943592953");
    EXPECT_EQ(out.Get("Misc", "Wave5SyncType"), "diff");
    LiveSettings back;
    ReadLiveSettings(out, back);
    EXPECT_EQ(back.amp.value, 255.0);
    EXPECT_EQ(back.sync.diff, -20.0);
    EXPECT_EQ(back.freq.transition, 0.123);
}

} // namespace
} // namespace qv
