// The texts of the "Sound device" dialog and its format list, in both languages (UTF-8).
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr Text2 kSoundDeviceTitle{"再生デバイス", "Sound device"};
inline constexpr Text2 kDriverLoadCaption{"再生デバイス - ドライバ", "Play device - Driver"};
inline constexpr Text2 kMsgCannotLoadDriver{"選択されたドライバをロードできません",
                                            "Unable to load selected driver."};
inline constexpr Text2 kPanelCaption{"再生デバイス - Control Panel", "Play device - Control Panel"};
inline constexpr Text2 kMsgCannotOpenPanel{"Control Panel を開けません",
                                           "Unable to open Control Panel"};
inline constexpr Text2 kNoDevice{"No Device", "No Device"};
inline constexpr Text2 kNoChannel{"Not available", "Not available"};
inline constexpr Text2 kFormatListHint{"(Shiftｷｰで問合わせのみ、Ctrlｷｰで全ﾁｬﾝﾈﾙをﾁｪｯｸ)",
                                       "(w/Shift key, query only,  w/Ctrl key, check all ch)"};
inline constexpr Text2 kInfoHint{"(WASAPIのみ、Shiftｷｰで詳細情報)",
                                 "(w/Shift key, display additional info. (WASAPI only)"};
inline constexpr Text2 kFormatListTitle{"再生ﾃﾞﾊﾞｲｽ 使用可能ﾌｫｰﾏｯﾄ", "Playback device Format list"};
inline constexpr Text2 kFormatListStop{"中止", "&Stop"};
inline constexpr Text2 kFormatListClose{"閉じる", "&Close"};
// The grid's corner: " Fs" and "bit" across a backslash (the full-width one in Japanese).
inline constexpr Text2 kFormatListCorner{" Fs\xEF\xBC\xBC"
                                         "bit",
                                         " Fs\\bit"};
// The sound control panel of the system, which the WASAPI Panel button opens.
inline constexpr const char* kSoundControlPanel =
    "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl,@0,0";

} // namespace qv
