#include "app/user_wave_layout.h"

namespace qv {

namespace {

using K = ControlKind;

// The info line and the progress bar of a load share their place.
constexpr int kInfoOrProgress = 1;

WindowLayout MakeUserWave() {
    using I = UserWaveIds;
    return {"User wave",
            {0, 0, 430, 196},
            {},
            {
                {0, K::Label, 0, {8, 12, 60, 14}, {"ﾌｧｲﾙ名:", "File name:"}},
                {I::kFileName, K::Edit, 0, {70, 8, 250, 20}},
                {I::kOpen, K::Button, 0, {326, 6, 46, 24}, {"開く", "Open"}},
                {I::kClose, K::Button, 0, {376, 6, 46, 24}, {"閉じる", "Close"}},
                {I::kInfo, K::Label, 0, {8, 38, 380, 14}, {"", ""}, kInfoOrProgress},
                {I::kProgress, K::Progress, 0, {8, 36, 380, 16}, {"", ""}, kInfoOrProgress},
                {I::kCountdown, K::RightLabel, 0, {394, 38, 28, 14}},
                {I::kPreview, K::Custom, 0, {8, 58, 414, 100}},
                {0, K::Label, 0, {8, 169, 80, 14}, {"ﾁｬﾝﾈﾙ選択:", "Channel sel.:"}},
                {I::kChannel, K::DropList, 0, {90, 166, 86, 20}},
                {I::kModLabel,
                 K::Label,
                 0,
                 {224, 169, 110, 14},
                 {"Wave1 変調信号:", "Wave1 Mod. signal:"}},
                {I::kModSignal, K::DropList, 0, {336, 166, 86, 20}},
            }};
}

} // namespace

const WindowLayout& UserWaveLayout() {
    static const WindowLayout layout = MakeUserWave();
    return layout;
}

} // namespace qv
