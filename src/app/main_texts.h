// The main window's own texts in both languages (UTF-8): its notices, the titles and filters of
// its file dialogs, and the mark of the English interface in its caption.
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr Text2 kMsgFirstStart{
    "使い方や注意点についてはHelpファイルを参照してください。\n\n 起動中、「F1キー」を押す"
    "ことで何時でもHelpを見ることが出来ます。\n\n （このメッセージは次回からは表示されませ"
    "ん）",
    "Please refer to the Help file for the usage and notes.\n\n The Help file can be opened by "
    "pressing F1 key at any time. \n\n (This message is not displayed from next time)"};
inline constexpr Text2 kMsgNewVersion{
    "新バージョンです。\n前バージョンからの変更点についてはHelpファイルを参照してください。\n"
    "\n 起動中、「F1キー」を押すことで何時でもHelpを見ることが出来ます。\n\n （このメッセー"
    "ジは次回からは表示されません）",
    "This is the new version.\nPlease refer to the Help file for the modifications.\n\n The "
    "Help file can be opened by pressing F1 key at any time. \n\n (This message is not "
    "displayed from next time)"};

// After the version in the start caption.
inline constexpr Text2 kCaptionLanguageMark{"  ", "E  "};

// Only the English interface uses (and so registers) the KT1 font; %s is its face name.
inline constexpr const char* kMsgUnableToLoadFont = "Unable to load %s Font.";

inline constexpr Text2 kTitleOpenParams{"ﾊﾟﾗﾒｰﾀﾌｧｲﾙを開く", "Open parameters"};
inline constexpr Text2 kTitleSaveParams{"ﾊﾟﾗﾒｰﾀﾌｧｲﾙの保存", "Save parameters"};
inline constexpr Text2 kTitleWriteWave{"Waveﾌｧｲﾙへ出力", "Write to Wave file"};
inline constexpr Text2 kTitleWriteText{"ﾃｷｽﾄﾌｫｰﾏｯﾄﾌｧｲﾙへ出力", "Write to Text format file"};
inline constexpr Text2 kFilterParamFiles{"ﾊﾟﾗﾒｰﾀﾌｧｲﾙ (*.QV)", "parameter file (*.QV)"};
inline constexpr Text2 kFilterWaveFiles{"Waveﾌｧｲﾙ (*.WAV)", "Wave file (*.WAV)"};
inline constexpr Text2 kFilterTextFiles{"ﾃｷｽﾄﾌｫｰﾏｯﾄﾌｧｲﾙ (*.QVT)", "Text format file (*.QVT)"};
inline constexpr Text2 kFilterAllFiles{"すべてのﾌｧｲﾙ (*.*)", "All files (*.*)"};

} // namespace qv
