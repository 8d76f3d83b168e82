// Texts of the device engine. The error texts are one line of English (the caller shows them
// inside its own message); the messages are shown as they stand in both languages.
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr Text2 kMsgPlaybackStopped{"Stopped! \n\n%s", "Stopped! \n\n%s"};
// Shown by the window when Play fails, with the error text in the parentheses.
inline constexpr Text2 kMsgUnableToPlay{"再生できません", "Unable to play."};
inline constexpr const char* kUnableToPlayFormat = "%s\n\n(%s)";

inline constexpr const char* kErrBufferNotEnough = "Buffer not enough  (1/%d)";
inline constexpr const char* kErrNoMemory = "No memory";

} // namespace qv
