// What the text-format sample file's writer and reader share: its keys, in the order the writer
// puts them, and the extension message that both report.
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr const char* kTextKeyFormat = "Quorvale Text Format";
inline constexpr const char* kTextKeyRate = "Sampling Frequency";
inline constexpr const char* kTextKeyBits = "Bits";
inline constexpr const char* kTextKeyChannels = "Channels";
inline constexpr const char* kTextKeySamples = "Samples";
inline constexpr const char* kTextKeyMax = "Max";
inline constexpr const char* kTextKeyData = "Data";

inline constexpr Text2 kMsgNotQvtExtension{"ファイル拡張子が 'QVT' ではありません",
                                           "File Extent is not 'QVT'."};

} // namespace qv
