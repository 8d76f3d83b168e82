#include "engine/device_dialog_layout.h"

#include "engine/device_dialog.h"

namespace qv {

namespace {

using K = ControlKind;
constexpr int kOptions = 1, kLatencyOrLicence = 2, kInfoOrVolume = 3;

WindowLayout MakeDeviceDialog() {
    using I = DeviceDialogIds;
    return {
        "Sound device",
        {0, 0, 340, 192},
        {},
        {
            {0, K::Label, 0, {8, 11, 44, 14}, {"ﾄﾞﾗｲﾊﾞ:", "Driver:"}},
            {I::kDriverBox,
             K::DropList,
             0,
             {54, 8, 100, 20},
             {"", ""},
             0,
             DeviceDialog::kDriverItems},
            {I::kExtensible,
             K::CheckBox,
             0,
             {162, 10, 172, 16},
             {"EXTENSIBLEを使う (1,2ch)", "Use EXTENSIBLE (1,2ch)"},
             kOptions},
            {I::kEventMode,
             K::CheckBox,
             0,
             {162, 10, 172, 16},
             {"ｲﾍﾞﾝﾄ駆動ﾓｰﾄﾞ", "Event-driven mode"},
             kOptions},
            {I::kLatencyLabel,
             K::Label,
             0,
             {162, 33, 52, 14},
             {"ﾚｲﾃﾝｼ:", "Latency:"},
             kLatencyOrLicence},
            {I::kLatencyEdit, K::Edit, 0, {216, 30, 40, 20}, {"", ""}, kLatencyOrLicence},
            {I::kLatencyUpDown, K::UpDown, 0, {256, 30, 12, 20}, {"", ""}, kLatencyOrLicence},
            {I::kLatencyMs, K::Label, 0, {272, 33, 20, 14}, {"ms", "ms"}, kLatencyOrLicence},
            {I::kLicence,
             K::Label,
             0,
             {162, 33, 172, 14},
             {"ASIO Technology by Steinberg", "ASIO Technology by Steinberg"},
             kLatencyOrLicence},
            {0, K::GroupBox, 0, {6, 54, 328, 100}, {"再生", "Playback"}},
            {0, K::Label, 0, {14, 73, 46, 14}, {"ﾃﾞﾊﾞｲｽ:", "device:"}},
            {I::kDeviceBox, K::DropList, 0, {62, 70, 264, 20}},
            {I::kChannelLabel, K::Label, 0, {14, 97, 46, 14}, {"ch:", "ch:"}},
            {I::kChannelBox, K::DropList, 0, {62, 94, 264, 20}}, // names of up to 32 characters
            {I::kFormatList, K::Button, 0, {14, 122, 96, 22}, {"使用可能ﾌｫｰﾏｯﾄ", "Format list"}},
            {I::kInfo, K::Button, 0, {116, 122, 50, 22}, {"Info.", "Info."}, kInfoOrVolume},
            {I::kPanel, K::Button, 0, {170, 122, 50, 22}, {"Panel", "Panel"}, kInfoOrVolume},
            {I::kFullVolume,
             K::CheckBox,
             0,
             {116, 125, 100, 16},
             {"Volume最大", "Full volume"},
             kInfoOrVolume},
            {kCloseButtonId, K::DefaultButton, 0, {246, 162, 88, 24}, {"閉じる", "&Apply"}},
        }};
}

WindowLayout MakeFormatList() {
    using I = FormatListIds;
    constexpr int gridWidth = kGridHeaderWidth + 5 * kGridColumnWidth + 2;
    constexpr int gridHeight = 12 * kGridRowHeight + 2;
    return {"Format list",
            {0, 0, gridWidth + 16, gridHeight + 66},
            {},
            {
                {I::kDeviceName, K::Label, 0, {8, 8, gridWidth, 14}},
                {I::kGrid, K::Custom, 0, {8, 26, gridWidth, gridHeight}},
                {I::kComment,
                 K::Label,
                 0,
                 {8, gridHeight + 38, 270, 14},
                 {"数値：ｻﾎﾟｰﾄCh   *：本来のBit長   -：不可",
                  "Num: Supported ch   *: Original bits   -:NA"}},
                {kCloseButtonId,
                 K::DefaultButton,
                 0,
                 {gridWidth - 72, gridHeight + 34, 80, 24},
                 {"閉じる", "&Close"}},
            }};
}

} // namespace

const WindowLayout& DeviceDialogLayout() {
    static const WindowLayout layout = MakeDeviceDialog();
    return layout;
}

const WindowLayout& FormatListLayout() {
    static const WindowLayout layout = MakeFormatList();
    return layout;
}

} // namespace qv
