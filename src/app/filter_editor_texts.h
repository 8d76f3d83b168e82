// The texts of the filter editor, its point window and menus, in both languages.
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr Text2 kFilterEditorTitle{"フィルター設定", "Filter configuration"};
inline constexpr Text2 kTooManyPoints{"これ以上のポイントは作成できません",
                                      "Unable to create new point."};
inline constexpr Text2 kPointCountFormat{"ﾎﾟｲﾝﾄ数:%3d", "Points: %3d"};
inline constexpr Text2 kMenuEdit{"編集", "Edit"};
inline constexpr Text2 kMenuDelete{"削除", "Delete"};
inline constexpr Text2 kMenuToNext{"次のﾎﾟｲﾝﾄまで", "To next point"};
inline constexpr Text2 kMenuToPrev{"前のﾎﾟｲﾝﾄまで", "To prev. point"};
inline constexpr Text2 kMenuDbMax{"dB max", "dB max"};
inline constexpr Text2 kMenuDbMin{"dB min", "dB min"};
inline constexpr Text2 kOverSampleNone{"なし", "None"};
inline constexpr Text2 kHintLogScale{"対数 / リニア スケール", "Log / Linear  scale"};
inline constexpr Text2 kHintKaiserAlpha{"Kaiser窓のパラメーター", "Kaiser window parameter"};
inline constexpr Text2 kHintOverSample{"オーバーサンプリング倍率", "Oversample rate"};

inline constexpr Text2 kSaveFilterTitle{"ﾌｨﾙﾀｰﾊﾟﾗﾒｰﾀﾌｧｲﾙの保存", "Save filter parameters"};
inline constexpr Text2 kOpenFilterTitle{"ﾌｨﾙﾀｰﾊﾟﾗﾒｰﾀﾌｧｲﾙを開く", "Open filter parameters"};
inline constexpr Text2 kFilterFileKind{"ﾌｨﾙﾀｰﾊﾟﾗﾒｰﾀﾌｧｲﾙ (*.QVF)", "filter parameter file (*.QVF)"};

inline constexpr Text2 kEditPointTitle{"ﾎﾟｲﾝﾄ編集", "Edit point"};
inline constexpr Text2 kEditPointGroup{"No.%d", "No.%d"};

} // namespace qv
