// The table and the texts of the user-wave window (one per master, Wave1 or Wave5).
#pragma once

#include "platform/window_layout.h"

namespace qv {

struct UserWaveIds {
    enum : int {
        kClose = kCloseButtonId,
        kFileName = 10,
        kOpen,
        kInfo,
        kProgress,
        kCountdown,
        kPreview,
        kChannel,
        kModLabel,
        kModSignal,
    };
};

const WindowLayout& UserWaveLayout();

inline constexpr Text2 kUserWaveTitle{"ユーザー波形", "User wave"};
inline constexpr Text2 kRegisterUserWaveTitle{"ユーザー波形の登録", "Register User Wave"};

} // namespace qv
