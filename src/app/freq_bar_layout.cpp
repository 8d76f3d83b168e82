#include "app/freq_bar_layout.h"

namespace qv {

namespace {

WindowLayout MakeFreqBar() {
    using I = FreqBarIds;
    using K = ControlKind;
    constexpr int width = 485, height = 68;
    return {"Frequency bar",
            {0, 0, width, height},
            {},
            {
                {I::kTitle, K::Label, 0, {6, 5, 74, 14}, {"Wave1 周波数", "Wave1 freq."}},
                {I::kLog, K::CheckBox, 0, {84, 4, 42, 16}, {"Log", "Log"}},
                {I::kSweepLabel, K::Label, 0, {132, 5, 40, 14}, {"ｽｲｰﾌﾟ:", "Sweep:"}},
                {I::kSweepDown, K::Toggle, 0, {174, 2, 24, 20}, {"<<", "<<"}},
                {I::kSweepUp, K::Toggle, 0, {200, 2, 24, 20}, {">>", ">>"}},
                {I::kSpeedLabel, K::Label, 0, {232, 5, 40, 14}, {"速度:", "Speed:"}},
                {I::kSpeed, K::Slider, 0, {272, 2, 96, 20}},
                {I::kSyncWave5, K::CheckBox, 0, {376, 4, 84, 16}, {"Wave5を同期", "Sync Wave5"}},
                {I::kClose,
                 K::Button,
                 0,
                 {width - kFreqBarCloseWidth - 2, 2, kFreqBarCloseWidth, 20},
                 {"X", "X"}},
                {I::kSlider,
                 K::Slider,
                 0,
                 {kFreqBarSliderMargin, kFreqBarSliderTop, width - 2 * kFreqBarSliderMargin,
                  height - kFreqBarSliderTop - 2}},
            }};
}

} // namespace

const WindowLayout& FreqBarLayout() {
    static const WindowLayout layout = MakeFreqBar();
    return layout;
}

} // namespace qv
