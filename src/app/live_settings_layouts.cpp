#include "app/live_settings_layouts.h"

namespace qv {

namespace {

using K = ControlKind;

constexpr const char* kFreqValues[] = {"1",  "2",   "5",   "10",  "20",
                                       "50", "100", "200", "500", "1000"};
constexpr const char* kAmpValues[] = {"0.1", "0.2", "0.5", "1",  "2",   "3",
                                      "6",   "10",  "20",  "50", "100", "0xFF"};
constexpr const char* kFreqPercents[] = {"0.1", "0.2", "0.5", "1",  "2", "5", "5.94630943592953",
                                         "10",  "20",  "50",  "100"};
constexpr const char* kAmpPercents[] = {"0.1", "0.2", "0.5", "1", "2", "5", "10", "20", "50"};
constexpr const char* kTransitions[] = {"0", "0.1", "0.2", "0.5", "1.0"};

constexpr const char* kDiffs[] = {"-100", "-50", "-20", "-10", "-5", "-2", "-1", "0",
                                  "1",    "2",   "5",   "10",  "20", "50", "100"};
// Just and equal-tempered interval ratios.
constexpr const char* kRatios[] = {"0.1",
                                   "0.2",
                                   "0.25",
                                   "0.33333333333333",
                                   "0.5",
                                   "0.666666666666667",
                                   "0.667419927085017",
                                   "0.749153538438341",
                                   "0.75",
                                   "0.793700525984100",
                                   "0.840896415253714",
                                   "1",
                                   "1.189207115002721",
                                   "1.259921049894873",
                                   "1.333333333333333",
                                   "1.334839854170034",
                                   "1.498307076876681",
                                   "1.5",
                                   "2",
                                   "3",
                                   "4",
                                   "5",
                                   "10"};

constexpr Text2 kClose{"閉じる", "Close"};

WindowLayout MakeUpDownLayout(bool frequency) {
    using I = UpDownIds;
    const std::span<const char* const> values =
        frequency ? std::span<const char* const>(kFreqValues) : kAmpValues;
    const std::span<const char* const> percents =
        frequency ? std::span<const char* const>(kFreqPercents) : kAmpPercents;
    return {
        frequency ? "F/P Up/Down" : "Amp Up/Down",
        {0, 0, 240, 170},
        {},
        {
            {0, K::GroupBox, 0, {6, 2, 228, 64}, {"変化量", "variation"}},
            {I::kValueRadio, K::RadioButton, 0, {16, 20, 72, 16}, {"数値", "value"}, 0, {}, true},
            {I::kValueBox, K::DropEdit, 0, {92, 18, 136, 20}, {"", ""}, 0, values},
            {I::kPercentRadio, K::RadioButton, 0, {16, 42, 72, 16}, {"%", "%"}},
            {I::kPercentBox, K::DropEdit, 0, {92, 40, 136, 20}, {"", ""}, 0, percents},
            {0, K::GroupBox, 0, {6, 70, 228, 64}, {"変化時間", "transition time"}},
            {I::kTransitionBox, K::DropEdit, 0, {16, 88, 56, 20}, {"", ""}, 0, kTransitions, true},
            {0, K::Label, 0, {76, 91, 24, 14}, {"秒", "sec"}},
            {I::kResetBuffer, K::CheckBox, 0, {16, 112, 112, 16}, {"ﾘｾｯﾄ ﾊﾞｯﾌｧｰ", "reset buffer"}},
            {I::kLog, K::CheckBox, 0, {132, 112, 64, 16}, {"ﾛｸﾞ", "log"}},
            {kCloseButtonId, K::DefaultButton, 0, {154, 140, 80, 24}, kClose},
        }};
}

WindowLayout MakeWave5SyncLayout() {
    using I = Wave5SyncIds;
    return {"Sync. Wave5",
            {0, 0, 240, 102},
            {},
            {
                {0, K::GroupBox, 0, {6, 2, 228, 64}, {"Wave5 周波数", "Wave5 frequency"}},
                {I::kDiffRadio,
                 K::RadioButton,
                 0,
                 {16, 20, 72, 16},
                 {"Wave1 +", "Wave1 +"},
                 0,
                 {},
                 true},
                {I::kDiffBox, K::DropEdit, 0, {92, 18, 136, 20}, {"", ""}, 0, kDiffs},
                {I::kRatioRadio, K::RadioButton, 0, {16, 42, 72, 16}, {"Wave1 x", "Wave1 x"}},
                {I::kRatioBox, K::DropEdit, 0, {92, 40, 136, 20}, {"", ""}, 0, kRatios},
                {kCloseButtonId, K::DefaultButton, 0, {154, 72, 80, 24}, kClose, 0, {}, true},
            }};
}

} // namespace

const WindowLayout& UpDownLayout(bool frequency) {
    static const WindowLayout freq = MakeUpDownLayout(true), amp = MakeUpDownLayout(false);
    return frequency ? freq : amp;
}

const WindowLayout& Wave5SyncLayout() {
    static const WindowLayout layout = MakeWave5SyncLayout();
    return layout;
}

} // namespace qv
