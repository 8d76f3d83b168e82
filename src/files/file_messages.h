// Messages of the file writers and readers, in both languages.
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr Text2 kMsgNotWavExtension{"ファイル拡張子が 'WAV' ではありません",
                                           "File Extent is not 'WAV'."};
inline constexpr Text2 kMsgCannotCreate{"ファイルが作成できません", "Unable to create file."};
inline constexpr Text2 kMsgCannotWrite{"ファイルが書けません", "Unable to write file."};
inline constexpr Text2 kMsgWriteStopped{"ファイル作成を中止しました", "Stop file writing."};
inline constexpr Text2 kMsgCannotOpen{"ファイルが開けません", "Unable to open file."};
inline constexpr Text2 kMsgCannotRead{"ファイルが読めません", "Unable to read file."};
inline constexpr Text2 kMsgNoMemory{"メモリーが足りません", "Insufficient memory."};
inline constexpr Text2 kMsgBadPoints{"フィルターポイントが正しくありません",
                                     "Invalid filter points."};
inline constexpr Text2 kMsgDiskSpaceBefore{"ディスク", "Insufficient disk space on disk"};
inline constexpr Text2 kMsgDiskSpaceAfter{"の空き容量が足りません", ""};

} // namespace qv
